// The board and the help picture as a screen reader reads them: through oleacc, in this process.
#include "board/core/BoardPicture.h"
#include "board/win32/MainWindow.h"
#include "help/win32/AboutDialog.h"
#include "help/win32/Win32Services.h"

#include <gtest/gtest.h>
#include <oleacc.h>
#include <uiautomationclient.h>

#include <string>
#include <utility>
#include <vector>

namespace tessarline {
namespace {

using Events = std::vector<std::pair<DWORD, LONG>>; // event and child id
HWND watched = nullptr;
Events raised;

void CALLBACK Record(HWINEVENTHOOK, DWORD event, HWND window, LONG object, LONG child, DWORD,
                     DWORD) {
    if (window == watched && object == OBJID_CLIENT && event != EVENT_OBJECT_LOCATIONCHANGE) {
        raised.emplace_back(event, child);
    }
}

// The notifications raised, as kind, processing, text, activity and the window they name.
std::vector<std::wstring> announced;
HRESULT WINAPI Announced(IRawElementProviderSimple* provider, int kind, int processing, BSTR text,
                         BSTR activity) {
    VARIANT handle{};
    provider->GetPropertyValue(UIA_NativeWindowHandlePropertyId, &handle);
    announced.push_back(std::to_wstring(kind) + L" " + std::to_wstring(processing) + L" " + text +
                        L" " + activity + (handle.lVal == LONG_PTR(watched) ? L" on " : L" off ") +
                        L"the board");
    return S_OK;
}

// The events raised since the last call, which this thread's queue delivers.
Events Raised() {
    MSG m;
    while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
        DispatchMessageW(&m);
    }
    return std::exchange(raised, {});
}

VARIANT Child(LONG n) {
    VARIANT v{};
    v.vt = VT_I4;
    v.lVal = n;
    return v;
}

LONG Answer(HRESULT hr, const VARIANT& v) {
    return hr == S_OK && v.vt == VT_I4 ? v.lVal : -1;
}

std::wstring Read(IAccessible* a, HRESULT (STDMETHODCALLTYPE IAccessible::*get)(VARIANT, BSTR*),
                  LONG child) {
    BSTR text = nullptr;
    const std::wstring s = (a->*get)(Child(child), &text) == S_OK ? text : L"-";
    SysFreeString(text);
    return s;
}

// Role, name, description and default action of the board (0) and each box.
std::vector<std::wstring> Tree(IAccessible* a) {
    std::vector<std::wstring> tree;
    for (LONG n = CHILDID_SELF; n <= 4; ++n) {
        VARIANT role{};
        tree.push_back(std::to_wstring(Answer(a->get_accRole(Child(n), &role), role)) + L" " +
                       Read(a, &IAccessible::get_accName, n) + L": " +
                       Read(a, &IAccessible::get_accDescription, n) + L" / " +
                       Read(a, &IAccessible::get_accDefaultAction, n));
    }
    return tree;
}

IAccessible* ClientObject(HWND window) {
    void* a = nullptr;
    AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible), &a);
    return static_cast<IAccessible*>(a);
}

TEST(BoardAccess, TreeReadsTheBoardPressingABoxClicksItAndReadersAreTold) {
    ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    // Wine 8 has no UiaRaiseNotificationEvent: watched in its place, on the system's provider.
    SetRaiseNotification(Announced);
    MainWindow board(GetModuleHandleW(nullptr), SW_SHOWNORMAL, false);
    ASSERT_TRUE(board.Create());
    watched = board.Handle();
    const HWINEVENTHOOK hook = SetWinEventHook(EVENT_MIN, EVENT_MAX, nullptr, Record,
                                               GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT);
    board.Load();
    SetFocus(board.Handle());
    SendMessageW(board.Handle(), WM_COMMAND, kMnuResetId, 0); // announced: nobody asked yet
    Raised();
    IAccessible* a = ClientObject(board.Handle());
    ASSERT_NE(a, nullptr);
    LONG count = 0;
    EXPECT_EQ(a->get_accChildCount(&count) == S_OK ? count : 0, 4);
    EXPECT_EQ(Tree(a), (std::vector<std::wstring>{L"16 Board: 0 of 10 edges traced / -",
                                                  L"43 Box 1: pen here / Press",
                                                  L"43 Box 2: line and arc faint / Press",
                                                  L"43 Box 3: line and arc faint / Press",
                                                  L"43 Box 4: line faint / Press"}));

    // Box 4's place on the screen.
    const PixelRect box = BoxRect(4, TwipTransform::ForDevice(board.Dpi() / 96.0));
    POINT at{box.x, box.y};
    ClientToScreen(board.Handle(), &at);
    LONG p[4] = {};
    a->accLocation(&p[0], &p[1], &p[2], &p[3], Child(4));
    EXPECT_EQ(std::vector<LONG>(p, p + 4), (std::vector<LONG>{at.x, at.y, box.width, box.height}));

    // A move traces line 1-4 and takes the pen and the focus to box 4, and readers are told.
    EXPECT_EQ(a->accDoDefaultAction(Child(4)), S_OK);
    EXPECT_EQ(board.Form().CurrentNode, 4);
    const DWORD told = EVENT_OBJECT_DESCRIPTIONCHANGE;
    EXPECT_EQ(Raised(), (Events{{told, 0}, {told, 1}, {told, 4}, {EVENT_OBJECT_FOCUS, 4}}));
    EXPECT_EQ(Tree(a)[4], L"43 Box 4: pen here / Press");
    // A refused move by key changes nothing, with an alert on the box typed.
    SendMessageW(board.Handle(), WM_CHAR, L'1', 1);
    EXPECT_EQ(board.Form().CurrentNode, 4);
    EXPECT_EQ(Raised(), (Events{{EVENT_SYSTEM_ALERT, 1}}));
    EXPECT_EQ(announced,
              (std::vector<std::wstring>{
                  L"2 1 Pen on box 4. 1 of 10 edges traced. Tessarline.Board on the board",
                  L"2 1 No faint edge from box 4 to box 1. Tessarline.Board on the board"}));
    a->Release();
    UnhookWinEvent(hook);
    SetRaiseNotification(nullptr);

    // The help dialog's picture is named.
    Win32Registry registry;
    AnsiCodePage codePage;
    Win32Shell shell;
    std::wstring picture;
    ShowAboutDialog(board.Handle(), registry, codePage, shell, [&](HWND dialog) {
        if (IAccessible* image = ClientObject(GetDlgItem(dialog, kImage1Id))) {
            picture = Read(image, &IAccessible::get_accName, CHILDID_SELF);
            image->Release();
        }
        PostMessageW(dialog, WM_COMMAND, IDOK, 0);
    });
    EXPECT_EQ(picture, L"The figure: a circle, the square inscribed in it and both diagonals");
    CoUninitialize();
}

} // namespace
} // namespace tessarline
