#include "board/win32/BoardKeyboard.h"

#include "board/core/BoardPicture.h"

namespace tessarline {

namespace {

bool Held(int virtualKey) {
    return (GetKeyState(virtualKey) & 0x8000) != 0;
}

} // namespace

std::optional<BoardKey> BoardKeyFor(WPARAM virtualKey) {
    if (Held(VK_CONTROL)) {
        return std::nullopt;
    }
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
        return BoardKey::Activate;
    default:
        return std::nullopt;
    }
}

std::optional<LRESULT> BoardKeyboard::OnMessage(HWND window, UINT message, WPARAM wParam,
                                                LPARAM lParam) {
    switch (message) {
    case WM_KEYDOWN:
    case WM_CHAR: {
        // The digits by the character typed: the layout's and the keypad's, with Num Lock on.
        const std::optional<BoardKey> key =
            message == WM_CHAR ? BoardKeyForCharacter(static_cast<char32_t>(wParam))
                               : BoardKeyFor(wParam);
        const bool repeat = (lParam & (1 << 30)) != 0;
        if (!key || !input_.Key(*key, repeat)) {
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
