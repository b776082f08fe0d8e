// The help dialog's logic: reading registry values byte for byte, and finding and starting the
// system-information tool.
#include "help/core/LabelColour.h"
#include "help/core/frmAbout.h"
#include "tests/support/Fakes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace tessarline {
namespace {

const std::string kMsInfo = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
const std::string kLocation = "SOFTWARE\\Microsoft\\Shared Tools Location";

using testing::FakeAboutWindow;
using testing::FakeRegistry;
using testing::FakeShell;

struct About : ::testing::Test {
    // Reads value "V" of key "K" into a KeyVal that holds `before`.
    bool Read(std::uint32_t type, const std::string& data, std::wstring before = L"old") {
        reg.Set("K", "V", type, data);
        std::wstring key = L"K", name = L"V";
        val = std::move(before);
        return form.GetKeyValue(kHKeyLocalMachine, key, name, val);
    }
    void ExpectAllClosed() {
        EXPECT_TRUE(reg.open.empty());
        EXPECT_EQ(reg.closes.size(), reg.opens.size());
    }
    FakeRegistry reg;
    Latin1CodePage codePage;
    FakeShell shell;
    FakeAboutWindow window;
    frmAbout form{window, reg, codePage, shell};
    std::wstring val;
};

TEST_F(About, LoadNamesTheDialogAndOkUnloadsIt) {
    form.Form_Load();
    EXPECT_EQ(window.caption, L"About Tessarline");
    EXPECT_EQ(window.title, L"Tessarline");
    EXPECT_EQ(window.unloads, 0);
    form.cmdOK_Click();
    EXPECT_EQ(window.unloads, 1);
    EXPECT_TRUE(window.messages.empty());
}

TEST_F(About, TextValuesLoseOneTrailingNulAndNeverOverrunTheBuffer) {
    using namespace std::string_literals;
    const std::pair<std::string, std::wstring> cases[] = {
        {"abc\0"s, L"abc"},
        {"abc"s, L"abc"},
        {"abc\0\0"s, L"abc\0"s},
        {"\0"s, L""},
        {"a\0b"s, L"a\0b"s},
        {"\xE9t\xE9\0"s, L"\u00E9t\u00E9"},
        {std::string(1024, 'x'), std::wstring(1024, L'x')},
        {std::string(1023, 'x') + '\0', std::wstring(1023, L'x')}};
    for (const auto& [data, text] : cases) {
        EXPECT_EQ(Read(kRegSz, data), true) << data.size();
        EXPECT_EQ(val, text) << data.size();
    }
    EXPECT_EQ(Read(kRegSz, std::string(1025, 'x')), false);
    EXPECT_EQ(val, L"");
    reg.overstate = true; // a size beyond the buffer is never read
    EXPECT_EQ(Read(kRegSz, std::string(1500, 'x')), false);
    EXPECT_EQ(val, L"");
    // Zero-size data raises, and the key is closed all the same.
    EXPECT_THROW(Read(kRegSz, "", L"old"), InvalidRegistryData);
    EXPECT_EQ(val, L"old");
    ExpectAllClosed();
}

TEST_F(About, NumbersOtherTypesAndMissingKeysOrValues) {
    EXPECT_EQ(Read(kRegDword, std::string("\x05\x01\x00\x00", 4), L""), true);
    EXPECT_EQ(val, L"261");
    // Old text stays ahead of the digits, most significant byte first.
    EXPECT_EQ(Read(kRegDword, "\xFF\x10", L"z"), true);
    EXPECT_EQ(val, L"&hz10FF");
    for (std::uint32_t type : {0u, 2u, 3u, 7u, 0xFFFFFFFFu}) {
        EXPECT_EQ(Read(type, std::string("data\0", 5)), true);
        EXPECT_EQ(val, L"old");
    }
    // A missing key leaves the handle 0, which is closed all the same; then a missing value.
    reg.keys.clear();
    reg.queries.clear();
    const std::size_t closes = reg.closes.size();
    for (const wchar_t* keyName : {L"Nowhere", L"K"}) {
        std::wstring key = keyName, name = L"V";
        val = L"old";
        EXPECT_FALSE(form.GetKeyValue(kHKeyLocalMachine, key, name, val));
        EXPECT_EQ(val, L"");
        reg.Set("K", "Other", kRegSz, "x");
    }
    EXPECT_EQ(reg.queries, std::vector<std::string>{"V"}); // none for the missing key
    EXPECT_EQ(reg.closes.at(closes), 0u);
    ExpectAllClosed();
}

// Each case ends in exactly one start or exactly one message, never both, and closes every
// key it opened.
TEST_F(About, StartSysInfoStartsOnceOrShowsOneMessage) {
    using namespace std::string_literals;
    using V = std::optional<FakeRegistry::Value>;
    const V path{{kRegSz, "C:\\P\\info.exe\0"s}}, tools{{kRegSz, "C:\\Tools\0"s}};
    const std::wstring loc = L"C:\\Tools\\MSINFO32.EXE", slash = L"C:\\Tools\\\\MSINFO32.EXE";
    const struct {
        const char* name;
        V path, location;
        std::set<std::wstring> files;
        bool failDir, failStart;
        std::optional<std::wstring> started; // otherwise the message
        bool readsLocation;
    } cases[] = {
        {"both", path, tools, {}, 0, 0, L"C:\\P\\info.exe", 0},
        {"location", {}, tools, {loc}, 0, 0, loc, 1},
        {"location without file", {}, tools, {}, 0, 0, {}, 1},
        {"backslash", {}, {{kRegSz, "C:\\Tools\\\0"s}}, {slash}, 0, 0, slash, 1},
        {"neither", {}, {}, {}, 0, 0, {}, 1},
        // Not "\MSINFO32.EXE" at the root of the current drive.
        {"location of another type", {}, {{3, "C:\\Tools\0"s}}, {L"\\MSINFO32.EXE"}, 0, 0, {}, 1},
        {"path of another type", {{7, "C:\\P\\info.exe\0"s}}, {}, {}, 0, 0, {}, 0},
        {"empty path", {{kRegSz, "\0"s}}, tools, {loc}, 0, 0, {}, 0},
        {"path of zero size", {{kRegSz, ""}}, tools, {loc}, 0, 0, {}, 0},
        {"path too long", {{kRegSz, std::string(1025, 'x')}}, {}, {}, 0, 0, {}, 1},
        {"failing start", path, tools, {loc}, 0, 1, {}, 0},
        {"failing file test", {}, tools, {loc}, 1, 0, {}, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FakeRegistry r;
        FakeShell s;
        FakeAboutWindow win;
        s.files = c.files;
        s.failDir = c.failDir;
        s.failStart = c.failStart;
        if (c.path) {
            r.Set(kMsInfo, "PATH", c.path->type, c.path->data);
        }
        if (c.location) {
            r.Set(kLocation, "MSINFO", c.location->type, c.location->data);
        }
        frmAbout about(win, r, codePage, s);
        EXPECT_NO_THROW(about.StartSysInfo());
        if (c.started) {
            EXPECT_EQ(s.started, std::vector<std::wstring>{*c.started});
            EXPECT_TRUE(win.messages.empty());
        } else {
            EXPECT_TRUE(s.started.empty());
            EXPECT_EQ(win.messages,
                      (std::vector<std::pair<std::wstring, std::wstring>>{
                          {L"System Information Is Unavailable At This Time", L"Tessarline"}}));
        }
        EXPECT_EQ(std::count(r.opens.begin(), r.opens.end(), kLocation), c.readsLocation ? 1 : 0);
        // The file test is made only for a location that was read as text.
        for (const std::wstring& d : s.dirs) {
            EXPECT_EQ(d.rfind(L"C:\\Tools\\", 0), 0u) << d.size();
        }
        EXPECT_TRUE(r.open.empty());
        EXPECT_EQ(r.closes.size(), r.opens.size());
    }
}

// Black on the usual faces; the desktop's text where black would fail 4.5:1, unless that text
// reads worse still.
TEST(LabelColour, BlackUnlessTheFaceIsTooDark) {
    EXPECT_NEAR(Contrast(kBlack, kWhite), 21.0, 1e-9);
    EXPECT_EQ(LabelTextColour(0x00F0F0F0u, 0x00FF0000u), kBlack); // a light face
    EXPECT_EQ(LabelTextColour(0x00000000u, kWhite), kWhite);      // high contrast black
    EXPECT_EQ(LabelTextColour(0x00747474u, kWhite), kWhite);      // 4.5:1 just fails
    EXPECT_EQ(LabelTextColour(0x00757575u, kWhite), kBlack);      // 4.5:1 just holds
    EXPECT_EQ(LabelTextColour(0x00202020u, 0x00101010u), kBlack); // themed text worse
}

} // namespace
} // namespace tessarline
