// The Windows program's entry point; the board window does the rest.
#include "board/win32/Win32App.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
    return tessarline::RunTessarline(instance, showCommand);
}
