#include "help/linux/LinuxRegistry.h"

#include <QFile>
#include <QString>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>
#include <utility>

namespace tessarline {

namespace {

constexpr RegStatus kErrorInvalidParameter = 87;

bool SameName(const std::string& a, const char* b) {
    return QString::fromLatin1(a).compare(QLatin1String(b), Qt::CaseInsensitive) == 0;
}

bool IsExecutableFile(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) &&
           ::access(path.c_str(), X_OK) == 0;
}

// File-system bytes as the registry's 8-bit text; nothing for bytes that are not UTF-8 or a
// character beyond ISO 8859-1, as such a path could not come back into the program intact.
std::optional<std::string> ToRegistryText(const std::string& bytes) {
    const QByteArray raw = QByteArray::fromStdString(bytes);
    const QString name = QFile::decodeName(raw);
    if (QFile::encodeName(name) != raw ||
        std::any_of(name.begin(), name.end(), [](QChar c) { return c.unicode() > 0xFF; })) {
        return std::nullopt;
    }
    return name.toLatin1().toStdString();
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
            if (dir.back() != '/') {
                dir.push_back('/');
            }
            dirs.push_back(std::move(dir));
        }
        start = end + 1;
    }
    for (const std::string& program : programs_) {
        for (const std::string& dir : dirs) {
            const std::string candidate = dir + program;
            if (IsExecutableFile(candidate)) {
                if (std::optional<std::string> text = ToRegistryText(candidate)) {
                    return text;
                }
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
    if (root != kHKeyLocalMachine ||
        !SameName(subKey, "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO")) {
        return kErrorFileNotFound;
    }
    *result = nextHandle_++;
    open_.insert(*result);
    return kErrorSuccess;
}

RegStatus LinuxRegistry::RegQueryValueExA(RegKey key, const std::string& valueName,
                                          std::uint32_t* type, std::uint8_t* data,
                                          std::uint32_t* size) {
    if (open_.count(key) == 0) {
        return kErrorInvalidHandle;
    }
    if (data == nullptr || size == nullptr) {
        return kErrorInvalidParameter;
    }
    const std::optional<std::string> program =
        SameName(valueName, "PATH") ? FindSysInfoProgram() : std::nullopt;
    if (!program) {
        return kErrorFileNotFound;
    }
    // A text value keeps its terminating NUL in its data, as one stored by Windows does.
    const auto needed = static_cast<std::uint32_t>(program->size() + 1);
    const std::uint32_t room = *size;
    *size = needed;
    if (needed > room) {
        return kErrorMoreData;
    }
    std::memcpy(data, program->c_str(), needed);
    if (type != nullptr) {
        *type = kRegSz;
    }
    return kErrorSuccess;
}

RegStatus LinuxRegistry::RegCloseKey(RegKey key) {
    return open_.erase(key) == 1 ? kErrorSuccess : kErrorInvalidHandle;
}

} // namespace tessarline
