// The registry adapter and the ANSI code page against the system's real registry, directly and
// through the help dialog's GetKeyValue.
#include "tests/win32/support/Win32TestSupport.h"

#include "help/win32/Win32Platform.h"

#include <sddl.h>

#include <gtest/gtest.h>

#include <array>
#include <optional>
#include <string>

namespace tessarline {
namespace {

using test::ScratchKey;
using namespace std::string_literals;

constexpr RegKey kHKeyCurrentUser = 0x80000001u;
// One key for each test program running, as tests may run side by side.
const std::string kTestKeyA =
    "Software\\TessarlineTest\\Registry-" + std::to_string(GetCurrentProcessId());
const std::wstring kTestKey(kTestKeyA.begin(), kTestKeyA.end());

class RegistryTest : public ::testing::Test {
protected:
    // Reads one value the way the launcher reads its values.
    bool Read(const std::wstring& keyName, const std::wstring& name, std::wstring& value,
              RegKey root = kHKeyCurrentUser) {
        std::wstring keyArg = keyName;
        std::wstring nameArg = name;
        return about.GetKeyValue(root, keyArg, nameArg, value);
    }

    RegKey Open(const std::string& subKey) {
        RegKey handle = 0;
        EXPECT_EQ(registry.RegOpenKeyExA(kHKeyCurrentUser, subKey, 0, kKeyAccessMask, &handle),
                  kErrorSuccess);
        return handle;
    }

    RegStatus Query(RegKey handle, const std::string& name, std::uint8_t* data) {
        std::uint32_t type = 0;
        std::uint32_t size = frmAbout::kDataBufferSize;
        return registry.RegQueryValueExA(handle, name, &type, data, &size);
    }

    ScratchKey key{HKEY_CURRENT_USER, kTestKey};
    Win32Registry registry;
    AnsiCodePage codePage;
    test::NoWindow window;
    test::RecordingShell shell;
    frmAbout about{window, registry, codePage, shell};
};

TEST_F(RegistryTest, GetKeyValueReadsEachKindOfDataStoredInTheRegistry) {
    const struct {
        const char* name;
        DWORD type;
        std::optional<std::string> bytes; // nothing: the value is not there
        bool found;
        std::wstring text;
    } cases[] = {
        {"Text", REG_SZ, "C:\\Program Files\\x.exe\0"s, true, L"C:\\Program Files\\x.exe"},
        {"Unterminated", REG_SZ, "no end"s, true, L"no end"},
        {"Number", REG_DWORD, "\x05\x01\0\0"s, true, L"261"},
        // 1023 characters and the terminating NUL fill the 1024-byte buffer exactly.
        {"Full", REG_SZ, std::string(1023, 'x') + '\0', true, std::wstring(1023, L'x')},
        {"TooLong", REG_SZ, std::string(1024, 'y') + '\0', false, L""},
        {"Absent", REG_SZ, std::nullopt, false, L""},
    };
    for (const auto& c : cases) {
        if (c.bytes) {
            key.SetBytes(c.name, c.type, *c.bytes);
        }
    }
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        // Number data is added to the text passed in, which the launcher passes empty; a
        // failed read clears whatever was there.
        std::wstring value = c.found ? L"" : L"stale";
        EXPECT_EQ(Read(kTestKey, codePage.FromAnsi(c.name), value), c.found);
        EXPECT_EQ(value, c.text);
    }

    std::wstring value = L"stale";
    EXPECT_FALSE(Read(kTestKey + L"\\Absent", L"Text", value)) << "a missing key";
    EXPECT_EQ(value, L"");

