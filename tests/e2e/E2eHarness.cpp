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
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using namespace tessarline;
using namespace std::chrono_literals;

// 96 DPI, as both Xvfb and Wine report it.
const TwipTransform kPixels = TwipTransform::ForDevice(1.0);

// The board the program should show: the core's own Form1, given the same clicks.
class Model final : public BoardWindow {
public:
    Model() { form.Form_Load(); }
    void Show() override {}
    void DrawArc(TwipPoint centre, int radius, Colour colour, float start, float end) override {
        surface.DrawArc(centre, radius, colour, start, end);
    }
    void Beep() override { ++beeps; }
    void ShowHelp() override {}
    PixelBuffer Picture() const { return RenderBoard(form, surface, kPixels); }

    BoardSurface surface;
    Form1 form{*this};
    int beeps = 0;
};

struct Rect {
    int x = 0, y = 0, width = 0, height = 0;
};

// What the screen shows over a window, as 0xFFRRGGBB pixels.
struct Shot {
    Rect r;
    std::vector<Pixel> pixels;
    Pixel At(int x, int y) const { return pixels[static_cast<std::size_t>(y * r.width + x)]; }
};

Display* x = nullptr;
int xkbEvent = 0;
int bells = 0;
int failures = 0;

bool Check(bool ok, const std::string& what) {
    std::printf("%s %s\n", ok ? "ok     " : "FAILED ", what.c_str());
    std::fflush(stdout);
    failures += ok ? 0 : 1;
    return ok;
}

bool WaitFor(const std::function<bool()>& condition, std::chrono::seconds limit = 10s) {
    for (const auto end = std::chrono::steady_clock::now() + limit;;) {
        if (condition()) {
            return true;
        }
        if (std::chrono::steady_clock::now() > end) {
            return false;
        }
        std::this_thread::sleep_for(20ms);
    }
}

void Xdotool(const std::string& args) {
    const std::string command = "timeout 20 xdotool " + args;
    if (std::system(command.c_str()) != 0) {
        Check(false, command);
    }
}

void Click(int sx, int sy) {
    Xdotool("mousemove --sync " + std::to_string(sx) + " " + std::to_string(sy) + " click 1");
}

// Without a window manager a window gets the keyboard only when given the focus.
void Keys(Window w, const std::string& keys) {
    Xdotool("windowfocus --sync " + std::to_string(w) + " key " + keys);
}

// The shown top-level windows with this title, in stacking order.
std::vector<Window> Windows(const char* title) {
    Window root = 0, parent = 0, *children = nullptr;
    unsigned count = 0;
    std::vector<Window> found;
    XQueryTree(x, DefaultRootWindow(x), &root, &parent, &children, &count);
    for (unsigned i = 0; i < count; ++i) {
        XWindowAttributes a{};
        XTextProperty name{};
        if (XGetWindowAttributes(x, children[i], &a) && a.map_state == IsViewable &&
            XGetWMName(x, children[i], &name) && name.value != nullptr) {
            if (std::strcmp(reinterpret_cast<const char*>(name.value), title) == 0) {
                found.push_back(children[i]);
            }
            XFree(name.value);
        }
    }
    if (children != nullptr) {
        XFree(children);
    }
    return found;
}

Shot Grab(Window w) {
    Shot s;
    XWindowAttributes a{};
    if (!XGetWindowAttributes(x, w, &a)) {
        return s;
    }
    // Top-level windows are children of the root, so their place is the screen's.
    const int right = std::min(a.x + a.border_width + a.width, WidthOfScreen(a.screen));
    const int bottom = std::min(a.y + a.border_width + a.height, HeightOfScreen(a.screen));
    const Rect r{std::max(a.x + a.border_width, 0), std::max(a.y + a.border_width, 0), 0, 0};
    if (right <= r.x || bottom <= r.y) {
        return s;
    }
    XImage* image = XGetImage(x, DefaultRootWindow(x), r.x, r.y, static_cast<unsigned>(right - r.x),
                              static_cast<unsigned>(bottom - r.y), AllPlanes, ZPixmap);
    if (image == nullptr) {
        return s;
    }
    s.r = {r.x, r.y, right - r.x, bottom - r.y};
    for (int py = 0; py < s.r.height; ++py) {
        for (int px = 0; px < s.r.width; ++px) {
            s.pixels.push_back(0xFF000000u | (XGetPixel(image, px, py) & 0xFFFFFFu));
        }
    }
    XDestroyImage(image);
    return s;
}

