#include "UiTestSupport.h"

#include "board/win32/MainWindow.h"
#include "help/win32/AboutDialog.h"

#include <gtest/gtest.h>

#include <initializer_list>

namespace tessarline {
namespace {

using test::Capture;
using test::Rgb;

constexpr std::uint32_t kGround = Rgb(0, 128, 0);
constexpr std::uint32_t kFaint = Rgb(0, 144, 0);
constexpr std::uint32_t kBlackPx = Rgb(0, 0, 0);
constexpr std::uint32_t kWhitePx = Rgb(255, 255, 255);

// Pixel positions at 96 DPI. Box n spans 17 pixels from its corner; its centre is 8 in.
constexpr POINT kBoxCentre[] = {{40, 40}, {136, 40}, {40, 136}, {136, 136}};
constexpr POINT kCrossing = {88, 88};
constexpr POINT kOnTopLine = {88, 40};
constexpr POINT kOnLeftLine = {40, 88};
constexpr POINT kOnFallingDiagonal = {60, 60};
constexpr POINT kOnRisingDiagonal = {60, 116};
// Where the circle (centre 88, radius 73 1/3) crosses the vertical and horizontal through
// its centre: the middles of the top, right, left and bottom arcs.
constexpr POINT kTopArc = {88, 15};
constexpr POINT kRightArc = {161, 88};
constexpr POINT kLeftArc = {15, 88};
constexpr POINT kBottomArc = {88, 161};

class TestBoard final : public MainWindow {
public:
    TestBoard() : MainWindow(GetModuleHandleW(nullptr), SW_SHOWNORMAL, false) {}
    void Beep() override { ++beeps; }
    void ShowHelp() override {
        if (help) {
            help();
        }
    }
    int beeps = 0;
    std::function<void()> help;
};

class BoardWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(board.Create());
        board.Load();
        ASSERT_EQ(board.Dpi(), 96u) << "the pixel positions below are those at 96 DPI";
    }

    HWND Window() const { return board.Handle(); }

    void Press(POINT p) const {
        SendMessageW(Window(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(p.x, p.y));
    }
    void Release(POINT p) const { SendMessageW(Window(), WM_LBUTTONUP, 0, MAKELPARAM(p.x, p.y)); }
    void Click(POINT p) const {
        Press(p);
        Release(p);
    }
    void ClickBoxes(std::initializer_list<int> nodes) const {
        for (int n : nodes) {
            Click(kBoxCentre[n - 1]);
        }
    }

    Capture Painted() {
        RECT client{};
        GetClientRect(Window(), &client);
        return Capture(client.right, client.bottom, [this](HDC dc) { board.Paint(dc); });
    }
    static std::uint32_t At(const Capture& c, POINT p) { return c.At(p.x, p.y); }

    TestBoard board;
};

TEST_F(BoardWindowTest, FixedFrameWithTitleAndClientSize) {
    const auto style = static_cast<DWORD>(GetWindowLongPtrW(Window(), GWL_STYLE));
    const auto exStyle = static_cast<DWORD>(GetWindowLongPtrW(Window(), GWL_EXSTYLE));
    EXPECT_EQ(style & WS_CAPTION, static_cast<DWORD>(WS_CAPTION));
    EXPECT_NE(style & WS_SYSMENU, 0u);
    EXPECT_EQ(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME), 0u);
    EXPECT_EQ(exStyle & WS_EX_TOOLWINDOW, 0u) << "the board has a task-bar button";
    EXPECT_EQ(GetWindow(Window(), GW_OWNER), nullptr);
    EXPECT_TRUE(IsWindowVisible(Window()));
    EXPECT_EQ(test::WindowText(Window()), L"Tessarline");

    RECT client{};
    GetClientRect(Window(), &client);
    EXPECT_EQ(client.right, 178);
    EXPECT_EQ(client.bottom, 179);

    LOGBRUSH brush{};
    const auto background =
        reinterpret_cast<HBRUSH>(GetClassLongPtrW(Window(), GCLP_HBRBACKGROUND));
    ASSERT_NE(GetObjectW(background, sizeof(brush), &brush), 0);
    EXPECT_EQ(brush.lbColor, RGB(0, 128, 0));
}

