// Plays the real program, Linux or Windows, as a user would on a virtual X server: clicks and
// keys sent with xdotool, the screen read back and compared with the board that the portable
// core draws for the same input, the bell heard through the X keyboard extension. Usage, on the
// display in DISPLAY (tests/e2e/e2e.sh sets it up): e2e_harness PROGRAM [ARGS...]
#include "board/core/BoardInput.h"
#include "board/core/BoardPicture.h"
#include "help/core/AboutLayout.h"

#include <X11/XKBlib.h>
#include <X11/Xutil.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <sstream>
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

// The board the program should show: the core's own Form1 and input, given the same input.
struct Model final : BoardWindow {
    Model() { form.Form_Load(); }
    void Show() override {}
    void Changed(const BoardNews&) override {}
    void Beep() override { ++beeps; }
    void ShowHelp() override {}
    Form1 form{*this};
    BoardInput input{form};
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

// Without a window manager a window has the keyboard only once it is given the focus (none: 0).
void Xdotool(Window w, const std::string& command) {
    const std::string args =
        (w != 0 ? "windowfocus --sync " + std::to_string(w) + " " : "") + command;
    if (std::system(("timeout 20 xdotool " + args).c_str()) != 0) {
        Check(false, "xdotool " + args);
    }
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

bool Within(const PixelRect& r, int margin, int px, int py) {
    return px >= r.x - margin && py >= r.y - margin && px < r.x + r.width + margin &&
           py < r.y + r.height + margin;
}

// The pixels of the shot from (ox, oy) on that differ from the board. Inside a box only those
// beyond what its caption, in the platform's font, may cover count: a third of the box. Round
// the focused box, if any, the platform draws its focus rectangle: that ground is not compared,
// and the box under it only for colours alike: the same top bit in each channel.
long Mismatches(const Shot& s, const PixelBuffer& board, int ox, int oy, NodeIndex focus) {
    if (ox < 0 || ox + board.Width() > s.width || oy + board.Height() > s.height) {
        return board.Width() * board.Height();
    }
    const int e = BoxBorderWidth(kPixels);
    long wrong[kNodeCount + 1] = {}; // outside the boxes' insides, then inside each box
    for (int i = 0; i < board.Width() * board.Height(); ++i) {
        const int px = i % board.Width(), py = i / board.Width();
        const NodeIndex at = NodeAtPixel(px, py, kPixels);
        const int n = at != 0 && Within(BoxRect(at, kPixels), -e, px, py) ? at : 0;
        const Pixel got = s.At(ox + px, oy + py), want = board.At(px, py);
        const bool cue = focus != 0 && Within(BoxRect(focus, kPixels), 4 * e, px, py);
        const bool box = cue && Within(BoxRect(focus, kPixels), 0, px, py);
        wrong[n] +=
            got == want || (cue && !box) || (box && ((got ^ want) & 0x808080u) == 0) ? 0 : 1;
    }
    long all = wrong[0];
    for (int n = 1; n <= kNodeCount; ++n) {
        const PixelRect b = BoxRect(n, kPixels);
        all += std::max(0L, wrong[n] - (b.width - 2 * e) * (b.height - 2 * e) / 3L);
    }
    return all;
}

// Whether the Help dialog's figure is at (px, py): a square of Image1's size in black and white,
// some of each. The dialog around it is neither, so a square one pixel off is not the figure.
bool IsPicture(const Shot& s, int px, int py) {
    const int size = kPixels.X(kAboutImage1.width);
    int ink = 0;
    for (int i = 0; i < size * size; ++i) {
        const int ix = px + i % size, iy = py + i / size;
        const Pixel p = ix >= 0 && iy >= 0 && ix < s.width && iy < s.height ? s.At(ix, iy) : 0;
        if (p != kInk && p != kPaper) {
            return false;
        }
        ink += p == kInk ? 1 : 0;
    }
    return ink > 0 && ink < size * size;
}

// The board's key for an xdotool key name: in the order of BoardKey, then Space or Enter.
BoardKey KeyFor(const std::string& name) {
    const std::string names[] = {"1",     "2",  "3",    "4",   "Left",
                                 "Right", "Up", "Down", "Tab", "shift+Tab"};
    const auto* at = std::find(std::begin(names), std::end(names), name);
    return at == std::end(names) ? BoardKey::Activate : static_cast<BoardKey>(at - names);
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
    int ox = 0, oy = 0; // the board's top-left corner in its window
    auto shows = [&](const std::string& what) {
        long wrong = 0;
        const bool ok = WaitFor([&] {
            const Shot s = Grab(board[0]);
            const PixelBuffer want = RenderBoard(model.form, kPixels);
            // At the window's bottom, framed alike there and at the sides, under the menu bar.
            ox = (s.width - want.Width()) / 2, oy = s.height - ox - want.Height();
            wrong = Mismatches(s, want, ox, oy, model.input.FocusShown() ? model.input.Focus() : 0);
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
    auto reset = [&] {
        Xdotool(board[0], "key alt+r");
        model.form.mnuReset_Click();
        shows("Alt+R resets the board");
    };
    if (!Check(WaitFor([&] { return (board = Windows("Tessarline")).size() == 1; }, 60s),
               "the board window \"Tessarline\" shows") ||
        !shows("the fresh board")) {
        return abandon();
    }

    // By mouse, with no focus rectangle: along a line, an arc and a diagonal, one refused with
    // a beep, one more.
    const auto click = [&](NodeIndex node, Window focus) {
        const PixelRect b = BoxRect(node, kPixels);
        Xdotool(focus, "mousemove --window " + std::to_string(board[0]) + " --sync " +
                           std::to_string(ox + b.x + b.width / 2) + " " +
                           std::to_string(oy + b.y + b.height / 2) + " click 1");
    };
    for (const NodeIndex node : {3, 1, 4, 1, 2}) {
        const int beeps = model.beeps;
        model.form.lblNode_Click(node);
        click(node, board[0]);
        shows("box " + std::to_string(node) + (model.beeps > beeps ? " refused" : " traced"));
    }
    reset();

    // By keys alone, a game of nine edges; a click on the pen's box does nothing, the last
    // one is refused with a beep.
    const std::string game = "2 1 3 Down Right space Up Return Left Down space Up KP_Enter Tab "
                             "Tab space Tab Return space shift+Tab space";
    std::istringstream names(game);
    for (std::string name; names >> name;) {
        model.input.Key(KeyFor(name));
    }
    Xdotool(board[0], "key " + game);
    shows("a game by keys alone");
    reset();

    // Help: the dialog's client area, framed alike at the sides and the bottom, at its place and
    // size, as the figure at its place in it shows.
    Xdotool(board[0], "key alt+h");
    std::vector<Window> dialog;
    int left = 0, top = 0;
    const bool help = WaitFor([&] {
        const Shot s = Grab((dialog = Windows("About Tessarline")).empty() ? 0 : dialog[0]);
        const int frame = (s.width - kPixels.X(kAboutClientWidthTwips)) / 2;
        left = s.x + frame, top = s.y + s.height - frame - kPixels.Y(kAboutClientHeightTwips);
        return dialog.size() == 1 && left == kPixels.X(kAboutScreenLeftTwips) &&
               top == kPixels.Y(kAboutScreenTopTwips) &&
               IsPicture(s, left - s.x + kPixels.X(kAboutImage1.left),
                         top - s.y + kPixels.Y(kAboutImage1.top));
    });
    if (!Check(help, "Alt+H shows \"About Tessarline\", its client area at " +
                         std::to_string(left) + "," + std::to_string(top) + " with the figure")) {
        return abandon();
    }
    // Modal: a click on the board moves nothing; Windows beeps at it, as at any disabled window.
    click(3, 0);
    model.beeps += std::string(argv[1]) == "wine" ? 1 : 0;

    // System Info, with no tool to be found: the message box captioned "Tessarline".
    const TwipRect& sys = kAboutSysInfo;
    Xdotool(dialog[0], "mousemove --sync " +
                           std::to_string(left + kPixels.X(sys.left + sys.width / 2)) + " " +
                           std::to_string(top + kPixels.Y(sys.top + sys.height / 2)) + " click 1");
    std::vector<Window> titled;
    if (Check(WaitFor([&] { return (titled = Windows("Tessarline")).size() == 2; }),
              "System Info shows the message box \"Tessarline\"")) {
        Xdotool(titled[titled[0] == board[0] ? 1 : 0], "key Return");
    }
    WaitFor([&] { return Windows("Tessarline") == board; });
    Xdotool(dialog[0], "key Escape");
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
