#include "checks/reader_tools.h"

#include <gtest/gtest.h>

namespace skelvane {
namespace {

std::vector<std::wstring> LiteralsAnd(std::initializer_list<const wchar_t*> folders) {
    std::vector<std::wstring> places{L"C:\\Program Files\\Gemplus\\ReaderTools",
                                     L"C:\\Program Files\\GemAlto\\ReaderTools"};
    for (const wchar_t* folder : folders)
        for (const wchar_t* vendor : {L"\\Gemplus\\ReaderTools", L"\\GemAlto\\ReaderTools"})
            places.push_back(folder + std::wstring(vendor));
    return places;
}

TEST(ReaderToolsPlaces, LiteralsFirstThenEachSystemFolderOnce) {
    const struct {
        const wchar_t *x86, *x64;
        std::vector<std::wstring> places;
    } cases[] = {
        // 32-bit Windows, in English, localized, at another drive's root.
        {L"C:\\Program Files", L"", LiteralsAnd({})},
        {L"C:\\Programme", L"", LiteralsAnd({L"C:\\Programme"})},
        {L"E:\\", L"", LiteralsAnd({L"E:"})},
        // 64-bit Windows, as either build reads it: the (x86) folder first.
        {L"C:\\Program Files (x86)",
         L"C:\\Program Files",
         {L"C:\\Program Files\\Gemplus\\ReaderTools", L"C:\\Program Files\\GemAlto\\ReaderTools",
          L"C:\\Program Files (x86)\\Gemplus\\ReaderTools",
          L"C:\\Program Files (x86)\\GemAlto\\ReaderTools"}},
        {L"D:\\Programme (x86)", L"D:\\Programme",
         LiteralsAnd({L"D:\\Programme (x86)", L"D:\\Programme"})},
        // The literal folder in other letters, separators or with a trailing one: no repeat.
        {L"c:\\PROGRAM FILES\\", L"C:/Program Files/", LiteralsAnd({})},
        {L"C:\\Program Files (x86)", L"c:\\program files",
         LiteralsAnd({L"C:\\Program Files (x86)"})},
        {L"D:\\Apps", L"d:\\apps\\", LiteralsAnd({L"D:\\Apps"})},
        // Only an absolute path on a drive: never a share, a relative or unexpanded path.
        {L"\\\\server\\share", L"Program Files", LiteralsAnd({})},
        {L"C:Programme", L"%ProgramFiles%", LiteralsAnd({})},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ReaderToolsPlaces(c.x86, c.x64), c.places) << c.x86 << L" | " << c.x64;
}

} // namespace
} // namespace skelvane
