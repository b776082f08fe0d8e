// The registry adapter and the ANSI code page against the system's real registry, directly and
// through the help dialog's GetKeyValue.
#include "TestSupport.h"

#include "help/win32/Win32Platform.h"

#include <sddl.h>

#include <gtest/gtest.h>

#include <array>
#include <string>

namespace tessarline {
namespace {

using test::ScratchKey;
using namespace std::string_literals;

constexpr RegKey kHKeyCurrentUser = 0x80000001u;
const std::wstring kTestKey = L"Software\\TessarlineTest\\Registry";
const std::string kTestKeyA = "Software\\TessarlineTest\\Registry";

class NoWindow final : public AboutWindow {
public:
    void SetCaption(const std::wstring&) override {}
    void SetTitleLabel(const std::wstring&) override {}
    void Unload() override {}
};

class NoShell final : public SystemShell {
public:
    std::wstring Dir(const std::wstring&) override { return {}; }
    void StartProcess(const std::wstring&) override {}
    void ShowMessage(const std::wstring&, const std::wstring&) override {}
};

class RegistryTest : public ::testing::Test {
protected:
    // Reads one value of the test key the way the launcher reads its values.
    bool Read(const std::wstring& valueName, std::wstring& value) {
        std::wstring keyName = kTestKey;
        std::wstring name = valueName;
        return about.GetKeyValue(kHKeyCurrentUser, keyName, name, value);
    }

    // Opens the test key through the adapter, as GetKeyValue does.
    RegKey Open() {
        RegKey handle = 0;
        EXPECT_EQ(registry.RegOpenKeyExA(kHKeyCurrentUser, kTestKeyA, 0, kKeyAccessMask, &handle),
                  kErrorSuccess);
        EXPECT_NE(handle, 0u);
        return handle;
    }

    ScratchKey key{HKEY_CURRENT_USER, kTestKey};
    Win32Registry registry;
    AnsiCodePage codePage;
    NoWindow window;
    NoShell shell;
    frmAbout about{window, registry, codePage, shell};
};

TEST_F(RegistryTest, AdapterReadsDataTypeAndSizeIntoTheCallersBuffer) {
    key.SetBytes("Text", REG_SZ, "abc\0"s);
    key.SetDword("Number", 261);
    const RegKey handle = Open();

    std::array<std::uint8_t, frmAbout::kDataBufferSize> data{};
    std::uint32_t size = frmAbout::kDataBufferSize;
    std::uint32_t type = 0;
    ASSERT_EQ(registry.RegQueryValueExA(handle, "Text", &type, data.data(), &size), kErrorSuccess);
    EXPECT_EQ(type, kRegSz);
    ASSERT_EQ(size, 4u);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(data.data()), size), "abc\0"s);

    size = frmAbout::kDataBufferSize;
    ASSERT_EQ(registry.RegQueryValueExA(handle, "Number", &type, data.data(), &size),
              kErrorSuccess);
    EXPECT_EQ(type, kRegDword);
    ASSERT_EQ(size, 4u);
    EXPECT_EQ(data[0], 0x05);
    EXPECT_EQ(data[1], 0x01);
    EXPECT_EQ(registry.RegCloseKey(handle), kErrorSuccess);
}

TEST_F(RegistryTest, AdapterFillsExactlyTheBufferAndNeverWritesPastIt) {
    std::string full(1024, '\0');
    for (std::size_t i = 0; i < full.size(); ++i) {
        full[i] = static_cast<char>('A' + i % 26);
    }
    key.SetBytes("Full", REG_BINARY, full);
    key.SetBytes("TooLong", REG_BINARY, full + "Z");
    const RegKey handle = Open();

    // The caller's buffer is followed by bytes that must stay as they are.
    std::array<std::uint8_t, frmAbout::kDataBufferSize + 16> guarded{};
    guarded.fill(0xEE);
    std::uint32_t size = frmAbout::kDataBufferSize;
    std::uint32_t type = 0;
    ASSERT_EQ(registry.RegQueryValueExA(handle, "Full", &type, guarded.data(), &size),
              kErrorSuccess);
    EXPECT_EQ(size, 1024u);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(guarded.data()), size), full);

    guarded.fill(0xEE);
    size = frmAbout::kDataBufferSize;
    EXPECT_EQ(registry.RegQueryValueExA(handle, "TooLong", &type, guarded.data(), &size),
              kErrorMoreData);
    for (std::size_t i = frmAbout::kDataBufferSize; i < guarded.size(); ++i) {
        EXPECT_EQ(guarded[i], 0xEE) << "byte " << i << " past the buffer was written";
    }
    registry.RegCloseKey(handle);
}

