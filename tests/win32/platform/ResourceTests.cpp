// The built Tessarline.exe's resources read back as the system reads them: the version record,
// the icon's five images, the help picture and the manifest.
#include "tests/win32/support/Win32TestSupport.h"

#include "app/art/IconFile.h"
#include "platform/win32/ResourceIds.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace tessarline {
namespace {

std::wstring ProgramPath() {
    return test::TestProgramFolder() + L"\\" + TESSARLINE_EXE_FROM_TESTS;
}

WORD WordAt(const std::vector<BYTE>& data, std::size_t offset) {
    return static_cast<WORD>(data.at(offset) | (data.at(offset + 1) << 8));
}

class ResourceTest : public ::testing::Test {
protected:
    void SetUp() override {
        module = LoadLibraryExW(ProgramPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
        ASSERT_NE(module, nullptr) << "cannot load the program's resources";
    }
    void TearDown() override {
        if (module != nullptr) {
            FreeLibrary(module);
        }
    }

    std::vector<BYTE> Resource(LPCWSTR name, LPCWSTR type) const {
        const HRSRC found = FindResourceW(module, name, type);
        if (found == nullptr) {
            return {};
        }
        const auto* bytes = static_cast<const BYTE*>(LockResource(LoadResource(module, found)));
        return std::vector<BYTE>(bytes, bytes + SizeofResource(module, found));
    }

    std::vector<LPCWSTR> Names(LPCWSTR type) const {
        std::vector<LPCWSTR> names;
        EnumResourceNamesW(
            module, type,
            [](HMODULE, LPCWSTR, LPWSTR name, LONG_PTR param) -> BOOL {
                reinterpret_cast<std::vector<LPCWSTR>*>(param)->push_back(name);
                return TRUE;
            },
            reinterpret_cast<LONG_PTR>(&names));
        return names;
    }

    HMODULE module = nullptr;
};

TEST(VersionRecord, ReadsBackThroughVerQueryValue) {
    const std::wstring path = ProgramPath();
    DWORD ignored = 0;
    std::vector<BYTE> data(GetFileVersionInfoSizeW(path.c_str(), &ignored));
    ASSERT_FALSE(data.empty()) << "the program has no version record";
    ASSERT_TRUE(GetFileVersionInfoW(path.c_str(), 0, static_cast<DWORD>(data.size()), data.data()));

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
    EXPECT_EQ(fixed->dwFileVersionMS, 0x00010000u);
    EXPECT_EQ(fixed->dwFileVersionLS, 0u);
    EXPECT_EQ(fixed->dwProductVersionMS, 0x00010000u);
    EXPECT_EQ(fixed->dwProductVersionLS, 0u);
    EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));
    WORD* translation = nullptr;
    ASSERT_TRUE(VerQueryValueW(data.data(), L"\\VarFileInfo\\Translation",
                               reinterpret_cast<void**>(&translation), &length));
    ASSERT_EQ(length, 4u) << "exactly one language and code page";
    EXPECT_EQ(translation[0], 0x0409);
    EXPECT_EQ(translation[1], 1200);

    const std::map<std::wstring, std::wstring> expected{
        {L"CompanyName", L"KORVEN"},      {L"ProductName", L"Tessarline"},
        {L"FileVersion", L"1.00"},        {L"ProductVersion", L"1.00"},
        {L"InternalName", L"Tessarline"}, {L"OriginalFilename", L"Tessarline.exe"},
    };
    for (const auto& [name, text] : expected) {
        wchar_t* value = nullptr;
        const std::wstring query = L"\\StringFileInfo\\040904B0\\" + name;
        ASSERT_TRUE(
            VerQueryValueW(data.data(), query.c_str(), reinterpret_cast<void**>(&value), &length))
            << "no " << std::string(name.begin(), name.end());
        EXPECT_EQ(std::wstring(value), text);
    }
}

// Expects what draw paints, on a background of a colour the figure never uses, to be the
// figure at its size in black on opaque white.
void ExpectFigure(int size, const std::function<void(HDC)>& draw) {
    const test::Capture c(size, size, draw);
    const PixelBuffer figure = RenderFigure(size);
    int black = 0;
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            ASSERT_EQ(c.At(x, y), figure.At(x, y) & 0xFFFFFFu) << "at " << x << "," << y;
            black += c.At(x, y) == 0 ? 1 : 0;
        }
    }
    EXPECT_GT(black, size) << "the figure is missing";
}

