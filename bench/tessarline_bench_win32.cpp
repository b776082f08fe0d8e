// Tessarline.exe's start for the start-up benchmark: the shipped program start, closed once
// its board has painted its first frame, the way the user closes it. The product knows nothing
// of this: a hook on the thread's message retrieval posts the close.
#include "app/win32/Win32App.h"

namespace {

HHOOK g_hook = nullptr;

// Sees each message as the loop takes it; the WM_PAINT taken is dispatched (painted) before
// the WM_CLOSE posted here can be taken. Dispatched messages never reach the send-message
// hooks, so this is the hook that sees the first paint.
LRESULT CALLBACK AfterFirstPaint(int code, WPARAM removed, LPARAM lParam) {
    const auto* message = reinterpret_cast<const MSG*>(lParam);
    if (code == HC_ACTION && removed == PM_REMOVE && message->message == WM_PAINT &&
        GetParent(message->hwnd) == nullptr) {
        PostMessageW(message->hwnd, WM_CLOSE, 0, 0);
    }
    return CallNextHookEx(g_hook, code, removed, lParam);
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
    g_hook = SetWindowsHookExW(WH_GETMESSAGE, AfterFirstPaint, nullptr, GetCurrentThreadId());
    if (g_hook == nullptr) {
        return 2;
    }
    const int status = tessarline::RunTessarline(instance, showCommand);
    UnhookWindowsHookEx(g_hook);
    return status;
}
