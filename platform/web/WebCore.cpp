// The core as the web page reaches it: plain C functions exported from the WebAssembly module,
// and the board's and the dialog's windows answered by functions the page's script provides
// (library.js). Texts cross as NUL-terminated UTF-32, the module's wchar_t; pictures as 32-bit
// 0xAARRGGBB words, both in buffers that stay valid until the next call of the same kind.
#include "app/core/AppInfo.h"
#include "board/core/BoardAccess.h"
#include "board/core/BoardInput.h"
#include "board/core/BoardPicture.h"
#include "help/core/AboutLayout.h"
#include "help/core/frmAbout.h"
#include "platform/web/BoxParts.h"

#include <emscripten/emscripten.h>

#include <array>
#include <memory>
#include <optional>
#include <string>

extern "C" {
// Provided by the page (library.js).
void tl_js_changed(int picture, int focusMoved, int boardDescription, int boxDescriptions,
                   const wchar_t* announcement);
void tl_js_beep();
void tl_js_show_help();
void tl_js_about_caption(const wchar_t* text);
void tl_js_about_title(const wchar_t* text);
void tl_js_about_unload();
void tl_js_about_message(const wchar_t* text, const wchar_t* caption);
}

namespace tessarline {
namespace {

class WebBoardWindow final : public BoardWindow {
public:
    // The page is already showing when the module starts.
    void Show() override {}
    // The boxes whose descriptions are new go as bits 0 to 3.
    void Changed(const BoardNews& news) override {
        int boxes = 0;
        for (std::size_t i = 0; i < news.boxDescription.size(); ++i) {
            boxes |= news.boxDescription[i] ? 1 << i : 0;
        }
        tl_js_changed(news.picture ? 1 : 0, news.focusMoved ? 1 : 0, news.boardDescription ? 1 : 0,
                      boxes, news.announcement.c_str());
    }
    void Beep() override { tl_js_beep(); }
    void ShowHelp() override { tl_js_show_help(); }
};

class WebAboutWindow final : public AboutWindow {
public:
    void SetCaption(const std::wstring& text) override { tl_js_about_caption(text.c_str()); }
    void SetTitleLabel(const std::wstring& text) override { tl_js_about_title(text.c_str()); }
    void Unload() override { tl_js_about_unload(); }
    void ShowMessage(const std::wstring& text, const std::wstring& caption) override {
        tl_js_about_message(text.c_str(), caption.c_str());
    }
};

// A page has no registry: every key is absent, so the dialog's own logic ends in its message.
class NoRegistry final : public Registry {
public:
    RegStatus RegOpenKeyExA(RegKey, const std::string&, std::uint32_t, std::uint32_t,
                            RegKey* result) override {
        *result = 0;
        return kErrorFileNotFound;
    }
    RegStatus RegQueryValueExA(RegKey, const std::string&, std::uint32_t*, std::uint8_t*,
                               std::uint32_t*) override {
        return kErrorInvalidHandle;
    }
    RegStatus RegCloseKey(RegKey) override { return kErrorInvalidHandle; }
};

// Nor can a page test for files or start programs.
class NoShell final : public SystemShell {
public:
    std::wstring Dir(const std::wstring&) override { return {}; }
    void StartProcess(const std::wstring&) override {
        throw std::runtime_error("a web page cannot start programs");
    }
};

struct Program {
    WebBoardWindow window;
    Form1 form{window};
    BoardInput input{form};
    WebAboutWindow aboutWindow;
    NoRegistry registry;
    Latin1CodePage codePage;
    NoShell shell;
    std::optional<frmAbout> about;
};

std::unique_ptr<Program> program;
std::optional<PixelBuffer> picture;
std::wstring text;

const Pixel* Keep(PixelBuffer buffer) {
    picture.emplace(std::move(buffer));
    return picture->Data();
}

const wchar_t* Keep(std::wstring value) {
    text = std::move(value);
    return text.c_str();
}

TwipRect AboutItem(int item) {
    constexpr std::array<TwipRect, 6> kItems = {{
        {kAboutScreenLeftTwips, kAboutScreenTopTwips, kAboutClientWidthTwips,
         kAboutClientHeightTwips},
        kAboutImage1,
        kAboutTitle,
        kAboutDescription,
        kAboutOK,
        kAboutSysInfo,
    }};
    return kItems.at(static_cast<std::size_t>(item));
}

} // namespace
} // namespace tessarline

using namespace tessarline;

