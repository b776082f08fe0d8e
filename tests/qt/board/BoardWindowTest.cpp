// The Qt board window on the offscreen platform: real mouse and key events on the real widgets,
// then the pixels of the grabbed window. Coordinates are pixels at 96 DPI.
#include "board/qt/BoardWindowQt.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QTest>

#include <memory>

using namespace tessarline;

namespace {

constexpr QRgb kGround = qRgb(0, 128, 0);
constexpr QRgb kFaint = qRgb(0, 144, 0);
constexpr QRgb kInk = qRgb(0, 0, 0);
constexpr QRgb kPaper = qRgb(255, 255, 255);

// Box rectangles, border included: 17 by 17 at 32 and 128.
const QRect kBoxRects[] = {
    {32, 32, 17, 17}, {128, 32, 17, 17}, {32, 128, 17, 17}, {128, 128, 17, 17}};

// A pixel in the middle of each line, away from the crossing and from every arc.
const QPoint kLinePixels[] = {{40, 88}, {88, 40}, {136, 88}, {88, 136}, {70, 70}, {70, 106}};
const QPoint kCrossing{88, 88};

// A pixel of each arc where it crosses an axis of the circle (centre 88,88, radius 73 1/3).
const QPoint kArc12{88, 15};
const QPoint kArc13{15, 88};
const QPoint kArc24{161, 88};
const QPoint kArc34{88, 161};

QString Rgb(QRgb c) {
    return QStringLiteral("(%1,%2,%3)").arg(qRed(c)).arg(qGreen(c)).arg(qBlue(c));
}

} // namespace

class BoardWindowTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void windowSizeFlagsTitleAndIcon();
    void freshBoardPixels();
    void boxesShowCentredCaptionsInForeColor();
    void movesTraceLinesAndMoveTheHighlight();
    void lastTracedDiagonalLiesOnTheCrossing_data();
    void lastTracedDiagonalLiesOnTheCrossing();
    void arcsInBothStatesSurviveRepaints();
    void clicksOffTheBoxesChangeNothing();
    void refusedMoveBeepsOnceAndChangesNothing();
    void menuBarHoldsTwoCommands();
    void resetAndHelpFromMenuAndAccessKeys();

private:
    QImage grabBoard() const;
    void click(int node);
    void clicks(std::initializer_list<int> nodes);
    void expectPixel(const QImage& image, QPoint p, QRgb want, const char* what);

    std::unique_ptr<BoardWindowQt> window_;
    int beeps_ = 0;
    int helps_ = 0;
};

void BoardWindowTest::initTestCase() {
    QScreen* screen = QGuiApplication::primaryScreen();
    // The pixel positions below are those of a 96-DPI screen, which the offscreen platform is
    // unless the environment scales it.
    QCOMPARE(screen->logicalDotsPerInchX(), 96.0);
    QCOMPARE(screen->devicePixelRatio(), 1.0);
}

void BoardWindowTest::init() {
    beeps_ = 0;
    helps_ = 0;
    window_ = std::make_unique<BoardWindowQt>();
    window_->setBeepHandler([this] { ++beeps_; });
    window_->setHelpHandler([this] { ++helps_; });
    window_->form().Form_Load();
    QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
}

void BoardWindowTest::cleanup() {
    window_.reset();
}

QImage BoardWindowTest::grabBoard() const {
    QWidget* view = window_->boardView();
    const QImage whole = window_->grab().toImage().convertToFormat(QImage::Format_RGB32);
    return whole.copy(QRect(view->mapTo(window_.get(), QPoint(0, 0)), view->size()));
}

void BoardWindowTest::click(int node) {
    QTest::mouseClick(window_->boardView(), Qt::LeftButton, {}, kBoxRects[node - 1].center());
}

void BoardWindowTest::clicks(std::initializer_list<int> nodes) {
    for (int n : nodes) {
        click(n);
    }
}

void BoardWindowTest::expectPixel(const QImage& image, QPoint p, QRgb want, const char* what) {
    const QRgb got = image.pixel(p) | 0xFF000000u;
    QVERIFY2(got == want, qPrintable(QStringLiteral("%1 at (%2,%3): %4, want %5")
                                         .arg(QLatin1String(what))
                                         .arg(p.x())
                                         .arg(p.y())
                                         .arg(Rgb(got), Rgb(want))));
}

