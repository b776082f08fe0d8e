#include "help/core/frmAbout.h"

#include "app/core/AppInfo.h"

#include <array>
#include <cwctype>

namespace tessarline {

namespace {

constexpr wchar_t kMsInfoKey[] = L"SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
constexpr wchar_t kLocationKey[] = L"SOFTWARE\\Microsoft\\Shared Tools Location";
constexpr wchar_t kToolFile[] = L"\\MSINFO32.EXE";

// Closes a key however GetKeyValue is left, the zero-size error included.
class KeyCloser {
public:
    KeyCloser(Registry& registry, const RegKey& key) : registry_(registry), key_(key) {}
    KeyCloser(const KeyCloser&) = delete;
    KeyCloser& operator=(const KeyCloser&) = delete;
    ~KeyCloser() { registry_.RegCloseKey(key_); }

private:
    Registry& registry_;
    const RegKey& key_;
};

} // namespace

std::wstring FormatGeneral(const std::wstring& text) {
    if (text.size() < 3 || text.size() > 10 || text[0] != L'&' || std::towlower(text[1]) != L'h') {
        return text;
    }
    unsigned long value = 0;
    for (std::size_t i = 2; i < text.size(); ++i) {
        const wchar_t c = text[i];
        unsigned digit = 0;
        if (c >= L'0' && c <= L'9') {
            digit = static_cast<unsigned>(c - L'0');
        } else if (c >= L'A' && c <= L'F') {
            digit = static_cast<unsigned>(c - L'A' + 10);
        } else if (c >= L'a' && c <= L'f') {
            digit = static_cast<unsigned>(c - L'a' + 10);
        } else {
            return text;
        }
        value = value * 16 + digit;
    }
    return std::to_wstring(value);
}

frmAbout::frmAbout(AboutWindow& window, Registry& registry, const CodePage& codePage,
                   SystemShell& shell)
    : window_(window), registry_(registry), codePage_(codePage), shell_(shell) {}

void frmAbout::Form_Load() {
    window_.SetCaption(L"About " + std::wstring(kAppTitle));
    window_.SetTitleLabel(std::wstring(kAppTitle));
}

void frmAbout::cmdOK_Click() {
    window_.Unload();
}

void frmAbout::cmdSysInfo_Click() {
    StartSysInfo();
}

void frmAbout::StartSysInfo() {
    try {
        std::wstring ToolPath;
        std::wstring key = kMsInfoKey;
        std::wstring value = L"PATH";
        if (!GetKeyValue(kHKeyLocalMachine, key, value, ToolPath)) {
            key = kLocationKey;
            value = L"MSINFO";
            // A location of an unreadable type leaves ToolPath empty; a file at the root of
            // the current drive must never stand in for the tool.
            if (!GetKeyValue(kHKeyLocalMachine, key, value, ToolPath) || ToolPath.empty() ||
                shell_.Dir(ToolPath + kToolFile).empty()) {
                window_.ShowMessage(std::wstring(kSysInfoUnavailable), std::wstring(kAppTitle));
                return;
            }
            ToolPath += kToolFile;
        }
        if (ToolPath.empty()) {
            throw std::runtime_error("no program to start");
        }
        shell_.StartProcess(ToolPath);
    } catch (...) {
        window_.ShowMessage(std::wstring(kSysInfoUnavailable), std::wstring(kAppTitle));
    }
}

bool frmAbout::GetKeyValue(RegKey KeyRoot, std::wstring& KeyName, std::wstring& SubKeyRef,
                           std::wstring& KeyVal) {
    RegKey KeyHandle = 0;
    const KeyCloser closer(registry_, KeyHandle);

    const std::string ansiKey = codePage_.ToAnsi(KeyName);
    const RegStatus opened =
        registry_.RegOpenKeyExA(KeyRoot, ansiKey, 0, kKeyAccessMask, &KeyHandle);
    KeyName = codePage_.FromAnsi(ansiKey);
    if (opened != kErrorSuccess) {
        KeyVal.clear();
        return false;
    }

    std::array<std::uint8_t, kDataBufferSize> DataBuffer{};
    std::uint32_t DataSize = kDataBufferSize;
    std::uint32_t DataType = 0;
    const std::string ansiValue = codePage_.ToAnsi(SubKeyRef);
    const RegStatus queried =
        registry_.RegQueryValueExA(KeyHandle, ansiValue, &DataType, DataBuffer.data(), &DataSize);
    SubKeyRef = codePage_.FromAnsi(ansiValue);
    // A size beyond the buffer would read past it: treat it as data too long to read.
    if (queried != kErrorSuccess || DataSize > kDataBufferSize) {
        KeyVal.clear();
        return false;
    }
    if (DataSize == 0) {
        throw InvalidRegistryData("registry value has no data");
    }

    // One trailing NUL, and only one, is not part of the value.
    const std::size_t kept = DataBuffer[DataSize - 1] == 0 ? DataSize - 1 : DataSize;
    if (DataType == kRegSz) {
        KeyVal = codePage_.FromAnsi(
            std::string_view(reinterpret_cast<const char*>(DataBuffer.data()), kept));
    } else if (DataType == kRegDword) {
        static constexpr wchar_t kHex[] = L"0123456789ABCDEF";
        for (std::size_t i = kept; i-- > 0;) {
            KeyVal.push_back(kHex[DataBuffer[i] >> 4]);
            KeyVal.push_back(kHex[DataBuffer[i] & 0x0F]);
        }
        KeyVal = FormatGeneral(L"&h" + KeyVal);
    }
    return true;
}

} // namespace tessarline
