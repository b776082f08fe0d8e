// What the end-to-end tests share: the game started afresh for every test on a private virtual
// X server, driven with xdotool, and bounded polling and shell commands to watch it with.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include <sys/types.h>

namespace tessarline::e2e {

// Polls until the condition holds or the time is up; returns whether it held.
bool WaitFor(const std::function<bool()>& condition,
             std::chrono::seconds limit = std::chrono::seconds(10));

// Whether the process has ended; if so it is reaped and its wait status goes to *status.
bool Ended(pid_t pid, int* status = nullptr);

// Runs a shell command; its output lines, trimmed, the empty ones left out. Its exit status
// goes to *status (-1 when it did not exit normally).
std::vector<std::string> Capture(const std::string& command, int* status = nullptr);

struct WindowGeometry {
    int x = -1, y = -1, width = -1, height = -1;
};

// The game in an environment of its own: a private runtime directory and home, and a search
// path that holds no programs (so no system-information program either). Xvfb picks a free
// display number itself, so that tests running side by side never race for one. Programs the
// test starts itself reach the same server.
class GameTest : public ::testing::Test {
protected:
    static void SetUpTestSuite();
    static void TearDownTestSuite();
    // Fails unless the game's window shows.
    void SetUp() override;
    void TearDown() override;

    static const std::string& Dir() { return dir_; }

    // The visible windows whose title matches, once there are exactly `count` of them; what
    // there is when that does not happen within 15 seconds.
    static std::vector<std::string> Visible(const std::string& title, std::size_t count);
    // A window's client area on the screen.
    static WindowGeometry GeometryOf(const std::string& window);
    // A left click at a point of the screen.
    static void Click(int x, int y);
    // Without a window manager a window must be given the focus before keys reach it.
    static void Keys(const std::string& window, const std::string& keys);
    // The X display's name, for opening a connection of one's own.
    static const std::string& DisplayName() { return display_; }

    pid_t game_ = 0;
    std::string window_; // the game's

private:
    static pid_t xvfb_;
    static std::string display_;
    static std::string dir_;
};

} // namespace tessarline::e2e
