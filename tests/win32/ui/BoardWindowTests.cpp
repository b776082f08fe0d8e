#include "tests/win32/support/Win32TestSupport.h"

#include "board/win32/MainWindow.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <utility>

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

// A pixel inside box n, away from its caption: the box's back colour.
POINT InBox(int n) {
    return {kBoxCentre[n - 1].x - 7, kBoxCentre[n - 1].y + 7};
}

void ExpectColour(const Capture& c, std::uint32_t colour, std::initializer_list<POINT> points) {
    for (const POINT p : points) {
        EXPECT_EQ(c.At(p.x, p.y), colour) << "at " << p.x << "," << p.y;
    }
}

void ExpectSameImage(const Capture& a, const Capture& b) {
    for (int y = 0; y < a.Height(); ++y) {
        for (int x = 0; x < a.Width(); ++x) {
            ASSERT_EQ(a.At(x, y), b.At(x, y)) << x << "," << y;
        }
    }
}

class TestBoard final : public MainWindow {
public:
    TestBoard() : MainWindow(GetModuleHandleW(nullptr), SW_SHOWNORMAL, false) {}
    void Beep() override { ++beeps; }
    void ShowHelp() override { ++helps; }
    int beeps = 0;
    int helps = 0;
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
    void Command(UINT id) const { SendMessageW(Window(), WM_COMMAND, MAKEWPARAM(id, 0), 0); }

    Capture Painted() {
        RECT client{};
        GetClientRect(Window(), &client);
        return Capture(client.right, client.bottom, [this](HDC dc) { board.Paint(dc); });
    }

    TestBoard board;
};

TEST_F(BoardWindowTest, FixedFrameClientSizeBackgroundAndMenuBar) {
    const auto style = static_cast<DWORD>(GetWindowLongPtrW(Window(), GWL_STYLE));
    const auto exStyle = static_cast<DWORD>(GetWindowLongPtrW(Window(), GWL_EXSTYLE));
    EXPECT_EQ(style & WS_CAPTION, static_cast<DWORD>(WS_CAPTION));
    EXPECT_NE(style & WS_SYSMENU, 0u);
    EXPECT_EQ(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME), 0u);
    EXPECT_EQ(exStyle & WS_EX_TOOLWINDOW, 0u) << "the board has a task-bar button";
    EXPECT_EQ(GetWindow(Window(), GW_OWNER), nullptr);
    EXPECT_TRUE(IsWindowVisible(Window()));
    EXPECT_EQ(test::WindowText(Window()), L"Tessarline");
    EXPECT_NE(SendMessageW(Window(), WM_GETICON, ICON_BIG, 0), 0);
    EXPECT_NE(SendMessageW(Window(), WM_GETICON, ICON_SMALL, 0), 0);
    RECT client{};
    GetClientRect(Window(), &client);
    EXPECT_EQ(client.right, 178);
    EXPECT_EQ(client.bottom, 179);
    LOGBRUSH brush{};
    const auto background =
        reinterpret_cast<HBRUSH>(GetClassLongPtrW(Window(), GCLP_HBRBACKGROUND));
    ASSERT_NE(GetObjectW(background, sizeof(brush), &brush), 0);
    EXPECT_EQ(brush.lbColor, RGB(0, 128, 0));

    // Two plain commands on the bar, no popup.
    const HMENU bar = GetMenu(Window());
    ASSERT_EQ(GetMenuItemCount(bar), 2);
    const std::pair<const wchar_t*, UINT> items[] = {{L"&Reset", kMnuResetId},
                                                     {L"&Help", kMnuHelpId}};
    for (UINT i = 0; i < 2; ++i) {
        wchar_t text[32] = {};
        GetMenuStringW(bar, i, text, 32, MF_BYPOSITION);
        EXPECT_STREQ(text, items[i].first);
        EXPECT_EQ(GetMenuItemID(bar, static_cast<int>(i)), items[i].second);
        EXPECT_EQ(GetMenuState(bar, i, MF_BYPOSITION) & (MF_GRAYED | MF_DISABLED | MF_POPUP), 0u);
    }
}

TEST_F(BoardWindowTest, FreshBoardIsPaintedFaintWithBoxOneHighlighted) {
    const Capture c = Painted();
    // Right of boxes 2 and 4 no line runs on: the boxes end where they should.
    ExpectColour(c, kGround, {{2, 2}, {177, 178}, {145, 40}, {145, 136}});
    ExpectColour(c, kFaint,
                 {kOnTopLine, kOnLeftLine, kOnFallingDiagonal, kOnRisingDiagonal, kCrossing,
                  kTopArc, kRightArc, kLeftArc, kBottomArc});
    for (int n = 1; n <= 4; ++n) {
        SCOPED_TRACE(n);
        const POINT m = kBoxCentre[n - 1];
        const std::uint32_t back = n == 1 ? kBlackPx : kWhitePx;
        ExpectColour(c, back, {{m.x - 7, m.y + 7}, {m.x + 7, m.y - 7}});
        ExpectColour(c, kBlackPx, {{m.x - 8, m.y}, {m.x + 8, m.y}}); // the border
        // The caption is drawn in the box's text colour.
        int caption = 0;
        for (int y = m.y - 7; y <= m.y + 7; ++y) {
            for (int x = m.x - 7; x <= m.x + 7; ++x) {
                caption += c.At(x, y) == (n == 1 ? kWhitePx : kBlackPx) ? 1 : 0;
            }
        }
        EXPECT_GT(caption, 2);
    }
}

