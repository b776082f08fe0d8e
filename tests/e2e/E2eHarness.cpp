// Plays the real program, Linux or Windows, as a user would on a virtual X server: clicks and
// keys sent with xdotool, the screen read back and compared with the board that the portable
// core draws for the same clicks, and the bell heard through the X keyboard extension.
//
//   e2e_harness PROGRAM [ARGS...]     (on the display in DISPLAY; tests/e2e/e2e.sh sets it up)
#include "board/core/BoardPicture.h"
#include "help/core/AboutLayout.h"

#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include <sys/wait.h>
#include <unistd.h>

namespace {

using namespace tessarline;
using namespace std::chrono_literals;

const TwipTransform kPixels = TwipTransform::ForDevice(1.0); // 96 DPI, on Xvfb as under Wine
constexpr Pixel kInk = 0xFF000000u;
constexpr Pixel kPaper = 0xFFFFFFFFu;

// The board the program should show: the core's own Form1, given the same clicks.
class Model final : public BoardWindow {
public:
    Model() { form.Form_Load(); }
    void Show() override {}
    void Changed() override {}
    void Beep() override { ++beeps; }
    void ShowHelp() override {}

    Form1 form{*this};
    int beeps = 0;
};

// What the screen shows over a window: its place and its 0xFFRRGGBB pixels.
struct Shot {
    int x = 0, y = 0, width = 0, height = 0;
    std::vector<Pixel> pixels;
    Pixel At(int px, int py) const { return pixels[static_cast<std::size_t>(py * width + px)]; }
};

Display* x = nullptr;
int xkbEvent = 0, bells = 0, failures = 0;

bool Check(bool ok, const std::string& what) {
    std::printf("%s %s\n", ok ? "ok    " : "FAILED", what.c_str());
    std::fflush(stdout);
    failures += ok ? 0 : 1;
    return ok;
}

template <class Condition> bool WaitFor(Condition condition, std::chrono::seconds limit = 20s) {
    const auto end = std::chrono::steady_clock::now() + limit;
    bool ok = false;
    while (!(ok = condition()) && std::chrono::steady_clock::now() < end) {
        std::this_thread::sleep_for(20ms);
    }
    return ok;
}

void Xdotool(const std::string& args) {
    if (std::system(("timeout 20 xdotool " + args).c_str()) != 0) {
        Check(false, "xdotool " + args);
    }
}

void Click(int sx, int sy) {
    Xdotool("mousemove --sync " + std::to_string(sx) + " " + std::to_string(sy) + " click 1");
}

// Without a window manager a window has the keyboard only once it is given the focus.
void Keys(Window w, const std::string& keys) {
    Xdotool("windowfocus --sync " + std::to_string(w) + " key " + keys);
}

// The shown windows with this title.
std::vector<Window> Windows(const std::string& title) {
    std::vector<Window> found;
    FILE* out = popen(("xdotool search --onlyvisible --name '^" + title + "$'").c_str(), "r");
    for (Window w = 0; std::fscanf(out, "%lu", &w) == 1;) {
        found.push_back(w);
    }
    pclose(out);
    return found;
}

Shot Grab(Window w) {
    XWindowAttributes a{};
    XImage* image = nullptr;
    // A top-level window is a child of the root: its place is the screen's.
    if (!XGetWindowAttributes(x, w, &a) ||
        (image = XGetImage(x, DefaultRootWindow(x), a.x, a.y, static_cast<unsigned>(a.width),
                           static_cast<unsigned>(a.height), AllPlanes, ZPixmap)) == nullptr) {
        return {};
    }
    Shot s{a.x, a.y, a.width, a.height, {}};
    for (int i = 0; i < a.width * a.height; ++i) {
        s.pixels.push_back(kInk | (XGetPixel(image, i % a.width, i / a.width) & 0xFFFFFFu));
    }
    XDestroyImage(image);
    return s;
}

// The pixels of the shot from (ox, oy) on that differ from the board; inside a box only those
// beyond what its caption, in the platform's font, may cover: a third of the box.
long Mismatches(const Shot& s, const PixelBuffer& board, int ox, int oy) {
    if (ox < 0 || ox + board.Width() > s.width || oy + board.Height() > s.height) {
        return board.Width() * board.Height();
    }
    auto wrong = [&](int left, int top, int width, int height) {
        long count = 0;
        for (int i = 0; i < width * height; ++i) {
            const int px = left + i % width, py = top + i / width;
            count += s.At(ox + px, oy + py) == board.At(px, py) ? 0 : 1;
        }
        return count;
    };
    long all = wrong(0, 0, board.Width(), board.Height());
    const int e = BoxBorderWidth(kPixels);
    for (int n = 1; n <= kNodeCount; ++n) {
        const PixelRect b = BoxRect(n, kPixels);
        const int w = b.width - 2 * e, h = b.height - 2 * e;
        all -= std::min(wrong(b.x + e, b.y + e, w, h), w * h / 3L);
    }
    return all;
}

// Where the Help dialog's picture is: the square of Image1's size that holds only black and
// white, with white corners, as the figure leaves them. The dialog around it is neither.
bool FindPicture(const Shot& s, int& px, int& py) {
    const int size = kPixels.X(kAboutImage1.width), last = size - 1;
    for (py = 0; py + size <= s.height; ++py) {
        for (px = 0; px + size <= s.width; ++px) {
            bool ok = s.At(px, py) == kPaper && s.At(px + last, py) == kPaper &&
                      s.At(px, py + last) == kPaper && s.At(px + last, py + last) == kPaper;
            bool ink = false;
            for (int i = 0; ok && i < size * size; ++i) {
                const Pixel p = s.At(px + i % size, py + i / size);
                ok = p == kInk || p == kPaper;
                ink = ink || p == kInk;
            }
            if (ok && ink) {
                return true;
            }
        }
    }
    return false;
}

} // namespace

