#include "platform/win32/Win32Ui.h"

#include "platform/win32/ResourceIds.h"

#include <initializer_list>

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

int IconSize(bool isSmall, UINT dpi) {
    static const auto metricsForDpi =
        User32Function<GetSystemMetricsForDpiFn>("GetSystemMetricsForDpi");
    const int index = isSmall ? SM_CXSMICON : SM_CXICON;
    if (metricsForDpi != nullptr) {
        return metricsForDpi(index, dpi);
    }
    return MulDiv(GetSystemMetrics(index), static_cast<int>(dpi), static_cast<int>(SystemDpi()));
}

HICON LoadAppIcon(HWND window, int size) {
    const auto module = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(window, GWLP_HINSTANCE));
    return static_cast<HICON>(LoadImageW(module, MAKEINTRESOURCEW(IDI_TESSARLINE), IMAGE_ICON, size,
                                         size, LR_DEFAULTCOLOR));
}

// Puts fresh in slot, freeing what was there; a null fresh keeps the old object.
template <typename Handle, typename Free> void Replace(Handle& slot, Handle fresh, Free release) {
    if (fresh == nullptr) {
        return;
    }
    if (slot != nullptr) {
        release(slot);
    }
    slot = fresh;
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

void KeepDialogLayoutOnDpiChange(HWND dialog) {
    static const auto setBehavior =
        User32Function<SetDialogDpiChangeBehaviorFn>("SetDialogDpiChangeBehavior");
    if (setBehavior != nullptr) {
        setBehavior(dialog, kDialogDpiDisableAll, kDialogDpiDisableAll);
    }
}

BITMAPINFO TopDownBitmapInfo(int width, int height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

DpiResources::~DpiResources() {
    if (font_ != nullptr) {
        DeleteObject(font_);
    }
    for (HICON icon : {big_, small_}) {
        if (icon != nullptr) {
            DestroyIcon(icon);
        }
    }
}

void DpiResources::Apply(HWND window, UINT dpi) {
    LOGFONTW lf{};
    lf.lfHeight = -MulDiv(kFontPoints, static_cast<int>(dpi), 72);
    lf.lfWeight = FW_NORMAL;
    lf.lfCharSet = DEFAULT_CHARSET;
    lstrcpynW(lf.lfFaceName, kFontFace, LF_FACESIZE);
    Replace(font_, CreateFontIndirectW(&lf), DeleteObject);

    const HICON big = LoadAppIcon(window, IconSize(false, dpi));
    const HICON smallIcon = LoadAppIcon(window, IconSize(true, dpi));
    // The small icon first: a big icon set alone makes the system shrink a copy of it for the
    // caption, only to be replaced at once.
    if (smallIcon != nullptr) {
        SendMessageW(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon));
    }
    if (big != nullptr) {
        SendMessageW(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big));
    }
    Replace(big_, big, DestroyIcon);
    Replace(small_, smallIcon, DestroyIcon);
}

} // namespace tessarline