void BoardWindowTest::windowSizeFlagsTitleAndIcon() {
    BoardWindowQt& w = *window_;
    QCOMPARE(w.boardView()->size(), QSize(178, 179));
    QCOMPARE(w.boardView()->mapTo(&w, QPoint(0, 0)).y(), w.menuBar()->height());
    QCOMPARE(w.size(), QSize(178, w.menuBar()->height() + 179));
    QCOMPARE(w.minimumSize(), w.maximumSize());
    const QSize before = w.size();
    w.resize(400, 400);
    QCOMPARE(w.size(), before);

    const Qt::WindowFlags f = w.windowFlags();
    QVERIFY(f.testFlag(Qt::WindowTitleHint));
    QVERIFY(f.testFlag(Qt::WindowSystemMenuHint));
    QVERIFY(f.testFlag(Qt::WindowCloseButtonHint));
    QVERIFY(!f.testFlag(Qt::WindowMinimizeButtonHint));
    QVERIFY(!f.testFlag(Qt::WindowMaximizeButtonHint));
    QCOMPARE(w.windowTitle(), QStringLiteral("Tessarline"));

    // The figure in black on opaque white at each size, touching the edges with the circle.
    for (int size : {16, 32, 48}) {
        const QImage icon = w.windowIcon()
                                .pixmap(QSize(size, size))
                                .toImage()
                                .convertToFormat(QImage::Format_ARGB32);
        QCOMPARE(icon.size(), QSize(size, size));
        int black = 0;
        for (int y = 0; y < size; ++y) {
            for (int x = 0; x < size; ++x) {
                const QRgb c = icon.pixel(x, y);
                QVERIFY2(c == 0xFF000000u || c == 0xFFFFFFFFu, qPrintable(Rgb(c)));
                black += c == 0xFF000000u;
            }
        }
        QCOMPARE(icon.pixel(0, 0), 0xFFFFFFFFu);
        QCOMPARE(icon.pixel(size / 2, 0), 0xFF000000u);
        QCOMPARE(icon.pixel(size / 2, size / 2), 0xFF000000u);
        QVERIFY(black > size && black < size * size / 2);
    }
}

void BoardWindowTest::freshBoardPixels() {
    const QImage b = grabBoard();
    expectPixel(b, {2, 2}, kGround, "ground");
    expectPixel(b, {177, 178}, kGround, "ground");
    expectPixel(b, {88, 100}, kGround, "inside the square");
    for (const QPoint& p : kLinePixels) {
        expectPixel(b, p, kFaint, "line");
    }
    expectPixel(b, kCrossing, kFaint, "crossing");
    for (const QPoint& p : {kArc12, kArc13, kArc24, kArc34}) {
        expectPixel(b, p, kFaint, "arc");
        // One pixel wide: the neighbours off the circle are ground.
        const QPoint out =
            p + (p - kCrossing) / std::max(std::abs(p.x() - 88), std::abs(p.y() - 88));
        expectPixel(b, out, kGround, "outside the arc");
    }
    for (int n = 1; n <= 4; ++n) {
        const QRect r = kBoxRects[n - 1];
        const QRgb inside = n == 1 ? kInk : kPaper;
        expectPixel(b, r.topLeft(), kInk, "box border");
        expectPixel(b, r.bottomRight(), kInk, "box border");
        expectPixel(b, r.topLeft() + QPoint(1, 1), inside, "box interior");
        expectPixel(b, r.bottomRight() - QPoint(1, 1), inside, "box interior");
        expectPixel(b, r.bottomLeft() + QPoint(1, -1), inside, "box interior");
        // Just outside the box's outer corner, away from every line and arc.
        const QPoint outer = r.center() + (r.center() - kCrossing) * 9 / 48;
        expectPixel(b, outer, kGround, "outside the box");
    }
}

