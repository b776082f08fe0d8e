// The real program on a private virtual X server: mouse clicks and keys sent to the server with
// xdotool, pictures of the window taken by the project's grab tool, then pixel checks.
#include "board/core/BoardPicture.h"

#include <QImage>

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace tessarline {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

// Starts a program whose output is discarded. It dies with this test process, so that nothing
// is left behind even when the test crashes.
pid_t Spawn(const std::vector<std::string>& argv) {
    const pid_t parent = getpid();
    const pid_t pid = fork();
    if (pid == 0) {
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (getppid() != parent) {
            _exit(127);
        }
        const int null = open("/dev/null", O_RDWR);
        dup2(null, STDOUT_FILENO);
        dup2(null, STDERR_FILENO);
        std::vector<char*> args;
        for (const std::string& a : argv) {
            args.push_back(const_cast<char*>(a.c_str()));
        }
        args.push_back(nullptr);
        execvp(args[0], args.data());
        _exit(127);
    }
    return pid;
}

bool Running(pid_t pid) {
    return waitpid(pid, nullptr, WNOHANG) == 0;
}

void Stop(pid_t& pid) {
    if (pid <= 0) {
        return;
    }
    kill(pid, SIGTERM);
    const auto deadline = Clock::now() + 5s;
    while (Running(pid) && Clock::now() < deadline) {
        std::this_thread::sleep_for(20ms);
    }
    if (kill(pid, SIGKILL) == 0) {
        waitpid(pid, nullptr, 0);
    }
    pid = 0;
}

// Runs a shell command and returns its standard output; its exit status goes to *status.
std::string Capture(const std::string& command, int* status = nullptr) {
    std::string out;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) {
        return out;
    }
    char chunk[256];
    while (std::fgets(chunk, sizeof chunk, pipe) != nullptr) {
        out += chunk;
    }
    const int rc = pclose(pipe);
    if (status != nullptr) {
        *status = WIFEXITED(rc) ? WEXITSTATUS(rc) : -1;
    }
    return out;
}

// Polls until the condition holds or the time is up; returns whether it held.
bool WaitFor(const std::function<bool()>& condition, std::chrono::seconds limit = 10s) {
    const auto deadline = Clock::now() + limit;
    for (;;) {
        if (condition()) {
            return true;
        }
        if (Clock::now() > deadline) {
            return false;
        }
        std::this_thread::sleep_for(50ms);
    }
}

// The process that holds an X display's lock file, or 0.
pid_t LockHolder(const std::string& lock) {
    std::ifstream in(lock);
    long pid = 0;
    in >> pid;
    return static_cast<pid_t>(pid);
}

// At 96 DPI, as Xvfb reports it.
const TwipTransform kPixels = TwipTransform::ForDevice(1.0);

class VirtualDisplay {
public:
    VirtualDisplay() {
        char dir[] = "/tmp/tessarline-e2e-XXXXXX";
        if (mkdtemp(dir) != nullptr) {
            runtime_ = dir;
        }
        for (int n = 91; n < 191 && xvfb_ == 0; ++n) {
            const std::string lock = "/tmp/.X" + std::to_string(n) + "-lock";
            const std::string socket = "/tmp/.X11-unix/X" + std::to_string(n);
            if (fs::exists(lock) || fs::exists(socket)) {
                continue;
            }
            pid_t pid = Spawn({"Xvfb", ":" + std::to_string(n), "-nolisten", "tcp", "-screen", "0",
                               "1024x768x24"});
            // Up when it holds the lock and its socket is there; gone when another server took
            // the number first.
            auto ours = [&] { return LockHolder(lock) == pid && fs::exists(socket); };
            const bool up =
                WaitFor([&] { return ours() || !Running(pid); }) && Running(pid) && ours();
            if (up) {
                xvfb_ = pid;
                display_ = ":" + std::to_string(n);
            } else {
                Stop(pid);
            }
        }
    }
    ~VirtualDisplay() {
        Stop(xvfb_);
        if (!runtime_.empty()) {
            fs::remove_all(runtime_);
        }
    }
    VirtualDisplay(const VirtualDisplay&) = delete;
    VirtualDisplay& operator=(const VirtualDisplay&) = delete;

    bool Up() const { return xvfb_ != 0 && !runtime_.empty(); }
    const std::string& Display() const { return display_; }
    const std::string& RuntimeDir() const { return runtime_; }

private:
    pid_t xvfb_ = 0;
    std::string display_;
    std::string runtime_;
};

VirtualDisplay* gDisplay = nullptr;

