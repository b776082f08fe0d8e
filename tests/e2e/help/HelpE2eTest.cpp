// The real program on a private virtual X server: Help opened from the keyboard, System Info
// clicked on a host without any system-information program, the message box and the dialog
// closed again with keys sent to the server (xdotool), and the program ended by closing its
// window as a window manager would.
#include "tests/e2e/E2eSupport.h"

#include <gtest/gtest.h>

#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include <sys/wait.h>

namespace tessarline {
namespace {

namespace fs = std::filesystem;
using namespace e2e;
using namespace std::chrono_literals;

class HelpE2e : public ::testing::Test {
protected:
    static void SetUpTestSuite() { display_ = new VirtualDisplay; }
    static void TearDownTestSuite() {
        delete display_;
        display_ = nullptr;
    }

    void SetUp() override {
        ASSERT_TRUE(display_->Up()) << "no virtual X server";
        const fs::path runtime = fs::path(display_->Dir()) / "runtime";
        const fs::path bin = fs::path(display_->Dir()) / "bin";
        fs::create_directories(runtime);
        fs::permissions(runtime, fs::perms::owner_all);
        // A search path that holds no system-information program.
        fs::create_directories(bin);
        std::vector<std::string> env = {"DISPLAY=" + display_->Display(),
                                        "XDG_RUNTIME_DIR=" + runtime.string(),
                                        "PATH=" + bin.string(), "HOME=" + display_->Dir()};
        if (const char* asan = std::getenv("ASAN_OPTIONS")) {
            env.push_back(std::string("ASAN_OPTIONS=") + asan);
        }
        game_ = Spawn({TESSARLINE_GAME}, env);
        board_ = Visible("^Tessarline$", 1);
        ASSERT_EQ(board_.size(), 1u) << "the game's window did not appear";
        x_ = XOpenDisplay(display_->Display().c_str());
        ASSERT_NE(x_, nullptr);
    }

    void TearDown() override {
        Stop(game_);
        if (x_ != nullptr) {
            XCloseDisplay(x_);
        }
    }

    // The visible windows whose title matches, once there are exactly `count` of them.
    std::vector<std::string> Visible(const std::string& title, std::size_t count) {
        std::vector<std::string> found;
        WaitFor(
            [&] {
                found = Xdotool(display_->Display(), "search --onlyvisible --name '" + title + "'");
                return found.size() == count;
            },
            15s);
        return found;
    }

    void SendKeys(const std::string& window, const std::string& keys) {
        ASSERT_EQ(Keys(display_->Display(), window, keys), 0) << keys;
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

    static VirtualDisplay* display_;
    pid_t game_ = 0;
    std::vector<std::string> board_;
    Display* x_ = nullptr;
};

VirtualDisplay* HelpE2e::display_ = nullptr;

TEST_F(HelpE2e, HelpShowsTheDialogAndSystemInfoTheMessage) {
    SendKeys(board_[0], "alt+h");
    const std::vector<std::string> dialog = Visible("^About Tessarline$", 1);
    ASSERT_EQ(dialog.size(), 1u) << "Alt+H did not open the help dialog";
    // Its client area at its fixed place and size (96 DPI on Xvfb).
    const WindowGeometry g = GeometryOf(display_->Display(), dialog[0]);
    EXPECT_EQ(g.x, 156);
    EXPECT_EQ(g.y, 129);
    EXPECT_EQ(g.width, 382);
    EXPECT_EQ(g.height, 237);

    // A real click in the middle of "&System Info...": 4260, 3075, 1245 by 345 twips.
    const int cx = g.x + (4260 + 1245 / 2) / 15;
    const int cy = g.y + (3075 + 345 / 2) / 15;
    ASSERT_EQ(Click(display_->Display(), cx, cy), 0);

    // The message box: a second top-level window captioned with the application title.
    std::vector<std::string> titled = Visible("^Tessarline$", 2);
    ASSERT_EQ(titled.size(), 2u) << "no message box";
    const std::string box = titled[0] == board_[0] ? titled[1] : titled[0];
    EXPECT_NE(box, board_[0]);

    // Enter on the box closes it; the dialog stays open.
    SendKeys(box, "Return");
    titled = Visible("^Tessarline$", 1);
    EXPECT_EQ(titled, board_);
    EXPECT_EQ(Visible("^About Tessarline$", 1), dialog);

    // Esc closes the dialog; the board is alone again.
    SendKeys(dialog[0], "Escape");
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
        SendKeys(board_[0], "alt+h");
        const std::vector<std::string> dialog = Visible("^About Tessarline$", 1);
        ASSERT_EQ(dialog.size(), 1u) << "opening " << opening;
        const WindowGeometry g = GeometryOf(display_->Display(), dialog[0]);
        EXPECT_EQ(g.x, 156);
        EXPECT_EQ(g.y, 129);
        // Enter presses OK, which has the focus.
        SendKeys(dialog[0], "Return");
        EXPECT_TRUE(Visible("^About Tessarline$", 0).empty()) << "opening " << opening;
    }
}

} // namespace
} // namespace tessarline
