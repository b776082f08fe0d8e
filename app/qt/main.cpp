#include "app/qt/AppFont.h"
#include "app/qt/DisplayCheck.h"
#include "app/qt/WindowFrames.h"
#include "board/qt/BoardWindowQt.h"
#include "help/linux/LinuxRegistry.h"
#include "help/qt/HelpDialogHost.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    if (!tessarline::FindDisplay(argc, argv)) {
        return 1;
    }
    QApplication app(argc, argv);
    tessarline::FitWindowFrames(app);
    // One font for the whole program, the menu bar included.
    QApplication::setFont(tessarline::AppFont());
    // Lets desktops match the window to the installed launcher and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("tessarline"));
    tessarline::BoardWindowQt window;
    // The help dialog is created the first time Help is chosen, not here.
    tessarline::LinuxRegistry registry = tessarline::LinuxRegistry::ForThisHost();
    tessarline::QtSystemShell shell;
    tessarline::HelpDialogHost help(&window, registry, shell);
    window.setHelpHandler([&help] { help.ShowModal(); });
    window.form().Form_Load();
    return QApplication::exec();
}