TEST_F(BoardWindowTest, MenuBarHoldsTwoPlainCommands) {
    const HMENU bar = GetMenu(Window());
    ASSERT_NE(bar, nullptr);
    ASSERT_EQ(GetMenuItemCount(bar), 2);
    const wchar_t* captions[] = {L"&Reset", L"&Help"};
    const UINT ids[] = {kResetCommand, kHelpCommand};
    for (int i = 0; i < 2; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(GetSubMenu(bar, i), nullptr);
        wchar_t text[32] = {};
        GetMenuStringW(bar, static_cast<UINT>(i), text, 32, MF_BYPOSITION);
        EXPECT_STREQ(text, captions[i]);
        EXPECT_EQ(GetMenuItemID(bar, i), ids[i]);
        const UINT state = GetMenuState(bar, static_cast<UINT>(i), MF_BYPOSITION);
        EXPECT_EQ(state & (MF_GRAYED | MF_DISABLED | MF_CHECKED | MF_POPUP), 0u);
    }
}

TEST_F(BoardWindowTest, FreshBoardIsPaintedFaintWithBoxOneHighlighted) {
    const Capture c = Painted();
    EXPECT_EQ(c.At(2, 2), kGround);
    EXPECT_EQ(c.At(177, 178), kGround);
    for (POINT p : {kOnTopLine, kOnLeftLine, kOnFallingDiagonal, kOnRisingDiagonal, kCrossing,
                    kTopArc, kRightArc, kLeftArc, kBottomArc}) {
        EXPECT_EQ(At(c, p), kFaint) << p.x << "," << p.y;
    }
    // Box interiors, away from the caption at the top centre; the border is black.
    for (int n = 1; n <= 4; ++n) {
        SCOPED_TRACE(n);
        const POINT centre = kBoxCentre[n - 1];
        const std::uint32_t back = n == 1 ? kBlackPx : kWhitePx;
        const std::uint32_t fore = n == 1 ? kWhitePx : kBlackPx;
        for (int dx : {-7, 7}) {
            EXPECT_EQ(c.At(centre.x + dx, centre.y + 7), back);
            EXPECT_EQ(c.At(centre.x + dx, centre.y - 7), back);
        }
        EXPECT_EQ(c.At(centre.x - 8, centre.y), kBlackPx);
        EXPECT_EQ(c.At(centre.x + 8, centre.y), kBlackPx);
        EXPECT_EQ(c.At(centre.x + 9, centre.y), n == 1 || n == 3 ? kFaint : kGround);
        // The caption is drawn in the box's text colour, and nothing else in the box is.
        int foreground = 0;
        for (int y = centre.y - 7; y <= centre.y + 7; ++y) {
            for (int x = centre.x - 7; x <= centre.x + 7; ++x) {
                foreground += c.At(x, y) == fore ? 1 : 0;
            }
        }
        EXPECT_GT(foreground, 2);
    }
}

TEST_F(BoardWindowTest, ClicksOnBoxesMoveThePenAndTraceEdges) {
    // Pen on 1: box 4 along the falling diagonal, which then crosses the rising one in black.
    ClickBoxes({4});
    EXPECT_EQ(board.Form().CurrentNode, 4);
    Capture c = Painted();
    EXPECT_EQ(At(c, kOnFallingDiagonal), kBlackPx);
    EXPECT_EQ(At(c, kOnRisingDiagonal), kFaint);
    EXPECT_EQ(At(c, kCrossing), kBlackPx);
    EXPECT_EQ(At(c, {kBoxCentre[3].x - 7, kBoxCentre[3].y + 7}), kBlackPx);
    EXPECT_EQ(At(c, {kBoxCentre[0].x - 7, kBoxCentre[0].y + 7}), kWhitePx);

    // Reset, then the rising diagonal alone: its black lies above the faint falling one.
    SendMessageW(Window(), WM_COMMAND, MAKEWPARAM(kResetCommand, 0), 0);
    c = Painted();
    EXPECT_EQ(At(c, kCrossing), kFaint);
    ClickBoxes({2, 3});
    EXPECT_EQ(board.Form().CurrentNode, 3);
    c = Painted();
    EXPECT_EQ(At(c, kOnTopLine), kBlackPx);
    EXPECT_EQ(At(c, kOnRisingDiagonal), kBlackPx);
    EXPECT_EQ(At(c, kOnFallingDiagonal), kFaint);
    EXPECT_EQ(At(c, kCrossing), kBlackPx);
}