// The pixels of the shot, from (ox, oy) on, that differ from the board; inside a box only
// those beyond what its caption, drawn in the platform's font, could cover.
long Mismatches(const Shot& s, const PixelBuffer& board, int ox, int oy) {
    if (ox < 0 || oy < 0 || ox + board.Width() > s.r.width || oy + board.Height() > s.r.height) {
        return board.Width() * board.Height();
    }
    const int border = BoxBorderWidth(kPixels);
    std::array<long, kNodeCount> caption{};
    long wrong = 0;
    for (int y = 0; y < board.Height(); ++y) {
        for (int px = 0; px < board.Width(); ++px) {
            if (s.At(ox + px, oy + y) == board.At(px, y)) {
                continue;
            }
            long* count = &wrong;
            for (int n = 1; n <= kNodeCount; ++n) {
                const PixelRect b = BoxRect(n, kPixels);
                if (px >= b.x + border && px < b.x + b.width - border && y >= b.y + border &&
                    y < b.y + b.height - border) {
                    count = &caption[static_cast<std::size_t>(n - 1)];
                }
            }
            ++*count;
        }
    }
    for (int n = 1; n <= kNodeCount; ++n) {
        const PixelRect b = BoxRect(n, kPixels);
        const long inside = (b.width - 2 * border) * (b.height - 2 * border);
        wrong += std::max(0L, caption[static_cast<std::size_t>(n - 1)] - inside / 3);
    }
    return wrong;
}

// Where the Help dialog's picture of the figure is: the square of Image1's size that holds
// only black and white, with white corners and black on each side, where the circle
// touches it.
bool FindPicture(const Shot& s, int& px, int& py) {
    const int size = kPixels.X(kAboutImage1.width);
    auto bw = [&](int cx, int cy) {
        const Pixel p = s.At(cx, cy);
        return p == 0xFF000000u || p == 0xFFFFFFFFu;
    };
    for (py = 0; py + size <= s.r.height; ++py) {
        for (px = 0; px + size <= s.r.width; ++px) {
            bool ok = true;
            std::array<bool, 4> sides{};
            for (int i = 0; ok && i < size * size; ++i) {
                const int cx = px + i % size, cy = py + i / size;
                ok = bw(cx, cy);
                if (ok && s.At(cx, cy) == 0xFF000000u) {
                    sides[0] = sides[0] || cy == py;
                    sides[1] = sides[1] || cy == py + size - 1;
                    sides[2] = sides[2] || cx == px;
                    sides[3] = sides[3] || cx == px + size - 1;
                }
            }
            const int far = size - 1;
            ok = ok && s.At(px, py) != 0xFF000000u && s.At(px + far, py) != 0xFF000000u &&
                 s.At(px, py + far) != 0xFF000000u && s.At(px + far, py + far) != 0xFF000000u;
            if (ok && sides[0] && sides[1] && sides[2] && sides[3]) {
                return true;
            }
        }
    }
    return false;
}

void CountBells() {
    while (XPending(x) > 0) {
        XEvent e;
        XNextEvent(x, &e);
        if (e.type == xkbEvent && reinterpret_cast<XkbAnyEvent*>(&e)->xkb_type == XkbBellNotify) {
            ++bells;
        }
    }
}

