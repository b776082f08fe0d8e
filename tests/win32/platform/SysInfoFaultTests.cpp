// Every way StartSysInfo can fail, driven through the real help dialog's System Info button
// with the real file test, process start and message box: one message, nothing started, the
// dialog still open, every key closed. A working tool is always within reach, so that a fault
// that is not handled shows as a started program.
#include "../ui/UiTestSupport.h"
#include "TestSupport.h"

#include "help/win32/AboutDialog.h"
#include "help/win32/Win32Platform.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <set>

namespace tessarline {
namespace {

// Both keys, holding the values by name; counts every open and close.
class ScriptedRegistry final : public Registry {
public:
    RegStatus RegOpenKeyExA(RegKey, const std::string&, std::uint32_t, std::uint32_t,
                            RegKey* result) override {
        ++attempts;
        if (openStatus != kErrorSuccess) {
            return openStatus;
        }
        *result = ++last;
        open.insert(*result);
        ++opens;
        return kErrorSuccess;
    }
    // As the system does: data longer than the buffer fails with kErrorMoreData and the size
    // needed. The buffer is filled as far as it goes, so that a reader ignoring the error
    // would find the tool's path.
    RegStatus RegQueryValueExA(RegKey key, const std::string& name, std::uint32_t* type,
                               std::uint8_t* data, std::uint32_t* size) override {
        EXPECT_TRUE(open.contains(key));
        const auto found = values.find(name);
        if (queryStatus != kErrorSuccess || found == values.end()) {
            return queryStatus != kErrorSuccess ? queryStatus : kErrorFileNotFound;
        }
        const std::string& bytes = found->second;
        const auto n = static_cast<std::uint32_t>(bytes.size());
        *type = kRegSz;
        std::memcpy(data, bytes.data(), std::min(n, *size));
        const bool fits = n <= *size;
        *size = n;
        return fits ? kErrorSuccess : kErrorMoreData;
    }
    RegStatus RegCloseKey(RegKey key) override {
        closes += open.erase(key) ? 1 : 0;
        return kErrorSuccess;
    }

    RegStatus openStatus = kErrorSuccess;
    RegStatus queryStatus = kErrorSuccess;
    std::map<std::string, std::string> values; // "PATH" and "MSINFO"
    std::set<RegKey> open;
    int attempts = 0;
    int opens = 0;
    int closes = 0;
    RegKey last = 0;
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

std::string Narrow(const std::wstring& path) {
    return AnsiCodePage().ToAnsi(path);
}

class SysInfoFaultTest : public ::testing::Test {
protected:
    SysInfoFaultTest() {
        test::PlaceMarkerTool(tool);
        test::PlaceMarkerTool(decoy);
    }

    // Opens the dialog, presses System Info and checks the outcome of the one failure, after
    // opens keys were opened. The second step runs only if the dialog's modal loop outlives
    // the press.
    void PressSystemInfo(int opens) {
        HWND dialog = nullptr;
        std::vector<test::MessageBoxSeen> seen;
        std::size_t keysOpenAfter = 0;
        bool visibleAfter = false;
        {
            test::ModalDriver driver({
                [&] {
                    test::MessageBoxCatcher catcher;
                    SendMessageW(GetDlgItem(dialog, kAboutSysInfoId), BM_CLICK, 0, 0);
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
        EXPECT_TRUE(shell.started.empty()) << "started " << Narrow(shell.started[0]);
        ASSERT_EQ(seen.size(), 1u);
        EXPECT_EQ(seen[0].text, L"System Information Is Unavailable At This Time");
        EXPECT_EQ(seen[0].caption, L"Tessarline");
        EXPECT_EQ(seen[0].owner, dialog);
        EXPECT_EQ(keysOpenAfter, 0u) << "a key was left open";
        EXPECT_EQ(registry.opens, opens);
        EXPECT_EQ(registry.closes, registry.opens);
    }

    test::ScratchFolder folder{L"TessarlineFaults"};
    const std::wstring toolFolder = folder.MakeFolder(L"Program Files\\Tool");
    const std::wstring tool = toolFolder + L"\\MSINFO32.EXE";
    // What a path split at its first space would run.
    const std::wstring decoy = folder.Path() + L"\\Program.exe";
    ScriptedRegistry registry;
    AnsiCodePage codePage;
    WatchedShell shell;
};

// Each value, where given, begins with a working path.
TEST_F(SysInfoFaultTest, OpenFails) {
    registry.values = {{"PATH", Narrow(tool)}, {"MSINFO", Narrow(toolFolder)}};
    registry.openStatus = kErrorAccessDenied;
    PressSystemInfo(0);
    EXPECT_EQ(registry.attempts, 2) << "both keys are tried";
}

TEST_F(SysInfoFaultTest, QueryFails) {
    registry.values = {{"PATH", Narrow(tool)}, {"MSINFO", Narrow(toolFolder)}};
    registry.queryStatus = kErrorAccessDenied;
    PressSystemInfo(2);
}

TEST_F(SysInfoFaultTest, DataTooLong) {
    // One byte past the buffer.
    std::string path = Narrow(tool);
    std::string location = Narrow(toolFolder);
    path.resize(frmAbout::kDataBufferSize + 1, '\0');
    location.resize(frmAbout::kDataBufferSize + 1, '\0');
    registry.values = {{"PATH", path}, {"MSINFO", location}};
    PressSystemInfo(2);
}

TEST_F(SysInfoFaultTest, ZeroSizeDataEndsTheSearch) {
    // The location would work, but an empty PATH value is an error, not an absent one.
    registry.values = {{"PATH", ""}, {"MSINFO", Narrow(toolFolder)}};
    PressSystemInfo(1);
}

TEST_F(SysInfoFaultTest, FileTestFails) {
    // The location's tool is there but hidden: no ordinary file, so it is never started.
    ASSERT_TRUE(SetFileAttributesW(tool.c_str(), FILE_ATTRIBUTE_HIDDEN));
    registry.values = {{"MSINFO", Narrow(toolFolder)}};
    PressSystemInfo(2);
    SetFileAttributesW(tool.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(SysInfoFaultTest, StartFails) {
    // PATH names a program that is not there, below a spaced folder beside Program.exe; the
    // working location is not tried once PATH was read.
    registry.values = {{"PATH", Narrow(folder.Path() + L"\\Program Files\\Absent\\MSINFO32.EXE")},
                       {"MSINFO", Narrow(toolFolder)}};
    PressSystemInfo(1);
}

} // namespace
} // namespace tessarline
