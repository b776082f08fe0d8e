#include "UiTestSupport.h"

#include "help/win32/Win32Ui.h"

#include <cstdio>
#include <cstdlib>

namespace tessarline::test {

namespace {

ModalDriver* g_driver = nullptr;
constexpr UINT kTickMs = 20;
// Far beyond any dialog's normal life, only for a loop that never ends.
constexpr UINT kWatchdogMs = 60000;

} // namespace

Capture::Capture(int width, int height, const std::function<void(HDC)>& paint)
    : width_(width), height_(height) {
    const BITMAPINFO info = TopDownBitmapInfo(width, height);
    void* bits = nullptr;
    const HDC dc = CreateCompatibleDC(nullptr);
    const HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    const HGDIOBJ old = SelectObject(dc, bitmap);
    // A colour the board never uses, so that unpainted pixels stand out.
    const HBRUSH marker = CreateSolidBrush(RGB(255, 0, 255));
    const RECT all{0, 0, width, height};
    FillRect(dc, &all, marker);
    DeleteObject(marker);
    paint(dc);
    GdiFlush();
    const auto* src = static_cast<const std::uint32_t*>(bits);
    pixels_.assign(src, src + static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
}

std::uint32_t Capture::At(int x, int y) const {
    return pixels_.at(static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
                      static_cast<std::size_t>(x)) &
           0x00FFFFFFu;
}

ModalDriver::ModalDriver(std::vector<std::function<void()>> steps) : steps_(std::move(steps)) {
    g_driver = this;
    tick_ = SetTimer(nullptr, 0, kTickMs, &ModalDriver::Tick);
    watchdog_ = SetTimer(nullptr, 0, kWatchdogMs, &ModalDriver::Watchdog);
}

ModalDriver::~ModalDriver() {
    KillTimer(nullptr, tick_);
    KillTimer(nullptr, watchdog_);
    g_driver = nullptr;
}

void CALLBACK ModalDriver::Tick(HWND, UINT, UINT_PTR, DWORD) {
    ModalDriver* d = g_driver;
    if (d == nullptr || d->next_ >= d->steps_.size()) {
        return;
    }
    // Counted first: a step may enter a nested modal loop of its own.
    const std::size_t step = d->next_++;
    d->steps_[step]();
}

void CALLBACK ModalDriver::Watchdog(HWND, UINT, UINT_PTR, DWORD) {
    std::fputs("a modal loop did not end; giving up\n", stderr);
    std::fflush(stderr);
    ExitProcess(3);
}

std::wstring WindowText(HWND window) {
    const int length = GetWindowTextLengthW(window);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const int got = GetWindowTextW(window, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(got > 0 ? got : 0));
    return text;
}

RECT ChildRect(HWND child) {
    RECT r{};
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

} // namespace tessarline::test
