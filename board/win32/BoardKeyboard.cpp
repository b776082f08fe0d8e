#include "board/win32/BoardKeyboard.h"

#include "board/core/BoardPicture.h"

namespace tessarline {

namespace {

bool Held(int virtualKey) {
    return (GetKeyState(virtualKey) & 0x8000) != 0;
}

} // namespace

std::optional<BoardKey> BoardKeyFor(WPARAM virtualKey, LPARAM flags) {
    if (Held(VK_CONTROL)) {
        return std::nullopt;
    }
    const bool repeated = (flags & (1 << 30)) != 0;
    std::optional<BoardKey> key;
    switch (virtualKey) {
    case VK_LEFT:
        return BoardKey::Left;
    case VK_RIGHT:
        return BoardKey::Right;
    case VK_UP:
        return BoardKey::Up;
    case VK_DOWN:
        return BoardKey::Down;
    case VK_TAB:
        return Held(VK_SHIFT) ? BoardKey::Previous : BoardKey::Next;
    case VK_SPACE:
    case VK_RETURN:
        key = BoardKey::Activate;
        break;
    default:
        if (virtualKey >= '1' && virtualKey <= '4') {
            key = static_cast<BoardKey>(virtualKey - '1');
        } else if (virtualKey >= VK_NUMPAD1 && virtualKey <= VK_NUMPAD4) {
            key = static_cast<BoardKey>(virtualKey - VK_NUMPAD1);
        }
        break;
    }
    return repeated ? std::nullopt : key;
}

std::optional<LRESULT> BoardKeyboard::OnMessage(HWND window, UINT message, WPARAM wParam,
                                                LPARAM lParam) {
    switch (message) {
    case WM_KEYDOWN: {
        const std::optional<BoardKey> key = BoardKeyFor(wParam, lParam);
        if (!key || !input_.Key(*key)) {
            return std::nullopt;
        }
        // The keyboard is in use: tell the window's keyboard cues, as the dialog manager does.
        SendMessageW(window, WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
        return 0;
    }
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_UPDATEUISTATE:
        if (input_.FocusShown()) {
            InvalidateRect(window, nullptr, FALSE);
        }
        return std::nullopt;
    default:
        return std::nullopt;
    }
}

void BoardKeyboard::DrawFocus(HWND window, HDC dc, const TwipTransform& t) const {
    if (!input_.FocusShown() || GetFocus() != window ||
        (SendMessageW(window, WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS) != 0) {
        return;
    }
    const PixelRect box = BoxRect(input_.Focus(), t);
    // One border's width of the ground between the box and the dotted line.
    const int gap = 2 * BoxBorderWidth(t);
    const RECT around{box.x - gap, box.y - gap, box.x + box.width + gap, box.y + box.height + gap};
    DrawFocusRect(dc, &around);
}

} // namespace tessarline
