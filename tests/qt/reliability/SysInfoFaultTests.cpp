// Every way the System Info button's lookup can fail, injected behind the real dialog: one
// message, nothing started, the dialog still open and every key the lookup opened closed.
#include "help/linux/PosixShell.h"
#include "help/qt/HelpDialogHost.h"
#include "tests/qt/QtTestSupport.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>

#include <cstring>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace tessarline {
namespace {

const std::string kMsInfo = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
const std::string kLocation = "SOFTWARE\\Microsoft\\Shared Tools Location";

// Keys that open or fail as set up, text values that read or fail as set up; counts every
// handle it gives out and takes back.
class FaultRegistry final : public Registry {
public:
    struct Value {
        RegStatus status;
        std::string data;
    };
    std::map<std::string, RegStatus> keys;
    std::map<std::pair<std::string, std::string>, Value> values;
    int opened = 0;
    int badCloses = 0;
    std::map<RegKey, std::string> open;

    RegStatus RegOpenKeyExA(RegKey root, const std::string& subKey, std::uint32_t, std::uint32_t,
                            RegKey* result) override {
        const auto key = keys.find(subKey);
        if (root != kHKeyLocalMachine || key == keys.end()) {
            return kErrorFileNotFound;
        }
        if (key->second != kErrorSuccess) {
            return key->second;
        }
        *result = next_++;
        open.emplace(*result, subKey);
        ++opened;
        return kErrorSuccess;
    }

    RegStatus RegQueryValueExA(RegKey handle, const std::string& name, std::uint32_t* type,
                               std::uint8_t* data, std::uint32_t* size) override {
        const auto key = open.find(handle);
        if (key == open.end()) {
            return kErrorInvalidHandle;
        }
        const auto value = values.find({key->second, name});
        if (value == values.end()) {
            return kErrorFileNotFound;
        }
        if (value->second.status != kErrorSuccess) {
            return value->second.status;
        }
        const std::string& bytes = value->second.data;
        const auto room = *size;
        *type = kRegSz;
        *size = static_cast<std::uint32_t>(bytes.size());
        if (bytes.size() > room) {
            // What the buffer holds then is not defined: here, the part that fitted.
            std::memcpy(data, bytes.data(), room);
            return kErrorMoreData;
        }
        std::memcpy(data, bytes.data(), bytes.size());
        return kErrorSuccess;
    }

    // Closing the null handle a failed open leaves is harmless; any other unknown handle is not.
    RegStatus RegCloseKey(RegKey handle) override {
        if (open.erase(handle) == 1) {
            return kErrorSuccess;
        }
        badCloses += handle != 0;
        return kErrorInvalidHandle;
    }

private:
    RegKey next_ = 0x100;
};

// The real file test and process start, with a record of what was started and said.
struct RecordingPosixShell final : PosixShell {
    void StartProcess(const std::wstring& path) override {
        PosixShell::StartProcess(path);
        started.push_back(path);
    }
    void ShowMessage(const std::wstring& text, const std::wstring&) override {
        messages.push_back(text);
    }
    std::vector<std::wstring> started, messages;
};

std::string Sz(const QString& text) {
    return text.toStdString() + '\0';
}

bool MakeProgram(const QString& path, const QByteArray& text, bool executable) {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(text) != text.size()) {
        return false;
    }
    f.close();
    return f.setPermissions(QFile::ReadOwner | QFile::WriteOwner |
                            (executable ? QFile::ExeOwner : QFile::Permissions()));
}

TEST(SysInfoFaults, EachFailureShowsOneMessageStartsNothingAndClosesEveryKey) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    // A program that would run if a fault let its path through.
    const QString tool = dir.filePath(QStringLiteral("tool"));
    const QString marker = dir.filePath(QStringLiteral("ran"));
    ASSERT_TRUE(MakeProgram(tool, "#!/bin/sh\n: > '" + marker.toUtf8() + "'\n", true));
    const QString plain = dir.filePath(QStringLiteral("plain"));
    ASSERT_TRUE(MakeProgram(plain, "#!/bin/sh\n", false));
    // A hidden file: the file test finds nothing there, although the path could be run.
    const QString hidden = dir.filePath(QStringLiteral(".hidden"));
    ASSERT_TRUE(MakeProgram(hidden + QStringLiteral("\\MSINFO32.EXE"), "#!/bin/sh\n", true));
    // Text longer than the 1024-byte buffer whose first 1024 bytes are a path to the tool.
    const QString slashes(1025 - static_cast<int>(tool.size()), QLatin1Char('/'));
    const QString tooLong = dir.path() + slashes + QStringLiteral("tool-beyond-the-buffer");

    // Each key and value as set up, or absent; with the keys the lookup should have opened.
    using Value = FaultRegistry::Value;
    const RegStatus ok = kErrorSuccess;
    const struct {
        const char* name;
        std::optional<RegStatus> msInfoKey, locationKey;
        std::optional<Value> path, location;
        int opens;
        bool starts;
    } cases[] = {
        {"open fails", kErrorAccessDenied, kErrorFileNotFound, {}, {}, 0, false},
        {"query fails", ok, ok, Value{kErrorAccessDenied, {}}, {}, 2, false},
        {"data too long", ok, ok, Value{ok, Sz(tooLong)}, Value{ok, Sz(tooLong)}, 2, false},
        {"zero-size data", ok, ok, Value{ok, {}}, Value{ok, Sz(dir.path())}, 1, false},
        {"file test fails", {}, ok, {}, Value{ok, Sz(hidden)}, 1, false},
        {"start fails", ok, {}, Value{ok, Sz(plain)}, {}, 1, false},
        {"no fault", ok, {}, Value{ok, Sz(tool)}, {}, 1, true}, // the harness sees a start
    };

    QWidget board;
    board.resize(178, 179);
    board.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&board));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FaultRegistry registry;
        if (c.msInfoKey) {
            registry.keys[kMsInfo] = *c.msInfoKey;
        }
        if (c.locationKey) {
            registry.keys[kLocation] = *c.locationKey;
        }
        if (c.path) {
            registry.values[{kMsInfo, "PATH"}] = *c.path;
        }
        if (c.location) {
            registry.values[{kLocation, "MSINFO"}] = *c.location;
        }
        RecordingPosixShell shell;
        HelpDialogHost host(&board, registry, shell);
        bool ran = false;
        OnceOpen(
            host, &board,
            [&](AboutDialog& d) {
                auto* sysInfo = d.findChild<QPushButton*>(QStringLiteral("cmdSysInfo"));
                ASSERT_NE(sysInfo, nullptr);
                QTest::mouseClick(sysInfo, Qt::LeftButton);
                if (c.starts) {
                    EXPECT_EQ(shell.started, std::vector<std::wstring>{tool.toStdWString()});
                    EXPECT_TRUE(shell.messages.empty());
                } else {
                    EXPECT_TRUE(shell.started.empty());
                    EXPECT_EQ(shell.messages,
                              std::vector<std::wstring>{std::wstring(kSysInfoUnavailable)});
                }
                EXPECT_TRUE(d.isVisible());
                EXPECT_EQ(QApplication::activeModalWidget(), &d);
                EXPECT_EQ(registry.opened, c.opens);
                EXPECT_TRUE(registry.open.empty()) << registry.open.size() << " keys left open";
                EXPECT_EQ(registry.badCloses, 0);
                d.Unload();
            },
            &ran);
        host.ShowModal();
        EXPECT_TRUE(ran);
    }
    // The one start was real.
    EXPECT_TRUE(WaitFor([&] { return QFile::exists(marker); }));
}

} // namespace
} // namespace tessarline
