#include "board/win32/Win32App.h"

#include "board/win32/MainWindow.h"

namespace tessarline {

int RunTessarline(HINSTANCE instance, int showCommand) {
    MainWindow board(instance, showCommand);
    if (!board.Create()) {
        return 1;
    }
    board.Load();
    MSG message{};
    BOOL got = 0;
    while ((got = GetMessageW(&message, nullptr, 0, 0)) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return got == 0 ? static_cast<int>(message.wParam) : 1;
}

} // namespace tessarline
