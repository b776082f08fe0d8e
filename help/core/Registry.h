// The registry as the help dialog reads it: the 8-bit ("A") functions, with their handles,
// sizes, type codes and error codes, and the code page that text crosses at that boundary.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tessarline {

using RegKey = std::uint32_t;
using RegStatus = std::int32_t;

inline constexpr RegKey kHKeyLocalMachine = 0x80000002u;
// READ_CONTROL with query value, set value, create sub-key, enumerate sub-keys, notify and
// create link.
inline constexpr std::uint32_t kKeyAccessMask = 0x2003Fu;

inline constexpr RegStatus kErrorSuccess = 0;
inline constexpr RegStatus kErrorFileNotFound = 2;
inline constexpr RegStatus kErrorAccessDenied = 5;
inline constexpr RegStatus kErrorInvalidHandle = 6;
inline constexpr RegStatus kErrorMoreData = 234;

inline constexpr std::uint32_t kRegSz = 1;
inline constexpr std::uint32_t kRegDword = 4;

class Registry {
public:
    virtual ~Registry() = default;
    // Opens subKey below root into *result; 0 on success.
    virtual RegStatus RegOpenKeyExA(RegKey root, const std::string& subKey, std::uint32_t options,
                                    std::uint32_t samDesired, RegKey* result) = 0;
    // Reads one value into data, which holds *size bytes. On success *size becomes the number
    // of bytes returned; data longer than the buffer fails with kErrorMoreData.
    virtual RegStatus RegQueryValueExA(RegKey key, const std::string& valueName,
                                       std::uint32_t* type, std::uint8_t* data,
                                       std::uint32_t* size) = 0;
    virtual RegStatus RegCloseKey(RegKey key) = 0;
};

// The system's 8-bit code page, which registry text crosses on its way in and out.
class CodePage {
public:
    virtual ~CodePage() = default;
    virtual std::string ToAnsi(std::wstring_view text) const = 0;
    virtual std::wstring FromAnsi(std::string_view bytes) const = 0;
};

// ISO 8859-1: byte n is character n; any other character becomes '?'.
class Latin1CodePage final : public CodePage {
public:
    std::string ToAnsi(std::wstring_view text) const override;
    std::wstring FromAnsi(std::string_view bytes) const override;
};

} // namespace tessarline
