// What the end-to-end tests share: child processes that die with the test, bounded polling,
// xdotool and other commands with their output, a private virtual X server, and the game
// started on it for every test.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include <sys/types.h>

namespace tessarline::e2e {

// Polls until the condition holds or the time is up; returns whether it held.
bool WaitFor(const std::function<bool()>& condition,
             std::chrono::seconds limit = std::chrono::seconds(10));

// Starts a program with its standard input and output on /dev/null; its errors still show.
// It dies with this test process, so nothing is left behind even after a crash. Without env
// it gets this process's environment. keepFd stays open in it as descriptor 3.
pid_t Spawn(const std::vector<std::string>& argv,
            const std::optional<std::vector<std::string>>& env = std::nullopt, int keepFd = -1);

// Whether the process has ended; if so it is reaped and its wait status goes to *status.
bool Ended(pid_t pid, int* status = nullptr);

// Asks the process to end, kills it if it will not, and sets pid to 0.
void Stop(pid_t& pid);

// Runs a shell command; its output lines, trimmed, the empty ones left out. Its exit status
// goes to *status (-1 when it did not exit normally).
std::vector<std::string> Capture(const std::string& command, int* status = nullptr);

// Runs xdotool on the display, its errors discarded, for at most 20 seconds.
std::vector<std::string> Xdotool(const std::string& display, const std::string& args,
                                 int* status = nullptr);

struct WindowGeometry {
    int x = -1, y = -1, width = -1, height = -1;
};

// A window's client area on the screen, as xdotool reports it.
WindowGeometry GeometryOf(const std::string& display, const std::string& window);

// A left click at a screen point; xdotool's exit status.
int Click(const std::string& display, int x, int y);

// Without a window manager a window must be given the focus before keys reach it; xdotool's
// exit status.
int Keys(const std::string& display, const std::string& window, const std::string& keys);

// Xvfb on a display number it picks itself among the free ones (so two tests never race for
// one), with a private 0700 directory that goes with it.
class VirtualDisplay {
public:
    VirtualDisplay();
    ~VirtualDisplay();
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

// The game on a private virtual X server, started afresh for every test in an environment of its
// own: a private runtime directory and home, and a search path that holds no programs (so no
// system-information program either). Programs the test starts itself reach the same server.
class GameTest : public ::testing::Test {
protected:
    static void SetUpTestSuite();
    static void TearDownTestSuite();
    // Fails unless the game's window shows.
    void SetUp() override;
    void TearDown() override;

    static const std::string& DisplayName() { return display_->Display(); }
    static const std::string& Dir() { return display_->Dir(); }

    // The visible windows whose title matches, once there are exactly `count` of them; what
    // there is when that does not happen within 15 seconds.
    static std::vector<std::string> Visible(const std::string& title, std::size_t count);

    pid_t game_ = 0;
    std::string window_; // the game's

private:
    static VirtualDisplay* display_;
};

} // namespace tessarline::e2e
