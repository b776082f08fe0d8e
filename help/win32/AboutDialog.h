// The help dialog on Windows: a modal dialog over the board window, loaded afresh at every
// opening, whose logic is frmAbout.
#pragma once

#include "help/core/frmAbout.h"

#include <windows.h>

#include <functional>

namespace tessarline {

// Control identifiers of the dialog.
inline constexpr int kCmdOKId = IDOK;
inline constexpr int kCmdSysInfoId = 101;
inline constexpr int kImage1Id = 102;
inline constexpr int kLblTitleId = 103;
inline constexpr int kLblDescriptionId = 104;

// Shows the dialog modally over owner with the given services, and returns when it has closed.
// opened runs once the dialog window exists, before it is shown.
void ShowAboutDialog(HWND owner, Registry& registry, const CodePage& codePage, SystemShell& shell,
                     const std::function<void(HWND)>& opened = {});

} // namespace tessarline
