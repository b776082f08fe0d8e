#include "help/linux/LinuxRegistry.h"

#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cstdlib>
#include <cstring>
#include <string_view>
#include <utility>

namespace tessarline {

namespace {

constexpr RegStatus kErrorInvalidParameter = 87;

// The keys that exist, in canonical form: lower case, relative to HKEY_LOCAL_MACHINE.
constexpr std::array<std::string_view, 5> kKeys = {"", "software", "software\\microsoft",
                                                   "software\\microsoft\\shared tools",
                                                   "software\\microsoft\\shared tools\\msinfo"};
constexpr std::string_view kMsInfoKey = "software\\microsoft\\shared tools\\msinfo";
constexpr std::string_view kPathValue = "path";

// Registry names compare without regard to case.
std::string Lower(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return out;
}

bool IsPredefinedRoot(RegKey key) {
    return key >= 0x80000000u && key <= 0x80000006u;
}

// File-system bytes (UTF-8) as the registry's 8-bit code page (ISO 8859-1); nothing when a
// character has no place in it or the bytes are not UTF-8, as such a path could not be read
// back into the program's text intact.
std::optional<std::string> Utf8ToLatin1(std::string_view bytes) {
    std::string out;
    for (std::size_t i = 0; i < bytes.size();) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        if (b < 0x80) {
            out.push_back(static_cast<char>(b));
            ++i;
            continue;
        }
        // U+0080 to U+00FF are the two-byte sequences C2 80 to C3 BF.
        if ((b == 0xC2 || b == 0xC3) && i + 1 < bytes.size()) {
            const auto c = static_cast<unsigned char>(bytes[i + 1]);
            if ((c & 0xC0) == 0x80) {
                out.push_back(static_cast<char>(((b & 0x03) << 6) | (c & 0x3F)));
                i += 2;
                continue;
            }
        }
        return std::nullopt;
    }
    return out;
}

bool IsExecutableFile(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) &&
           ::access(path.c_str(), X_OK) == 0;
}

} // namespace

std::vector<std::string> DefaultSysInfoPrograms() {
    return {"hardinfo2", "hardinfo", "kinfocenter", "cpu-x", "lshw-gtk"};
}

LinuxRegistry::LinuxRegistry(std::vector<std::string> programs, std::string searchPath)
    : programs_(std::move(programs)), searchPath_(std::move(searchPath)) {}

LinuxRegistry LinuxRegistry::ForThisHost() {
    std::string path;
    if (const char* env = std::getenv("PATH")) {
        path = env;
    } else {
        std::array<char, 256> fallback{};
        if (::confstr(_CS_PATH, fallback.data(), fallback.size()) > 0) {
            path = fallback.data();
        }
    }
    return LinuxRegistry(DefaultSysInfoPrograms(), std::move(path));
}

std::optional<std::string> LinuxRegistry::FindSysInfoProgram() const {
    std::vector<std::string> dirs;
    for (std::size_t start = 0; start <= searchPath_.size();) {
        std::size_t end = searchPath_.find(':', start);
        if (end == std::string::npos) {
            end = searchPath_.size();
        }
        std::string dir = searchPath_.substr(start, end - start);
        // Empty and relative entries name the current directory, which has nothing to do with
        // what is installed.
        if (!dir.empty() && dir.front() == '/') {
            if (dir.size() > 1 && dir.back() == '/') {
                dir.pop_back();
            }
            dirs.push_back(std::move(dir));
        }
        start = end + 1;
    }
    for (const std::string& program : programs_) {
        if (program.empty() || program.find('/') != std::string::npos) {
            continue;
        }
        for (const std::string& dir : dirs) {
            const std::string candidate = (dir == "/" ? "" : dir) + "/" + program;
            if (IsExecutableFile(candidate) && Utf8ToLatin1(candidate)) {
                return candidate;
            }
        }
    }
    return std::nullopt;
}

RegStatus LinuxRegistry::RegOpenKeyExA(RegKey root, const std::string& subKey,
                                       std::uint32_t /*options*/, std::uint32_t /*samDesired*/,
                                       RegKey* result) {
    if (result == nullptr) {
        return kErrorInvalidParameter;
    }
    std::string base;
    if (root == kHKeyLocalMachine) {
        base.clear();
    } else if (const auto it = open_.find(root); it != open_.end()) {
        base = it->second;
    } else if (IsPredefinedRoot(root)) {
        return kErrorFileNotFound;
    } else {
        return kErrorInvalidHandle;
    }
    const std::string relative = Lower(subKey);
    const std::string full =
        base.empty() || relative.empty() ? base + relative : base + "\\" + relative;
    for (std::string_view key : kKeys) {
        if (full == key) {
            const RegKey handle = nextHandle_++;
            open_.emplace(handle, full);
            *result = handle;
            return kErrorSuccess;
        }
    }
    return kErrorFileNotFound;
}

RegStatus LinuxRegistry::RegQueryValueExA(RegKey key, const std::string& valueName,
                                          std::uint32_t* type, std::uint8_t* data,
                                          std::uint32_t* size) {
    const auto it = open_.find(key);
    if (it == open_.end()) {
        return IsPredefinedRoot(key) ? kErrorFileNotFound : kErrorInvalidHandle;
    }
    if (data != nullptr && size == nullptr) {
        return kErrorInvalidParameter;
    }
    if (it->second != kMsInfoKey || Lower(valueName) != kPathValue) {
        return kErrorFileNotFound;
    }
    const std::optional<std::string> program = FindSysInfoProgram();
    if (!program) {
        return kErrorFileNotFound;
    }
    // A text value keeps its terminating NUL in its data, as one stored by Windows does.
    const std::string bytes = *Utf8ToLatin1(*program) + '\0';
    const auto needed = static_cast<std::uint32_t>(bytes.size());
    if (type != nullptr) {
        *type = kRegSz;
    }
    if (size == nullptr) {
        return kErrorSuccess;
    }
    const std::uint32_t room = *size;
    *size = needed;
    if (data == nullptr) {
        return kErrorSuccess;
    }
    if (needed > room) {
        return kErrorMoreData;
    }
    std::memcpy(data, bytes.data(), bytes.size());
    return kErrorSuccess;
}

RegStatus LinuxRegistry::RegCloseKey(RegKey key) {
    return open_.erase(key) == 1 ? kErrorSuccess : kErrorInvalidHandle;
}

} // namespace tessarline
