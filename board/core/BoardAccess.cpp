#include "board/core/BoardAccess.h"

namespace tessarline {

int TracedEdgeCount(const Form1& form) {
    int traced = 0;
    for (const Edge e : kAllEdges) {
        traced += form.IsFaint(e) ? 0 : 1;
    }
    return traced;
}

std::wstring BoardDescription(const Form1& form) {
    // Before the first reset nothing is drawn, so nothing is traced either.
    const int traced = form.ArcsPainted() ? TracedEdgeCount(form) : 0;
    return std::to_wstring(traced) + L" of " + std::to_wstring(kEdgeCount) + L" edges traced";
}

std::wstring BoxName(NodeIndex node) {
    return L"Box " + std::to_wstring(node);
}

std::wstring BoxDescription(const Form1& form, NodeIndex node) {
    if (node == form.CurrentNode) {
        return L"pen here";
    }
    const auto pair = form.CurrentNode != 0 ? EdgesBetween(form.CurrentNode, node) : std::nullopt;
    if (!pair) {
        return L"none faint";
    }
    const bool line = form.IsFaint(pair->line);
    const bool arc = pair->arc && form.IsFaint(*pair->arc);
    if (line && arc) {
        return L"line and arc faint";
    }
    return line ? L"line faint" : arc ? L"arc faint" : L"none faint";
}

} // namespace tessarline
