// The shipped program, started as main.cpp starts it, that quits once its board has painted
// its first frame: what the start-up timer measures, without a switch in the product's code.
#include "app/qt/Program.h"
#include "board/qt/BoardWindowQt.h"

#include <QApplication>
#include <QEvent>
#include <QTimer>

namespace {

class QuitAfterFirstPaint final : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            // Queued, so the paint this event starts is finished first.
            QTimer::singleShot(0, qApp, &QApplication::quit);
            watched->removeEventFilter(this);
        }
        return false;
    }
};

} // namespace

int main(int argc, char* argv[]) {
    return tessarline::RunProgram(argc, argv, [](tessarline::BoardWindowQt& board) {
        board.boardView()->installEventFilter(new QuitAfterFirstPaint(&board));
    });
}
