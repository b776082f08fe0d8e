// Entry point of the Windows program: creates the board window and runs the message loop.
#pragma once

#include <windows.h>

namespace tessarline {

int RunTessarline(HINSTANCE instance, int showCommand);

} // namespace tessarline
