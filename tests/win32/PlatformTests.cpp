// The help dialog's services and the built program against the real system (Wine here); the
// rules above these services are the core's tests.
#include "tests/win32/Win32TestSupport.h"

#include "app/art/IconFile.h"
#include "help/win32/Win32Services.h"
#include "platform/win32/ResourceIds.h"

#include <sddl.h>

#include <gtest/gtest.h>

#include <array>

namespace tessarline {
namespace {

using namespace std::string_literals;

TEST(Win32Registry, ReadsMachineKeysItMayOnlyReadAndClosesThem) {
    const test::ScratchMachine machine;
    ASSERT_TRUE(machine.Set("Tool", "PATH", "C:\\A B\\t.exe\0"s));
    ASSERT_TRUE(machine.Set("Tool", "Long", std::string(1025, 'x')));
    // As the machine's keys are to most accounts: everyone may read the key, nobody write it.
    PSECURITY_DESCRIPTOR readOnly = nullptr;
    ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorW(
        L"D:P(A;;KR;;;WD)", SDDL_REVISION_1, &readOnly, nullptr));
    HKEY raw = nullptr;
    ASSERT_EQ(RegOpenKeyExW(machine.key, L"Tool", 0, WRITE_DAC, &raw), 0);
    ASSERT_EQ(RegSetKeySecurity(raw, DACL_SECURITY_INFORMATION, readOnly), 0);
    RegCloseKey(raw);
    LocalFree(readOnly);
    ASSERT_EQ(RegOpenKeyExW(machine.key, L"Tool", 0, kKeyAccessMask, &raw), ERROR_ACCESS_DENIED)
        << "the system does not enforce the key's access list";

    Win32Registry registry;
    std::array<std::uint8_t, 1040> data{}; // runs on past the 1024 bytes handed over
    std::uint32_t type = 0, size = 0;
    const auto query = [&](RegKey key, const std::string& name) {
        data.fill(0xEE);
        size = 1024;
        return registry.RegQueryValueExA(key, name, &type, data.data(), &size);
    };
    RegKey key = 0;
    ASSERT_EQ(registry.RegOpenKeyExA(kHKeyLocalMachine, "Tool", 0, kKeyAccessMask, &key), 0);
    ASSERT_EQ(query(key, "PATH"), kErrorSuccess);
    EXPECT_EQ(std::string(data.begin(), data.begin() + size), "C:\\A B\\t.exe\0"s);
    EXPECT_EQ(type, kRegSz);
    EXPECT_EQ(query(key, "Long"), kErrorMoreData);
    EXPECT_EQ(data[1024], 0xEE) << "written past the buffer";
    EXPECT_EQ(registry.RegCloseKey(key), kErrorSuccess);
    EXPECT_NE(query(key, "PATH"), kErrorSuccess) << "a closed handle still reads";
    EXPECT_EQ(registry.RegOpenKeyExA(kHKeyLocalMachine, "Absent", 0, kKeyAccessMask, &key),
              kErrorFileNotFound);
}

TEST(AnsiCodePage, CrossesTheSystemsCodePageBothWays) {
    ASSERT_EQ(GetACP(), 1252u) << "the cases below are those of code page 1252";
    EXPECT_EQ(AnsiCodePage().ToAnsi(L"Caf\u00E9 \u4E2D"), "Caf\xE9 ?");
    EXPECT_EQ(AnsiCodePage().FromAnsi("Caf\xE9 \x80"), L"Caf\u00E9 \u20AC");
}

TEST(Win32Shell, FindsOrdinaryFilesAndStartsExactlyTheOneAtThePath) {
    const test::ScratchFolder folder;
    const std::wstring tool = folder.Make(L"Program Files\\Tool") + L"\\MSINFO32.EXE";
    // What a path split at its first space, or cut short at its NUL, would start.
    const std::wstring decoy = folder.path + L"\\Program.exe", cut = folder.path + L"\\cut.exe";
    for (const std::wstring& program : {tool, decoy, cut}) {
        ASSERT_TRUE(test::PlaceMarkerTool(program));
    }
    ASSERT_TRUE(SetFileAttributesW(cut.c_str(), FILE_ATTRIBUTE_HIDDEN));
    Win32Shell shell;
    EXPECT_EQ(shell.Dir(tool), L"MSINFO32.EXE");
    EXPECT_EQ(shell.Dir(cut), L"") << "a hidden file";
    EXPECT_EQ(shell.Dir(folder.path), L"") << "a folder";

    for (const std::wstring& refused : {std::wstring(), cut + L'\0' + L"more", L"\"" + tool + L"\"",
                                        folder.path + L"\\absent.exe", folder.path}) {
        EXPECT_THROW(shell.StartProcess(refused), std::runtime_error);
    }
    EXPECT_NO_THROW(shell.StartProcess(tool));
    EXPECT_EQ(test::Ran(tool, true), std::to_string(SW_SHOWNORMAL));
    EXPECT_EQ(test::Ran(decoy, false) + test::Ran(cut, false), "");
}

// The built Tessarline.exe's resources, read as the system reads them.
class ProgramTest : public ::testing::Test {
protected:
    void TearDown() override { FreeLibrary(module); }
    std::string Resource(LPCWSTR name, LPCWSTR type) const {
        const HRSRC found = FindResourceW(module, name, type);
        const auto* bytes = static_cast<const char*>(LockResource(LoadResource(module, found)));
        return found == nullptr ? "" : std::string(bytes, SizeofResource(module, found));
    }

