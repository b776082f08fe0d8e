#include "board/win32/MainWindow.h"

#include "app/core/AppInfo.h"
#include "board/core/BoardPicture.h"

#include <windowsx.h>

#include <cmath>
#include <string>
#include <utility>

// Windows 10 1703 and later; older headers lack it.
#ifndef WM_GETDPISCALEDSIZE
#define WM_GETDPISCALEDSIZE 0x02E4
#endif

namespace tessarline {

namespace {

constexpr wchar_t kClassName[] = L"TessarlineBoard";
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
constexpr DWORD kExStyle = 0;

COLORREF ToColorRef(Colour c) {
    const Colour rgb = ResolveColour(c);
    return RGB(RedOf(rgb), GreenOf(rgb), BlueOf(rgb));
}

TwipTransform TransformFor(UINT dpi) {
    return TwipTransform::ForDevice(DevicePixelsPerPixel(dpi));
}

bool RegisterBoardClass(HINSTANCE instance, WNDPROC procedure) {
    WNDCLASSEXW existing{};
    existing.cbSize = sizeof(existing);
    if (GetClassInfoExW(instance, kClassName, &existing)) {
        return true;
    }
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = procedure;
    wc.hInstance = instance;
    // No class icon: the window's own icons, sized for its DPI, are set as soon as it exists.
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = CreateSolidBrush(ToColorRef(kBoardBackColor));
    wc.lpszClassName = kClassName;
    return RegisterClassExW(&wc) != 0;
}

} // namespace

MainWindow::MainWindow(HINSTANCE instance, int showCommand, bool endsProgram)
    : instance_(instance), showCommand_(showCommand), endsProgram_(endsProgram), form_(*this),
      input_(form_), keyboard_(input_), access_(form_, input_, [this] { return Transform(); }) {}

MainWindow::~MainWindow() {
    if (window_ != nullptr) {
        DestroyWindow(window_);
    }
}

bool MainWindow::Create() {
    if (!RegisterBoardClass(instance_, &MainWindow::Procedure)) {
        return false;
    }
    const HMENU menu = CreateMenu();
    AppendMenuW(menu, MF_STRING, kMnuResetId, L"&Reset");
    AppendMenuW(menu, MF_STRING, kMnuHelpId, L"&Help");
    const std::wstring title(kAppTitle);
    // Made at its size for the system's DPI, so that on the usual monitor it needs no resize
    // once it knows its own.
    const UINT dpi = WindowDpi(nullptr);
    const TwipTransform t = TransformFor(dpi);
    const RECT frame =
        WindowRectForClient(ClientWidth(t), ClientHeight(t), kStyle, kExStyle, true, dpi);
    const HWND created = CreateWindowExW(kExStyle, kClassName, title.c_str(), kStyle, CW_USEDEFAULT,
                                         CW_USEDEFAULT, frame.right - frame.left,
                                         frame.bottom - frame.top, nullptr, menu, instance_, this);
    if (created == nullptr) {
        DestroyMenu(menu);
        return false;
    }
    ApplyDpi(WindowDpi(window_));
    return true;
}

void MainWindow::Load() {
    form_.Form_Load();
}

void MainWindow::Show() {
    // No UpdateWindow: the reset that follows at once comes before the first paint, so the
    // first frame is already the board, not the controls' design-time colours.
    ShowWindow(window_, showCommand_);
}

void MainWindow::Beep() {
    MessageBeep(MB_OK);
    access_.Refused(window_);
}

void MainWindow::ShowHelp() {
    if (help_) {
        help_();
    }
}

void MainWindow::Changed(const BoardNews& news) {
    if (window_ == nullptr) {
        return;
    }
    if (news.picture) {
        InvalidateRect(window_, nullptr, FALSE);
    }
    access_.Changed(window_, news);
}

void MainWindow::ApplyDpi(UINT dpi) {
    dpi_ = dpi;
    resources_.Apply(window_, dpi);
    FitClientArea();
}

void MainWindow::FitClientArea() {
    const TwipTransform t = TransformFor(dpi_);
    const int width = ClientWidth(t);
    const int height = ClientHeight(t);
    RECT window{};
    GetWindowRect(window_, &window);
    const RECT frame = WindowRectForClient(width, height, kStyle, kExStyle, true, dpi_);
    if (window.right - window.left != frame.right - frame.left ||
        window.bottom - window.top != frame.bottom - frame.top) {
        SetWindowPos(window_, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    // A menu bar that wraps, or a theme's frame, can differ from the computed size: correct by
    // what the client area really came out as.
    for (int attempt = 0; attempt < 2; ++attempt) {
        RECT client{};
        GetClientRect(window_, &client);
        const int dw = width - client.right;
        const int dh = height - client.bottom;
        if (dw == 0 && dh == 0) {
            break;
        }
        GetWindowRect(window_, &window);
        SetWindowPos(window_, nullptr, 0, 0, window.right - window.left + dw,
                     window.bottom - window.top + dh, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

TwipTransform MainWindow::Transform() const {
    return TransformFor(dpi_);
}

void MainWindow::Paint(HDC dc) {
    const TwipTransform t = TransformFor(dpi_);
    const PixelBuffer image = RenderBoard(form_, t);
    const BITMAPINFO info = TopDownBitmapInfo(image.Width(), image.Height());
    SetDIBitsToDevice(dc, 0, 0, static_cast<DWORD>(image.Width()),
                      static_cast<DWORD>(image.Height()), 0, 0, 0,
                      static_cast<UINT>(image.Height()), image.Data(), &info, DIB_RGB_COLORS);

    const HFONT font = resources_.Font();
    const HGDIOBJ oldFont =
        SelectObject(dc, font != nullptr ? font : GetStockObject(DEFAULT_GUI_FONT));
    const int oldMode = SetBkMode(dc, TRANSPARENT);
    const COLORREF oldColour = GetTextColor(dc);
    const int border = BoxBorderWidth(t);
    for (int n = 1; n <= kNodeCount; ++n) {
        const PixelRect r = BoxRect(n, t);
        RECT inside{r.x + border, r.y + border, r.x + r.width - border, r.y + r.height - border};
        const wchar_t caption[] = {kBoxes[static_cast<std::size_t>(n - 1)].caption, L'\0'};
        SetTextColor(dc, ToColorRef(form_.lblNode(n).ForeColor));
        DrawTextW(dc, caption, 1, &inside, DT_CENTER | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
    }
    SetTextColor(dc, oldColour);
    SetBkMode(dc, oldMode);
    SelectObject(dc, oldFont);
    keyboard_.DrawFocus(window_, dc, t);
}

LRESULT CALLBACK MainWindow::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* self =
            static_cast<MainWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->window_ = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<MainWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self == nullptr) {
        return DefWindowProcW(window, message, wParam, lParam);
    }
    const LRESULT result = self->OnMessage(message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        self->window_ = nullptr;
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    }
    return result;
}

LRESULT MainWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (const auto answered = access_.OnMessage(window_, message, wParam, lParam)) {
        return *answered;
    }
    if (const auto handled = keyboard_.OnMessage(window_, message, wParam, lParam)) {
        return *handled;
    }
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT ps{};
        const HDC dc = BeginPaint(window_, &ps);
        Paint(dc);
        EndPaint(window_, &ps);
        return 0;
    }
    case WM_PRINTCLIENT:
        Paint(reinterpret_cast<HDC>(wParam));
        return 0;
    case WM_ERASEBKGND:
        // WM_PAINT covers the whole client area.
        return 1;
    case WM_LBUTTONDOWN:
        if (input_.Press(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam), Transform())) {
            SetCapture(window_);
        }
        return 0;
    case WM_LBUTTONUP:
        // The click before the capture goes: losing the capture cancels a press.
        input_.Release(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam), Transform());
        if (GetCapture() == window_) {
            ReleaseCapture();
        }
        return 0;
    case WM_CAPTURECHANGED:
        input_.Cancel();
        return 0;
    case WM_COMMAND:
        if (HIWORD(wParam) == 0 && lParam == 0) {
            if (LOWORD(wParam) == kMnuResetId) {
                form_.mnuReset_Click();
                return 0;
            }
            if (LOWORD(wParam) == kMnuHelpId) {
                form_.mnuHelp_Click();
                return 0;
            }
        }
        break;
    case WM_GETDPISCALEDSIZE: {
        // The exact size at the new DPI (menu bar and frame do not scale linearly), so that
        // the system's suggestion needs no correction and the window does not bounce between
        // monitors.
        const auto dpi = static_cast<UINT>(wParam);
        const TwipTransform t = TransformFor(dpi);
        const RECT frame =
            WindowRectForClient(ClientWidth(t), ClientHeight(t), kStyle, kExStyle, true, dpi);
        auto* size = reinterpret_cast<SIZE*>(lParam);
        size->cx = frame.right - frame.left;
        size->cy = frame.bottom - frame.top;
        return TRUE;
    }
    case WM_DPICHANGED: {
        const auto* suggested = reinterpret_cast<const RECT*>(lParam);
        SetWindowPos(window_, nullptr, suggested->left, suggested->top,
                     suggested->right - suggested->left, suggested->bottom - suggested->top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        ApplyDpi(HIWORD(wParam));
        // The system's own reason to repaint: every pixel is drawn at the new scale.
        InvalidateRect(window_, nullptr, FALSE);
        return 0;
    }
    case WM_DESTROY:
        if (endsProgram_) {
            PostQuitMessage(0);
        }
        return 0;
    default:
        break;
    }
    return DefWindowProcW(window_, message, wParam, lParam);
}

} // namespace tessarline
