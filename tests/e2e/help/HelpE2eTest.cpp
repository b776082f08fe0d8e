// The real program on a private virtual X server: Help opened from the keyboard, System Info
// clicked on a host without any system-information program, the message box and the dialog
// closed again with keys sent to the server (xdotool), and the program ended by closing its
// window as a window manager would.
#include <gtest/gtest.h>

#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace tessarline {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

// Polls until the condition holds or the time is up; returns whether it held.
bool WaitFor(const std::function<bool()>& condition, std::chrono::seconds limit = 15s) {
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

// A child process that dies with this test, so nothing is left behind even after a crash.
// keepFd stays open in the child as descriptor 3.
pid_t Spawn(const std::vector<std::string>& argv, const std::vector<std::string>& env,
            int keepFd = -1) {
    const pid_t parent = getpid();
    const pid_t pid = fork();
    if (pid == 0) {
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (getppid() != parent) {
            _exit(127);
        }
        const int null = open("/dev/null", O_RDWR);
        dup2(null, STDIN_FILENO);
        dup2(null, STDOUT_FILENO);
        if (keepFd >= 0) {
            dup2(keepFd, 3);
        }
        std::vector<char*> args, vars;
        for (const std::string& a : argv) {
            args.push_back(const_cast<char*>(a.c_str()));
        }
        args.push_back(nullptr);
        for (const std::string& v : env) {
            vars.push_back(const_cast<char*>(v.c_str()));
        }
        vars.push_back(nullptr);
        // The program is looked for on this process's PATH, not on the one it is given.
        execvpe(args[0], args.data(), vars.data());
        _exit(127);
    }
    return pid;
}

// The exit status once the process has ended, or -1 while it runs.
int Reap(pid_t pid, int* status) {
    const pid_t done = waitpid(pid, status, WNOHANG);
    return done == pid ? 0 : -1;
}

void Stop(pid_t& pid) {
    if (pid <= 0) {
        return;
    }
    int status = 0;
    if (Reap(pid, &status) != 0) {
        kill(pid, SIGTERM);
        if (!WaitFor([&] { return Reap(pid, &status) == 0; }, 5s)) {
            kill(pid, SIGKILL);
            waitpid(pid, &status, 0);
        }
    }
    pid = 0;
}

// Runs xdotool with the given arguments on the display; its output, lines trimmed.
std::vector<std::string> Xdotool(const std::string& display, const std::string& args,
                                 int* status = nullptr) {
    const std::string command =
        "DISPLAY=" + display + " timeout 20 xdotool " + args + " 2>/dev/null";
    std::vector<std::string> lines;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) {
        return lines;
    }
    char chunk[256];
    while (std::fgets(chunk, sizeof chunk, pipe) != nullptr) {
        std::string line = chunk;
        while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) {
            line.pop_back();
        }
        if (!line.empty()) {
            lines.push_back(line);
        }
    }
    const int rc = pclose(pipe);
    if (status != nullptr) {
        *status = WIFEXITED(rc) ? WEXITSTATUS(rc) : -1;
    }
    return lines;
}

// Xvfb on a display number it picks itself among the free ones.
class VirtualDisplay {
public:
    VirtualDisplay() {
        char dir[] = "/tmp/tessarline-help-e2e-XXXXXX";
        if (mkdtemp(dir) == nullptr) {
            return;
        }
        dir_ = dir;
        int fds[2];
        if (pipe2(fds, O_CLOEXEC) != 0) {
            return;
        }
        xvfb_ =
            Spawn({"Xvfb", "-displayfd", "3", "-nolisten", "tcp", "-screen", "0", "1024x768x24"},
                  {}, fds[1]);
        close(fds[1]);
        std::string number;
        const auto deadline = Clock::now() + 15s;
        while (Clock::now() < deadline && (number.empty() || number.back() != '\n')) {
            pollfd p{fds[0], POLLIN, 0};
            if (poll(&p, 1, 100) > 0) {
                char c;
                if (read(fds[0], &c, 1) != 1) {
                    break;
                }
                number.push_back(c);
            }
        }
        close(fds[0]);
        if (!number.empty() && number.back() == '\n') {
            number.pop_back();
            display_ = ":" + number;
        } else {
            Stop(xvfb_);
        }
    }
    ~VirtualDisplay() {
        Stop(xvfb_);
        if (!dir_.empty()) {
            std::error_code ignored;
            fs::remove_all(dir_, ignored);
        }
    }
    VirtualDisplay(const VirtualDisplay&) = delete;
    VirtualDisplay& operator=(const VirtualDisplay&) = delete;