void BoardWindowTest::boxesShowCentredCaptionsInForeColor() {
    const QImage b = grabBoard();
    for (int n = 1; n <= 4; ++n) {
        const QRect inside = kBoxRects[n - 1].adjusted(1, 1, -1, -1);
        const QRgb back = n == 1 ? kInk : kPaper;
        int left = inside.right(), right = inside.left(), top = inside.bottom(), strongest = 0;
        for (int y = inside.top(); y <= inside.bottom(); ++y) {
            for (int x = inside.left(); x <= inside.right(); ++x) {
                const int contrast = std::abs(qGray(b.pixel(x, y)) - qGray(back));
                if (contrast > 64) {
                    left = std::min(left, x);
                    right = std::max(right, x);
                    top = std::min(top, y);
                }
                strongest = std::max(strongest, contrast);
            }
        }
        QVERIFY2(left <= right, qPrintable(QStringLiteral("box %1 shows no caption").arg(n)));
        // Drawn in the fore colour: the text reaches the opposite end of the grey scale.
        QVERIFY2(strongest > 200, qPrintable(QStringLiteral("box %1: faint caption").arg(n)));
        QVERIFY(std::abs((left - inside.left()) - (inside.right() - right)) <= 2);
        QVERIFY(top - inside.top() <= 4);
    }
}

void BoardWindowTest::movesTraceLinesAndMoveTheHighlight() {
    click(4);
    QImage b = grabBoard();
    expectPixel(b, kLinePixels[4], kInk, "linLine(5)");
    expectPixel(b, kCrossing, kInk, "crossing");
    expectPixel(b, kBoxRects[3].topLeft() + QPoint(1, 1), kInk, "box 4");
    expectPixel(b, kBoxRects[0].topLeft() + QPoint(1, 1), kPaper, "box 1");

    click(2);
    b = grabBoard();
    expectPixel(b, kLinePixels[2], kInk, "linLine(3)");
    expectPixel(b, kLinePixels[4], kInk, "linLine(5)");
    for (int k : {1, 2, 4, 6}) {
        expectPixel(b, kLinePixels[k - 1], kFaint, "untraced line");
    }
    expectPixel(b, kArc24, kFaint, "arc 2-4");
    expectPixel(b, kBoxRects[1].topLeft() + QPoint(1, 1), kInk, "box 2");
    expectPixel(b, kBoxRects[3].topLeft() + QPoint(1, 1), kPaper, "box 4");
    QCOMPARE(window_->form().CurrentNode, NodeIndex{2});
}

void BoardWindowTest::lastTracedDiagonalLiesOnTheCrossing_data() {
    QTest::addColumn<QList<int>>("moves");
    QTest::addColumn<QList<int>>("traced");
    QTest::addColumn<QList<int>>("faint");
    QTest::newRow("linLine(5) only") << QList<int>{4} << QList<int>{5} << QList<int>{6};
    QTest::newRow("linLine(6) only") << QList<int>{2, 3} << QList<int>{2, 6} << QList<int>{5};
    QTest::newRow("both") << QList<int>{2, 3, 1, 4} << QList<int>{1, 2, 5, 6} << QList<int>{};
}

void BoardWindowTest::lastTracedDiagonalLiesOnTheCrossing() {
    QFETCH(QList<int>, moves);
    QFETCH(QList<int>, traced);
    QFETCH(QList<int>, faint);
    for (int n : moves) {
        click(n);
    }
    QImage b = grabBoard();
    expectPixel(b, kCrossing, kInk, "crossing");
    for (int k : traced) {
        expectPixel(b, kLinePixels[k - 1], kInk, "traced line");
    }
    for (int k : faint) {
        expectPixel(b, kLinePixels[k - 1], kFaint, "faint line");
    }
    window_->resetAction()->trigger();
    b = grabBoard();
    expectPixel(b, kCrossing, kFaint, "crossing after reset");
}

void BoardWindowTest::arcsInBothStatesSurviveRepaints() {
    // Nine edges: everything but arc 3-4.
    clicks({2, 1, 3, 1, 4, 2, 3, 4, 2});
    auto check = [this](const char* when) {
        const QImage b = grabBoard();
        for (const QPoint& p : kLinePixels) {
            expectPixel(b, p, kInk, when);
        }
        for (const QPoint& p : {kArc12, kArc13, kArc24}) {
            expectPixel(b, p, kInk, when);
        }
        expectPixel(b, kArc34, kFaint, when);
    };
    check("after the moves");
    if (QTest::currentTestFailed()) {
        return;
    }
    window_->boardView()->repaint();
    check("after a repaint");
    if (QTest::currentTestFailed()) {
        return;
    }
    // Covered and shown again.
    window_->hide();
    window_->show();
    QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
    check("after hiding and showing");
    if (QTest::currentTestFailed()) {
        return;
    }
    window_->resetAction()->trigger();
    const QImage b = grabBoard();
    for (const QPoint& p : {kArc12, kArc13, kArc24, kArc34}) {
        expectPixel(b, p, kFaint, "arc after reset");
    }
}