class BoardE2e : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        gDisplay = new VirtualDisplay;
        if (gDisplay->Up()) {
            setenv("DISPLAY", gDisplay->Display().c_str(), 1);
            setenv("XDG_RUNTIME_DIR", gDisplay->RuntimeDir().c_str(), 1);
            unsetenv("WAYLAND_DISPLAY");
            unsetenv("QT_QPA_PLATFORM");
        }
    }
    static void TearDownTestSuite() {
        delete gDisplay;
        gDisplay = nullptr;
    }

    void SetUp() override {
        ASSERT_TRUE(gDisplay->Up()) << "no virtual X server";
        shot_ = gDisplay->RuntimeDir() + "/board.png";
        game_ = Spawn({TESSARLINE_GAME});
        int status = 0;
        window_ = Capture("timeout 20 xdotool search --sync --name '^Tessarline$' 2>/dev/null | "
                          "head -n 1",
                          &status);
        while (!window_.empty() && window_.back() == '\n') {
            window_.pop_back();
        }
        ASSERT_FALSE(window_.empty()) << "the game's window did not appear";
        ASSERT_EQ(Grab(true), 0) << "the board was never drawn";

        // The board fills the bottom of the window, below the menu bar, whatever its height.
        const std::string geometry = Capture("xdotool getwindowgeometry --shell " + window_);
        int x = -1, y = -1, width = -1, height = -1;
        for (const char* line = geometry.c_str(); *line != '\0';) {
            std::sscanf(line, "X=%d", &x);
            std::sscanf(line, "Y=%d", &y);
            std::sscanf(line, "WIDTH=%d", &width);
            std::sscanf(line, "HEIGHT=%d", &height);
            const char* next = std::strchr(line, '\n');
            line = next != nullptr ? next + 1 : line + std::strlen(line);
        }
        ASSERT_EQ(width, ClientWidth(kPixels)) << geometry;
        ASSERT_GT(height, ClientHeight(kPixels)) << geometry;
        originX_ = x;
        originY_ = y + height - ClientHeight(kPixels);
    }

    void TearDown() override { Stop(game_); }

    int Grab(bool waitBoard) {
        int status = -1;
        Capture(std::string(TESSARLINE_GRAB) + (waitBoard ? " --wait-board " : " ") + window_ +
                    " " + shot_ + " 2>/dev/null",
                &status);
        return status;
    }

    // The board part of a fresh picture of the window.
    QImage Board() {
        QImage image;
        if (Grab(false) == 0 && image.load(QString::fromStdString(shot_))) {
            image = image.convertToFormat(QImage::Format_RGB32);
            return image.copy(0, image.height() - ClientHeight(kPixels), ClientWidth(kPixels),
                              ClientHeight(kPixels));
        }
        return image;
    }

    void ClickBox(int node) {
        const PixelRect r = BoxRect(node, kPixels);
        const std::string command = "xdotool mousemove --sync " +
                                    std::to_string(originX_ + r.x + r.width / 2) + " " +
                                    std::to_string(originY_ + r.y + r.height / 2) + " click 1";
        int status = -1;
        Capture(command, &status);
        ASSERT_EQ(status, 0) << command;
    }

    pid_t game_ = 0;
    std::string window_;
    std::string shot_;
    int originX_ = 0;
    int originY_ = 0;
};

QRgb Px(const QImage& image, int x, int y) {
    return image.pixel(x, y) | 0xFF000000u;
}

constexpr QRgb kInk = 0xFF000000u;
constexpr QRgb kPaper = 0xFFFFFFFFu;
constexpr QRgb kFaint = 0xFF009000u;

// The pixel inside a box's border at its top-left corner, clear of the caption.
QRgb BoxInterior(const QImage& image, int node) {
    const PixelRect r = BoxRect(node, kPixels);
    return Px(image, r.x + 1, r.y + 1);
}

TEST_F(BoardE2e, ClicksTraceEdgesAndMoveTheHighlight) {
    ClickBox(4);
    ClickBox(2);
    // linLine(5) at (70,70), linLine(3) at (136,88), linLine(1) at (40,88), arc 2-4 at (161,88).
    auto moved = [](const QImage& b) {
        return !b.isNull() && Px(b, 70, 70) == kInk && Px(b, 136, 88) == kInk &&
               BoxInterior(b, 2) == kInk;
    };
    QImage board;
    EXPECT_TRUE(WaitFor([&] { return moved(board = Board()); })) << "the moves never showed";
    ASSERT_FALSE(board.isNull());
    EXPECT_EQ(Px(board, 70, 70), kInk);
    EXPECT_EQ(Px(board, 88, 88), kInk);
    EXPECT_EQ(Px(board, 136, 88), kInk);
    EXPECT_EQ(Px(board, 40, 88), kFaint);
    EXPECT_EQ(Px(board, 88, 40), kFaint);
    EXPECT_EQ(Px(board, 70, 106), kFaint);
    EXPECT_EQ(Px(board, 161, 88), kFaint);
    EXPECT_EQ(Px(board, 88, 15), kFaint);
    EXPECT_EQ(BoxInterior(board, 1), kPaper);
    EXPECT_EQ(BoxInterior(board, 2), kInk);
    EXPECT_EQ(BoxInterior(board, 3), kPaper);
    EXPECT_EQ(BoxInterior(board, 4), kPaper);

    // Back to box 4 along the right-hand arc, now that linLine(3) is traced.
    ClickBox(4);
    EXPECT_TRUE(WaitFor([&] {
        board = Board();
        return !board.isNull() && Px(board, 161, 88) == kInk && BoxInterior(board, 4) == kInk;
    })) << "the arc was not traced";
}

TEST_F(BoardE2e, AltRResetsTheBoard) {
    ClickBox(3);
    QImage board;
    ASSERT_TRUE(WaitFor([&] {
        board = Board();
        return !board.isNull() && Px(board, 40, 88) == kInk;
    })) << "the move never showed";

    int status = -1;
    Capture("xdotool windowfocus --sync " + window_ + " key alt+r", &status);
    ASSERT_EQ(status, 0);
    EXPECT_TRUE(WaitFor([&] {
        board = Board();
        return !board.isNull() && Px(board, 40, 88) == kFaint && BoxInterior(board, 1) == kInk &&
               BoxInterior(board, 3) == kPaper;
    })) << "Alt+R did not reset the board";
}

} // namespace
} // namespace tessarline
