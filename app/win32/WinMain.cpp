// The Windows program's entry point.
#include "app/win32/Win32App.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
    return tessarline::RunTessarline(instance, showCommand);
}
