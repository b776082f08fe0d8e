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

pid_t Spawn(const std::vector<std::string>& argv,
            const std::optional<std::vector<std::string>>& env, int keepFd) {
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
        if (!env) {
            execvp(args[0], args.data());
            _exit(127);
        }
        for (const std::string& v : *env) {
            vars.push_back(const_cast<char*>(v.c_str()));
        }
        vars.push_back(nullptr);
        // The program is looked for on this process's PATH, not on the one it is given.
        execvpe(args[0], args.data(), vars.data());
        _exit(127);
    }
    return pid;
}

bool Ended(pid_t pid, int* status) {
    return waitpid(pid, status, WNOHANG) == pid;
}

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

std::vector<std::string> Xdotool(const std::string& display, const std::string& args, int* status) {
    return Capture("DISPLAY=" + display + " timeout 20 xdotool " + args + " 2>/dev/null", status);
}

WindowGeometry GeometryOf(const std::string& display, const std::string& window) {
    WindowGeometry g;
    for (const std::string& line : Xdotool(display, "getwindowgeometry --shell " + window)) {
        std::sscanf(line.c_str(), "X=%d", &g.x);
        std::sscanf(line.c_str(), "Y=%d", &g.y);
        std::sscanf(line.c_str(), "WIDTH=%d", &g.width);
        std::sscanf(line.c_str(), "HEIGHT=%d", &g.height);
    }
    return g;
}

int Click(const std::string& display, int x, int y) {
    int status = -1;
    Xdotool(display, "mousemove --sync " + std::to_string(x) + " " + std::to_string(y) + " click 1",
            &status);
    return status;
}

int Keys(const std::string& display, const std::string& window, const std::string& keys) {
    int status = -1;
    Xdotool(display, "windowfocus --sync " + window + " key " + keys, &status);
    return status;
}

VirtualDisplay::VirtualDisplay() {
    char dir[] = "/tmp/tessarline-e2e-XXXXXX";
    if (mkdtemp(dir) == nullptr) {
        return;
    }
    dir_ = dir;
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) {
        return;
    }
    // Xvfb writes the number it took, then a newline, to descriptor 3.
    xvfb_ = Spawn({"Xvfb", "-displayfd", "3", "-nolisten", "tcp", "-screen", "0", "1024x768x24"},
                  std::nullopt, fds[1]);
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

VirtualDisplay::~VirtualDisplay() {
    Stop(xvfb_);
    if (!dir_.empty()) {
        std::error_code ignored;
        fs::remove_all(dir_, ignored);
    }
}

VirtualDisplay* GameTest::display_ = nullptr;

void GameTest::SetUpTestSuite() {
    display_ = new VirtualDisplay;
    if (!display_->Up()) {
        return;
    }
    const fs::path runtime = fs::path(Dir()) / "runtime";
    fs::create_directories(runtime);
    fs::permissions(runtime, fs::perms::owner_all);
    fs::create_directories(fs::path(Dir()) / "bin");
    setenv("DISPLAY", DisplayName().c_str(), 1);
    setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
    unsetenv("WAYLAND_DISPLAY");
    unsetenv("QT_QPA_PLATFORM");
}

void GameTest::TearDownTestSuite() {
    delete display_;
    display_ = nullptr;
}

void GameTest::SetUp() {
    ASSERT_TRUE(display_->Up()) << "no virtual X server";
    std::vector<std::string> env = {"DISPLAY=" + DisplayName(),
                                    "XDG_RUNTIME_DIR=" + Dir() + "/runtime",
                                    "PATH=" + Dir() + "/bin", "HOME=" + Dir()};
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
            found = Xdotool(DisplayName(), "search --onlyvisible --name '" + title + "'");
            return found.size() == count;
        },
        15s);
    return found;
}

} // namespace tessarline::e2e