    // Data of size zero is an error, not an empty text.
    key.SetBytes("Empty", REG_SZ, ""s);
    value = L"kept";
    EXPECT_THROW(Read(kTestKey, L"Empty", value), InvalidRegistryData);
    EXPECT_EQ(value, L"kept");
}

TEST_F(RegistryTest, GetKeyValueReachesMachineKeysAndKeysItMayOnlyRead) {
    ScratchKey machine(HKEY_LOCAL_MACHINE, L"Software\\TessarlineTest");
    machine.SetBytes("PATH", REG_SZ, "machine\0"s);
    std::wstring value;
    ASSERT_TRUE(Read(L"Software\\TessarlineTest", L"PATH", value, kHKeyLocalMachine));
    EXPECT_EQ(value, L"machine");

    // The machine's keys are read-only to most accounts, yet the launcher asks for write
    // access too. Here the test key itself grants everyone reading only.
    ScratchKey locked(HKEY_CURRENT_USER, kTestKey + L"\\ReadOnly");
    locked.SetBytes("PATH", REG_SZ, "readable\0"s);
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorW(
        L"D:P(A;;KR;;;WD)", SDDL_REVISION_1, &descriptor, nullptr));
    HKEY raw = nullptr;
    ASSERT_EQ(
        RegOpenKeyExW(HKEY_CURRENT_USER, (kTestKey + L"\\ReadOnly").c_str(), 0, WRITE_DAC, &raw),
        ERROR_SUCCESS);
    ASSERT_EQ(RegSetKeySecurity(raw, DACL_SECURITY_INFORMATION, descriptor), ERROR_SUCCESS);
    RegCloseKey(raw);
    LocalFree(descriptor);
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, (kTestKey + L"\\ReadOnly").c_str(), 0, KEY_SET_VALUE,
                            &raw),
              ERROR_ACCESS_DENIED)
        << "the system does not enforce the key's access list";
    ASSERT_TRUE(Read(kTestKey + L"\\ReadOnly", L"PATH", value));
    EXPECT_EQ(value, L"readable");
}

TEST_F(RegistryTest, AdapterNeverWritesPastTheCallersBuffer) {
    key.SetBytes("TooLong", REG_BINARY, std::string(frmAbout::kDataBufferSize + 1, 'Z'));
    const RegKey handle = Open(kTestKeyA);
    // The caller's buffer is followed by bytes that must stay as they are.
    std::array<std::uint8_t, frmAbout::kDataBufferSize + 16> guarded{};
    guarded.fill(0xEE);
    EXPECT_EQ(Query(handle, "TooLong", guarded.data()), kErrorMoreData);
    for (std::size_t i = frmAbout::kDataBufferSize; i < guarded.size(); ++i) {
        ASSERT_EQ(guarded[i], 0xEE) << "byte " << i << " past the buffer was written";
    }
    registry.RegCloseKey(handle);
}

TEST_F(RegistryTest, AdapterKeepsEachHandleToItsOwnKeyUntilClosed) {
    key.SetBytes("Text", REG_SZ, "first\0"s);
    ScratchKey other(HKEY_CURRENT_USER, kTestKey + L"\\Other");
    other.SetBytes("Text", REG_SZ, "second\0"s);
    const RegKey first = Open(kTestKeyA);
    const RegKey second = Open(kTestKeyA + "\\Other");
    EXPECT_NE(first, second);
    EXPECT_EQ(registry.RegCloseKey(first), kErrorSuccess);

    std::array<std::uint8_t, frmAbout::kDataBufferSize> data{};
    ASSERT_EQ(Query(second, "Text", data.data()), kErrorSuccess);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(data.data())), "second");
    EXPECT_EQ(registry.RegCloseKey(second), kErrorSuccess);

    // A closed or never-opened handle reaches no key; closing it does no harm.
    EXPECT_NE(Query(first, "Text", data.data()), kErrorSuccess);
    EXPECT_NE(registry.RegCloseKey(first), kErrorSuccess);
    EXPECT_NE(registry.RegCloseKey(0), kErrorSuccess);
    RegKey handle = 77;
    EXPECT_EQ(registry.RegOpenKeyExA(kHKeyCurrentUser, kTestKeyA + "\\Absent", 0, kKeyAccessMask,
                                     &handle),
              kErrorFileNotFound);
    EXPECT_EQ(handle, 77u) << "a failed open must leave the handle alone";
}

TEST_F(RegistryTest, TextCrossesTheAnsiCodePageBothWays) {
    if (GetACP() != 1252) {
        GTEST_SKIP() << "written for code page 1252; this system uses " << GetACP();
    }
    // "Café" in the key's name, "été" in the value's name and data, all in code page 1252.
    ScratchKey accented(HKEY_CURRENT_USER, kTestKey + L"\\Caf\u00E9");
    accented.SetBytes("\xE9t\xE9", REG_SZ, "\xE9t\xE9\0"s);
    std::wstring value;
    ASSERT_TRUE(Read(kTestKey + L"\\Caf\u00E9", L"\u00E9t\u00E9", value));
    EXPECT_EQ(value, L"\u00E9t\u00E9");

    // Text the code page cannot hold comes back as its default character.
    EXPECT_EQ(codePage.ToAnsi(L"a\u4E2Db"), "a?b");
    EXPECT_EQ(codePage.FromAnsi("a?b"), L"a?b");
    EXPECT_EQ(codePage.ToAnsi(L""), "");
    EXPECT_EQ(codePage.FromAnsi(""), L"");
}

} // namespace
} // namespace tessarline
