// The Linux registry against a temporary PATH, and the real file test and process start.
#include "help/linux/LinuxRegistry.h"
#include "help/linux/LinuxShell.h"

#include <gtest/gtest.h>

#include <QDeadlineTimer>
#include <QDir>
#include <QTemporaryDir>
#include <QThread>

#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

namespace tessarline {
namespace {

void Write(const QString& path, const QByteArray& text, bool executable) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(text) == text.size());
    file.setPermissions(executable ? QFile::ReadOwner | QFile::ExeOwner : QFile::ReadOwner);
}

// A value as the dialog reads it: the status, and the data when there is some.
std::pair<RegStatus, std::string> Read(Registry& r, const std::string& key, const char* value) {
    RegKey k = 0;
    RegStatus s = r.RegOpenKeyExA(kHKeyLocalMachine, key, 0, kKeyAccessMask, &k);
    std::string data(1024, '\x7F');
    auto size = static_cast<std::uint32_t>(data.size());
    std::uint32_t type = 0;
    if (s == kErrorSuccess) {
        s = r.RegQueryValueExA(k, value, &type, reinterpret_cast<std::uint8_t*>(data.data()),
                               &size);
        EXPECT_EQ(r.RegCloseKey(k), kErrorSuccess);
    }
    return {s, s == kErrorSuccess && type == kRegSz ? data.substr(0, size) : ""};
}

TEST(LinuxRegistry, PathIsTheFirstListedProgramOnThePathAndNothingElseExists) {
    QTemporaryDir tmp;
    const QString first = tmp.filePath(QStringLiteral("first")), second = tmp.filePath("second");
    const QString relative = QDir::current().relativeFilePath(tmp.filePath("relative"));
    ASSERT_TRUE(QDir().mkpath(first) && QDir().mkpath(second + "/hardinfo2") &&
                QDir().mkpath(relative));
    // None of these is installed: a file that cannot run, a folder, one on a relative entry.
    Write(first + "/hardinfo2", "#!/bin/sh\n", false);
    Write(relative + "/hardinfo2", "#!/bin/sh\n", true);
    Write(first + "/kinfocenter", "#!/bin/sh\n", true);
    Write(second + "/hardinfo", "#!/bin/sh\n", true);
    LinuxRegistry registry({"hardinfo2", "hardinfo", "kinfocenter"},
                           (relative + ":" + first + "::" + second + "/").toStdString());
    const std::string msInfo = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
    EXPECT_EQ(Read(registry, msInfo, "PATH"),
              std::make_pair(kErrorSuccess, (second + "/hardinfo").toStdString() + '\0'));
    EXPECT_EQ(Read(registry, msInfo, "MSINFO").first, kErrorFileNotFound);
    EXPECT_EQ(Read(registry, "SOFTWARE\\Microsoft\\Shared Tools Location", "MSINFO").first,
              kErrorFileNotFound);
    LinuxRegistry none({"cpu-x"}, first.toStdString());
    EXPECT_EQ(Read(none, msInfo, "PATH").first, kErrorFileNotFound);
}

bool NoChildLeft() {
    return ::waitpid(-1, nullptr, WNOHANG) == -1 && errno == ECHILD;
}

TEST(LinuxShell, StartsExactlyTheFileNamedWithoutAShell) {
    QTemporaryDir tmp;
    const QString dir = tmp.filePath(QStringLiteral("a b;c&d|$(e)`f`'g\"h")),
                  ran = tmp.filePath("ran");
    ASSERT_TRUE(QDir().mkpath(dir));
    // What a shell splitting the path at its first space would run instead.
    Write(tmp.filePath("a"), "#!/bin/sh\ntouch '" + QFile::encodeName(ran) + "-decoy'\n", true);
    const QString program = dir + "/tool -x *";
    Write(program,
          "#!/bin/sh\nprintf '%s\\n%s\\n%s' \"$0\" $# $PPID >'" + QFile::encodeName(ran) + "'\n",
          true);
    ASSERT_NO_THROW(LinuxShell().StartProcess(program.toStdWString()));
    EXPECT_TRUE(NoChildLeft());
    QFile seen(ran);
    for (QDeadlineTimer t(10000); seen.size() == 0 && !t.hasExpired();) {
        QThread::msleep(10);
    }
    ASSERT_TRUE(seen.open(QIODevice::ReadOnly));
    const QList<QByteArray> got = seen.readAll().split('\n'); // $0, $#, $PPID
    ASSERT_EQ(got.size(), 3);
    EXPECT_TRUE(got[0] == QFile::encodeName(program) && got[1] == "0" &&
                got[2].toLong() != ::getpid());
    EXPECT_FALSE(QFile::exists(ran + "-decoy"));
}

TEST(LinuxShell, RefusesWhatItCannotStartExactly) {
    QTemporaryDir tmp;
    const QString tool = tmp.filePath(QStringLiteral("tool")), plain = tmp.filePath("plain");
    Write(tool, "#!/bin/sh\n", true);
    Write(tool + QChar(0xFFFD), "#!/bin/sh\n", true); // what a lone surrogate would become
    Write(plain, "#!/bin/sh\n", false);
    Write(tmp.filePath(".hidden"), "", false);
    LinuxShell shell;
    for (const std::wstring& path :
         {tool.toStdWString() + L'\0' + L"x", tmp.filePath("missing").toStdWString(),
          plain.toStdWString(), tmp.path().toStdWString(), std::wstring(L"sh"), std::wstring(),
          tool.toStdWString() + L'\xD800'}) {
        EXPECT_THROW(shell.StartProcess(path), std::runtime_error) << path.size();
    }
    EXPECT_TRUE(NoChildLeft());
    EXPECT_EQ(shell.Dir(plain.toStdWString()), L"plain");
    for (const QString& path : {tmp.path(), tmp.filePath(".hidden"), tmp.filePath("missing")}) {
        EXPECT_EQ(shell.Dir(path.toStdWString()), L"");
    }
    EXPECT_EQ(shell.Dir(plain.toStdWString() + L'\0'), L"");
}

} // namespace
} // namespace tessarline
