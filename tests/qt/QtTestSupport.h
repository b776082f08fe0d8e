// Shared by the Qt tests: the board's pixels at 96 DPI, the board's state, and driving modal
// dialogs without ever blocking a test.
#pragma once

#include "board/qt/BoardWindowQt.h"
#include "help/qt/HelpDialogHost.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDeadlineTimer>
#include <QTest>
#include <QTimer>

#include <array>
#include <functional>
#include <memory>

namespace tessarline {

constexpr QRgb kGroundRgb = qRgb(0, 128, 0);
constexpr QRgb kFaintRgb = qRgb(0, 144, 0);
constexpr QRgb kInkRgb = qRgb(0, 0, 0);
constexpr QRgb kPaperRgb = qRgb(255, 255, 255);

// A box's pixels, border included.
inline QRect BoxPixels(int node) {
    const BoxLayout& b = kBoxes[static_cast<std::size_t>(node - 1)];
    return {b.left / kTwipsPerPixel, b.top / kTwipsPerPixel, b.width / kTwipsPerPixel,
            b.height / kTwipsPerPixel};
}

// A pixel of each edge, in the order of kAllEdges, away from the boxes, the other edges and
// the diagonals' crossing: the lines a quarter along, the arcs where they cross an axis.
inline constexpr std::array<QPoint, kEdgeCount> kEdgePixels = {{{40, 68},
                                                                {68, 40},
                                                                {136, 68},
                                                                {68, 136},
                                                                {68, 68},
                                                                {68, 108},
                                                                {88, 15},
                                                                {15, 88},
                                                                {161, 88},
                                                                {88, 161}}};
inline constexpr QPoint kCrossing{88, 88};

inline QImage Grab(QWidget* w) {
    return w->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

// What the board keeps and shows, to compare before and after something that must not change it.
struct BoardState {
    NodeIndex pen = 0;
    std::array<bool, kEdgeCount> traced{};
    std::array<Colour, 2 * kNodeCount> boxes{};
    QImage picture;

    static BoardState Of(BoardWindowQt& board, bool withPicture = true) {
        BoardState s{board.form().CurrentNode, {}, {}, {}};
        if (withPicture) {
            s.picture = Grab(board.boardView());
        }
        for (std::size_t i = 0; i < kAllEdges.size(); ++i) {
            s.traced[i] = !board.form().IsFaint(kAllEdges[i]);
        }
        for (int n = 1; n <= kNodeCount; ++n) {
            s.boxes[2 * (n - 1)] = board.form().lblNode(n).BackColor;
            s.boxes[2 * (n - 1) + 1] = board.form().lblNode(n).ForeColor;
        }
        return s;
    }
    bool operator==(const BoardState&) const = default;
};

// Bounded wait for the event loop to bring something about.
inline bool WaitFor(const std::function<bool()>& done) {
    QDeadlineTimer deadline(5000);
    while (!done() && !deadline.hasExpired()) {
        QTest::qWait(10);
    }
    return done();
}

// Runs body once the host's dialog is shown modal and active, from inside its modal loop. If
// it never is, body does not run; if body leaves it open, the test fails and the dialog is
// closed, so that the modal loop always ends.
inline void OnceOpen(HelpDialogHost& host, QObject* context,
                     const std::function<void(AboutDialog&)>& body, bool* ran) {
    auto* poll = new QTimer(context);
    auto tries = std::make_shared<int>(0);
    QObject::connect(poll, &QTimer::timeout, context, [&host, body, ran, poll, tries] {
        AboutDialog* d = host.Dialog();
        const bool up = d != nullptr && d->isVisible() && QApplication::activeModalWidget() == d;
        if (!up && ++*tries < 500) {
            return;
        }
        poll->stop();
        poll->deleteLater();
        if (!up) {
            if (d != nullptr && d->isVisible()) { // shown, but not modal: end it all the same
                ADD_FAILURE() << "dialog shown without being modal";
                d->done(0);
            }
            return;
        }
        d->activateWindow();
        if (WaitFor([&] { return QApplication::activeWindow() == d; })) {
            body(*d);
            *ran = true;
        } else {
            ADD_FAILURE() << "dialog never became active";
        }
        if (d->isVisible()) {
            ADD_FAILURE() << "dialog left open";
            d->done(0);
        }
    });
    poll->start(10);
}

// A shell for a host with no system-information program, counting what it is asked to do.
struct CountingShell : SystemShell {
    std::wstring Dir(const std::wstring&) override { return {}; }
    void StartProcess(const std::wstring&) override { ++starts; }
    void ShowMessage(const std::wstring&, const std::wstring&) override { ++messages; }
    int starts = 0;
    int messages = 0;
};

} // namespace tessarline