TEST_F(RegistryTest, AdapterReportsMissingKeysValuesAndHandles) {
    RegKey handle = 77;
    EXPECT_EQ(registry.RegOpenKeyExA(kHKeyCurrentUser, kTestKeyA + "\\Absent", 0, kKeyAccessMask,
                                     &handle),
              kErrorFileNotFound);
    EXPECT_EQ(handle, 77u) << "a failed open must leave the handle alone";

    handle = Open();
    std::array<std::uint8_t, frmAbout::kDataBufferSize> data{};
    std::uint32_t size = frmAbout::kDataBufferSize;
    std::uint32_t type = 0;
    EXPECT_EQ(registry.RegQueryValueExA(handle, "Absent", &type, data.data(), &size),
              kErrorFileNotFound);
    EXPECT_EQ(registry.RegCloseKey(handle), kErrorSuccess);

    // A closed or never-opened handle reaches no key; closing it does no harm.
    size = frmAbout::kDataBufferSize;
    EXPECT_NE(registry.RegQueryValueExA(handle, "Absent", &type, data.data(), &size),
              kErrorSuccess);
    EXPECT_NE(registry.RegCloseKey(handle), kErrorSuccess);
    EXPECT_NE(registry.RegCloseKey(0), kErrorSuccess);
}

TEST_F(RegistryTest, AdapterKeepsEachOpenKeyApart) {
    key.SetBytes("Text", REG_SZ, "first\0"s);
    ScratchKey other(HKEY_CURRENT_USER, kTestKey + L"\\Other");
    other.SetBytes("Text", REG_SZ, "second\0"s);

    const RegKey first = Open();
    RegKey second = 0;
    ASSERT_EQ(
        registry.RegOpenKeyExA(kHKeyCurrentUser, kTestKeyA + "\\Other", 0, kKeyAccessMask, &second),
        kErrorSuccess);
    EXPECT_NE(first, second);
    registry.RegCloseKey(first);

    std::array<std::uint8_t, frmAbout::kDataBufferSize> data{};
    std::uint32_t size = frmAbout::kDataBufferSize;
    std::uint32_t type = 0;
    ASSERT_EQ(registry.RegQueryValueExA(second, "Text", &type, data.data(), &size), kErrorSuccess);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(data.data()), size), "second\0"s);
    registry.RegCloseKey(second);
}

TEST_F(RegistryTest, GetKeyValueReadsTextAndNumbers) {
    key.SetBytes("Text", REG_SZ, "C:\\Program Files\\Tool\\tool.exe\0"s);
    key.SetBytes("Unterminated", REG_SZ, "no end"s);
    key.SetDword("Number", 261);

    std::wstring value;
    ASSERT_TRUE(Read(L"Text", value));
    EXPECT_EQ(value, L"C:\\Program Files\\Tool\\tool.exe");
    value.clear();
    ASSERT_TRUE(Read(L"Unterminated", value));
    EXPECT_EQ(value, L"no end");
    value.clear();
    ASSERT_TRUE(Read(L"Number", value));
    EXPECT_EQ(value, L"261");
}

