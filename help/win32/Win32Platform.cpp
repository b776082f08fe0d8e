#include "help/win32/Win32Platform.h"

#include <stdexcept>

namespace tessarline {

// Placeholders until the Windows platform services are written.
RegStatus Win32Registry::RegOpenKeyExA(RegKey, const std::string&, std::uint32_t, std::uint32_t,
                                       RegKey*) {
    return kErrorFileNotFound;
}
RegStatus Win32Registry::RegQueryValueExA(RegKey, const std::string&, std::uint32_t*, std::uint8_t*,
                                          std::uint32_t*) {
    return kErrorFileNotFound;
}
RegStatus Win32Registry::RegCloseKey(RegKey) {
    return kErrorSuccess;
}
std::string AnsiCodePage::ToAnsi(std::wstring_view) const {
    return {};
}
std::wstring AnsiCodePage::FromAnsi(std::string_view) const {
    return {};
}
std::wstring Win32Shell::Dir(const std::wstring&) {
    return {};
}
void Win32Shell::StartProcess(const std::wstring&) {
    throw std::runtime_error("not available");
}
void Win32Shell::ShowMessage(const std::wstring&, const std::wstring&) {}

} // namespace tessarline
