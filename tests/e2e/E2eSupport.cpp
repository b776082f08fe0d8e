#include "tests/e2e/E2eSupport.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <system_error>
#include <thread>

#include <fcntl.h>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace tessarline::e2e {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

namespace {

// Starts a program in the given environment with its standard input and output on /dev/null;
// its errors still show. It dies with this test process, so nothing is left behind even after
// a crash. keepFd stays open in it as descriptor 3.
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

// Asks the process to end, kills it if it will not, and sets pid to 0.
void Stop(pid_t& pid) {
    if (pid <= 0) {
        return;
    }
    if (!Ended(pid)) {
        kill(pid, SIGTERM);
        if (!WaitFor([&] { return Ended(pid); }, 5s)) {
            kill(pid, SIGKILL);
            waitpid(pid, nullptr, 0);
        }
    }
    pid = 0;
}

// Starts Xvfb on a display number it picks itself; the display's name, or empty text (and no
// server) when it did not come up.
std::string StartXvfb(pid_t& xvfb) {
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) {
        return {};
    }
    // Xvfb writes the number it took, then a newline, to descriptor 3. Without -noreset it
    // resets when its last client leaves, and a game started at that moment cannot connect.
    xvfb = Spawn(
        {"Xvfb", "-displayfd", "3", "-noreset", "-nolisten", "tcp", "-screen", "0", "1024x768x24"},
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
    if (number.empty() || number.back() != '\n') {
        Stop(xvfb);
        return {};
    }
    number.pop_back();
    return ":" + number;
}

// xdotool on the display, its errors discarded, for at most 20 seconds.
std::vector<std::string> Xdotool(const std::string& display, const std::string& args,
                                 int* status = nullptr) {
    return Capture("DISPLAY=" + display + " timeout 20 xdotool " + args + " 2>/dev/null", status);
}

} // namespace

bool WaitFor(const std::function<bool()>& condition, std::chrono::seconds limit) {
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

bool Ended(pid_t pid, int* status) {
    return waitpid(pid, status, WNOHANG) == pid;
}

std::vector<std::string> Capture(const std::string& command, int* status) {
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

pid_t GameTest::xvfb_ = 0;
std::string GameTest::display_;
std::string GameTest::dir_;

void GameTest::SetUpTestSuite() {
    char dir[] = "/tmp/tessarline-e2e-XXXXXX";
    if (mkdtemp(dir) == nullptr) {
        return;
    }
    dir_ = dir;
    display_ = StartXvfb(xvfb_);
    if (display_.empty()) {
        return;
    }
    const fs::path runtime = fs::path(dir_) / "runtime";
    fs::create_directories(runtime);
    fs::permissions(runtime, fs::perms::owner_all);
    fs::create_directories(fs::path(dir_) / "bin");
    setenv("DISPLAY", display_.c_str(), 1);
    setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
    unsetenv("WAYLAND_DISPLAY");
    unsetenv("QT_QPA_PLATFORM");
}

void GameTest::TearDownTestSuite() {
    Stop(xvfb_);
    if (!dir_.empty()) {
        std::error_code ignored;
        fs::remove_all(dir_, ignored);
    }
    dir_.clear();
    display_.clear();
}

void GameTest::SetUp() {
    ASSERT_FALSE(display_.empty()) << "no virtual X server";
    std::vector<std::string> env = {"DISPLAY=" + display_, "XDG_RUNTIME_DIR=" + dir_ + "/runtime",
                                    "PATH=" + dir_ + "/bin", "HOME=" + dir_};
    if (const char* asan = std::getenv("ASAN_OPTIONS")) {
        env.push_back(std::string("ASAN_OPTIONS=") + asan);
    }
    game_ = Spawn({TESSARLINE_GAME}, env);
    const std::vector<std::string> found = Visible("^Tessarline$", 1);
    ASSERT_EQ(found.size(), 1u) << "the game's window did not appear";
    window_ = found[0];
}

void GameTest::TearDown() {
    Stop(game_);
}

std::vector<std::string> GameTest::Visible(const std::string& title, std::size_t count) {
    std::vector<std::string> found;
    WaitFor(
        [&] {
            found = Xdotool(display_, "search --onlyvisible --name '" + title + "'");
            return found.size() == count;
        },
        15s);
    return found;
}

WindowGeometry GameTest::GeometryOf(const std::string& window) {
    WindowGeometry g;
    for (const std::string& line : Xdotool(display_, "getwindowgeometry --shell " + window)) {
        std::sscanf(line.c_str(), "X=%d", &g.x);
        std::sscanf(line.c_str(), "Y=%d", &g.y);
        std::sscanf(line.c_str(), "WIDTH=%d", &g.width);
        std::sscanf(line.c_str(), "HEIGHT=%d", &g.height);
    }
    return g;
}

void GameTest::Click(int x, int y) {
    const std::string args =
        "mousemove --sync " + std::to_string(x) + " " + std::to_string(y) + " click 1";
    int status = -1;
    Xdotool(display_, args, &status);
    ASSERT_EQ(status, 0) << args;
}

void GameTest::Keys(const std::string& window, const std::string& keys) {
    int status = -1;
    Xdotool(display_, "windowfocus --sync " + window + " key " + keys, &status);
    ASSERT_EQ(status, 0) << keys;
}

} // namespace tessarline::e2e
