// A small read-only registry for Linux, which has none: it answers the help dialog's lookups of
// the system-information tool from the programs installed on this host.
#pragma once

#include "help/core/Registry.h"

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace tessarline {

// Well-known Linux system-information programs, best first. README.md names them.
std::vector<std::string> DefaultSysInfoPrograms();

// The key HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Shared Tools\MSINFO always exists (with its
// parents); its value "PATH" (REG_SZ) is the full path of the first program of the list found
// in an absolute directory of the search path, and is absent when none is installed. The search
// runs at each query, so a program installed while the game runs is found. Nothing else exists,
// in particular not "SOFTWARE\Microsoft\Shared Tools Location". Nothing can be written, so the
// access rights asked for are granted as they are.
class LinuxRegistry final : public Registry {
public:
    // searchPath is a colon-separated directory list, as the PATH environment variable.
    LinuxRegistry(std::vector<std::string> programs, std::string searchPath);
    // The default programs and this process's PATH.
    static LinuxRegistry ForThisHost();

    RegStatus RegOpenKeyExA(RegKey root, const std::string& subKey, std::uint32_t options,
                            std::uint32_t samDesired, RegKey* result) override;
    RegStatus RegQueryValueExA(RegKey key, const std::string& valueName, std::uint32_t* type,
                               std::uint8_t* data, std::uint32_t* size) override;
    RegStatus RegCloseKey(RegKey key) override;

    // The program the "PATH" value names now, as file-system bytes.
    std::optional<std::string> FindSysInfoProgram() const;

private:
    std::vector<std::string> programs_;
    std::string searchPath_;
    // Open handles and the canonical path of the key each one refers to.
    std::map<RegKey, std::string> open_;
    RegKey nextHandle_ = 0x100;
};

} // namespace tessarline
