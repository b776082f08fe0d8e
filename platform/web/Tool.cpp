// The core's pictures and geometry for the build and the tests, never shipped: the build draws
// the page's icons and its fresh board with it (app/web/make-art.js), and the browser test
// compares the page's canvas with the board it draws after the same clicks. Pictures are 32-bit
// 0xAARRGGBB words in a buffer that stays valid until the next picture.
#include "app/core/AppInfo.h"
#include "board/core/BoardAccess.h"
#include "board/core/BoardPicture.h"
#include "platform/web/BoxParts.h"

#include <emscripten/emscripten.h>

#include <array>
#include <optional>

namespace tessarline {
namespace {

// A board without a window: only its picture is wanted.
class SilentWindow final : public BoardWindow {
public:
    void Show() override {}
    void Changed(const BoardNews&) override {}
    void Beep() override {}
    void ShowHelp() override {}
};

std::optional<PixelBuffer> picture;
std::array<int, 64> clicks{};

const Pixel* Keep(PixelBuffer buffer) {
    picture.emplace(std::move(buffer));
    return picture->Data();
}

} // namespace
} // namespace tessarline

using namespace tessarline;

extern "C" {

EMSCRIPTEN_KEEPALIVE int tl_client_width(double scale) {
    return ClientWidth(TwipTransform::ForDevice(scale));
}
EMSCRIPTEN_KEEPALIVE int tl_client_height(double scale) {
    return ClientHeight(TwipTransform::ForDevice(scale));
}

// Where the caller puts the boxes to click, at most tl_clicks_capacity of them.
EMSCRIPTEN_KEEPALIVE int* tl_clicks() {
    return clicks.data();
}
EMSCRIPTEN_KEEPALIVE int tl_clicks_capacity() {
    return static_cast<int>(clicks.size());
}

// A fresh board after the first count clicks of tl_clicks, without captions, at scale device
// pixels per CSS pixel.
EMSCRIPTEN_KEEPALIVE const Pixel* tl_render_after(int count, double scale) {
    SilentWindow window;
    Form1 form(window);
    form.Form_Load();
    for (int i = 0; i < count && i < static_cast<int>(clicks.size()); ++i) {
        form.lblNode_Click(static_cast<NodeIndex>(clicks[static_cast<std::size_t>(i)]));
    }
    return Keep(RenderBoard(form, TwipTransform::ForDevice(scale)));
}

EMSCRIPTEN_KEEPALIVE const Pixel* tl_figure(int size) {
    return Keep(RenderFigure(size));
}

// Part 0 to 5 of a box: BoxPart.
EMSCRIPTEN_KEEPALIVE int tl_box(int node, int part, double scale) {
    return BoxPart(node, part, scale);
}

// A box's text colour on a fresh board, 0xAARRGGBB.
EMSCRIPTEN_KEEPALIVE Pixel tl_fresh_text_colour(int node) {
    SilentWindow window;
    Form1 form(window);
    form.Form_Load();
    return ToPixel(form.lblNode(node).ForeColor);
}

// The board's background, 0xAARRGGBB: the web app's colours.
EMSCRIPTEN_KEEPALIVE Pixel tl_board_colour() {
    return ToPixel(kBoardBackColor);
}

EMSCRIPTEN_KEEPALIVE const wchar_t* tl_app_title() {
    return kAppTitle.data();
}
EMSCRIPTEN_KEEPALIVE const wchar_t* tl_how_to_play() {
    return kHowToPlay;
}

} // extern "C"