int main(int argc, char** argv) {
    int reason = 0, error = 0, major = XkbMajorVersion, minor = XkbMinorVersion;
    x = argc > 1 ? XkbOpenDisplay(nullptr, &xkbEvent, &error, &major, &minor, &reason) : nullptr;
    if (x == nullptr) {
        std::fprintf(stderr, "usage: DISPLAY=... %s PROGRAM [ARGS...]\n", argv[0]);
        return 2;
    }
    // A window that goes away while it is looked at is no reason to stop.
    XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });
    XkbSelectEvents(x, XkbUseCoreKbd, XkbBellNotifyMask, XkbBellNotifyMask);
    const pid_t program = fork();
    if (program == 0) {
        execvp(argv[1], argv + 1);
        _exit(127);
    }
    auto abandon = [&] {
        kill(program, SIGKILL);
        return 1;
    };

    Model model;
    std::vector<Window> board;
    int ox = -1, oy = -1; // the board's top-left corner in its window, once found
    auto shows = [&](const std::string& what) {
        long wrong = 0;
        const bool ok = WaitFor([&] {
            const Shot s = Grab(board[0]);
            const PixelBuffer want = RenderBoard(model.form, kPixels);
            // Found the first time by its pixels, wherever the menu bar ends.
            for (int top = 0; ox < 0 && top + want.Height() <= s.height; ++top) {
                for (int left = 0; ox < 0 && left + want.Width() <= s.width; ++left) {
                    if (s.At(left, top) == want.At(0, 0) && Mismatches(s, want, left, top) == 0) {
                        ox = left, oy = top;
                    }
                }
            }
            wrong = Mismatches(s, want, ox, oy);
            for (XEvent e; XPending(x) > 0;) {
                XNextEvent(x, &e);
                const auto* xkb = reinterpret_cast<XkbAnyEvent*>(&e);
                bells += e.type == xkbEvent && xkb->xkb_type == XkbBellNotify ? 1 : 0;
            }
            return wrong == 0 && bells == model.beeps;
        });
        return Check(ok, what + " (pixels off " + std::to_string(wrong) + ", bells " +
                             std::to_string(bells) + " of " + std::to_string(model.beeps) + ")");
    };
    if (!Check(WaitFor([&] { return (board = Windows("Tessarline")).size() == 1; }, 60s),
               "the board window \"Tessarline\" shows") ||
        !shows("the fresh board")) {
        return abandon();
    }

    // Moves along a line, an arc and a diagonal, one refused with a beep, one more; Reset.
    const Shot where = Grab(board[0]);
    for (const NodeIndex node : {3, 1, 4, 1, 2}) {
        const int beeps = model.beeps;
        model.form.lblNode_Click(node);
        const PixelRect b = BoxRect(node, kPixels);
        Click(where.x + ox + b.x + b.width / 2, where.y + oy + b.y + b.height / 2);
        shows("box " + std::to_string(node) + (model.beeps > beeps ? " refused" : " traced"));
    }
    Keys(board[0], "alt+r");
    model.form.mnuReset_Click();
    shows("Alt+R resets the board");

    // Help: the dialog's client area, found by its picture, at its place and size.
    std::vector<Window> dialog;
    Keys(board[0], "alt+h");
    Shot s;
    int px = 0, py = 0;
    if (!Check(WaitFor([&] { return (dialog = Windows("About Tessarline")).size() == 1; }),
               "Alt+H opens \"About Tessarline\"") ||
        !Check(WaitFor([&] { return FindPicture(s = Grab(dialog[0]), px, py); }),
               "it shows the figure")) {
        return abandon();
    }
    const int left = s.x + px - kPixels.X(kAboutImage1.left);
    const int top = s.y + py - kPixels.Y(kAboutImage1.top);
    const int frame = left - s.x; // as wide at the sides as at the bottom
    const std::array<int, 4> got = {left, top, s.width - 2 * frame, s.y + s.height - frame - top};
    const std::array<int, 4> want = {
        kPixels.X(kAboutScreenLeftTwips), kPixels.Y(kAboutScreenTopTwips),
        kPixels.X(kAboutClientWidthTwips), kPixels.Y(kAboutClientHeightTwips)};
    char text[100];
    std::snprintf(text, sizeof text, "its client area at %d,%d, %dx%d (want %d,%d, %dx%d)", got[0],
                  got[1], got[2], got[3], want[0], want[1], want[2], want[3]);
    Check(got == want, text);

    // System Info, with no tool to be found: the message box captioned "Tessarline".
    const TwipRect& sys = kAboutSysInfo;
    Click(left + kPixels.X(sys.left + sys.width / 2), top + kPixels.Y(sys.top + sys.height / 2));
    std::vector<Window> titled;
    if (Check(WaitFor([&] { return (titled = Windows("Tessarline")).size() == 2; }),
              "System Info shows the message box \"Tessarline\"")) {
        Keys(titled[0] == board[0] ? titled[1] : titled[0], "Return");
        Check(WaitFor([&] { return Windows("Tessarline") == board; }), "its OK closes it");
        Check(Windows("About Tessarline") == dialog, "the dialog stays");
    }
    Keys(dialog[0], "Escape");
    Check(WaitFor([&] { return Windows("About Tessarline").empty(); }), "Esc closes the dialog");
    shows("the board is as it was");

    // The board's close button, as a window manager presses it.
    XEvent e{};
    e.xclient = {
        ClientMessage, 0, True, x, board[0], XInternAtom(x, "WM_PROTOCOLS", False), 32, {}};
    e.xclient.data.l[0] = static_cast<long>(XInternAtom(x, "WM_DELETE_WINDOW", False));
    XSendEvent(x, board[0], False, NoEventMask, &e);
    XFlush(x);
    int status = -1;
    const bool ended = WaitFor([&] { return waitpid(program, &status, WNOHANG) == program; });
    Check(ended && WIFEXITED(status) && WEXITSTATUS(status) == 0,
          "closing the board ends the program with status 0 (wait status " +
              std::to_string(status) + ")");
    return ended ? (failures == 0 ? 0 : 1) : abandon();
}