TEST_F(RegistryTest, GetKeyValueReadsDataOfExactlyTheBufferSizeAndRejectsMore) {
    // 1023 characters and the terminating NUL: 1024 bytes.
    key.SetBytes("Full", REG_SZ, std::string(1023, 'x') + '\0');
    key.SetBytes("TooLong", REG_SZ, std::string(1024, 'y') + '\0');

    std::wstring value;
    ASSERT_TRUE(Read(L"Full", value));
    EXPECT_EQ(value, std::wstring(1023, L'x'));

    value = L"stale";
    EXPECT_FALSE(Read(L"TooLong", value));
    EXPECT_EQ(value, L"");
}

TEST_F(RegistryTest, GetKeyValueReportsMissingKeyAndValueWithEmptyText) {
    key.SetBytes("Text", REG_SZ, "here\0"s);

    std::wstring value = L"stale";
    EXPECT_FALSE(Read(L"Absent", value));
    EXPECT_EQ(value, L"");

    std::wstring keyName = kTestKey + L"\\Absent";
    std::wstring name = L"Text";
    value = L"stale";
    EXPECT_FALSE(about.GetKeyValue(kHKeyCurrentUser, keyName, name, value));
    EXPECT_EQ(value, L"");
}

TEST_F(RegistryTest, GetKeyValueRaisesForDataOfSizeZero) {
    key.SetBytes("Empty", REG_SZ, ""s);
    std::wstring value = L"kept";
    EXPECT_THROW(Read(L"Empty", value), InvalidRegistryData);
    EXPECT_EQ(value, L"kept");
}

TEST_F(RegistryTest, GetKeyValueReadsBelowTheLocalMachineRoot) {
    ScratchKey machine(HKEY_LOCAL_MACHINE, L"Software\\TessarlineTest");
    machine.SetBytes("PATH", REG_SZ, "machine\0"s);

    std::wstring keyName = L"Software\\TessarlineTest";
    std::wstring name = L"PATH";
    std::wstring value;
    ASSERT_TRUE(about.GetKeyValue(kHKeyLocalMachine, keyName, name, value));
    EXPECT_EQ(value, L"machine");
}

TEST_F(RegistryTest, TextCrossesTheAnsiCodePageBothWays) {
    if (GetACP() != 1252) {
        GTEST_SKIP() << "written for code page 1252; this system uses " << GetACP();
    }
    // "Café" in the key's and the value's names, "été" in the data, all in code page 1252.
    ScratchKey accented(HKEY_CURRENT_USER, kTestKey + L"\\Caf\u00E9");
    accented.SetBytes("\xE9t\xE9", REG_SZ, "\xE9t\xE9\0"s);

    std::wstring keyName = kTestKey + L"\\Caf\u00E9";
    std::wstring name = L"\u00E9t\u00E9";
    std::wstring value;
    ASSERT_TRUE(about.GetKeyValue(kHKeyCurrentUser, keyName, name, value));
    EXPECT_EQ(value, L"\u00E9t\u00E9");
    EXPECT_EQ(keyName, kTestKey + L"\\Caf\u00E9");
    EXPECT_EQ(name, L"\u00E9t\u00E9");

    // Text the code page cannot hold comes back as its default character.
    EXPECT_EQ(codePage.ToAnsi(L"a\u4E2Db"), "a?b");
    EXPECT_EQ(codePage.FromAnsi(codePage.ToAnsi(L"a\u4E2Db")), L"a?b");
    EXPECT_EQ(codePage.ToAnsi(L""), "");
    EXPECT_EQ(codePage.FromAnsi(""), L"");
}

TEST_F(RegistryTest, AdapterReadsAKeyItMayNotWrite) {
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
    HKEY writable = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, (kTestKey + L"\\ReadOnly").c_str(), 0, KEY_SET_VALUE,
                            &writable),
              ERROR_ACCESS_DENIED)
        << "the system does not enforce the key's access list";

    std::wstring keyName = kTestKey + L"\\ReadOnly";
    std::wstring name = L"PATH";
    std::wstring value;
    ASSERT_TRUE(about.GetKeyValue(kHKeyCurrentUser, keyName, name, value));
    EXPECT_EQ(value, L"readable");
}

} // namespace
} // namespace tessarline
