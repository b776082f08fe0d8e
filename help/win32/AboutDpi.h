// Dots-per-inch queries for the Windows front end's two windows. The per-monitor functions are
// looked up at run time so that the program still starts on systems that lack them.
#pragma once

#include <windows.h>

namespace tessarline {

inline constexpr UINT kBaseDpi = 96;

// The DPI a window is drawn at: its monitor's under per-monitor awareness, else the system's.
UINT WindowDpi(HWND window);

// A length in 96-DPI pixels at the given DPI.
int ScaleToDpi(int pixels, UINT dpi);

// The window rectangle, at the origin, that gives a client area of the given size.
RECT WindowRectForClient(int clientWidth, int clientHeight, DWORD style, DWORD exStyle,
                         bool hasMenu, UINT dpi);

// The size of a small or big window icon at the given DPI.
int IconSize(bool small, UINT dpi);

// Stops the dialog manager from re-laying out and re-fonting a dialog when its DPI changes,
// for a dialog that does both itself.
void KeepDialogLayoutOnDpiChange(HWND dialog);

} // namespace tessarline
