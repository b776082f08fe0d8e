// What the Windows board and help dialog share: dots-per-inch queries (the per-monitor
// functions are looked up at run time so that the program still starts on systems that lack
// them), the one font and the icons each window holds for its DPI, and 32-bit top-down bitmaps.
#pragma once

#include <windows.h>

namespace tessarline {

inline constexpr UINT kBaseDpi = 96;

// The program's one font, for both windows: 8-point, regular, the system's dialog face.
inline constexpr int kFontPoints = 8;
inline constexpr wchar_t kFontFace[] = L"MS Shell Dlg 2";

// Device pixels per 96-DPI pixel at the given DPI, for TwipsToPixels and TwipTransform.
inline double DevicePixelsPerPixel(UINT dpi) {
    return static_cast<double>(dpi) / kBaseDpi;
}

// The DPI a window is drawn at: its monitor's under per-monitor awareness, else the system's.
UINT WindowDpi(HWND window);

// The window rectangle, at the origin, that gives a client area of the given size.
RECT WindowRectForClient(int clientWidth, int clientHeight, DWORD style, DWORD exStyle,
                         bool hasMenu, UINT dpi);

// Stops the dialog manager from re-laying out and re-fonting a dialog when its DPI changes,
// for a dialog that does both itself.
void KeepDialogLayoutOnDpiChange(HWND dialog);

// The header of a 32-bit bitmap whose rows are stored top-down, as in a PixelBuffer.
BITMAPINFO TopDownBitmapInfo(int width, int height);

// A window's font and its big and small application icons, made for one DPI and freed when
// replaced or destroyed.
class DpiResources {
public:
    DpiResources() = default;
    DpiResources(const DpiResources&) = delete;
    DpiResources& operator=(const DpiResources&) = delete;
    ~DpiResources();

    // Makes the font and loads the icons for dpi, and sets the icons on window. Whatever
    // cannot be made keeps its previous version.
    void Apply(HWND window, UINT dpi);
    HFONT Font() const { return font_; }

private:
    HFONT font_ = nullptr;
    HICON big_ = nullptr;
    HICON small_ = nullptr;
};

} // namespace tessarline