TEST_F(BoardWindowTest, OnlyAPressAndReleaseOnOneBoxIsAClick) {
    // Box 3 spans pixels 32 to 48 across and 128 to 144 down.
    Click({31, 136});
    Click({40, 127});
    Click({49, 136});
    Click({88, 60});
    Press(kBoxCentre[2]);
    Release(kBoxCentre[0]);
    Press(kBoxCentre[0]);
    Release(kBoxCentre[2]);
    EXPECT_EQ(board.Form().CurrentNode, 1);
    for (Edge e : kAllEdges) {
        EXPECT_TRUE(board.Form().IsFaint(e));
    }
    Click({48, 144});
    EXPECT_EQ(board.Form().CurrentNode, 3);
    EXPECT_FALSE(board.Form().IsFaint(Edge::Line1));
    EXPECT_EQ(board.beeps, 0);
}

TEST_F(BoardWindowTest, ArcsArePaintedInTheirStateOnEveryRepaint) {
    // Along the top line, back along the top arc, then the left line and the left arc.
    ClickBoxes({2, 1, 3, 1});
    EXPECT_EQ(board.Form().CurrentNode, 1);
    const Capture c = Painted();
    EXPECT_EQ(At(c, kTopArc), kBlackPx);
    EXPECT_EQ(At(c, kLeftArc), kBlackPx);
    EXPECT_EQ(At(c, kRightArc), kFaint);
    EXPECT_EQ(At(c, kBottomArc), kFaint);

    // The window's own paint path, through WM_PRINTCLIENT, shows the same pixels.
    const Capture printed(c.Width(), c.Height(), [this](HDC dc) {
        SendMessageW(Window(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
    });
    for (int y = 0; y < c.Height(); ++y) {
        for (int x = 0; x < c.Width(); ++x) {
            ASSERT_EQ(printed.At(x, y), c.At(x, y)) << x << "," << y;
        }
    }
}

TEST_F(BoardWindowTest, RefusedMoveBeepsOnceAndChangesNothing) {
    ClickBoxes({2, 1});
    ASSERT_EQ(board.beeps, 0);
    const Capture before = Painted();
    ClickBoxes({2});
    EXPECT_EQ(board.beeps, 1);
    EXPECT_EQ(board.Form().CurrentNode, 1);
    const Capture after = Painted();
    for (int y = 0; y < before.Height(); ++y) {
        for (int x = 0; x < before.Width(); ++x) {
            ASSERT_EQ(after.At(x, y), before.At(x, y)) << x << "," << y;
        }
    }
    // The pen's own box: no beep.
    ClickBoxes({1});
    EXPECT_EQ(board.beeps, 1);
}

TEST_F(BoardWindowTest, ResetCommandRestoresTheStartingBoard) {
    ClickBoxes({2, 1, 4, 3});
    ASSERT_EQ(board.Form().CurrentNode, 3);
    SendMessageW(Window(), WM_COMMAND, MAKEWPARAM(kResetCommand, 0), 0);
    EXPECT_EQ(board.Form().CurrentNode, 1);
    const Capture c = Painted();
    for (POINT p : {kOnTopLine, kCrossing, kTopArc, kOnFallingDiagonal}) {
        EXPECT_EQ(At(c, p), kFaint) << p.x << "," << p.y;
    }
    EXPECT_EQ(At(c, {kBoxCentre[2].x - 7, kBoxCentre[2].y + 7}), kWhitePx);
    EXPECT_EQ(At(c, {kBoxCentre[0].x - 7, kBoxCentre[0].y + 7}), kBlackPx);
}

TEST_F(BoardWindowTest, HelpCommandShowsTheDialogModallyAndLeavesTheBoard) {
    ClickBoxes({4, 2});
    test::EmptyRegistry registry;
    Latin1CodePage codePage;
    test::RecordingShell shell;
    HWND dialog = nullptr;
    bool ownerEnabledWhileOpen = true;
    board.help = [&] {
        ShowAboutDialog(board.Handle(), registry, codePage, shell, [&](HWND d) { dialog = d; });
    };
    test::ModalDriver driver({
        [&] {
            ownerEnabledWhileOpen = IsWindowEnabled(Window()) != FALSE;
            PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        },
    });
    SendMessageW(Window(), WM_COMMAND, MAKEWPARAM(kHelpCommand, 0), 0);
    EXPECT_EQ(driver.Ran(), driver.Count());
    ASSERT_NE(dialog, nullptr);
    EXPECT_FALSE(ownerEnabledWhileOpen);
    EXPECT_FALSE(IsWindow(dialog));
    EXPECT_TRUE(IsWindowEnabled(Window()));
    EXPECT_EQ(board.Form().CurrentNode, 2);
    EXPECT_FALSE(board.Form().IsFaint(Edge::Line5));
    EXPECT_FALSE(board.Form().IsFaint(Edge::Line3));
    EXPECT_EQ(board.Form().lblNode(2).BackColor, tessarline::kBlack);
}

TEST_F(BoardWindowTest, PrintWindowShowsTheBoard) {
    ClickBoxes({2, 1});
    const Capture c = Painted();
    const Capture printed(c.Width(), c.Height(),
                          [this](HDC dc) { PrintWindow(Window(), dc, PW_CLIENTONLY); });
    if (printed.At(kTopArc.x, kTopArc.y) == Rgb(255, 0, 255)) {
        GTEST_SKIP() << "this window system does not print windows";
    }
    EXPECT_EQ(At(printed, kTopArc), kBlackPx);
    EXPECT_EQ(At(printed, kOnTopLine), kBlackPx);
    EXPECT_EQ(At(printed, kCrossing), kFaint);
}

// Handles every message already queued for this thread.
void Pump() {
    MSG m{};
    while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&m);
        DispatchMessageW(&m);
    }
}

