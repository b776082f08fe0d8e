#include "board/qt/BoardWindowQt.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    // Lets desktops match the window to the installed launcher and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("tessarline"));
    tessarline::BoardWindowQt window;
    window.form().Form_Load();
    return QApplication::exec();
}