    const std::wstring path = test::TestProgramFolder() + L"\\" + TESSARLINE_EXE_FROM_TESTS;
    const HMODULE module = LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
};

TEST_F(ProgramTest, IconHasItsFiveImagesAtTheirSizes) {
    const std::string group = Resource(MAKEINTRESOURCEW(IDI_TESSARLINE), RT_GROUP_ICON);
    ASSERT_EQ(group.size(), 6 + 14 * kAppIconImages.size());
    for (std::size_t i = 0; i < kAppIconImages.size(); ++i) {
        // Width and height are bytes, then colour count, reserved, planes and depth.
        const char* entry = group.data() + 6 + 14 * i;
        EXPECT_EQ(entry[0], kAppIconImages[i].size);
        EXPECT_EQ(entry[1], kAppIconImages[i].size);
        EXPECT_EQ(entry[6], kAppIconImages[i].bitsPerPixel);
    }
}

TEST_F(ProgramTest, ManifestAsksForCommonControls6AndPerMonitorDpi) {
    const std::string manifest = Resource(MAKEINTRESOURCEW(1), RT_MANIFEST);
    for (const char* part : {"\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\"",
                             ">true/pm</dpiAware>", ">PerMonitorV2, PerMonitor</dpiAwareness>"}) {
        EXPECT_NE(manifest.find(part), std::string::npos) << part;
    }
}

TEST_F(ProgramTest, VersionRecordReadsBackThroughVerQueryValue) {
    std::string data(GetFileVersionInfoSizeW(path.c_str(), nullptr), '\0');
    ASSERT_TRUE(GetFileVersionInfoW(path.c_str(), 0, static_cast<DWORD>(data.size()), data.data()));
    void* value = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(data.data(), L"\\", &value, &length));
    const auto* v = static_cast<const VS_FIXEDFILEINFO*>(value);
    EXPECT_EQ((std::array{v->dwFileVersionMS, v->dwFileVersionLS, v->dwProductVersionMS,
                          v->dwProductVersionLS}),
              (std::array<DWORD, 4>{0x10000, 0, 0x10000, 0}));
    ASSERT_TRUE(
        VerQueryValueW(data.data(), L"\\StringFileInfo\\040904B0\\ProductName", &value, &length));
    EXPECT_STREQ(static_cast<const wchar_t*>(value), L"Tessarline");
}

} // namespace
} // namespace tessarline