TEST_F(BoardWindowTest, AltKeysRunTheMenuCommands) {
    ClickBoxes({4});
    ASSERT_EQ(board.Form().CurrentNode, 4);
    constexpr LPARAM kAltDown = 0x20000001;
    PostMessageW(Window(), WM_SYSCHAR, L'r', kAltDown);
    Pump();
    EXPECT_EQ(board.Form().CurrentNode, 1);
    EXPECT_TRUE(board.Form().IsFaint(Edge::Line5));

    int helps = 0;
    board.help = [&] { ++helps; };
    PostMessageW(Window(), WM_SYSCHAR, L'h', kAltDown);
    Pump();
    EXPECT_EQ(helps, 1);
}

TEST_F(BoardWindowTest, ANewDpiScalesTheClientAreaThePaintingAndTheClicks) {
    RECT suggested{};
    GetWindowRect(Window(), &suggested);
    SendMessageW(Window(), WM_DPICHANGED, MAKEWPARAM(144, 144),
                 reinterpret_cast<LPARAM>(&suggested));
    ASSERT_EQ(board.Dpi(), 144u);
    RECT client{};
    GetClientRect(Window(), &client);
    EXPECT_EQ(client.right, 267);
    EXPECT_EQ(client.bottom, 269);

    // A tenth of a pixel to the twip: box 4 spans 192 to 217 both ways with a two-pixel
    // border, box 1 spans 48 to 73, and the diagonals cross at 132.
    Click({193, 216});
    EXPECT_EQ(board.Form().CurrentNode, 4);
    const Capture c = Painted();
    EXPECT_EQ(c.At(132, 132), kBlackPx);
    EXPECT_EQ(c.At(196, 214), kBlackPx);
    EXPECT_EQ(c.At(52, 70), kWhitePx);
    EXPECT_EQ(c.At(48, 60), kBlackPx);
    EXPECT_EQ(c.At(47, 60), kGround);
}

} // namespace
} // namespace tessarline
