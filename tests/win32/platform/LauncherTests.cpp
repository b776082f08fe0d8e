// The launcher's file test, process start and message box against the real system.
#include "tests/win32/support/Win32TestSupport.h"

#include "help/win32/Win32Platform.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace tessarline {
namespace {

using test::MarkerExists;
using test::MessageBoxCatcher;
using test::PlaceMarkerTool;
using test::ScratchFolder;

std::wstring Quoted(const std::wstring& path) {
    return L"\"" + path + L"\"";
}

// Starts each path and expects the program there to run with its own path as its whole
// command line.
void ExpectStartedVerbatim(SystemShell& shell, std::initializer_list<std::wstring> paths) {
    for (const std::wstring& path : paths) {
        SCOPED_TRACE(AnsiCodePage().ToAnsi(path));
        PlaceMarkerTool(path);
        EXPECT_NO_THROW(shell.StartProcess(path));
        const auto commandLine = test::WaitForMarker(path);
        ASSERT_TRUE(commandLine.has_value()) << "the program was not started";
        EXPECT_EQ(*commandLine, Quoted(path));
    }
}

TEST(Win32Shell, DirNamesOnlyOrdinaryFiles) {
    ScratchFolder folder(L"TessarlineDir");
    const std::wstring spaced = folder.MakeFolder(L"With Spaces");
    const std::wstring base = folder.Path() + L"\\";
    const struct {
        std::wstring path;
        DWORD attributes; // 0: not made
        const wchar_t* name;
    } cases[] = {
        {spaced + L"\\MSINFO32.EXE", FILE_ATTRIBUTE_NORMAL, L"MSINFO32.EXE"},
        {base + L"readonly.exe", FILE_ATTRIBUTE_READONLY, L"readonly.exe"},
        {base + L"hidden.exe", FILE_ATTRIBUTE_HIDDEN, L""},
        {base + L"system.exe", FILE_ATTRIBUTE_SYSTEM, L""},
        {spaced, 0, L""}, // a folder
        {base + L"absent.exe", 0, L""},
        {base + L"Absent Folder\\MSINFO32.EXE", 0, L""},
        {spaced + L"\\*.EXE", 0, L""}, // a pattern
        {L"", 0, L""},
    };
    for (const auto& c : cases) {
        if (c.attributes != 0) {
            CloseHandle(CreateFileW(c.path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    c.attributes, nullptr));
        }
    }
    Win32Shell shell(nullptr);
    for (const auto& c : cases) {
        EXPECT_EQ(shell.Dir(c.path), c.name) << AnsiCodePage().ToAnsi(c.path);
    }
    SetFileAttributesW((base + L"readonly.exe").c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST(Win32Shell, StartsEachPathVerbatimAsOneProgramOrNotAtAll) {
    ScratchFolder folder(L"TessarlineStart");
    const std::wstring base = folder.Path() + L"\\";
    // What cmd.exe, or a split at a space, comma or semicolon, would run instead.
    const std::wstring decoys[] = {base + L"a.exe", base + L"b.exe", base + L"Program.exe"};
    for (const std::wstring& d : decoys) {
        PlaceMarkerTool(d);
    }
    Win32Shell shell(nullptr);
    ExpectStartedVerbatim(shell,
                          {
                              folder.MakeFolder(L"Program Files\\Tool") + L"\\x.exe",
                              folder.MakeFolder(L"Program Files (x86) & more") + L"\\a & b.exe",
                              base + L"a&b.exe",
                              base + L"a^b.exe",
                              base + L"%PATH%.exe",
                              base + L"a;b.exe",
                              base + L"a,b.exe",
                              base + L"a b.exe",
                              base + L"(a).exe",
                              base + L"$(a)`b`'c'.exe",
                          });
    // Names Windows forbids, and paths that name no program: nothing may start.
    for (const std::wstring& path :
         {base + L"a|b.exe", base + L"a\"b.exe", base + L"a.exe\" \"b.exe", base + L"a<b.exe",
          base + L"a>b.exe", base + L"absent.exe", Quoted(base + L"absent.exe"), folder.Path(),
          std::wstring(), base + std::wstring(L"a.exe\0b.exe", 11)}) {
        EXPECT_THROW(shell.StartProcess(path), std::runtime_error) << AnsiCodePage().ToAnsi(path);
    }
    for (const std::wstring& d : decoys) {
        EXPECT_FALSE(MarkerExists(d)) << "a decoy ran: " << AnsiCodePage().ToAnsi(d);
    }
}

TEST(Win32Shell, ShowsAModalBoxWithOneOkButtonAndNoIcon) {
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
    EXPECT_EQ(box.buttons, std::vector<std::wstring>{L"OK"});
    EXPECT_EQ(box.icons, 0);
    EXPECT_EQ(box.owner, owner);
}

} // namespace
} // namespace tessarline
