#include "app/win32/Win32App.h"

#include "board/win32/MainWindow.h"
#include "help/win32/AboutDialog.h"
#include "help/win32/Win32Services.h"

namespace tessarline {

int RunTessarline(HINSTANCE instance, int showCommand) {
    MainWindow board(instance, showCommand);
    if (!board.Create()) {
        return 1;
    }
    Win32Registry registry;
    AnsiCodePage codePage;
    Win32Shell shell;
    // The dialog is made afresh at every opening, not here.
    board.SetHelpHandler([&] { ShowAboutDialog(board.Handle(), registry, codePage, shell); });
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
