// The board window and the help dialog as the system runs them (Wine here): frames, DPI,
// repainting, focus cue, font, modality, focus and keys; the rules are the core's tests.
#include "tests/win32/Win32TestSupport.h"

#include "board/core/BoardPicture.h"
#include "board/win32/MainWindow.h"
#include "help/win32/AboutDialog.h"
#include "help/win32/Win32Services.h"
#include "tests/support/FigureCheck.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace tessarline {
namespace {

std::pair<LONG, LONG> ClientSize(HWND window) {
    RECT r{};
    GetClientRect(window, &r);
    return {r.right, r.bottom};
}

// A window's client area as it paints itself into a bitmap: 0x00RRGGBB pixels, row by row.
std::vector<Pixel> Printed(HWND window, LONG& width) {
    RECT r{};
    GetClientRect(window, &r);
    width = r.right;
    const BITMAPINFO info = TopDownBitmapInfo(r.right, r.bottom);
    void* bits = nullptr;
    const HDC dc = CreateCompatibleDC(nullptr);
    const HGDIOBJ old =
        SelectObject(dc, CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    SendMessageW(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
    GdiFlush();
    std::vector<Pixel> pixels(static_cast<Pixel*>(bits),
                              static_cast<Pixel*>(bits) + r.right * r.bottom);
    DeleteObject(SelectObject(dc, old));
    DeleteDC(dc);
    return pixels;
}

// The bright pixels of a control painted under a high-contrast scheme: white on a black face.
long BrightPixelsOnADarkFace(HWND control) {
    const int elements[] = {COLOR_BTNFACE, COLOR_BTNTEXT};
    const COLORREF dark[] = {RGB(0, 0, 0), RGB(255, 255, 255)};
    const COLORREF saved[] = {GetSysColor(COLOR_BTNFACE), GetSysColor(COLOR_BTNTEXT)};
    SetSysColors(2, elements, dark);
    LONG width = 0;
    const std::vector<Pixel> shown = Printed(control, width);
    SetSysColors(2, elements, saved);
    return std::count_if(shown.begin(), shown.end(),
                         [](Pixel p) { return (p & 0x808080u) == 0x808080u; });
}

// The last keyboard-cue request sent in this thread: Wine 8 keeps no cue state to read back.
WPARAM g_cues = 0;
LRESULT CALLBACK RecordCues(int code, WPARAM wParam, LPARAM lParam) {
    const auto* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
    g_cues = call->message == WM_CHANGEUISTATE ? call->wParam : g_cues;
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

class UiTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(board.Create());
        window = board.Handle();
        board.Load();
        ASSERT_EQ(board.Dpi(), 96u);
    }
    void Click(int x, int y) const {
        SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
        SendMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
    }

    MainWindow board{GetModuleHandleW(nullptr), SW_SHOWNORMAL, false};
    HWND window = nullptr;
};

TEST_F(UiTest, BoardHasAFixedFrameAndScalesWithTheDpi) {
    const auto style = static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE));
    EXPECT_EQ(style & (WS_CAPTION | WS_SYSMENU), static_cast<DWORD>(WS_CAPTION | WS_SYSMENU));
    EXPECT_EQ(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME), 0u);
    EXPECT_NE(SendMessageW(window, WM_GETICON, ICON_SMALL, 0), 0);

    RECT suggested{};
    GetWindowRect(window, &suggested);
    SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));
    EXPECT_EQ(ClientSize(window), std::pair(267L, 269L));
    // Box 4 now spans 192 to 217, where at 96 DPI there is only ground.
    Click(210, 210);
    EXPECT_EQ(board.Form().CurrentNode, 4);
}

