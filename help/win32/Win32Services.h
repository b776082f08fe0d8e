// The help dialog's services on Windows: the real registry, the ANSI code page, and the file
// test and process start of the system-information launcher.
#pragma once

#include "help/core/Registry.h"
#include "help/core/frmAbout.h"

#include <windows.h>

#include <map>

namespace tessarline {

// The 8-bit registry functions. Handles are given to the logic as 32-bit numbers and mapped
// back to the system's keys here; the predefined roots (0x80000000 and up) are the system's
// own. Keys still open when the registry is destroyed are closed then.
class Win32Registry final : public Registry {
public:
    Win32Registry() = default;
    Win32Registry(const Win32Registry&) = delete;
    Win32Registry& operator=(const Win32Registry&) = delete;
    ~Win32Registry() override;

    RegStatus RegOpenKeyExA(RegKey root, const std::string& subKey, std::uint32_t options,
                            std::uint32_t samDesired, RegKey* result) override;
    RegStatus RegQueryValueExA(RegKey key, const std::string& valueName, std::uint32_t* type,
                               std::uint8_t* data, std::uint32_t* size) override;
    // Closing a handle that is not open (0 after a failed open) does nothing.
    RegStatus RegCloseKey(RegKey key) override;

private:
    // The system key behind a handle, or null for one that is not open.
    HKEY Find(RegKey key) const;

    std::map<RegKey, HKEY> open_;
    RegKey next_ = 1;
};

// The system's ANSI code page; characters it cannot represent become its default character.
class AnsiCodePage final : public CodePage {
public:
    std::string ToAnsi(std::wstring_view text) const override;
    std::wstring FromAnsi(std::string_view bytes) const override;
};

class Win32Shell final : public SystemShell {
public:
    std::wstring Dir(const std::wstring& path) override;
    // The path is the module to run (lpApplicationName), so a path with spaces can never
    // start a program named by its first words.
    void StartProcess(const std::wstring& path) override;
};

} // namespace tessarline
