#include "board/core/BoardNews.h"

#include "board/core/BoardAccess.h"
#include "board/core/Form1.h"

namespace tessarline {

bool BoardNews::Any() const {
    bool boxes = false;
    for (const bool b : boxDescription) {
        boxes = boxes || b;
    }
    return picture || focusMoved || boardDescription || boxes || !announcement.empty();
}

std::wstring MoveAnnouncement(const Form1& form) {
    return L"Pen on box " + std::to_wstring(form.CurrentNode) + L". " + BoardDescription(form) +
           L".";
}

std::wstring RefusalAnnouncement(NodeIndex from, NodeIndex to) {
    return L"No faint edge from box " + std::to_wstring(from) + L" to box " + std::to_wstring(to) +
           L".";
}

std::wstring ResetAnnouncement(const Form1& form) {
    return L"Board reset. " + MoveAnnouncement(form);
}

void BoardTold::Update(const Form1& form, NodeIndex focus, BoardNews& news) {
    std::wstring board = BoardDescription(form);
    news.boardDescription = board != board_;
    board_ = std::move(board);
    for (NodeIndex n = 1; n <= kNodeCount; ++n) {
        std::wstring box = BoxDescription(form, n);
        std::wstring& told = boxes_[static_cast<std::size_t>(n - 1)];
        news.boxDescription[static_cast<std::size_t>(n - 1)] = box != told;
        told = std::move(box);
    }
    news.focusMoved = focus != focus_;
    focus_ = focus;
}

} // namespace tessarline
