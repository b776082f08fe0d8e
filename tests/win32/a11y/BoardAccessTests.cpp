#include "board/core/BoardPicture.h"
#include "board/win32/MainWindow.h"
#include "help/win32/AboutDialog.h"
#include "help/win32/Win32Platform.h"

#include <gtest/gtest.h>
#include <oleacc.h>

#include <string>
#include <utility>
#include <vector>

namespace tessarline {
namespace {

HWND watched = nullptr;
std::vector<std::pair<DWORD, LONG>> events; // event and child id, on the watched client area

void CALLBACK Record(HWINEVENTHOOK, DWORD event, HWND window, LONG object, LONG child, DWORD,
                     DWORD) {
    if (window == watched && object == OBJID_CLIENT && event != EVENT_OBJECT_LOCATIONCHANGE) {
        events.emplace_back(event, child);
    }
}

// The events raised so far, delivered by this thread's message queue, and forgotten.
std::vector<std::pair<DWORD, LONG>> Events() {
    MSG m;
    while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
        DispatchMessageW(&m);
    }
    return std::exchange(events, {});
}

VARIANT Child(LONG n) {
    VARIANT v{};
    v.vt = VT_I4;
    v.lVal = n;
    return v;
}

using TextOf = HRESULT (STDMETHODCALLTYPE IAccessible::*)(VARIANT, BSTR*);
std::wstring Read(IAccessible* a, TextOf get, LONG child) {
    BSTR text = nullptr;
    const bool got = SUCCEEDED((a->*get)(Child(child), &text)) && text != nullptr;
    std::wstring s = got ? text : L"(none)";
    SysFreeString(text);
    return s;
}

LONG Answer(HRESULT hr, const VARIANT& v) {
    return hr == S_OK && v.vt == VT_I4 ? v.lVal : -1;
}

IAccessible* ClientObject(HWND window) {
    IAccessible* a = nullptr;
    EXPECT_EQ(AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT),
                                         __uuidof(IAccessible), reinterpret_cast<void**>(&a)),
              S_OK);
    return a;
}

TEST(BoardAccess, TreeReadsTheBoardAndPressingABoxClicksIt) {
    ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    MainWindow board(GetModuleHandleW(nullptr), SW_SHOWNORMAL, false);
    ASSERT_TRUE(board.Create());
    watched = board.Handle();
    const HWINEVENTHOOK hook = SetWinEventHook(EVENT_MIN, EVENT_MAX, nullptr, Record,
                                               GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT);
    board.Load();
    SetFocus(board.Handle());
    Events();
    IAccessible* a = ClientObject(board.Handle());
    ASSERT_NE(a, nullptr);
    VARIANT v{};
    LONG count = 0;
    EXPECT_EQ(a->get_accChildCount(&count), S_OK);
    EXPECT_EQ(count, 4);
    EXPECT_EQ(Answer(a->get_accRole(Child(CHILDID_SELF), &v), v), ROLE_SYSTEM_PANE);
    EXPECT_EQ(Read(a, &IAccessible::get_accName, CHILDID_SELF), L"Board");
    EXPECT_EQ(Read(a, &IAccessible::get_accDescription, CHILDID_SELF), L"0 of 10 edges traced");
    const wchar_t* fresh[] = {L"pen here", L"line and arc faint", L"line and arc faint",
                              L"line faint"};
    for (LONG n = 1; n <= 4; ++n) {
        EXPECT_EQ(Answer(a->get_accRole(Child(n), &v), v), ROLE_SYSTEM_PUSHBUTTON);
        EXPECT_EQ(Read(a, &IAccessible::get_accName, n), L"Box " + std::to_wstring(n));
        EXPECT_EQ(Read(a, &IAccessible::get_accDescription, n), fresh[n - 1]);
        EXPECT_EQ(Read(a, &IAccessible::get_accDefaultAction, n), L"Press");
    }
    EXPECT_EQ(Answer(a->get_accFocus(&v), v), 1) << "the focus starts on the pen's box";

    // Box 4 on the screen, found again by its centre; its neighbours along the figure.
    const PixelRect box = BoxRect(4, TwipTransform::ForDevice(board.Dpi() / 96.0));
    POINT corner{box.x, box.y};
    ClientToScreen(board.Handle(), &corner);
    LONG place[4] = {};
    EXPECT_EQ(a->accLocation(&place[0], &place[1], &place[2], &place[3], Child(4)), S_OK);
    EXPECT_EQ((std::vector<LONG>(place, place + 4)),
              (std::vector<LONG>{corner.x, corner.y, box.width, box.height}));
    EXPECT_EQ(Answer(a->accHitTest(corner.x + 8, corner.y + 8, &v), v), 4);
    EXPECT_EQ(Answer(a->accNavigate(NAVDIR_LEFT, Child(4), &v), v), 3);
    EXPECT_EQ(Answer(a->accNavigate(NAVDIR_UP, Child(4), &v), v), 2);
    EXPECT_EQ(a->accNavigate(NAVDIR_NEXT, Child(4), &v), S_FALSE);

    // A move: the line 1-4 traced, the pen and the focus on box 4, and the readers told.
    EXPECT_EQ(a->accDoDefaultAction(Child(4)), S_OK);
    EXPECT_EQ(board.Form().CurrentNode, 4);
    EXPECT_EQ(Read(a, &IAccessible::get_accDescription, CHILDID_SELF), L"1 of 10 edges traced");
    EXPECT_EQ(Read(a, &IAccessible::get_accDescription, 4), L"pen here");
    EXPECT_EQ(Read(a, &IAccessible::get_accDescription, 1), L"none faint");
    const auto changed = EVENT_OBJECT_DESCRIPTIONCHANGE;
    EXPECT_EQ(Events(),
              (std::vector<std::pair<DWORD, LONG>>{
                  {changed, CHILDID_SELF}, {changed, 1}, {changed, 4}, {EVENT_OBJECT_FOCUS, 4}}));
    // Refused: nothing changes but an alert on the box pressed.
    EXPECT_EQ(a->accDoDefaultAction(Child(1)), S_OK);
    EXPECT_EQ(board.Form().CurrentNode, 4);
    EXPECT_EQ(Events(), (std::vector<std::pair<DWORD, LONG>>{{EVENT_SYSTEM_ALERT, 1}}));
    // A key moves the focus along the figure, and says so.
    SendMessageW(board.Handle(), WM_KEYDOWN, VK_LEFT, 1);
    EXPECT_EQ(Answer(a->get_accFocus(&v), v), 3);
    EXPECT_EQ(Events(), (std::vector<std::pair<DWORD, LONG>>{{EVENT_OBJECT_FOCUS, 3}}));

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

    a->Release();
    UnhookWinEvent(hook);
    CoUninitialize();
}

} // namespace
} // namespace tessarline
