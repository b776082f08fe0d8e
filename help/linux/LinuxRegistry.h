// A small read-only registry for Linux, which has none: it answers the help dialog's lookups of
// the system-information tool from the programs installed on this host.
#pragma once

#include "help/core/Registry.h"

#include <optional>
#include <set>
#include <string>
#include <vector>

namespace tessarline {

// Well-known Linux system-information programs, best first. README.md names them.
std::vector<std::string> DefaultSysInfoPrograms();

// Only HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Shared Tools\MSINFO opens, and only its value
// "PATH" (REG_SZ) can be read: the full path of the first program of the list found in an
// absolute directory of the search path, absent when none is installed. The search runs at
// each query, so a program installed while the game runs is found. Every other key, in
// particular "SOFTWARE\Microsoft\Shared Tools Location", and every other value does not exist.
// Names compare without regard to case, as the registry's do.
class LinuxRegistry final : public Registry {
public:
    // searchPath is a colon-separated directory list, as the PATH environment variable.
    LinuxRegistry(std::vector<std::string> programs, std::string searchPath);
    // The default programs and this process's PATH.
    static LinuxRegistry ForThisHost();

    RegStatus RegOpenKeyExA(RegKey root, const std::string& subKey, std::uint32_t options,
                            std::uint32_t samDesired, RegKey* result) override;
    // data and size are both required; data longer than *size fails with kErrorMoreData and
    // the size needed in *size.
    RegStatus RegQueryValueExA(RegKey key, const std::string& valueName, std::uint32_t* type,
                               std::uint8_t* data, std::uint32_t* size) override;
    RegStatus RegCloseKey(RegKey key) override;

    // The "PATH" value's text now, in the registry's code page (ISO 8859-1).
    std::optional<std::string> FindSysInfoProgram() const;

private:
    std::vector<std::string> programs_;
    std::string searchPath_;
    std::set<RegKey> open_;
    RegKey nextHandle_ = 0x100;
};

} // namespace tessarline
