#include "board/core/Controls.h"

#include <string>

namespace tessarline {

Colour Control::GetProperty(std::string_view name) const {
    // FindProperty only locates storage; reading through it leaves the control unchanged.
    if (const Colour* p = const_cast<Control*>(this)->FindProperty(name)) {
        return *p;
    }
    throw NoSuchProperty("control has no property " + std::string(name));
}

void Control::SetProperty(std::string_view name, Colour value) {
    if (Colour* p = FindProperty(name)) {
        *p = value;
        return;
    }
    throw NoSuchProperty("control has no property " + std::string(name));
}

Colour* NodeLabel::FindProperty(std::string_view name) {
    if (name == "BackColor") {
        return &BackColor;
    }
    if (name == "ForeColor") {
        return &ForeColor;
    }
    return nullptr;
}

Colour* LineControl::FindProperty(std::string_view name) {
    return name == "BorderColor" ? &BorderColor : nullptr;
}

} // namespace tessarline
