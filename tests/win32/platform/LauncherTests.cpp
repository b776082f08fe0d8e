// The launcher's file test, process start and message box against the real system, and
// StartSysInfo from the registry values to the started program.
#include "TestSupport.h"

#include "help/win32/Win32Platform.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace tessarline {
namespace {

using test::MessageBoxCatcher;
using test::ScratchFolder;

const std::wstring kMsInfoKey = L"SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
const std::wstring kLocationKey = L"SOFTWARE\\Microsoft\\Shared Tools Location";
const std::wstring kUnavailable = L"System Information Is Unavailable At This Time";

void MakeFile(const std::wstring& path, DWORD attributes = FILE_ATTRIBUTE_NORMAL) {
    const HANDLE file =
        CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, attributes, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    CloseHandle(file);
}

std::wstring Quoted(const std::wstring& path) {
    return L"\"" + path + L"\"";
}

TEST(Win32ShellDir, NamesOnlyOrdinaryFiles) {
    ScratchFolder folder(L"TessarlineDir");
    const std::wstring spaced = folder.MakeFolder(L"With Spaces");
    MakeFile(spaced + L"\\MSINFO32.EXE");
    MakeFile(folder.Path() + L"\\hidden.exe", FILE_ATTRIBUTE_HIDDEN);
    MakeFile(folder.Path() + L"\\system.exe", FILE_ATTRIBUTE_SYSTEM);
    MakeFile(folder.Path() + L"\\readonly.exe", FILE_ATTRIBUTE_READONLY);
    Win32Shell shell(nullptr);

    EXPECT_EQ(shell.Dir(spaced + L"\\MSINFO32.EXE"), L"MSINFO32.EXE");
    EXPECT_EQ(shell.Dir(folder.Path() + L"\\readonly.exe"), L"readonly.exe");
    EXPECT_EQ(shell.Dir(folder.Path() + L"\\hidden.exe"), L"");
    EXPECT_EQ(shell.Dir(folder.Path() + L"\\system.exe"), L"");
    EXPECT_EQ(shell.Dir(spaced), L"") << "a folder is not an ordinary file";
    EXPECT_EQ(shell.Dir(folder.Path() + L"\\absent.exe"), L"");
    EXPECT_EQ(shell.Dir(folder.Path() + L"\\Absent Folder\\MSINFO32.EXE"), L"");
    EXPECT_EQ(shell.Dir(spaced + L"\\*.EXE"), L"") << "a pattern names no file";
    EXPECT_EQ(shell.Dir(L""), L"");
    SetFileAttributesW((folder.Path() + L"\\readonly.exe").c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST(Win32ShellStartProcess, StartsTheProgramAtASpacedPathNeverItsFirstWord) {
    ScratchFolder folder(L"TessarlineStart");
    const std::wstring decoy = folder.Path() + L"\\Program.exe";
    const std::wstring tool = folder.MakeFolder(L"Program Files\\Tessarline Tool") + L"\\x.exe";
    test::PlaceMarkerTool(decoy);
    test::PlaceMarkerTool(tool);

    Win32Shell shell(nullptr);
    shell.StartProcess(tool);

    const auto commandLine = test::WaitForMarker(tool);
    EXPECT_FALSE(test::MarkerExists(decoy)) << "Program.exe beside the spaced folder ran";
    ASSERT_TRUE(commandLine.has_value()) << "the program was not started";
    EXPECT_EQ(*commandLine, Quoted(tool)) << "the program gets its own path and no arguments";
}

TEST(Win32ShellStartProcess, StartsAPathWithShellCharactersVerbatimOrNotAtAll) {
    ScratchFolder folder(L"TessarlineShellChars");
    // What cmd.exe, or a split at a space, comma or semicolon, would run instead.
    const std::wstring decoys[] = {L"a.exe", L"b.exe", L"Program.exe"};
    for (const std::wstring& d : decoys) {
        test::PlaceMarkerTool(folder.Path() + L"\\" + d);
    }
    const std::wstring spaced = folder.MakeFolder(L"Program Files (x86) & more");
    const std::wstring legal[] = {
        folder.Path() + L"\\a&b.exe",    folder.Path() + L"\\a^b.exe",
        folder.Path() + L"\\%PATH%.exe", folder.Path() + L"\\a;b.exe",
        folder.Path() + L"\\a,b.exe",    folder.Path() + L"\\a b.exe",
        folder.Path() + L"\\(a).exe",    folder.Path() + L"\\$(a)`b`'c'.exe",
        spaced + L"\\a & b.exe",
    };
    Win32Shell shell(nullptr);
    for (const std::wstring& path : legal) {
        SCOPED_TRACE(AnsiCodePage().ToAnsi(path));
        test::PlaceMarkerTool(path);
        EXPECT_NO_THROW(shell.StartProcess(path));
        const auto commandLine = test::WaitForMarker(path);
        ASSERT_TRUE(commandLine.has_value()) << "the program was not started";
        EXPECT_EQ(*commandLine, Quoted(path));
    }
    // Names Windows forbids: no such program, so nothing may start.
    const std::wstring forbidden[] = {L"a|b.exe", L"a\"b.exe", L"a.exe\" \"b.exe", L"a<b.exe",
                                      L"a>b.exe"};
    for (const std::wstring& name : forbidden) {
        SCOPED_TRACE(AnsiCodePage().ToAnsi(name));
        EXPECT_THROW(shell.StartProcess(folder.Path() + L"\\" + name), std::runtime_error);
    }
    for (const std::wstring& d : decoys) {
        EXPECT_FALSE(test::MarkerExists(folder.Path() + L"\\" + d)) << "a decoy ran";
    }
}

TEST(Win32ShellStartProcess, FailsForNoProgram) {
    ScratchFolder folder(L"TessarlineNoStart");
    MakeFile(folder.Path() + L"\\plain.txt");
    Win32Shell shell(nullptr);
    EXPECT_THROW(shell.StartProcess(folder.Path() + L"\\absent.exe"), std::runtime_error);
    EXPECT_THROW(shell.StartProcess(folder.Path()), std::runtime_error);
    EXPECT_THROW(shell.StartProcess(L""), std::runtime_error);
    EXPECT_THROW(shell.StartProcess(L"\"" + folder.Path() + L"\\absent.exe\""), std::runtime_error);
}

TEST(Win32ShellShowMessage, ShowsAModalBoxWithOneOkButtonAndNoIcon) {
    const HWND owner = CreateWindowExW(0, L"STATIC", L"owner", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100,
                                       nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(owner, nullptr);
    Win32Shell shell(owner);
    MessageBoxCatcher catcher;
    shell.ShowMessage(L"The text", L"The caption");
    DestroyWindow(owner);

    ASSERT_EQ(catcher.Seen().size(), 1u);
    const test::MessageBoxSeen& box = catcher.Seen()[0];
    EXPECT_EQ(box.caption, L"The caption");
    EXPECT_EQ(box.text, L"The text");
    ASSERT_EQ(box.buttons.size(), 1u);
    EXPECT_EQ(box.buttons[0], L"OK");
    EXPECT_EQ(box.icons, 0);
    EXPECT_EQ(box.owner, owner);
}

class NoWindow final : public AboutWindow {
public:
    void SetCaption(const std::wstring&) override {}
    void SetTitleLabel(const std::wstring&) override {}
    void Unload() override {}
};

// StartSysInfo with the real registry, code page and shell. The two registry values are the
// system's; each test sets them as it needs and they are put back afterwards.
class StartSysInfoTest : public ::testing::Test {
protected:
    StartSysInfoTest() : folder(L"TessarlineSysInfo") {
        path.Remove();
        location.Remove();
    }

    // A folder whose path holds spaces, beside a decoy "Program.exe".
    std::wstring SpacedToolFolder() {
        test::PlaceMarkerTool(decoy);
        return folder.MakeFolder(L"Program Files\\Tessarline Tool");
    }

    std::vector<test::MessageBoxSeen> Run() {
        MessageBoxCatcher catcher;
        about.StartSysInfo();
        return catcher.Seen();
    }

    static void ExpectUnavailableMessage(const std::vector<test::MessageBoxSeen>& seen) {
        ASSERT_EQ(seen.size(), 1u);
        EXPECT_EQ(seen[0].text, kUnavailable);
        EXPECT_EQ(seen[0].caption, L"Tessarline");
    }

    test::SavedValue path{HKEY_LOCAL_MACHINE, kMsInfoKey, L"PATH"};
    test::SavedValue location{HKEY_LOCAL_MACHINE, kLocationKey, L"MSINFO"};
    ScratchFolder folder;
    const std::wstring decoy = folder.Path() + L"\\Program.exe";
    Win32Registry registry;
    AnsiCodePage codePage;
    Win32Shell shell{nullptr};
    NoWindow window;
    frmAbout about{window, registry, codePage, shell};
};

TEST_F(StartSysInfoTest, StartsThePathValueUnchanged) {
    const std::wstring tool = SpacedToolFolder() + L"\\MSINFO32.EXE";
    test::PlaceMarkerTool(tool);
    // A location that would also work, to show it is not consulted.
    const std::wstring other = folder.MakeFolder(L"Other") + L"\\MSINFO32.EXE";
    test::PlaceMarkerTool(other);
    path.SetString(tool);
    location.SetString(folder.Path() + L"\\Other");

    EXPECT_TRUE(Run().empty());
    const auto commandLine = test::WaitForMarker(tool);
    EXPECT_FALSE(test::MarkerExists(decoy)) << "Program.exe beside the spaced folder ran";
    EXPECT_FALSE(test::MarkerExists(other));
    ASSERT_TRUE(commandLine.has_value()) << "the tool named by PATH was not started";
    EXPECT_EQ(*commandLine, Quoted(tool));
}

TEST_F(StartSysInfoTest, StartsTheToolInTheLocationFolder) {
    const std::wstring toolFolder = SpacedToolFolder();
    const std::wstring tool = toolFolder + L"\\MSINFO32.EXE";
    test::PlaceMarkerTool(tool);
    location.SetString(toolFolder);

    EXPECT_TRUE(Run().empty());
    const auto commandLine = test::WaitForMarker(tool);
    EXPECT_FALSE(test::MarkerExists(decoy)) << "Program.exe beside the spaced folder ran";
    ASSERT_TRUE(commandLine.has_value()) << "the tool in the location folder was not started";
    EXPECT_EQ(*commandLine, Quoted(tool));
}

TEST_F(StartSysInfoTest, ShowsTheMessageWhenTheLocationFolderHasNoTool) {
    const std::wstring toolFolder = SpacedToolFolder();
    location.SetString(toolFolder);
    ExpectUnavailableMessage(Run());
    EXPECT_FALSE(test::MarkerExists(decoy));
}

TEST_F(StartSysInfoTest, ShowsTheMessageWhenThePathValueNamesNoProgram) {
    const std::wstring toolFolder = SpacedToolFolder();
    const std::wstring tool = toolFolder + L"\\MSINFO32.EXE";
    test::PlaceMarkerTool(tool);
    path.SetString(folder.Path() + L"\\Absent\\MSINFO32.EXE");
    location.SetString(toolFolder);

    ExpectUnavailableMessage(Run());
    EXPECT_FALSE(test::MarkerExists(tool)) << "the location is tried only when PATH is absent";
}

TEST_F(StartSysInfoTest, ShowsTheMessageWhenNeitherValueExists) {
    ExpectUnavailableMessage(Run());
}

} // namespace
} // namespace tessarline
