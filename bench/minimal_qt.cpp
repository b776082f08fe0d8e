// The least a Qt Widgets program costs: one plain top-level window the board's size, which
// quits as soon as it has painted its first frame. Built a second time with
// TESSARLINE_MENU_AND_TEXT, it also has a two-command menu bar and draws one character: the
// least a window that shows any text costs, for telling the toolkit's text machinery apart
// from the program's own costs.
#include <QApplication>
#include <QTimer>
#include <QWidget>

#ifdef TESSARLINE_MENU_AND_TEXT
#include <QMainWindow>
#include <QMenuBar>
#include <QPainter>
#endif

namespace {

class FirstFrameWindow final : public QWidget {
protected:
    void paintEvent(QPaintEvent*) override {
#ifdef TESSARLINE_MENU_AND_TEXT
        QPainter(this).drawText(8, 16, QStringLiteral("1"));
#endif
        QTimer::singleShot(0, qApp, &QApplication::quit);
    }
};

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
#ifdef TESSARLINE_MENU_AND_TEXT
    QMainWindow window;
    window.menuBar()->addAction(QStringLiteral("&Reset"));
    window.menuBar()->addAction(QStringLiteral("&Help"));
    auto* board = new FirstFrameWindow;
    board->setFixedSize(178, 179);
    window.setCentralWidget(board);
#else
    FirstFrameWindow window;
    window.setFixedSize(178, 179);
#endif
    window.setWindowTitle(QStringLiteral("Minimal"));
    window.show();
    return QApplication::exec();
}