void BoardWindowTest::clicksOffTheBoxesChangeNothing() {
    click(4); // some state worth keeping
    const QImage before = grabBoard();
    QWidget* view = window_->boardView();
    // The ground, the crossing of the diagonals, an arc, and the pixels just outside box 2.
    for (const QPoint& p : {QPoint(2, 2), kCrossing, kArc13, QPoint(127, 40), QPoint(145, 40),
                            QPoint(136, 31), QPoint(136, 49)}) {
        QTest::mouseClick(view, Qt::LeftButton, {}, p);
    }
    // Pressed on one box and released on another, or with the other button.
    QTest::mousePress(view, Qt::LeftButton, {}, kBoxRects[1].center());
    QTest::mouseRelease(view, Qt::LeftButton, {}, kBoxRects[2].center());
    QTest::mouseClick(view, Qt::RightButton, {}, kBoxRects[1].center());
    QCOMPARE(window_->form().CurrentNode, NodeIndex{4});
    QCOMPARE(grabBoard(), before);
    QCOMPARE(beeps_, 0);

    // The outermost pixels of a box still count.
    QTest::mouseClick(view, Qt::LeftButton, {}, kBoxRects[1].bottomRight());
    QCOMPARE(window_->form().CurrentNode, NodeIndex{2});
}

void BoardWindowTest::refusedMoveBeepsOnceAndChangesNothing() {
    clicks({3, 1}); // linLine(1), then arc 1-3
    const QImage before = grabBoard();
    click(3);
    QCOMPARE(beeps_, 1);
    QCOMPARE(grabBoard(), before);
    click(1); // the pen's own box: silent
    QCOMPARE(beeps_, 1);
    click(3);
    QCOMPARE(beeps_, 2);
}

void BoardWindowTest::menuBarHoldsTwoCommands() {
    const QList<QAction*> actions = window_->menuBar()->actions();
    QCOMPARE(actions.size(), 2);
    QCOMPARE(actions[0]->text(), QStringLiteral("&Reset"));
    QCOMPARE(actions[1]->text(), QStringLiteral("&Help"));
    for (QAction* a : actions) {
        QVERIFY(a->menu() == nullptr);
        QVERIFY(a->isEnabled() && a->isVisible() && !a->isCheckable());
        QVERIFY(a->shortcut().isEmpty());
    }
    QVERIFY(window_->findChildren<QMenu*>().isEmpty());
    QVERIFY(!window_->menuBar()->isNativeMenuBar());
}

void BoardWindowTest::resetAndHelpFromMenuAndAccessKeys() {
    QMenuBar* bar = window_->menuBar();
    const QImage fresh = grabBoard();

    // A click on the bar's Reset item.
    clicks({2, 4});
    QVERIFY(grabBoard() != fresh);
    QTest::mouseClick(bar, Qt::LeftButton, {},
                      bar->actionGeometry(window_->resetAction()).center());
    QCOMPARE(grabBoard(), fresh);
    QCOMPARE(window_->form().CurrentNode, NodeIndex{1});

    // Alt+R, the access key.
    window_->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window_.get()));
    clicks({3, 1});
    QVERIFY(grabBoard() != fresh);
    QTest::keyClick(window_.get(), Qt::Key_R, Qt::AltModifier);
    QCOMPARE(grabBoard(), fresh);

    // Help runs its handler, by click and by Alt+H, and leaves the board alone.
    click(4);
    const QImage moved = grabBoard();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(window_->helpAction()).center());
    QCOMPARE(helps_, 1);
    QTest::keyClick(window_.get(), Qt::Key_H, Qt::AltModifier);
    QCOMPARE(helps_, 2);
    QCOMPARE(grabBoard(), moved);
    QCOMPARE(beeps_, 0);
}

QTEST_MAIN(BoardWindowTest)
#include "BoardWindowTest.moc"
