// Development tool: saves a picture of an X window, optionally once the board in it has been
// drawn. Used by scripts/run.sh without a display and by the desktop tests. With --find-board
// it only tells whether a screenshot, of any display, shows a fresh board somewhere.
//
//   tessarline_grab [--wait-board] WINDOW_ID OUTPUT.png
//   tessarline_grab --find-board SCREENSHOT.png
#include "board/core/BoardPicture.h"

#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QThread>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

using namespace tessarline;

bool Is(const QImage& image, int x, int y, Colour c) {
    return x >= 0 && y >= 0 && x < image.width() && y < image.height() &&
           (image.pixel(x, y) | 0xFF000000u) == ToPixel(c);
}

// A fresh board with its top-left corner at the transform's offset: box 1 highlighted, box 2
// plain, the sides faint on the green ground.
bool BoardDrawn(const QImage& image, const TwipTransform& t) {
    const int border = BoxBorderWidth(t);
    const PixelRect box1 = BoxRect(1, t);
    const PixelRect box2 = BoxRect(2, t);
    const LineLayout& left = kLines[0];
    return Is(image, t.X(0), ClientHeight(t) - 1, kBoardBackColor) &&
           Is(image, box1.x + border, box1.y + border, kBlack) &&
           Is(image, box2.x + border, box2.y + border, kWhite) &&
           Is(image, t.X(left.from.x), t.Y((left.from.y + left.to.y) / 2), FaintColor);
}

// The board's top-left corner is the first pixel of its ground colour.
bool FindBoard(const QImage& image, TwipTransform t) {
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (Is(image, x, y, kBoardBackColor)) {
                t.offsetX = x;
                t.offsetY = y;
                return BoardDrawn(image, t);
            }
        }
    }
    return false;
}

} // namespace

int main(int argc, char* argv[]) {
    // Window ids are X ids whatever the session offers; a screenshot needs no display.
    const bool find = argc == 3 && std::strcmp(argv[1], "--find-board") == 0;
    qputenv("QT_QPA_PLATFORM", find ? "offscreen" : "xcb");
    QGuiApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments().mid(1);
    if (find) {
        const QImage shot = QImage(args[1]).convertToFormat(QImage::Format_RGB32);
        return FindBoard(shot, TwipTransform::ForDevice(1.0)) ? 0 : 1;
    }
    const bool waitBoard = !args.isEmpty() && args.first() == QLatin1String("--wait-board");
    const QStringList rest = args.mid(waitBoard ? 1 : 0);
    bool ok = false;
    const WId id = rest.size() == 2 ? rest[0].toULongLong(&ok, 0) : 0;
    if (!ok) {
        std::fprintf(stderr, "usage: tessarline_grab [--wait-board] WINDOW_ID OUTPUT.png\n");
        return 2;
    }
    QScreen* screen = QGuiApplication::primaryScreen();
    const TwipTransform device =
        TwipTransform::ForDevice(screen->logicalDotsPerInchX() / 96.0 * screen->devicePixelRatio());
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    for (;;) {
        const QImage image = screen->grabWindow(id).toImage().convertToFormat(QImage::Format_RGB32);
        // The board sits at the bottom of the window, below the menu bar.
        TwipTransform t = device;
        t.offsetY = image.height() - ClientHeight(device);
        const bool ready =
            !image.isNull() && (!waitBoard || (t.offsetY >= 0 && BoardDrawn(image, t)));
        if (ready) {
            if (!image.save(rest[1], "PNG")) {
                std::fprintf(stderr, "tessarline_grab: cannot write %s\n", qPrintable(rest[1]));
                return 1;
            }
            return 0;
        }
        if (std::chrono::steady_clock::now() > deadline) {
            std::fprintf(stderr, "tessarline_grab: window %s %s\n", qPrintable(rest[0]),
                         image.isNull() ? "cannot be grabbed" : "never showed the board");
            return 1;
        }
        QThread::msleep(50);
    }
}
