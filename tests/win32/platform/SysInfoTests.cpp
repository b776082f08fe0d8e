// StartSysInfo driven through the real help dialog's System Info button, with the real
// registry, file test, process start and message box: the tool the machine's values name is
// started, and every way it can fail ends in exactly one message, nothing started, the dialog
// still open and every key closed. A working tool is always within reach, beside a decoy
// "Program.exe" that a path split at its first space would run, so that a fault that is not
// handled shows as a started program.
#include "tests/win32/support/Win32TestSupport.h"

#include "help/win32/AboutDialog.h"
#include "help/win32/Win32Platform.h"

#include <gtest/gtest.h>

#include <set>

namespace tessarline {
namespace {

// The real registry, keeping track of the keys open, with a failure put in where asked.
class WatchedRegistry final : public Registry {
public:
    RegStatus RegOpenKeyExA(RegKey root, const std::string& subKey, std::uint32_t options,
                            std::uint32_t access, RegKey* result) override {
        ++attempts;
        const RegStatus status = openStatus != kErrorSuccess
                                     ? openStatus
                                     : real.RegOpenKeyExA(root, subKey, options, access, result);
        if (status == kErrorSuccess) {
            open.insert(*result);
            ++opens;
        }
        return status;
    }
    RegStatus RegQueryValueExA(RegKey key, const std::string& name, std::uint32_t* type,
                               std::uint8_t* data, std::uint32_t* size) override {
        return queryStatus != kErrorSuccess ? queryStatus
                                            : real.RegQueryValueExA(key, name, type, data, size);
    }
    RegStatus RegCloseKey(RegKey key) override {
        open.erase(key);
        return real.RegCloseKey(key);
    }

    Win32Registry real;
    RegStatus openStatus = kErrorSuccess;
    RegStatus queryStatus = kErrorSuccess;
    std::set<RegKey> open;
    int attempts = 0;
    int opens = 0;
};

// The real shell, recording the programs it did start.
class WatchedShell final : public SystemShell {
public:
    std::wstring Dir(const std::wstring& path) override { return real.Dir(path); }
    void StartProcess(const std::wstring& path) override {
        real.StartProcess(path);
        started.push_back(path);
    }
    void ShowMessage(const std::wstring& text, const std::wstring& caption) override {
        real.ShowMessage(text, caption);
    }

    Win32Shell real{nullptr};
    std::vector<std::wstring> started;
};

class SysInfoTest : public ::testing::Test {
protected:
    SysInfoTest() {
        test::PlaceMarkerTool(tool);
        test::PlaceMarkerTool(decoy);
    }

    // The machine's values, as the bytes stored; a value of text ends with its NUL.
    void SetPath(const std::string& bytes) {
        machine.SetBytes("PATH", REG_SZ, bytes, L"SOFTWARE\\Microsoft\\Shared Tools\\MSINFO");
    }
    void SetLocation(const std::string& bytes) {
        machine.SetBytes("MSINFO", REG_SZ, bytes, L"SOFTWARE\\Microsoft\\Shared Tools Location");
    }
    std::string Text(const std::wstring& path) const { return codePage.ToAnsi(path) + '\0'; }

