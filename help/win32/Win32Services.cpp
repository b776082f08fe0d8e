#include "help/win32/Win32Services.h"

#include <climits>
#include <stdexcept>
#include <string>
#include <string_view>

namespace tessarline {

namespace {

// The predefined keys are handle values with the top bit set, the same on 32 and 64 bits
// (sign-extended in a 64-bit HKEY).
constexpr RegKey kFirstPredefinedKey = 0x80000000u;
constexpr RegKey kLastPredefinedKey = 0x80000006u;

HKEY PredefinedKey(RegKey key) {
    return reinterpret_cast<HKEY>(
        static_cast<ULONG_PTR>(static_cast<LONG_PTR>(static_cast<std::int32_t>(key))));
}

int CheckedLength(std::size_t length) {
    if (length > static_cast<std::size_t>(INT_MAX)) {
        throw std::length_error("text too long for the code page conversion");
    }
    return static_cast<int>(length);
}

} // namespace

Win32Registry::~Win32Registry() {
    for (const auto& entry : open_) {
        ::RegCloseKey(entry.second);
    }
}

HKEY Win32Registry::Find(RegKey key) const {
    if (key >= kFirstPredefinedKey && key <= kLastPredefinedKey) {
        return PredefinedKey(key);
    }
    const auto found = open_.find(key);
    return found == open_.end() ? nullptr : found->second;
}

RegStatus Win32Registry::RegOpenKeyExA(RegKey root, const std::string& subKey,
                                       std::uint32_t options, std::uint32_t samDesired,
                                       RegKey* result) {
    const HKEY parent = Find(root);
    if (parent == nullptr) {
        return kErrorInvalidHandle;
    }
    // Handles are never reused while open and never collide with the predefined keys.
    while (next_ == 0 || next_ >= kFirstPredefinedKey || open_.count(next_) != 0) {
        next_ = next_ >= kFirstPredefinedKey ? 1 : next_ + 1;
    }
    HKEY opened = nullptr;
    LONG status = ::RegOpenKeyExA(parent, subKey.c_str(), options, samDesired, &opened);
    if (status == ERROR_ACCESS_DENIED && (samDesired & ~static_cast<std::uint32_t>(KEY_READ))) {
        // The rights beyond reading are never used, and an account without write access to
        // the machine's keys would otherwise never find the tool: read-only access will do.
        status = ::RegOpenKeyExA(parent, subKey.c_str(), options, samDesired & KEY_READ, &opened);
    }
    if (status != ERROR_SUCCESS) {
        return static_cast<RegStatus>(status);
    }
    const RegKey handle = next_++;
    open_[handle] = opened;
    *result = handle;
    return kErrorSuccess;
}

RegStatus Win32Registry::RegQueryValueExA(RegKey key, const std::string& valueName,
                                          std::uint32_t* type, std::uint8_t* data,
                                          std::uint32_t* size) {
    const HKEY system = Find(key);
    if (system == nullptr) {
        return kErrorInvalidHandle;
    }
    DWORD valueType = 0;
    DWORD valueSize = size != nullptr ? *size : 0;
    const LONG status = ::RegQueryValueExA(system, valueName.c_str(), nullptr, &valueType, data,
                                           size != nullptr ? &valueSize : nullptr);
    if (type != nullptr) {
        *type = valueType;
    }
    if (size != nullptr) {
        *size = valueSize;
    }
    return static_cast<RegStatus>(status);
}

RegStatus Win32Registry::RegCloseKey(RegKey key) {
    const auto found = open_.find(key);
    if (found == open_.end()) {
        return kErrorInvalidHandle;
    }
    const LONG status = ::RegCloseKey(found->second);
    open_.erase(found);
    return static_cast<RegStatus>(status);
}

std::string AnsiCodePage::ToAnsi(std::wstring_view text) const {
    if (text.empty()) {
        return {};
    }
    const int length = CheckedLength(text.size());
    const int needed =
        ::WideCharToMultiByte(CP_ACP, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
    if (needed <= 0) {
        throw std::runtime_error("text cannot be converted to the ANSI code page");
    }
    std::string out(static_cast<std::size_t>(needed), '\0');
    ::WideCharToMultiByte(CP_ACP, 0, text.data(), length, out.data(), needed, nullptr, nullptr);
    return out;
}

std::wstring AnsiCodePage::FromAnsi(std::string_view bytes) const {
    if (bytes.empty()) {
        return {};
    }
    const int length = CheckedLength(bytes.size());
    const int needed = ::MultiByteToWideChar(CP_ACP, 0, bytes.data(), length, nullptr, 0);
    if (needed <= 0) {
        throw std::runtime_error("text cannot be converted from the ANSI code page");
    }
    std::wstring out(static_cast<std::size_t>(needed), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, bytes.data(), length, out.data(), needed);
    return out;
}

std::wstring Win32Shell::Dir(const std::wstring& path) {
    // Wildcards would match some other file; a NUL would cut the path short.
    if (path.empty() || path.find_first_of(std::wstring_view(L"*?\0", 3)) != std::wstring::npos) {
        return {};
    }
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    constexpr DWORD kNotOrdinary = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN |
                                   FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_DEVICE;
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & kNotOrdinary) != 0) {
        return {};
    }
    const std::size_t separator = path.find_last_of(L"\\/:");
    return separator == std::wstring::npos ? path : path.substr(separator + 1);
}

void Win32Shell::StartProcess(const std::wstring& path) {
    // A quote cannot be part of a file name; an empty path names no program; a NUL would cut
    // the path short and start another program than the one named.
    if (path.empty() || path.find_first_of(std::wstring_view(L"\"\0", 2)) != std::wstring::npos) {
        throw std::runtime_error("no program to start");
    }
    // The program sees its own path, quoted, as its command line; the buffer must be writable.
    std::wstring commandLine = L"\"" + path + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION process{};
    if (!::CreateProcessW(path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                          nullptr, &startup, &process)) {
        throw std::runtime_error("cannot start the program, error " +
                                 std::to_string(::GetLastError()));
    }
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
}

} // namespace tessarline