TEST_F(BoardWindowTest, ClicksTraceEdgesAndResetRestoresTheStartingBoard) {
    // Pen on 1: box 4 along the falling diagonal, which then crosses the rising one in black.
    ClickBoxes({4});
    EXPECT_EQ(board.Form().CurrentNode, 4);
    Capture c = Painted();
    ExpectColour(c, kBlackPx, {kOnFallingDiagonal, kCrossing, InBox(4)});
    ExpectColour(c, kFaint, {kOnRisingDiagonal});
    ExpectColour(c, kWhitePx, {InBox(1)});

    Command(kMnuResetId);
    EXPECT_EQ(board.Form().CurrentNode, 1);
    c = Painted();
    ExpectColour(c, kFaint, {kOnFallingDiagonal, kCrossing});
    ExpectColour(c, kWhitePx, {InBox(4)});
    ExpectColour(c, kBlackPx, {InBox(1)});

    // The rising diagonal alone: its black lies above the faint falling one.
    ClickBoxes({2, 3});
    EXPECT_EQ(board.Form().CurrentNode, 3);
    c = Painted();
    ExpectColour(c, kBlackPx, {kOnTopLine, kOnRisingDiagonal, kCrossing});
    ExpectColour(c, kFaint, {kOnFallingDiagonal});
}

TEST_F(BoardWindowTest, OnlyAPressAndReleaseOnOneBoxIsAClick) {
    // Box 3 spans pixels 32 to 48 across and 128 to 144 down.
    const std::pair<POINT, POINT> misses[] = {
        {{31, 136}, {31, 136}}, {{40, 127}, {40, 127}},         {{49, 136}, {49, 136}},
        {{88, 60}, {88, 60}},   {kBoxCentre[2], kBoxCentre[0]}, {kBoxCentre[0], kBoxCentre[2]}};
    for (const auto& [press, release] : misses) {
        Press(press);
        Release(release);
    }
    EXPECT_EQ(board.Form().CurrentNode, 1);
    Click({48, 144});
    EXPECT_EQ(board.Form().CurrentNode, 3);
    EXPECT_EQ(board.beeps, 0);
}

TEST_F(BoardWindowTest, ArcsArePaintedInTheirStateOnEveryRepaint) {
    // Along the top line, back along the top arc, then the left line and the left arc.
    ClickBoxes({2, 1, 3, 1});
    const Capture c = Painted();
    ExpectColour(c, kBlackPx, {kTopArc, kLeftArc});
    ExpectColour(c, kFaint, {kRightArc, kBottomArc});

    // The window's own paint path shows the same pixels, through WM_PRINTCLIENT and, where
    // the window system prints windows, PrintWindow.
    ExpectSameImage(c, Capture(c.Width(), c.Height(), [this](HDC dc) {
                        SendMessageW(Window(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc),
                                     PRF_CLIENT);
                    }));
    const Capture printed(c.Width(), c.Height(),
                          [this](HDC dc) { PrintWindow(Window(), dc, PW_CLIENTONLY); });
    if (printed.At(kTopArc.x, kTopArc.y) != Rgb(255, 0, 255)) {
        ExpectSameImage(c, printed);
    }
}

TEST_F(BoardWindowTest, RefusedMoveBeepsOnceAndChangesNothing) {
    ClickBoxes({2, 1});
    const Capture before = Painted();
    ClickBoxes({2});
    EXPECT_EQ(board.beeps, 1);
    EXPECT_EQ(board.Form().CurrentNode, 1);
    ExpectSameImage(before, Painted());
    ClickBoxes({1}); // the pen's own box: no beep
    EXPECT_EQ(board.beeps, 1);
}

TEST_F(BoardWindowTest, AltKeysRunTheMenuCommands) {
    const auto altKey = [this](wchar_t key) {
        PostMessageW(Window(), WM_SYSCHAR, key, 0x20000001);
        MSG m{};
        while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&m);
            DispatchMessageW(&m);
        }
    };
    ClickBoxes({4, 2});
    altKey(L'h');
    EXPECT_EQ(board.helps, 1);
    EXPECT_EQ(board.Form().CurrentNode, 2) << "Help changes nothing on the board";
    altKey(L'r');
    EXPECT_EQ(board.Form().CurrentNode, 1);
    EXPECT_TRUE(board.Form().IsFaint(Edge::Line5));
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
    ExpectColour(c, kBlackPx, {{132, 132}, {196, 214}, {48, 60}});
    ExpectColour(c, kWhitePx, {{52, 70}});
    ExpectColour(c, kGround, {{47, 60}});
}

} // namespace
} // namespace tessarline
