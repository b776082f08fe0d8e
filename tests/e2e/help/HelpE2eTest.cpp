// The real program on a private virtual X server: Help opened from the keyboard, System Info
// clicked on a host without any system-information program, the message box and the dialog
// closed again with keys sent to the server (xdotool), and the program ended by closing its
// window as a window manager would.
#include "tests/e2e/E2eSupport.h"

#include <gtest/gtest.h>

#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <chrono>
#include <string>
#include <vector>

#include <sys/wait.h>

namespace tessarline {
namespace {

using namespace e2e;
using namespace std::chrono_literals;

class HelpE2e : public GameTest {
protected:
    void SetUp() override {
        GameTest::SetUp();
        if (HasFatalFailure()) {
            return;
        }
        board_ = {window_};
        x_ = XOpenDisplay(DisplayName().c_str());
        ASSERT_NE(x_, nullptr);
    }

    void TearDown() override {
        GameTest::TearDown();
        if (x_ != nullptr) {
            XCloseDisplay(x_);
        }
    }

    // What a window manager's close button does: ask the window to close.
    void CloseWindow(const std::string& window) {
        const Window w = std::stoul(window);
        XEvent e{};
        e.xclient.type = ClientMessage;
        e.xclient.window = w;
        e.xclient.message_type = XInternAtom(x_, "WM_PROTOCOLS", False);
        e.xclient.format = 32;
        e.xclient.data.l[0] = static_cast<long>(XInternAtom(x_, "WM_DELETE_WINDOW", False));
        e.xclient.data.l[1] = CurrentTime;
        XSendEvent(x_, w, False, NoEventMask, &e);
        XFlush(x_);
    }

    std::vector<std::string> board_; // the game's window alone
    Display* x_ = nullptr;
};

TEST_F(HelpE2e, HelpShowsTheDialogAndSystemInfoTheMessage) {
    Keys(board_[0], "alt+h");
    const std::vector<std::string> dialog = Visible("^About Tessarline$", 1);
    ASSERT_EQ(dialog.size(), 1u) << "Alt+H did not open the help dialog";
    // Its client area at its fixed place and size (96 DPI on Xvfb).
    const WindowGeometry g = GeometryOf(dialog[0]);
    EXPECT_EQ(g.x, 156);
    EXPECT_EQ(g.y, 129);
    EXPECT_EQ(g.width, 382);
    EXPECT_EQ(g.height, 237);

    // A real click in the middle of "&System Info...": 4260, 3075, 1245 by 345 twips.
    const int cx = g.x + (4260 + 1245 / 2) / 15;
    const int cy = g.y + (3075 + 345 / 2) / 15;
    ASSERT_NO_FATAL_FAILURE(Click(cx, cy));

    // The message box: a second top-level window captioned with the application title.
    std::vector<std::string> titled = Visible("^Tessarline$", 2);
    ASSERT_EQ(titled.size(), 2u) << "no message box";
    const std::string box = titled[0] == board_[0] ? titled[1] : titled[0];
    EXPECT_NE(box, board_[0]);

    // Enter on the box closes it; the dialog stays open.
    Keys(box, "Return");
    titled = Visible("^Tessarline$", 1);
    EXPECT_EQ(titled, board_);
    EXPECT_EQ(Visible("^About Tessarline$", 1), dialog);

    // Esc closes the dialog; the board is alone again.
    Keys(dialog[0], "Escape");
    EXPECT_TRUE(Visible("^About Tessarline$", 0).empty()) << "Esc did not close the dialog";
    EXPECT_EQ(Visible("^Tessarline$", 1), board_);

    // Closing the board ends the program cleanly.
    CloseWindow(board_[0]);
    int exit = -1;
    ASSERT_TRUE(WaitFor([&] { return Ended(game_, &exit); }, 15s)) << "the program did not end";
    game_ = 0;
    EXPECT_TRUE(WIFEXITED(exit) && WEXITSTATUS(exit) == 0) << exit;
}

TEST_F(HelpE2e, HelpOpensAgainAtTheSamePlace) {
    for (int opening = 0; opening < 2; ++opening) {
        Keys(board_[0], "alt+h");
        const std::vector<std::string> dialog = Visible("^About Tessarline$", 1);
        ASSERT_EQ(dialog.size(), 1u) << "opening " << opening;
        const WindowGeometry g = GeometryOf(dialog[0]);
        EXPECT_EQ(g.x, 156);
        EXPECT_EQ(g.y, 129);
        // Enter presses OK, which has the focus.
        Keys(dialog[0], "Return");
        EXPECT_TRUE(Visible("^About Tessarline$", 0).empty()) << "opening " << opening;
    }
}

} // namespace
} // namespace tessarline