constexpr std::size_t kGroupEntrySize = 14;

TEST_F(ResourceTest, TheIconIsTheFirstGroupWithTheFiveImagesOfTheFigure) {
    const std::vector<LPCWSTR> groups = Names(RT_GROUP_ICON);
    ASSERT_EQ(groups.size(), 1u);
    EXPECT_EQ(groups[0], MAKEINTRESOURCEW(IDI_TESSARLINE)) << "the program's icon is the first";

    const std::vector<BYTE> group = Resource(MAKEINTRESOURCEW(IDI_TESSARLINE), RT_GROUP_ICON);
    ASSERT_GE(group.size(), 6u);
    ASSERT_EQ(WordAt(group, 2), 1) << "an icon, not a cursor";
    ASSERT_EQ(group.size(), 6 + kAppIconImages.size() * kGroupEntrySize);
    for (std::size_t i = 0; i < kAppIconImages.size(); ++i) {
        const IconImage format = kAppIconImages[i];
        SCOPED_TRACE(std::to_string(format.size) + "x" + std::to_string(format.size) + " at " +
                     std::to_string(format.bitsPerPixel) + " bits");
        // Width, height and colour count are bytes; planes, depth, size and id follow.
        const std::size_t entry = 6 + i * kGroupEntrySize;
        EXPECT_EQ(group[entry], format.size);
        EXPECT_EQ(group[entry + 1], format.size);
        EXPECT_EQ(group[entry + 2], format.bitsPerPixel < 8 ? 1 << format.bitsPerPixel : 0);
        EXPECT_EQ(WordAt(group, entry + 6), format.bitsPerPixel);
        std::vector<BYTE> image = Resource(MAKEINTRESOURCEW(WordAt(group, entry + 12)), RT_ICON);
        ASSERT_GE(image.size(), sizeof(BITMAPINFOHEADER));
        EXPECT_EQ(WordAt(image, offsetof(BITMAPINFOHEADER, biBitCount)), format.bitsPerPixel);

        // The system takes it as an icon and draws the figure with it.
        const HICON icon =
            CreateIconFromResourceEx(image.data(), static_cast<DWORD>(image.size()), TRUE,
                                     0x00030000, format.size, format.size, LR_DEFAULTCOLOR);
        ASSERT_NE(icon, nullptr);
        ExpectFigure(format.size, [&](HDC dc) {
            DrawIconEx(dc, 0, 0, icon, format.size, format.size, 0, nullptr, DI_NORMAL);
        });
        DestroyIcon(icon);
    }
}

TEST_F(ResourceTest, TheHelpPictureIsTheFigureAt50By50In24Bits) {
    const auto picture = static_cast<HBITMAP>(
        LoadImageW(module, MAKEINTRESOURCEW(IDB_FIGURE), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    DIBSECTION dib{};
    ASSERT_EQ(GetObjectW(picture, sizeof(dib), &dib), static_cast<int>(sizeof(dib)));
    EXPECT_EQ(dib.dsBmih.biBitCount, 24);
    ASSERT_EQ(dib.dsBm.bmWidth, 50);
    ASSERT_EQ(dib.dsBm.bmHeight, 50);
    ExpectFigure(50, [picture](HDC dc) {
        const HDC source = CreateCompatibleDC(dc);
        const HGDIOBJ old = SelectObject(source, picture);
        BitBlt(dc, 0, 0, 50, 50, source, 0, 0, SRCCOPY);
        SelectObject(source, old);
        DeleteDC(source);
    });
    DeleteObject(picture);
}

TEST_F(ResourceTest, TheManifestAsksForCommonControls6AndPerMonitorDpi) {
    const std::vector<LPCWSTR> manifests = Names(RT_MANIFEST);
    ASSERT_EQ(manifests.size(), 1u) << "one manifest, the program's own";
    EXPECT_EQ(manifests[0], MAKEINTRESOURCEW(1));
    const std::vector<BYTE> bytes = Resource(MAKEINTRESOURCEW(1), RT_MANIFEST);
    const std::string manifest(bytes.begin(), bytes.end());
    EXPECT_NE(manifest.find("name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\""),
              std::string::npos);
    EXPECT_NE(manifest.find(">PerMonitorV2"), std::string::npos);
    EXPECT_NE(manifest.find(">true/pm<"), std::string::npos);
}

} // namespace
} // namespace tessarline
