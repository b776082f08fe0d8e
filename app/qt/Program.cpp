#include "app/qt/Program.h"

#include "app/qt/DisplayCheck.h"
#include "app/qt/WindowFrames.h"
#include "board/qt/BoardWindowQt.h"
#include "help/linux/LinuxRegistry.h"
#include "help/linux/LinuxShell.h"
#include "help/qt/HelpDialogHost.h"
#include "platform/qt/AppFont.h"

#include <QApplication>

namespace tessarline {

int RunProgram(int argc, char* argv[], const std::function<void(BoardWindowQt&)>& started) {
    if (!FindDisplay(argc, argv)) {
        return 1;
    }
    QApplication app(argc, argv);
    FitWindowFrames(app);
    // One font for the whole program, the menu bar included.
    QApplication::setFont(AppFont());
    // Lets desktops match the window to the installed launcher and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("tessarline"));
    BoardWindowQt window;
    // The help dialog is created the first time Help is chosen, not here.
    LinuxRegistry registry = LinuxRegistry::ForThisHost();
    LinuxShell shell;
    HelpDialogHost help(&window, registry, shell);
    window.setHelpHandler([&help] { help.ShowModal(); });
    if (started) {
        started(window);
    }
    window.form().Form_Load();
    return QApplication::exec();
}

} // namespace tessarline