    // Opens the dialog, presses System Info, and expects started to run (or, when empty, the
    // message) after opens keys were opened. The second step runs only if the dialog's modal
    // loop outlives the press.
    void PressSystemInfo(const std::wstring& started, int opens) {
        HWND dialog = nullptr;
        std::vector<test::MessageBoxSeen> seen;
        std::size_t keysOpenAfter = 0;
        bool visibleAfter = false;
        {
            test::ModalDriver driver({
                [&] {
                    test::MessageBoxCatcher catcher;
                    SendMessageW(GetDlgItem(dialog, kCmdSysInfoId), BM_CLICK, 0, 0);
                    seen = catcher.Seen();
                    keysOpenAfter = registry.open.size();
                },
                [&] {
                    visibleAfter = IsWindowVisible(dialog) != FALSE;
                    PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
                },
            });
            ShowAboutDialog(nullptr, registry, codePage, shell, [&](HWND d) {
                dialog = d;
                shell.real.SetOwner(d);
            });
            EXPECT_EQ(driver.Ran(), 2u) << "the dialog closed";
        }
        EXPECT_TRUE(visibleAfter);
        EXPECT_EQ(keysOpenAfter, 0u) << "a key was left open";
        EXPECT_EQ(registry.opens, opens);
        if (started.empty()) {
            EXPECT_TRUE(shell.started.empty()) << "started " << codePage.ToAnsi(shell.started[0]);
            ASSERT_EQ(seen.size(), 1u);
            EXPECT_EQ(seen[0].text, L"System Information Is Unavailable At This Time");
            EXPECT_EQ(seen[0].caption, L"Tessarline");
            EXPECT_EQ(seen[0].owner, dialog);
        } else {
            EXPECT_TRUE(seen.empty());
            EXPECT_EQ(shell.started, std::vector<std::wstring>{started});
            // Started as the program itself: its own path is its whole command line.
            EXPECT_EQ(test::WaitForMarker(started), L"\"" + started + L"\"");
        }
        EXPECT_FALSE(test::MarkerExists(decoy)) << "Program.exe beside the spaced folder ran";
    }

    test::ScratchMachineRoot machine;
    test::ScratchFolder folder{L"TessarlineSysInfo"};
    const std::wstring toolFolder = folder.MakeFolder(L"Program Files\\Tool");
    const std::wstring tool = toolFolder + L"\\MSINFO32.EXE";
    const std::wstring decoy = folder.Path() + L"\\Program.exe";
    WatchedRegistry registry;
    AnsiCodePage codePage;
    WatchedShell shell;
};

TEST_F(SysInfoTest, StartsThePathValueUnchangedAndNotTheLocation) {
    const std::wstring other = folder.MakeFolder(L"Other");
    test::PlaceMarkerTool(other + L"\\MSINFO32.EXE");
    SetPath(Text(tool));
    SetLocation(Text(other));
    PressSystemInfo(tool, 1);
}

TEST_F(SysInfoTest, StartsTheToolInTheLocationFolder) {
    SetLocation(Text(toolFolder));
    PressSystemInfo(tool, 1);
}

TEST_F(SysInfoTest, ShowsTheMessageWhenNeitherValueExists) {
    PressSystemInfo(L"", 0);
}

TEST_F(SysInfoTest, OpenFails) {
    SetPath(Text(tool));
    SetLocation(Text(toolFolder));
    registry.openStatus = kErrorAccessDenied;
    PressSystemInfo(L"", 0);
    EXPECT_EQ(registry.attempts, 2) << "both keys are tried";
}

TEST_F(SysInfoTest, QueryFails) {
    SetPath(Text(tool));
    SetLocation(Text(toolFolder));
    registry.queryStatus = kErrorAccessDenied;
    PressSystemInfo(L"", 2);
}

TEST_F(SysInfoTest, DataTooLong) {
    // Each a working path, run on with NULs one byte past the buffer.
    std::string path = Text(tool);
    std::string location = Text(toolFolder);
    path.resize(frmAbout::kDataBufferSize + 1, '\0');
    location.resize(frmAbout::kDataBufferSize + 1, '\0');
    SetPath(path);
    SetLocation(location);
    PressSystemInfo(L"", 2);
}

TEST_F(SysInfoTest, ZeroSizeDataEndsTheSearch) {
    // The location would work, but an empty PATH value is an error, not an absent one.
    SetPath("");
    SetLocation(Text(toolFolder));
    PressSystemInfo(L"", 1);
}

TEST_F(SysInfoTest, FileTestFails) {
    // The location's tool is there but hidden: no ordinary file, so it is never started.
    ASSERT_TRUE(SetFileAttributesW(tool.c_str(), FILE_ATTRIBUTE_HIDDEN));
    SetLocation(Text(toolFolder));
    PressSystemInfo(L"", 1);
    SetFileAttributesW(tool.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(SysInfoTest, StartFails) {
    // PATH names a program that is not there, below the spaced folder; the working location
    // is not tried once PATH was read.
    SetPath(Text(folder.Path() + L"\\Program Files\\Absent\\MSINFO32.EXE"));
    SetLocation(Text(toolFolder));
    PressSystemInfo(L"", 1);
}

} // namespace
} // namespace tessarline
