#include "tests/win32/support/Win32TestSupport.h"

#include "board/win32/MainWindow.h"
#include "help/win32/AboutDialog.h"

#include <gtest/gtest.h>

#include <optional>

namespace tessarline {
namespace {

using test::WindowText;

constexpr wchar_t kUnavailable[] = L"System Information Is Unavailable At This Time";

class AboutDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(owner.Create());
        owner.Load();
    }

    // Opens the dialog over the board and runs the steps inside its modal loop; returns when
    // the dialog has closed.
    void Open(std::vector<std::function<void()>> steps) {
        dialog = nullptr;
        test::ModalDriver driver(std::move(steps));
        ShowAboutDialog(owner.Handle(), registry, codePage, shell, [this](HWND d) { dialog = d; });
        EXPECT_EQ(driver.Ran(), driver.Count()) << "the dialog closed before every step ran";
        ASSERT_NE(dialog, nullptr);
        EXPECT_FALSE(IsWindow(dialog)) << "the dialog outlived its modal loop";
        EXPECT_TRUE(IsWindowEnabled(owner.Handle()));
    }

    HWND Item(int id) const { return GetDlgItem(dialog, id); }
    static void Key(WPARAM key) {
        PostMessageW(GetFocus(), WM_KEYDOWN, key, 1);
        PostMessageW(GetFocus(), WM_KEYUP, key, static_cast<LPARAM>(0xC0000001u));
    }

    MainWindow owner{GetModuleHandleW(nullptr), SW_SHOWNORMAL, false};
    test::EmptyRegistry registry;
    Latin1CodePage codePage;
    test::RecordingShell shell;
    HWND dialog = nullptr;
};

TEST_F(AboutDialogTest, OpensModalWithItsTextsLayoutAndFocusOnOk) {
    Open({[this] {
        EXPECT_FALSE(IsWindowEnabled(owner.Handle()));
        EXPECT_EQ(GetWindow(dialog, GW_OWNER), owner.Handle());
        EXPECT_EQ(WindowText(dialog), L"About Tessarline");
        EXPECT_EQ(GetFocus(), Item(kCmdOKId));
        EXPECT_NE(SendMessageW(Item(kCmdOKId), WM_GETDLGCODE, 0, 0) & DLGC_DEFPUSHBUTTON, 0);
        // Tab order: OK, System Info, and round again; the labels take no focus.
        EXPECT_EQ(GetNextDlgTabItem(dialog, Item(kCmdOKId), FALSE), Item(kCmdSysInfoId));
        EXPECT_EQ(GetNextDlgTabItem(dialog, Item(kCmdSysInfoId), FALSE), Item(kCmdOKId));

        const auto style = static_cast<DWORD>(GetWindowLongPtrW(dialog, GWL_STYLE));
        const auto exStyle = static_cast<DWORD>(GetWindowLongPtrW(dialog, GWL_EXSTYLE));
        EXPECT_EQ(style & WS_CAPTION, static_cast<DWORD>(WS_CAPTION));
        EXPECT_NE(style & WS_SYSMENU, 0u);
        EXPECT_EQ(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME), 0u);
        EXPECT_NE(exStyle & WS_EX_DLGMODALFRAME, 0u);
        EXPECT_EQ(exStyle & WS_EX_APPWINDOW, 0u);
        EXPECT_NE(SendMessageW(dialog, WM_GETICON, ICON_BIG, 0), 0);
        EXPECT_NE(SendMessageW(dialog, WM_GETICON, ICON_SMALL, 0), 0);

        // The client area, then each control, as {left, top, right, bottom} in pixels: the
        // client area's on the screen, the controls' in the client area.
        RECT client{};
        GetClientRect(dialog, &client);
        MapWindowPoints(dialog, nullptr, reinterpret_cast<POINT*>(&client), 2);
        EXPECT_EQ((std::array<LONG, 4>{client.left, client.top, client.right, client.bottom}),
                  (std::array<LONG, 4>{156, 129, 538, 366}));
        const struct {
            int id;
            std::array<LONG, 4> rect;
            std::wstring_view text;
        } controls[] = {
            {kImage1Id, {8, 8, 57, 57}, kFigureAccessName},
            {kLblTitleId, {70, 16, 329, 48}, L"Tessarline"},
            {kLblDescriptionId, {72, 48, 331, 134}, kRulesText},
            {kCmdOKId, {283, 175, 367, 198}, L"OK"},
            {kCmdSysInfoId, {284, 205, 367, 228}, L"&System Info..."},
        };
        for (const auto& c : controls) {
            SCOPED_TRACE(c.id);
            EXPECT_EQ(test::ChildCorners(Item(c.id)), c.rect);
            EXPECT_EQ(WindowText(Item(c.id)), c.text);
        }
        Key(VK_RETURN);
    }});
    EXPECT_TRUE(shell.messages.empty());
}

