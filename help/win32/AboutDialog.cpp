#include "help/win32/AboutDialog.h"

#include "board/core/Raster.h"
#include "help/core/AboutLayout.h"
#include "help/core/LabelColour.h"
#include "platform/win32/ResourceIds.h"
#include "platform/win32/Win32Ui.h"

#include <iterator>
#include <optional>
#include <string>
#include <vector>

namespace tessarline {

namespace {

constexpr wchar_t kStoredTitle[] = L"About MyApp";

constexpr DWORD kDialogStyle =
    WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT | WS_CLIPCHILDREN;

struct ControlLayout {
    int id;
    TwipRect place;
};

// In the tab order: the buttons first.
constexpr ControlLayout kLayout[] = {
    {kCmdOKId, kAboutOK},       {kCmdSysInfoId, kAboutSysInfo},         {kImage1Id, kAboutImage1},
    {kLblTitleId, kAboutTitle}, {kLblDescriptionId, kAboutDescription},
};

// An in-memory dialog template: header, then one item per control, each aligned on a
// double word. Sizes and positions here are placeholders: the dialog lays itself and its
// controls out in pixels once it exists.
class DialogTemplate {
public:
    DialogTemplate(DWORD style, std::wstring_view title, int itemCount) {
        PutDword(style);
        PutDword(0); // extended style
        Put(static_cast<WORD>(itemCount));
        for (int i = 0; i < 4; ++i) {
            PutShort(0);
        }
        Put(0); // no menu
        Put(0); // the standard dialog class
        PutText(title);
        Put(kFontPoints);
        PutText(kFontFace);
    }

    // classAtom: 0x0080 for a button, 0x0082 for a static control.
    void AddItem(DWORD style, int id, WORD classAtom, std::wstring_view text) {
        while (words_.size() % 2 != 0) {
            Put(0);
        }
        PutDword(style | WS_CHILD | WS_VISIBLE);
        PutDword(0);
        for (int i = 0; i < 4; ++i) {
            PutShort(0);
        }
        Put(static_cast<WORD>(id));
        Put(0xFFFF);
        Put(classAtom);
        PutText(text);
        Put(0); // no creation data
    }

    const DLGTEMPLATE* Get() const { return reinterpret_cast<const DLGTEMPLATE*>(words_.data()); }

private:
    void Put(WORD w) { words_.push_back(w); }
    void PutShort(int v) { Put(static_cast<WORD>(static_cast<short>(v))); }
    void PutDword(DWORD d) {
        Put(LOWORD(d));
        Put(HIWORD(d));
    }
    void PutText(std::wstring_view text) {
        for (wchar_t c : text) {
            Put(static_cast<WORD>(c));
        }
        Put(0);
    }

    std::vector<WORD> words_;
};

// The 50 by 50 picture of the figure, from the program's resources.
HBITMAP LoadPicture() {
    return static_cast<HBITMAP>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDB_FIGURE),
                                           IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
}

class Win32AboutWindow final : public AboutWindow {
public:
    explicit Win32AboutWindow(HWND dialog) : dialog_(dialog) {}
    void SetCaption(const std::wstring& text) override { SetWindowTextW(dialog_, text.c_str()); }
    void SetTitleLabel(const std::wstring& text) override {
        SetDlgItemTextW(dialog_, kLblTitleId, text.c_str());
    }
    void Unload() override { EndDialog(dialog_, IDOK); }
    void ShowMessage(const std::wstring& text, const std::wstring& caption) override {
        MessageBoxW(dialog_, text.c_str(), caption.c_str(), MB_OK);
    }

private:
    HWND dialog_;
};

// Everything one opening of the dialog holds; nothing survives the opening.
struct Session {
    Session(Registry& r, const CodePage& c, SystemShell& sh, const std::function<void(HWND)>& o)
        : registry(r), codePage(c), shell(sh), opened(o) {}
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    Registry& registry;
    const CodePage& codePage;
    SystemShell& shell;
    const std::function<void(HWND)>& opened;

    std::optional<Win32AboutWindow> window;
    std::optional<frmAbout> about;
    DpiResources resources;
    HBITMAP picture = nullptr;

