// The Linux registry and shell, alone and behind the dialog's logic.
#include "help/core/frmAbout.h"
#include "help/linux/LinuxRegistry.h"
#include "help/linux/PosixShell.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <thread>

namespace tessarline {
namespace {

namespace fs = std::filesystem;

constexpr char kMsInfo[] = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";

// A fresh directory, removed with everything in it.
struct TempDir {
    TempDir() {
        std::string pattern = (fs::temp_directory_path() / "tessarline-XXXXXX").string();
        path_ =
            ::mkdtemp(pattern.data()) != nullptr ? pattern : throw std::runtime_error("mkdtemp");
    }
    ~TempDir() {
        std::error_code ignored;
        fs::remove_all(path_, ignored);
    }
    const fs::path& Path() const { return path_; }
    fs::path path_;
};

void WriteFile(const fs::path& path, const std::string& text, fs::perms perms) {
    fs::create_directories(path.parent_path());
    std::ofstream(path) << text;
    fs::permissions(path, perms);
}

constexpr fs::perms kExecutable = fs::perms::owner_all;
constexpr fs::perms kPlain = fs::perms::owner_read | fs::perms::owner_write;

void Install(const fs::path& dir, const std::string& program) {
    WriteFile(dir / program, "#!/bin/sh\nexit 0\n", kExecutable);
}

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Bounded wait for something a detached process does.
template <class Pred> bool WaitFor(Pred pred) {
    for (int i = 0; i < 1000; ++i) {
        if (pred()) {
            return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return pred();
}

bool HasNoChildren() {
    return ::waitpid(-1, nullptr, WNOHANG) == -1 && errno == ECHILD;
}

// Reads the "PATH" value into a buffer of the given size.
struct Query {
    RegStatus status;
    std::uint32_t type;
    std::uint32_t size;
    std::string data;
};
Query QueryPath(LinuxRegistry& registry, std::uint32_t room, const std::string& key = kMsInfo,
                const std::string& value = "PATH") {
    RegKey handle = 0;
    const RegStatus opened =
        registry.RegOpenKeyExA(kHKeyLocalMachine, key, 0, kKeyAccessMask, &handle);
    if (opened != kErrorSuccess) {
        return {opened, 0, 0, {}};
    }
    std::string buffer(room, '\x7F');
    Query q{0, 0, room, {}};
    q.status = registry.RegQueryValueExA(handle, value, &q.type,
                                         reinterpret_cast<std::uint8_t*>(buffer.data()), &q.size);
    if (q.status == kErrorSuccess) {
        q.data = buffer.substr(0, q.size);
    }
    EXPECT_EQ(registry.RegCloseKey(handle), kErrorSuccess);
    return q;
}

TEST(LinuxRegistry, PathNamesTheFirstListedProgramFoundOnThePath) {
    TempDir tmp;
    const fs::path first = tmp.Path() / "first";
    const fs::path second = tmp.Path() / "second";
    Install(first, "kinfocenter");
    Install(second, "hardinfo");
    // Neither a file that cannot be run nor a directory counts as installed.
    WriteFile(first / "hardinfo2", "#!/bin/sh\n", kPlain);
    fs::create_directories(second / "hardinfo2");
    // A relative entry depends on the current directory, not on what is installed.
    LinuxRegistry registry({"hardinfo2", "hardinfo", "kinfocenter"},
                           "relative:" + first.string() + "::" + second.string() + "/");

    const Query q = QueryPath(registry, 1024);
    ASSERT_EQ(q.status, kErrorSuccess);
    EXPECT_EQ(q.type, kRegSz);
    const std::string expected = (second / "hardinfo").string();
    EXPECT_EQ(q.size, expected.size() + 1);
    EXPECT_EQ(q.data, expected + std::string(1, '\0'));

    // The same program later on the path is not preferred over the earlier directory.
    Install(first, "hardinfo");
    EXPECT_EQ(QueryPath(registry, 1024).data, (first / "hardinfo").string() + '\0');
}

TEST(LinuxRegistry, WithNoProgramInstalledOnlyTheValueIsAbsent) {
    TempDir tmp;
    Install(tmp.Path(), "something-else");
    LinuxRegistry registry({"hardinfo", "kinfocenter"}, tmp.Path().string());
    EXPECT_EQ(QueryPath(registry, 1024).status, kErrorFileNotFound);
    for (const char* key : {"SOFTWARE", "SOFTWARE\\Microsoft\\Shared Tools", kMsInfo}) {
        RegKey handle = 0;
        EXPECT_EQ(registry.RegOpenKeyExA(kHKeyLocalMachine, key, 0, kKeyAccessMask, &handle),
                  kErrorSuccess)
            << key;
        EXPECT_EQ(registry.RegCloseKey(handle), kErrorSuccess);
    }
    // The search runs at every query: a program installed now is found, under any case.
    Install(tmp.Path(), "kinfocenter");
    EXPECT_EQ(QueryPath(registry, 1024, "software\\MICROSOFT\\shared TOOLS\\MsInfo", "path").data,
              (tmp.Path() / "kinfocenter").string() + '\0');
    // Every other name is absent, and so is the location key.
    const std::pair<const char*, const char*> absent[] = {
        {kMsInfo, "MSINFO"},
        {kMsInfo, ""},
        {"SOFTWARE\\Microsoft\\Shared Tools", "PATH"},
        {"\\SOFTWARE\\Microsoft\\Shared Tools\\MSINFO", "PATH"}};
    for (const auto& [key, value] : absent) {
        EXPECT_EQ(QueryPath(registry, 1024, key, value).status, kErrorFileNotFound) << key;
    }
    RegKey handle = 0;
    EXPECT_EQ(registry.RegOpenKeyExA(kHKeyLocalMachine,
                                     "SOFTWARE\\Microsoft\\Shared Tools Location", 0,
                                     kKeyAccessMask, &handle),
              kErrorFileNotFound);
    EXPECT_EQ(registry.RegOpenKeyExA(0x80000001u, kMsInfo, 0, kKeyAccessMask, &handle),
              kErrorFileNotFound);
}

TEST(LinuxRegistry, HonoursTheBufferAndHandleContract) {
    TempDir tmp;
    Install(tmp.Path(), "hardinfo");
    LinuxRegistry registry({"hardinfo"}, tmp.Path().string());
    const std::string expected = (tmp.Path() / "hardinfo").string() + '\0';
    const auto needed = static_cast<std::uint32_t>(expected.size());

    // One byte short (the NUL does not fit): more data, the size needed, the buffer untouched.
    RegKey handle = 0;
    ASSERT_EQ(registry.RegOpenKeyExA(kHKeyLocalMachine, kMsInfo, 0, kKeyAccessMask, &handle),
              kErrorSuccess);
    std::string buffer(needed - 1, '\x7F');
    std::uint32_t size = needed - 1;
    std::uint32_t type = 0;
    EXPECT_EQ(registry.RegQueryValueExA(handle, "PATH", &type,
                                        reinterpret_cast<std::uint8_t*>(buffer.data()), &size),
              kErrorMoreData);
    EXPECT_EQ(size, needed);
    EXPECT_EQ(buffer, std::string(needed - 1, '\x7F'));
    // No buffer: only the size.
    size = 0;
    EXPECT_EQ(registry.RegQueryValueExA(handle, "PATH", &type, nullptr, &size), kErrorSuccess);
    EXPECT_EQ(size, needed);
    EXPECT_EQ(QueryPath(registry, needed).data, expected);

    // Keys open relative to open keys too.
    RegKey software = 0, child = 0;
    ASSERT_EQ(registry.RegOpenKeyExA(kHKeyLocalMachine, "Software", 0, kKeyAccessMask, &software),
              kErrorSuccess);
    ASSERT_EQ(registry.RegOpenKeyExA(software, "microsoft\\shared tools\\msinfo", 0, kKeyAccessMask,
                                     &child),
              kErrorSuccess);
    size = needed;
    EXPECT_EQ(registry.RegQueryValueExA(child, "Path", &type, nullptr, &size), kErrorSuccess);
    EXPECT_EQ(registry.RegCloseKey(child), kErrorSuccess);
    EXPECT_EQ(registry.RegCloseKey(software), kErrorSuccess);

    // A handle is good until it is closed, and only once.
    EXPECT_EQ(registry.RegCloseKey(handle), kErrorSuccess);
    size = needed;
    std::string again(needed, '\0');
    EXPECT_EQ(registry.RegQueryValueExA(handle, "PATH", &type,
                                        reinterpret_cast<std::uint8_t*>(again.data()), &size),
              kErrorInvalidHandle);
    EXPECT_EQ(registry.RegCloseKey(handle), kErrorInvalidHandle);
    EXPECT_EQ(registry.RegCloseKey(0), kErrorInvalidHandle);
    EXPECT_EQ(registry.RegOpenKeyExA(12345, "", 0, kKeyAccessMask, &child), kErrorInvalidHandle);
}

// A shell that records instead of acting.
struct RecordingShell : SystemShell {
    std::wstring Dir(const std::wstring& path) override {
        dirs.push_back(path);
        return {};
    }
    void StartProcess(const std::wstring& path) override { started.push_back(path); }
    void ShowMessage(const std::wstring& text, const std::wstring&) override {
        messages.push_back(text);
    }
    std::vector<std::wstring> dirs, started, messages;
};

// The message box is the front end's; these tests never reach it.
struct Shell final : PosixShell {
    void ShowMessage(const std::wstring&, const std::wstring&) override { ADD_FAILURE(); }
};

struct NoWindow : AboutWindow {
    void SetCaption(const std::wstring&) override {}
    void SetTitleLabel(const std::wstring&) override {}
    void Unload() override {}
};

TEST(LinuxRegistry, TheLauncherStartsTheFoundProgramByItsExactPath) {
    TempDir tmp;
    // Latin-1 text survives the registry's 8-bit code page and comes back as the same bytes.
    const fs::path dir = tmp.Path() / "caf\xC3\xA9 tools";
    Install(dir, "hardinfo");
    // A path the code page cannot carry is passed over: it could never be started.
    const fs::path unreadable = tmp.Path() / "\xE6\x97\xA5";
    Install(unreadable, "hardinfo2");
    LinuxRegistry registry({"hardinfo2", "hardinfo"}, unreadable.string() + ":" + dir.string());
    NoWindow window;
    RecordingShell shell;
    Latin1CodePage codePage;
    frmAbout form(window, registry, codePage, shell);

    form.StartSysInfo();
    ASSERT_EQ(shell.started.size(), 1u);
    EXPECT_TRUE(shell.messages.empty());
    EXPECT_TRUE(shell.dirs.empty());
    EXPECT_EQ(ToFileSystemBytes(shell.started[0]), (dir / "hardinfo").string());
    EXPECT_EQ(Shell().Dir(shell.started[0]), L"hardinfo");
}

TEST(PosixShell, DirFindsOnlyVisibleRegularFiles) {
    TempDir tmp;
    const fs::path file = tmp.Path() / "MSINFO32.EXE";
    WriteFile(file, "x", kPlain);
    WriteFile(tmp.Path() / ".hidden", "x", kPlain);
    fs::create_directories(tmp.Path() / "folder");
    fs::create_symlink(file, tmp.Path() / "link");
    Shell shell;
    const std::wstring base = tmp.Path().wstring();
    // Windows separators are ordinary characters here; text with no file name finds nothing.
    const std::pair<std::wstring, std::wstring> cases[] = {
        {base + L"/MSINFO32.EXE", L"MSINFO32.EXE"},
        {base + L"/link", L"link"},
        {base + L"/folder", L""},
        {base, L""},
        {base + L"/.hidden", L""},
        {base + L"/missing", L""},
        {base + L"/MSINFO32.EXE/", L""},
        {L"", L""},
        {base + L"\\MSINFO32.EXE", L""},
        {base + L"/MSINFO32.EXE" + std::wstring(1, L'\xD800'), L""}};
    for (const auto& [path, found] : cases) {
        EXPECT_EQ(shell.Dir(path), found) << path.size();
    }
}

TEST(PosixShell, ShellSyntaxInAPathIsNeverInterpreted) {
    TempDir tmp;
    const fs::path bin = tmp.Path() / "bin";
    const fs::path decoyLog = tmp.Path() / "decoys";
    for (char c = 'a'; c <= 'z'; ++c) {
        WriteFile(bin / std::string(1, c),
                  "#!/bin/sh\necho \"$0\" >> '" + decoyLog.string() + "'\n", kExecutable);
    }
    const std::string savedPath = std::getenv("PATH") != nullptr ? std::getenv("PATH") : "";
    ::setenv("PATH", (bin.string() + ":" + savedPath).c_str(), 1);

    const std::string names[] = {"a;b",
                                 "a&b",
                                 "a|b",
                                 "$(c)",
                                 "`d`",
                                 "e'f",
                                 "g\"h",
                                 "i j",
                                 "-k",
                                 "l\nm",
                                 "a;b & c|d $(e) `f` 'g' \"h\" -i"};
    Shell shell;
    // A NUL ends the path for the system: the text after it must not be cut off and the rest run.
    EXPECT_THROW(shell.StartProcess((bin / "a").wstring() + L'\0' + L"b"), std::runtime_error);
    std::vector<fs::path> markers;
    for (std::size_t i = 0; i < std::size(names); ++i) {
        const fs::path program = bin / names[i];
        markers.push_back(tmp.Path() / ("ran-" + std::to_string(i)));
        WriteFile(program,
                  "#!/bin/sh\nprintf '%s|%s|%s' \"$0\" \"$#\" \"$PPID\" > '" + markers[i].string() +
                      "'\n",
                  kExecutable);
        EXPECT_NO_THROW(shell.StartProcess(program.wstring())) << names[i];
        EXPECT_TRUE(HasNoChildren()) << names[i]; // started and already reaped
    }
    const bool allRan = WaitFor([&] {
        return std::all_of(markers.begin(), markers.end(),
                           [](const fs::path& m) { return !ReadFile(m).empty(); });
    });
    ::setenv("PATH", savedPath.c_str(), 1);
    EXPECT_TRUE(allRan);
    for (std::size_t i = 0; i < std::size(names); ++i) {
        const std::string seen = ReadFile(markers[i]);
        const std::size_t ppid = seen.rfind('|') + 1;
        EXPECT_EQ(seen.substr(0, ppid), (bin / names[i]).string() + "|0|") << names[i];
        EXPECT_NE(seen.substr(ppid), std::to_string(::getpid())) << names[i];
    }
    EXPECT_FALSE(fs::exists(decoyLog)) << ReadFile(decoyLog);
    EXPECT_TRUE(HasNoChildren());
}

TEST(PosixShell, AStartThatFailsThrowsAndLeavesNoChild) {
    TempDir tmp;
    WriteFile(tmp.Path() / "not-executable", "#!/bin/sh\n", kPlain);
    WriteFile(tmp.Path() / "no-format", "echo hi\n", kExecutable);
    WriteFile(tmp.Path() / "bad-interpreter", "#!/nonexistent/sh\n", kExecutable);
    fs::create_directories(tmp.Path() / "folder");
    Shell shell;
    const std::wstring base = tmp.Path().wstring();
    const std::wstring paths[] = {base + L"/missing",   base + L"/not-executable",
                                  base + L"/no-format", base + L"/bad-interpreter",
                                  base + L"/folder",    std::wstring(),
                                  std::wstring(L"sh"),  std::wstring(1, L'\xD800')};
    for (std::size_t i = 0; i < std::size(paths); ++i) {
        EXPECT_THROW(shell.StartProcess(paths[i]), std::runtime_error) << "case " << i;
    }
    EXPECT_TRUE(HasNoChildren());
}

TEST(PosixShell, WideTextBecomesUtf8) {
    EXPECT_EQ(ToFileSystemBytes(L"/a\u00e9\u65e5\U0001F600"),
              "/a\xC3\xA9\xE6\x97\xA5\xF0\x9F\x98\x80");
    EXPECT_THROW(ToFileSystemBytes(std::wstring(1, L'\xDC00')), std::runtime_error);
    EXPECT_THROW(ToFileSystemBytes(std::wstring(1, L'\0')), std::runtime_error);
}

} // namespace
} // namespace tessarline
