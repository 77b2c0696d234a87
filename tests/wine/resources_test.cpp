// The product's own resources, read back with the system's functions and the window's own
// picture code.
#include "app/dpi.h"
#include "app/picture_data.h"
#include "app/pictures.h"
#include "support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace skelvane::test {
namespace {

BOOL CALLBACK CountGroup(HMODULE, LPCWSTR, LPWSTR name, LONG_PTR found) {
    auto* names = reinterpret_cast<std::vector<ULONG_PTR>*>(found);
    names->push_back(IS_INTRESOURCE(name) ? reinterpret_cast<ULONG_PTR>(name) : 0);
    return TRUE;
}

TEST(Resources, VersionOfBothPrograms) {
    for (const wchar_t* name : {L"Skelvane.exe", L"SkelvaneReport.exe"}) {
        std::vector<char> block = VersionBlock(ProductExe(name));
        ASSERT_FALSE(block.empty()) << name;
        VS_FIXEDFILEINFO* fixed = nullptr;
        UINT length = 0;
        ASSERT_TRUE(
            ::VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
        EXPECT_EQ(fixed->dwFileVersionMS, 0x00010000u);
        EXPECT_EQ(fixed->dwFileVersionLS, 0u);
        EXPECT_EQ(fixed->dwProductVersionMS, 0x00010000u);
        EXPECT_EQ(fixed->dwFileFlags, 0u);
        EXPECT_EQ(fixed->dwFileOS, static_cast<DWORD>(VOS__WINDOWS32));
        EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));

        WORD* translation = nullptr;
        ASSERT_TRUE(::VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation",
                                     reinterpret_cast<void**>(&translation), &length));
        ASSERT_EQ(length, 4u);
        EXPECT_EQ(translation[0], 0x0409);
        EXPECT_EQ(translation[1], 0x04B0);

        EXPECT_EQ(VersionString(block, L"ProductName"), L"Skelvane");
        EXPECT_EQ(VersionString(block, L"FileVersion"), L"1.00");
        EXPECT_EQ(VersionString(block, L"ProductVersion"), L"1.00");
        EXPECT_EQ(VersionString(block, L"CompanyName"), L"Quorrel Ombrenal");
        EXPECT_EQ(VersionString(block, L"OriginalFilename"), name);

        // The entries stand in the table in this order.
        const char16_t* keys[] = {u"CompanyName",    u"ProductName",  u"FileVersion",
                                  u"ProductVersion", u"InternalName", u"OriginalFilename"};
        const std::string raw(block.begin(), block.end());
        std::size_t last = 0;
        for (const char16_t* key : keys) {
            const std::u16string k(key);
            const std::size_t at =
                raw.find(std::string(reinterpret_cast<const char*>(k.data()), k.size() * 2), last);
            ASSERT_NE(at, std::string::npos) << std::string(k.begin(), k.end());
            last = at;
        }
    }
}

TEST(Resources, IconImagesAndManifest) {
    HMODULE exe =
        ::LoadLibraryExW(ProductExe(L"Skelvane.exe").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_TRUE(exe);
    const std::pair<int, DWORD> icons[] = {{30001, 1384}, {30002, 3240}, {30003, 3752}};
    for (const auto& [id, size] : icons) {
        HRSRC icon = ::FindResourceW(exe, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(3));
        ASSERT_TRUE(icon) << id;
        EXPECT_EQ(::SizeofResource(exe, icon), size) << id;
    }
    std::vector<ULONG_PTR> groups;
    ::EnumResourceNamesW(exe, MAKEINTRESOURCEW(14), &CountGroup,
                         reinterpret_cast<LONG_PTR>(&groups));
    EXPECT_EQ(groups, std::vector<ULONG_PTR>{1}); // the only icon group, so the file's icon

    // Every picture at every scale: its size grown with the scale (rounded half up), with
    // transparent corners and anti-aliased edges (coverage between none and full).
    const struct {
        const char* name;
        int width, height;
    } pictures[] = {{"logo", 52, 53}, {"placeholder", 11, 11}, {"tick", 19, 21}, {"cross", 19, 21}};
    for (int picture = 1; picture <= 4; ++picture)
        for (std::size_t place = 0; place < kPictureScales.size(); ++place) {
            const auto& [name, width, height] = pictures[picture - 1];
            HRSRC found = ::FindResourceW(exe, MAKEINTRESOURCEW(1000 + 10 * picture + place),
                                          MAKEINTRESOURCEW(10));
            ASSERT_TRUE(found) << name << " " << place;
            const auto* bytes =
                static_cast<const std::uint8_t*>(::LockResource(::LoadResource(exe, found)));
            const auto pixels = UnpackPicture({bytes, ::SizeofResource(exe, found)});
            ASSERT_TRUE(pixels) << name << " " << place;
            EXPECT_EQ(pixels->width, (width * kPictureScales[place] + 50) / 100) << name;
            EXPECT_EQ(pixels->height, (height * kPictureScales[place] + 50) / 100) << name;
            EXPECT_EQ(pixels->bgra.front() >> 24, 0u) << name << " " << place;
            EXPECT_TRUE(std::ranges::any_of(
                pixels->bgra, [](std::uint32_t p) { return (p >> 24) > 0 && (p >> 24) < 255; }))
                << name << " " << place;
        }

    HRSRC manifest = ::FindResourceW(exe, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24));
    ASSERT_TRUE(manifest);
    const std::string text(static_cast<const char*>(::LockResource(::LoadResource(exe, manifest))),
                           ::SizeofResource(exe, manifest));
    EXPECT_NE(text.find("Microsoft.Windows.Common-Controls"), std::string::npos);
    EXPECT_NE(text.find("asInvoker"), std::string::npos);
    EXPECT_NE(text.find(">PerMonitorV2, System</dpiAwareness>"), std::string::npos);
    EXPECT_NE(text.find(">true</dpiAware>"), std::string::npos); // Windows before 10 1703
    EXPECT_EQ(text.find("1f676c76-80e1-4239-95bb-83d0f6d0da78"), std::string::npos); // no 8.1 claim
    EXPECT_EQ(text.find("8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a"), std::string::npos); // no 10 claim
    ::FreeLibrary(exe);
}

// A picture the system could not make, every GDI handle taken, is made at the next request
// once the system can spare one: a tick or a cross never stays blank.
TEST(Resources, PictureMadeOnceTheSystemCanSpareIt) {
    HMODULE exe =
        ::LoadLibraryExW(ProductExe(L"Skelvane.exe").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_TRUE(exe);
    std::vector<unique_gdi> taken;
    for (unique_gdi b; taken.size() < 100000 && (b.reset(::CreateBitmap(1, 1, 1, 1, nullptr)), b);)
        taken.push_back(std::move(b));
    PictureSet pictures;
    pictures.Choose(exe, 144, 0);
    EXPECT_FALSE(pictures.Get(Image::Tick)) << taken.size() << " handles taken";
    taken.clear();
    BITMAP tick{};
    ASSERT_TRUE(::GetObjectW(pictures.Get(Image::Tick), sizeof tick, &tick));
    EXPECT_EQ(tick.bmWidth, 29); // 19 by 21 at 150 %
    EXPECT_EQ(tick.bmHeight, 32);
    ::FreeLibrary(exe);
}

} // namespace
} // namespace skelvane::test
