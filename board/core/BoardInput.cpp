#include "board/core/BoardInput.h"

#include "board/core/BoardPicture.h"

namespace tessarline {

namespace {

// Boxes 1 and 2 form the top row, 3 and 4 the bottom one.
constexpr bool IsLeft(NodeIndex n) {
    return n == 1 || n == 3;
}
constexpr bool IsTop(NodeIndex n) {
    return n == 1 || n == 2;
}
// Tab goes round the square: 1, 2, 4, 3.
constexpr NodeIndex kRound[] = {1, 2, 4, 3};

NodeIndex Around(NodeIndex n, int step) {
    for (int i = 0; i < 4; ++i) {
        if (kRound[i] == n) {
            return kRound[(i + step + 4) % 4];
        }
    }
    return 1;
}

} // namespace

NodeIndex FocusStep(NodeIndex at, BoardKey key) {
    switch (key) {
    case BoardKey::Left:
        return IsLeft(at) ? at : static_cast<NodeIndex>(at - 1);
    case BoardKey::Right:
        return IsLeft(at) ? static_cast<NodeIndex>(at + 1) : at;
    case BoardKey::Up:
        return IsTop(at) ? at : static_cast<NodeIndex>(at - 2);
    case BoardKey::Down:
        return IsTop(at) ? static_cast<NodeIndex>(at + 2) : at;
    case BoardKey::Next:
        return Around(at, 1);
    case BoardKey::Previous:
        return Around(at, -1);
    default:
        return at;
    }
}

bool BoardInput::Press(int x, int y, const TwipTransform& t) {
    pressed_ = NodeAtPixel(x, y, t);
    return pressed_ != 0;
}

void BoardInput::Release(int x, int y, const TwipTransform& t) {
    const NodeIndex pressed = pressed_;
    pressed_ = 0;
    if (pressed != 0 && NodeAtPixel(x, y, t) == pressed) {
        form_.lblNode_Click(pressed);
    }
}

std::optional<BoardKey> BoardKeyForCharacter(char32_t character) {
    if (character >= U'1' && character <= U'4') {
        return static_cast<BoardKey>(character - U'1');
    }
    return std::nullopt;
}

void BoardInput::MoveFocus(NodeIndex to) {
    cues_ = true;
    focus_ = to;
}

bool BoardInput::Key(BoardKey key, bool repeat) {
    // Before the first reset there is no pen, and nothing to move or click.
    if (form_.CurrentNode == 0) {
        return false;
    }
    const bool clicks = key <= BoardKey::Box4 || key == BoardKey::Activate;
    if (repeat && clicks) {
        return true;
    }
    const Form1::Handler handler(form_);
    const NodeIndex at = Focus();
    switch (key) {
    case BoardKey::Box1:
    case BoardKey::Box2:
    case BoardKey::Box3:
    case BoardKey::Box4:
        MoveFocus(at);
        form_.lblNode_Click(static_cast<NodeIndex>(static_cast<int>(key) + 1));
        return true;
    case BoardKey::Activate:
        MoveFocus(at);
        form_.lblNode_Click(at);
        return true;
    default:
        MoveFocus(FocusStep(at, key));
        return true;
    }
}

} // namespace tessarline