    ~Session() {
        if (picture != nullptr) {
            DeleteObject(picture);
        }
    }
};

// Sizes the dialog, its controls, font and icons for the given DPI, and places it: at its fixed
// place on the screen, or where the system suggests after a DPI change (the user may have
// moved it to another monitor).
void ApplyDpi(HWND dialog, Session& s, UINT dpi, const RECT* suggested = nullptr) {
    s.resources.Apply(dialog, dpi);
    const double scale = DevicePixelsPerPixel(dpi);
    const HFONT font = s.resources.Font();
    for (const ControlLayout& c : kLayout) {
        const HWND control = GetDlgItem(dialog, c.id);
        // The new font first: the old one is already gone and must not be painted with.
        if (font != nullptr) {
            SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        }
        MoveWindow(control, TwipsToPixels(c.place.left, scale), TwipsToPixels(c.place.top, scale),
                   TwipsToPixels(c.place.width, scale), TwipsToPixels(c.place.height, scale), TRUE);
    }

    const int width = TwipsToPixels(kAboutClientWidthTwips, scale);
    const int height = TwipsToPixels(kAboutClientHeightTwips, scale);
    const DWORD style = static_cast<DWORD>(GetWindowLongPtrW(dialog, GWL_STYLE));
    const DWORD exStyle = static_cast<DWORD>(GetWindowLongPtrW(dialog, GWL_EXSTYLE));
    const RECT frame = WindowRectForClient(width, height, style, exStyle, false, dpi);
    // A fixed place on the screen, whatever the owner's position.
    const int left = suggested != nullptr ? suggested->left - frame.left
                                          : TwipsToPixels(kAboutScreenLeftTwips, scale);
    const int top = suggested != nullptr ? suggested->top - frame.top
                                         : TwipsToPixels(kAboutScreenTopTwips, scale);
    SetWindowPos(dialog, nullptr, left + frame.left, top + frame.top, frame.right - frame.left,
                 frame.bottom - frame.top, SWP_NOZORDER | SWP_NOACTIVATE);
    // The frame's real size can differ from the computed one (themes): correct by the
    // difference.
    RECT client{};
    GetClientRect(dialog, &client);
    POINT origin{0, 0};
    ClientToScreen(dialog, &origin);
    RECT window{};
    GetWindowRect(dialog, &window);
    const int dx = left - origin.x;
    const int dy = top - origin.y;
    const int dw = width - client.right;
    const int dh = height - client.bottom;
    if (dx != 0 || dy != 0 || dw != 0 || dh != 0) {
        SetWindowPos(dialog, nullptr, window.left + dx, window.top + dy,
                     window.right - window.left + dw, window.bottom - window.top + dh,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void DrawPicture(const DRAWITEMSTRUCT& item, HBITMAP picture) {
    const RECT& r = item.rcItem;
    FillRect(item.hDC, &r, GetSysColorBrush(COLOR_BTNFACE));
    BITMAP info{};
    if (picture == nullptr || GetObjectW(picture, sizeof(info), &info) == 0) {
        return;
    }
    const HDC source = CreateCompatibleDC(item.hDC);
    const HGDIOBJ old = SelectObject(source, picture);
    // Black lines on white: keeping the black of rows and columns that the shrink drops keeps
    // every line of the figure.
    const int oldMode = SetStretchBltMode(item.hDC, BLACKONWHITE);
    StretchBlt(item.hDC, r.left, r.top, r.right - r.left, r.bottom - r.top, source, 0, 0,
               info.bmWidth, info.bmHeight, SRCCOPY);
    SetStretchBltMode(item.hDC, oldMode);
    SelectObject(source, old);
    DeleteDC(source);
}

INT_PTR CALLBACK AboutProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* s = reinterpret_cast<Session*>(GetWindowLongPtrW(dialog, DWLP_USER));
    switch (message) {
    case WM_INITDIALOG: {
        s = reinterpret_cast<Session*>(lParam);
        SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        s->window.emplace(dialog);
        s->about.emplace(*s->window, s->registry, s->codePage, s->shell);
        s->picture = LoadPicture();
        KeepDialogLayoutOnDpiChange(dialog);
        ApplyDpi(dialog, *s, WindowDpi(dialog));
        s->about->Form_Load();
        if (s->opened) {
            s->opened(dialog);
        }
        // The focus goes to the first control in the tab order, cmdOK.
        return TRUE;
    }
    case WM_DPICHANGED:
        if (s != nullptr) {
            ApplyDpi(dialog, *s, HIWORD(wParam), reinterpret_cast<const RECT*>(lParam));
            InvalidateRect(dialog, nullptr, TRUE);
            return TRUE;
        }
        break;
    case WM_COMMAND:
        if (s == nullptr || !s->about) {
            break;
        }
        switch (LOWORD(wParam)) {
        case IDOK:
        case IDCANCEL: // Esc, the close button and the system menu's Close
            s->about->cmdOK_Click();
            return TRUE;
        case kCmdSysInfoId:
            if (HIWORD(wParam) == BN_CLICKED) {
                s->about->cmdSysInfo_Click();
            }
            return TRUE;
        default:
            break;
        }
        break;
    case WM_CTLCOLORSTATIC: {
        // Black as designed, unless the desktop's dialog face is too dark for it (a high-contrast
        // scheme); COLORREF and the core's colours are alike 0x00BBGGRR.
        const HDC dc = reinterpret_cast<HDC>(wParam);
        SetTextColor(dc, LabelTextColour(GetSysColor(COLOR_BTNFACE), GetSysColor(COLOR_BTNTEXT)));
        SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
        return reinterpret_cast<INT_PTR>(GetSysColorBrush(COLOR_BTNFACE));
    }
    case WM_DRAWITEM: {
        const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (s != nullptr && item->CtlID == static_cast<UINT>(kImage1Id)) {
            DrawPicture(*item, s->picture);
            return TRUE;
        }
        break;
    }
    default:
        break;
    }
    return FALSE;
}

} // namespace

void ShowAboutDialog(HWND owner, Registry& registry, const CodePage& codePage, SystemShell& shell,
                     const std::function<void(HWND)>& opened) {
    DialogTemplate t(kDialogStyle, kStoredTitle, static_cast<int>(std::size(kLayout)));
    constexpr WORD kButton = 0x0080;
    constexpr WORD kStatic = 0x0082;
    t.AddItem(BS_DEFPUSHBUTTON | WS_TABSTOP, kCmdOKId, kButton, L"OK");
    t.AddItem(BS_PUSHBUTTON | WS_TABSTOP, kCmdSysInfoId, kButton, L"&System Info...");
    // An owner-drawn static never shows its text; screen readers take it as its name.
    t.AddItem(SS_OWNERDRAW, kImage1Id, kStatic, kFigureAccessName);
    t.AddItem(SS_LEFT | SS_NOPREFIX, kLblTitleId, kStatic, L"");
    t.AddItem(SS_LEFT | SS_NOPREFIX, kLblDescriptionId, kStatic, kRulesText);

    Session session(registry, codePage, shell, opened);
    DialogBoxIndirectParamW(GetModuleHandleW(nullptr), t.Get(), owner, AboutProc,
                            reinterpret_cast<LPARAM>(&session));
}

} // namespace tessarline