TEST_F(UiTest, DigitsByTheCharacterTypedHeldKeysAsTheBoardSaysAndMovesRepaint) {
    constexpr LPARAM kHeld = 0x40000001;
    SetFocus(window);
    UpdateWindow(window);
    const HHOOK hook = SetWindowsHookExW(WH_CALLWNDPROC, RecordCues, nullptr, GetCurrentThreadId());
    SendMessageW(window, WM_CHAR, L'!', 1); // Shift+1 on a US layout
    EXPECT_FALSE(GetUpdateRect(window, nullptr, FALSE)) << "'!' did something";
    SendMessageW(window, WM_CHAR, L'3', 1);
    EXPECT_EQ(board.Form().CurrentNode, 3);
    EXPECT_TRUE(GetUpdateRect(window, nullptr, FALSE)) << "a move is not repainted";
    UnhookWindowsHookEx(hook);
    EXPECT_EQ(g_cues, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS)) << "a key does not show the cues";
    // From the first key on, the focus rectangle: outside the boxes, unlike the core's picture.
    LONG width = 0;
    const std::vector<Pixel> shown = Printed(window, width);
    const TwipTransform t = TwipTransform::ForDevice(1.0);
    const PixelBuffer want = RenderBoard(board.Form(), t);
    long cue = 0;
    for (int i = 0; i < want.Width() * want.Height(); ++i) {
        const int x = i % want.Width(), y = i / want.Width();
        cue += NodeAtPixel(x, y, t) == 0 && (shown[y * width + x] | 0xFF000000u) != want.At(x, y);
    }
    EXPECT_GT(cue, 0) << "no focus rectangle after a key";
    SendMessageW(window, WM_CHAR, L'1', kHeld); // clicked once already
    SendMessageW(window, WM_KEYDOWN, VK_UP, kHeld);
    EXPECT_EQ(board.Form().CurrentNode, 3);
    EXPECT_EQ(board.Form().KeyFocus(), 1) << "a held arrow does not move on";
}

TEST_F(UiTest, HelpDialogIsModalWithFocusOnOkLegibleLabelsAndOwnsItsMessageBox) {
    const test::ScratchMachine machine; // no tool registered: System Info shows its message
    Win32Registry registry;
    AnsiCodePage codePage;
    Win32Shell shell;
    HWND dialog = nullptr;
    const std::vector<std::function<void()>> steps{
        [&] {
            EXPECT_FALSE(IsWindowEnabled(window));
            EXPECT_EQ(GetWindow(dialog, GW_OWNER), window);
            EXPECT_EQ(GetFocus(), GetDlgItem(dialog, kCmdOKId));
            EXPECT_TRUE(SendMessageW(GetDlgItem(dialog, kCmdOKId), WM_GETDLGCODE, 0, 0) &
                        DLGC_DEFPUSHBUTTON);
            EXPECT_EQ(ClientSize(dialog), std::pair(382L, 237L));
            // 8 points at 96 DPI: a character height of 11 pixels, leading aside.
            const HDC dc = GetDC(dialog); // a common DC: released, it forgets the font
            SelectObject(dc, reinterpret_cast<HGDIOBJ>(
                                 SendMessageW(GetDlgItem(dialog, kLblTitleId), WM_GETFONT, 0, 0)));
            TEXTMETRICW metrics{};
            GetTextMetricsW(dc, &metrics);
            ReleaseDC(dialog, dc);
            EXPECT_EQ(metrics.tmHeight - metrics.tmInternalLeading, 11);
            LONG side = 0;
            const std::vector<Pixel> picture = Printed(GetDlgItem(dialog, kImage1Id), side);
            const auto black = [&](int x, int y) { return picture[y * side + x] == 0u; };
            EXPECT_EQ(testing::LostFigurePixels(side, black), 0); // every line kept
            EXPECT_GT(std::min(BrightPixelsOnADarkFace(GetDlgItem(dialog, kLblTitleId)),
                               BrightPixelsOnADarkFace(GetDlgItem(dialog, kLblDescriptionId))),
                      0)
                << "a label is black on the black face";
            PostMessageW(GetDlgItem(dialog, kCmdSysInfoId), BM_CLICK, 0, 0);
        },
        [&] {
            const HWND box = FindWindowW(L"#32770", L"Tessarline");
            ASSERT_NE(box, nullptr) << "no message box";
            EXPECT_EQ(GetWindow(box, GW_OWNER), dialog);
            EXPECT_FALSE(IsWindowEnabled(dialog));
            EXPECT_EQ(test::TextOf(GetDlgItem(box, 0xFFFF)), kSysInfoUnavailable);
            PostMessageW(box, WM_COMMAND, IDOK, 0);
        },
        [&] {
            EXPECT_TRUE(IsWindowVisible(dialog)) << "System Info closed the dialog";
            EXPECT_FALSE(IsWindowEnabled(window));
            PostMessageW(GetFocus(), WM_KEYDOWN, VK_ESCAPE, 1);
        },
    };
    EXPECT_TRUE(test::WithSteps(steps, [&] {
        ShowAboutDialog(window, registry, codePage, shell, [&](HWND d) { dialog = d; });
    })) << "the dialog closed too early";
    EXPECT_FALSE(IsWindow(dialog));
    EXPECT_TRUE(IsWindowEnabled(window));
}

} // namespace
} // namespace tessarline