extern "C" {

// Creates the board and raises its load event, which paints it through tl_js_changed.
EMSCRIPTEN_KEEPALIVE void tl_start() {
    program = std::make_unique<Program>();
    program->form.Form_Load();
}

EMSCRIPTEN_KEEPALIVE void tl_reset() {
    program->form.mnuReset_Click();
}
EMSCRIPTEN_KEEPALIVE void tl_help() {
    program->form.mnuHelp_Click();
}

EMSCRIPTEN_KEEPALIVE int tl_client_width(double dpr) {
    return ClientWidth(TwipTransform::ForDevice(dpr));
}
EMSCRIPTEN_KEEPALIVE int tl_client_height(double dpr) {
    return ClientHeight(TwipTransform::ForDevice(dpr));
}

// The board as it stands, without captions, at dpr device pixels per CSS pixel.
EMSCRIPTEN_KEEPALIVE const Pixel* tl_render(double dpr) {
    return Keep(RenderBoard(program->form, TwipTransform::ForDevice(dpr)));
}

EMSCRIPTEN_KEEPALIVE const Pixel* tl_figure(int size) {
    return Keep(RenderFigure(size));
}

// Part 0 to 5 of a box: BoxPart.
EMSCRIPTEN_KEEPALIVE int tl_box(int node, int part, double dpr) {
    return BoxPart(node, part, dpr);
}

// The box's text colour, 0xAARRGGBB.
EMSCRIPTEN_KEEPALIVE Pixel tl_box_text_colour(int node) {
    return ToPixel(program->form.lblNode(node).ForeColor);
}

EMSCRIPTEN_KEEPALIVE int tl_press(int x, int y, double dpr) {
    return program->input.Press(x, y, TwipTransform::ForDevice(dpr)) ? 1 : 0;
}
EMSCRIPTEN_KEEPALIVE void tl_release(int x, int y, double dpr) {
    program->input.Release(x, y, TwipTransform::ForDevice(dpr));
}
EMSCRIPTEN_KEEPALIVE void tl_cancel() {
    program->input.Cancel();
}
// A box pressed by assistive technology: a click, without the pointer.
EMSCRIPTEN_KEEPALIVE void tl_click(int node) {
    program->form.lblNode_Click(static_cast<NodeIndex>(node));
}

// key is a BoardKey, repeat 1 when the platform repeats a held key; 1 when the board used it.
EMSCRIPTEN_KEEPALIVE int tl_key(int key, int repeat) {
    if (key < 0 || key > static_cast<int>(BoardKey::Activate)) {
        return 0;
    }
    return program->input.Key(static_cast<BoardKey>(key), repeat != 0) ? 1 : 0;
}
EMSCRIPTEN_KEEPALIVE int tl_focus() {
    return program->input.Focus();
}
EMSCRIPTEN_KEEPALIVE int tl_focus_shown() {
    return program->input.FocusShown() ? 1 : 0;
}

EMSCRIPTEN_KEEPALIVE const wchar_t* tl_board_name() {
    return kBoardAccessName;
}
EMSCRIPTEN_KEEPALIVE const wchar_t* tl_board_description() {
    return Keep(BoardDescription(program->form));
}
EMSCRIPTEN_KEEPALIVE const wchar_t* tl_box_name(int node) {
    return Keep(BoxName(static_cast<NodeIndex>(node)));
}
EMSCRIPTEN_KEEPALIVE const wchar_t* tl_box_description(int node) {
    return Keep(BoxDescription(program->form, static_cast<NodeIndex>(node)));
}

// The help dialog: every opening loads it afresh.
EMSCRIPTEN_KEEPALIVE void tl_about_load() {
    Program& p = *program;
    p.about.emplace(p.aboutWindow, p.registry, p.codePage, p.shell);
    p.about->Form_Load();
}
EMSCRIPTEN_KEEPALIVE void tl_about_ok() {
    program->about->cmdOK_Click();
}
EMSCRIPTEN_KEEPALIVE void tl_about_sysinfo() {
    program->about->cmdSysInfo_Click();
}
EMSCRIPTEN_KEEPALIVE const wchar_t* tl_rules_text() {
    return kRulesText.data();
}
EMSCRIPTEN_KEEPALIVE const wchar_t* tl_figure_name() {
    return kFigureAccessName.data();
}
EMSCRIPTEN_KEEPALIVE const wchar_t* tl_app_title() {
    return kAppTitle.data();
}

// Item 0 is the dialog's client area (left and top on the screen), 1 to 5 the picture, the
// title, the rules, OK and System Info; part 0 to 3 is left, top, width and height in CSS
// pixels.
EMSCRIPTEN_KEEPALIVE int tl_about_layout(int item, int part) {
    const TwipRect r = AboutItem(item);
    const std::array<int, 4> parts = {r.left, r.top, r.width, r.height};
    return TwipsToPixels(parts.at(static_cast<std::size_t>(part)), 1.0);
}

} // extern "C"
