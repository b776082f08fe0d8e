#include "help/core/Registry.h"

namespace tessarline {

std::string Latin1CodePage::ToAnsi(std::wstring_view text) const {
    std::string out;
    out.reserve(text.size());
    for (wchar_t c : text) {
        const auto code = static_cast<unsigned long>(c);
        out.push_back(code <= 0xFF ? static_cast<char>(code) : '?');
    }
    return out;
}

std::wstring Latin1CodePage::FromAnsi(std::string_view bytes) const {
    std::wstring out;
    out.reserve(bytes.size());
    for (char c : bytes) {
        out.push_back(static_cast<wchar_t>(static_cast<unsigned char>(c)));
    }
    return out;
}

} // namespace tessarline
