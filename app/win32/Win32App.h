// The Windows program's start: composes the board window, the help dialog and the system's
// services, then runs the message loop until the board is closed.
#pragma once

#include <windows.h>

namespace tessarline {

// The program's exit status.
int RunTessarline(HINSTANCE instance, int showCommand);

} // namespace tessarline
