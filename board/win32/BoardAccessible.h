// The board window as Microsoft Active Accessibility presents it: the client area is a pane
// named "Board" with the four boxes as push buttons (child ids 1 to 4), all read from the
// board's state, with the WinEvents that tell a screen reader what changed; and the board's
// announcements as UI Automation notifications, which screen readers speak as they come.
#pragma once

#include "board/core/BoardInput.h"
#include "board/core/Form1.h"
#include "board/core/Raster.h"

#include <windows.h>

#include <uiautomationcore.h>

#include <functional>
#include <optional>

namespace tessarline {

class BoardAccessible;

// UiaRaiseNotificationEvent's values, which older headers lack.
inline constexpr int kNotificationKindActionCompleted = 2;
inline constexpr int kNotificationProcessingImportantMostRecent = 1;
inline constexpr wchar_t kAnnouncementActivity[] = L"Tessarline.Board";

// UiaRaiseNotificationEvent, as uiautomationcore.dll exports it from Windows 10 1709 on.
using RaiseNotification = HRESULT(WINAPI*)(IRawElementProviderSimple* provider, int kind,
                                           int processing, BSTR text, BSTR activity);
// Raises the notifications in place of the system's function while set: Wine, for one, has
// none to watch. Null restores the system's.
void SetRaiseNotification(RaiseNotification raise);

class BoardAccessibility {
public:
    // transform: the window's current twip-to-pixel scale.
    BoardAccessibility(Form1& form, BoardInput& input, std::function<TwipTransform()> transform);
    BoardAccessibility(const BoardAccessibility&) = delete;
    BoardAccessibility& operator=(const BoardAccessibility&) = delete;
    ~BoardAccessibility();

    // Answers WM_GETOBJECT for the client area, and tells when the window takes the keyboard
    // focus; a result when the message is used up.
    std::optional<LRESULT> OnMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    // The board's account of a handler: an event for each new description and for the focus,
    // and the announcement, once a client has asked for the board.
    void Changed(HWND window, const BoardNews& news);
    // A click was refused with the beep: an alert on the box clicked.
    void Refused(HWND window);

    // For the accessible object.
    Form1& form;
    BoardInput& input;
    const std::function<TwipTransform()> transform;

private:
    void Disconnect();
    void Announce(HWND window, const std::wstring& text) const;

    BoardAccessible* object_ = nullptr;
    bool comStarted_ = false;
    // Whether an accessibility client, of either kind, has asked for the board.
    bool asked_ = false;
};

} // namespace tessarline
