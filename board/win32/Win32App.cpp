#include "board/win32/Win32App.h"

namespace tessarline {

// Placeholder until the board window exists.
int RunTessarline(HINSTANCE, int) {
    return 0;
}

} // namespace tessarline