pid_t Start(char** argv) {
    const pid_t pid = fork();
    if (pid == 0) {
        dup2(open("/dev/null", O_RDWR), STDIN_FILENO);
        dup2(STDIN_FILENO, STDOUT_FILENO);
        execvp(argv[0], argv);
        _exit(127);
    }
    return pid;
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
    const pid_t program = Start(argv + 1);
    int status = -1;
    auto ended = [&] { return waitpid(program, &status, WNOHANG) == program; };

    Model model;
    std::vector<Window> board;
    int ox = -1, oy = -1; // the board's top-left corner in the board window's shot
    auto shows = [&](const std::string& what) {
        long wrong = 0;
        const bool ok = WaitFor([&] {
            wrong = Mismatches(Grab(board[0]), model.Picture(), ox, oy);
            CountBells();
            return wrong == 0 && bells == model.beeps;
        });
        return Check(ok, what + " (pixels off: " + std::to_string(wrong) + ", bells " +
                             std::to_string(bells) + " of " + std::to_string(model.beeps) + ")");
    };

    // The fresh board, found in its window by its pixels wherever the menu bar ends.
    if (!Check(WaitFor([&] { return (board = Windows("Tessarline")).size() == 1; }, 60s),
               "the board window \"Tessarline\" shows") ||
        !Check(WaitFor([&] {
                   const Shot s = Grab(board[0]);
                   const PixelBuffer want = model.Picture();
                   for (oy = 0; oy + want.Height() <= s.r.height; ++oy) {
                       for (ox = 0; ox + want.Width() <= s.r.width; ++ox) {
                           if (Mismatches(s, want, ox, oy) == 0) {
                               return true;
                           }
                       }
                   }
                   return false;
               }),
               "the fresh board")) {
        kill(program, SIGKILL);
        return 1;
    }
    const Rect where = Grab(board[0]).r;

    // Moves along a line, an arc and a diagonal, then one refused with a beep.
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
    if (Check(WaitFor([&] { return (dialog = Windows("About Tessarline")).size() == 1; }),
              "Alt+H opens \"About Tessarline\"")) {
        Rect client;
        Shot s;
        int px = 0, py = 0;
        Check(WaitFor([&] { return FindPicture(s = Grab(dialog[0]), px, py); }),
              "the dialog shows the figure");
        client.x = s.r.x + px - kPixels.X(kAboutImage1.left);
        client.y = s.r.y + py - kPixels.Y(kAboutImage1.top);
        // A frame is as wide at the sides as at the bottom.
        const int frame = client.x - s.r.x;
        client.width = s.r.width - 2 * frame;
        client.height = s.r.y + s.r.height - frame - client.y;
        const Rect want{kPixels.X(kAboutScreenLeftTwips), kPixels.Y(kAboutScreenTopTwips),
                        kPixels.X(kAboutClientWidthTwips), kPixels.Y(kAboutClientHeightTwips)};
        char text[160];
        std::snprintf(text, sizeof text, "its client area at %d,%d, %dx%d (want %d,%d, %dx%d)",
                      client.x, client.y, client.width, client.height, want.x, want.y, want.width,
                      want.height);
        Check(client.x == want.x && client.y == want.y && client.width == want.width &&
                  client.height == want.height,
              text);

        // System Info, on a system without the tool: the message box, captioned "Tessarline".
        const TwipRect& sys = kAboutSysInfo;
        Click(client.x + kPixels.X(sys.left + sys.width / 2),
              client.y + kPixels.Y(sys.top + sys.height / 2));
        std::vector<Window> titled;
        if (Check(WaitFor([&] { return (titled = Windows("Tessarline")).size() == 2; }),
                  "System Info shows the message box \"Tessarline\"")) {
            Keys(titled[0] == board[0] ? titled[1] : titled[0], "Return");
            Check(WaitFor([&] { return Windows("Tessarline") == board; }), "its OK closes it");
            Check(Windows("About Tessarline") == dialog, "the dialog stays");
        }
        Keys(dialog[0], "Escape");
        Check(WaitFor([&] { return Windows("About Tessarline").empty(); }),
              "Esc closes the dialog");
        shows("the board is as it was");
    }

    // The board's close button, as a window manager would press it.
    XEvent e{};
    e.xclient.type = ClientMessage;
    e.xclient.window = board[0];
    e.xclient.message_type = XInternAtom(x, "WM_PROTOCOLS", False);
    e.xclient.format = 32;
    e.xclient.data.l[0] = static_cast<long>(XInternAtom(x, "WM_DELETE_WINDOW", False));
    e.xclient.data.l[1] = CurrentTime;
    XSendEvent(x, board[0], False, NoEventMask, &e);
    XFlush(x);
    if (!Check(WaitFor(ended, 20s), "closing the board ends the program")) {
        kill(program, SIGKILL);
        waitpid(program, &status, 0);
    } else {
        Check(WIFEXITED(status) && WEXITSTATUS(status) == 0,
              "with exit status 0 (wait status " + std::to_string(status) + ")");
    }
    XCloseDisplay(x);
    return failures == 0 ? 0 : 1;
}
