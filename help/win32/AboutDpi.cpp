#include "help/win32/AboutDpi.h"

namespace tessarline {

namespace {

using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
using AdjustWindowRectExForDpiFn = BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD, UINT);
using GetSystemMetricsForDpiFn = int(WINAPI*)(int, UINT);
using SetDialogDpiChangeBehaviorFn = BOOL(WINAPI*)(HWND, int, int);
// DIALOG_DPI_CHANGE_BEHAVIORS: DDC_DISABLE_ALL.
constexpr int kDialogDpiDisableAll = 1;

// The detour through a parameterless function type keeps compilers from warning about the
// cast between unrelated function types.
template <typename Fn> Fn User32Function(const char* name) {
    const HMODULE user32 = GetModuleHandleW(L"user32.dll");
    if (user32 == nullptr) {
        return nullptr;
    }
    const FARPROC proc = GetProcAddress(user32, name);
    return reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(proc));
}

UINT SystemDpi() {
    const HDC screen = GetDC(nullptr);
    const int dpi = screen != nullptr ? GetDeviceCaps(screen, LOGPIXELSX) : 0;
    if (screen != nullptr) {
        ReleaseDC(nullptr, screen);
    }
    return dpi > 0 ? static_cast<UINT>(dpi) : kBaseDpi;
}

} // namespace

UINT WindowDpi(HWND window) {
    static const auto getDpiForWindow = User32Function<GetDpiForWindowFn>("GetDpiForWindow");
    if (getDpiForWindow != nullptr && window != nullptr) {
        const UINT dpi = getDpiForWindow(window);
        if (dpi != 0) {
            return dpi;
        }
    }
    return SystemDpi();
}

int ScaleToDpi(int pixels, UINT dpi) {
    return MulDiv(pixels, static_cast<int>(dpi), static_cast<int>(kBaseDpi));
}

RECT WindowRectForClient(int clientWidth, int clientHeight, DWORD style, DWORD exStyle,
                         bool hasMenu, UINT dpi) {
    static const auto adjustForDpi =
        User32Function<AdjustWindowRectExForDpiFn>("AdjustWindowRectExForDpi");
    RECT r{0, 0, clientWidth, clientHeight};
    if (adjustForDpi != nullptr) {
        adjustForDpi(&r, style, hasMenu ? TRUE : FALSE, exStyle, dpi);
    } else {
        AdjustWindowRectEx(&r, style, hasMenu ? TRUE : FALSE, exStyle);
    }
    return r;
}

int IconSize(bool small, UINT dpi) {
    static const auto metricsForDpi =
        User32Function<GetSystemMetricsForDpiFn>("GetSystemMetricsForDpi");
    const int index = small ? SM_CXSMICON : SM_CXICON;
    if (metricsForDpi != nullptr) {
        return metricsForDpi(index, dpi);
    }
    return MulDiv(GetSystemMetrics(index), static_cast<int>(dpi), static_cast<int>(SystemDpi()));
}

void KeepDialogLayoutOnDpiChange(HWND dialog) {
    static const auto setBehavior =
        User32Function<SetDialogDpiChangeBehaviorFn>("SetDialogDpiChangeBehavior");
    if (setBehavior != nullptr) {
        setBehavior(dialog, kDialogDpiDisableAll, kDialogDpiDisableAll);
    }
}

} // namespace tessarline
