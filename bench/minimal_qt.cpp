// The least a Qt Widgets program costs: one plain top-level window the board's size, which
// quits as soon as it has painted its first frame.
#include <QApplication>
#include <QTimer>
#include <QWidget>

namespace {

class FirstFrameWindow final : public QWidget {
protected:
    void paintEvent(QPaintEvent*) override { QTimer::singleShot(0, qApp, &QApplication::quit); }
};

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    FirstFrameWindow window;
    window.setWindowTitle(QStringLiteral("Minimal"));
    window.setFixedSize(178, 179);
    window.show();
    return QApplication::exec();
}