    bool Up() const { return xvfb_ != 0 && !display_.empty(); }
    const std::string& Display() const { return display_; }
    const std::string& Dir() const { return dir_; }

private:
    pid_t xvfb_ = 0;
    std::string display_;
    std::string dir_;
};

struct Geometry {
    int x = -1, y = -1, width = -1, height = -1;
};

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
        WaitFor([&] {
            found = Xdotool(display_->Display(), "search --onlyvisible --name '" + title + "'");
            return found.size() == count;
        });
        return found;
    }

    Geometry GeometryOf(const std::string& window) {
        Geometry g;
        for (const std::string& line :
             Xdotool(display_->Display(), "getwindowgeometry --shell " + window)) {
            std::sscanf(line.c_str(), "X=%d", &g.x);
            std::sscanf(line.c_str(), "Y=%d", &g.y);
            std::sscanf(line.c_str(), "WIDTH=%d", &g.width);
            std::sscanf(line.c_str(), "HEIGHT=%d", &g.height);
        }
        return g;
    }

    // Without a window manager the window must be given the focus before keys reach it.
    void Keys(const std::string& window, const std::string& keys) {
        int status = -1;
        Xdotool(display_->Display(), "windowfocus --sync " + window + " key " + keys, &status);
        ASSERT_EQ(status, 0) << keys;
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
    Keys(board_[0], "alt+h");
    const std::vector<std::string> dialog = Visible("^About Tessarline$", 1);
    ASSERT_EQ(dialog.size(), 1u) << "Alt+H did not open the help dialog";
    // Its client area at its fixed place and size (96 DPI on Xvfb).
    const Geometry g = GeometryOf(dialog[0]);
    EXPECT_EQ(g.x, 156);
    EXPECT_EQ(g.y, 129);
    EXPECT_EQ(g.width, 382);
    EXPECT_EQ(g.height, 237);

    // A real click in the middle of "&System Info...": 4260, 3075, 1245 by 345 twips.
    const int cx = g.x + (4260 + 1245 / 2) / 15;
    const int cy = g.y + (3075 + 345 / 2) / 15;
    int status = -1;
    Xdotool(display_->Display(),
            "mousemove --sync " + std::to_string(cx) + " " + std::to_string(cy) + " click 1",
            &status);
    ASSERT_EQ(status, 0);

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
    ASSERT_TRUE(WaitFor([&] { return Reap(game_, &exit) == 0; })) << "the program did not end";
    game_ = 0;
    EXPECT_TRUE(WIFEXITED(exit) && WEXITSTATUS(exit) == 0) << exit;
}

TEST_F(HelpE2e, HelpOpensAgainAtTheSamePlace) {
    for (int opening = 0; opening < 2; ++opening) {
        Keys(board_[0], "alt+h");
        const std::vector<std::string> dialog = Visible("^About Tessarline$", 1);
        ASSERT_EQ(dialog.size(), 1u) << "opening " << opening;
        const Geometry g = GeometryOf(dialog[0]);
        EXPECT_EQ(g.x, 156);
        EXPECT_EQ(g.y, 129);
        // Enter presses OK, which has the focus.
        Keys(dialog[0], "Return");
        EXPECT_TRUE(Visible("^About Tessarline$", 0).empty()) << "opening " << opening;
    }
}

} // namespace
} // namespace tessarline