TEST_F(AboutDialogTest, PictureShowsTheFigureAtItsStretchedSize) {
    std::optional<test::Capture> c;
    Open({[&] {
        const HWND image = Item(kImage1Id);
        c.emplace(49, 49, [image](HDC dc) {
            SendMessageW(image, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
        });
        Key(VK_ESCAPE);
    }});
    ASSERT_TRUE(c.has_value());
    constexpr std::uint32_t white = test::Rgb(255, 255, 255);
    // Corners outside the circle are white; the diagonals cross black in the middle.
    EXPECT_EQ(c->At(0, 0), white);
    EXPECT_EQ(c->At(48, 48), white);
    EXPECT_EQ(c->At(24, 24), 0u);
    int black = 0;
    for (int y = 0; y < 49; ++y) {
        for (int x = 0; x < 49; ++x) {
            ASSERT_TRUE(c->At(x, y) == 0u || c->At(x, y) == white) << x << "," << y;
            black += c->At(x, y) == 0u ? 1 : 0;
        }
    }
    // Circle, square and diagonals: far more than a stray line, far less than a fill.
    EXPECT_GT(black, 300);
    EXPECT_LT(black, 900);
}

TEST_F(AboutDialogTest, EscapeAndTheCloseButtonCloseLikeOk) {
    Open({[] { Key(VK_ESCAPE); }});
    Open({[this] { PostMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0); }});
    Open({[this] { PostMessageW(dialog, WM_CLOSE, 0, 0); }});
    EXPECT_TRUE(shell.messages.empty());
}

TEST_F(AboutDialogTest, EnterAndAltSPressSystemInfoWhichKeepsTheDialogOpen) {
    Open({
        [this] { SendMessageW(dialog, WM_NEXTDLGCTL, 0, FALSE); },
        [this] {
            EXPECT_EQ(GetFocus(), Item(kCmdSysInfoId));
            Key(VK_RETURN);
        },
        [this] {
            ASSERT_EQ(shell.messages.size(), 1u);
            EXPECT_EQ(shell.messages[0], kUnavailable);
            EXPECT_EQ(shell.captions[0], L"Tessarline");
            PostMessageW(dialog, WM_SYSCHAR, L's', static_cast<LPARAM>(0x20000001));
        },
        [this] {
            EXPECT_TRUE(IsWindowVisible(dialog));
            EXPECT_EQ(shell.messages.size(), 2u);
            Key(VK_ESCAPE); // closes, whatever has the focus
        },
    });
    EXPECT_EQ(shell.messages.size(), 2u);
    EXPECT_TRUE(shell.started.empty());

    // Loaded afresh: the focus is back on OK and the title is set again.
    Open({[this] {
        EXPECT_EQ(GetFocus(), Item(kCmdOKId));
        EXPECT_EQ(WindowText(dialog), L"About Tessarline");
        Key(VK_RETURN);
    }});
    EXPECT_EQ(shell.messages.size(), 2u);
}

} // namespace
} // namespace tessarline
