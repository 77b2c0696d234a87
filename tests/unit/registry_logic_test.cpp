#include "registry/association_plan.h"
#include "registry/registry_rules.h"

#include <gtest/gtest.h>

namespace skelvane {
namespace {

TEST(StoredTextType, PercentRule) {
    const std::pair<const wchar_t*, std::int32_t> cases[] = {
        {L"%PATH%", kRegExpandSz}, {L"a%b%", kRegExpandSz}, {L"%TEMP%\\x", kRegExpandSz},
        {L"100%", kRegSz},         {L"%%", kRegSz},         {L"%a", kRegSz},
        {L"%a%", kRegExpandSz},    {L"C:\\Temp", kRegSz},   {L"", kRegSz},
        {L"%%%", kRegExpandSz},    {L"x%%y", kRegSz},       {L"x%%y%", kRegExpandSz},
    };
    for (const auto& [text, type] : cases)
        EXPECT_EQ(StoredTextType(text), type) << text;
}

TEST(ByteWork, ReverseAndDecode) {
    EXPECT_EQ(ReverseByteOrder(0x11223344), 0x44332211);
    EXPECT_EQ(ReverseByteOrder(static_cast<std::int32_t>(0x80000001u)), 0x01000080);
    EXPECT_EQ(ReverseByteOrder(DwordFromBytes({0x00, 0x00, 0x01, 0x00})), 256);
    EXPECT_EQ(DwordFromBytes({0x78, 0x56, 0x34, 0x12}), 0x12345678);
    EXPECT_EQ(DwordFromBytes({0x01, 0x02}), 0x0201);                 // short: zero-filled
    EXPECT_EQ(DwordFromBytes({0x01, 0, 0, 0, 0xFF, 0xFF, 0xFF}), 1); // long: never past 4 bytes
    EXPECT_EQ(DwordFromBytes({}), 0);
}

TEST(StoredText, DropsOneTerminatorOnly) {
    EXPECT_EQ(StoredText({'a', 'b', 'c', 0}), "abc");
    EXPECT_EQ(StoredText({'a', 'b', 'c'}), "abc"); // stored without its NUL: nothing lost
    EXPECT_EQ(StoredText({}), "");
    EXPECT_EQ(StoredText({0}), "");
    EXPECT_EQ(StoredText({'a', 0, 'b', 0, 0}), std::string_view("a\0b\0", 4));
}

TEST(RootHandleValue, SignExtendsPredefinedKeys) {
    EXPECT_EQ(RootHandleValue(kHkeyLocalMachine), static_cast<std::intptr_t>(-2147483646));
    EXPECT_EQ(RootHandleValue(kHkeyClassesRoot), static_cast<std::intptr_t>(-2147483647 - 1));
    EXPECT_EQ(RootHandleValue(0), 0);
}

TEST(ErrorNumbers, MatchTheObjectErrorBase) {
    EXPECT_EQ(kErrWriteRefused, -2147194455);
    EXPECT_EQ(kErrEnumerateSections, -2147194454);
    EXPECT_EQ(kErrInvalidItems, -2147194452);
    EXPECT_EQ(kErrClassMissing, -2147194451);
    EXPECT_EQ(static_cast<std::uint32_t>(kErrWriteRefused), 0x800469A9u);
}

TEST(Descriptions, ExactTexts) {
    EXPECT_EQ(
        WriteFailure(kHkeyLocalMachine, L"SOFTWARE\\Classes\\.xyz", L"", std::wstring(L"abc")),
        L"Failed to set registry value Key: '-2147483646',Section: 'SOFTWARE\\Classes\\.xyz',Key: "
        L"'' to value: 'abc'");
    EXPECT_EQ(CreateKeyFailure(L"A\\B"), L"Failed to create registry Key: 'A\\B");
    EXPECT_EQ(DeleteKeyFailure(kHkeyClassesRoot, L"S"),
              L"Failed to delete registry Key: '-2147483648',Section: 'S");
    EXPECT_EQ(OpenForDeleteFailure(-2147483647, L"S"),
              L"Failed to open key '-2147483647',Section: 'S' for delete access");
    EXPECT_EQ(DeleteValueFailure(-2147483647, L"S", L"V"),
              L"Failed to delete registry Key: '-2147483647',Section: 'S',Key: 'V");
}

TEST(ToText, EveryKind) {
    EXPECT_EQ(ToText(Variant{}), L"");
    EXPECT_EQ(ToText(std::wstring(L"x")), L"x");
    EXPECT_EQ(ToText(std::int16_t{5}), L"5");
    EXPECT_EQ(ToText(std::int32_t{-7}), L"-7");
    EXPECT_EQ(ToText(std::uint8_t{200}), L"200");
    EXPECT_EQ(ToText(1.5), L"1.5");
    EXPECT_EQ(ToText(ByteArray{0x01, 0xAB, 0x00}), L"01 AB 00");
    EXPECT_EQ(ToText(ByteArray{}), L"");
}

TEST(QuoteExePath, EnclosesOnce) {
    const std::pair<const wchar_t*, const wchar_t*> cases[] = {
        {L"C:\\App\\x.exe ", L"\"C:\\App\\x.exe\""},
        {L"  \"C:\\App\\x.exe\"", L"\"C:\\App\\x.exe\""},
        {L"\"C:\\a", L"\"C:\\a\""},
        {L"C:\\a\"", L"\"C:\\a\""},
        {L"", L"\""},
        {L"   ", L"\""},
        {L"\"", L"\""},
    };
    for (const auto& [in, out] : cases)
        EXPECT_EQ(QuoteExePath(in), out) << in;
}

TEST(PlanExeAssociation, DefaultsWriteOpenOnly) {
    ExeAssociation a;
    a.sExePath = L"C:\\App\\x.exe ";
    a.sClassName = L"xyzfile";
    a.sClassDescription = L"Xyz document";
    a.sAssociation = L"xyz";
    const std::vector<AssociationWrite> expected{
        {L".xyz", L"xyzfile"},
        {L"xyzfile", L"Xyz document"},
        {L"xyzfile\\shell\\open", L"&Open"},
        {L"xyzfile\\shell\\open\\command", L"\"C:\\App\\x.exe\" \"%1\""},
    };
    EXPECT_EQ(PlanExeAssociation(a), expected);
}

TEST(PlanExeAssociation, EveryVerbInFixedOrder) {
    ExeAssociation a;
    a.sExePath = L"%ProgramFiles%\\x.exe";
    a.sClassName = L"c";
    a.sClassDescription = L"d";
    a.sAssociation = L".xyz";
    a.sOpenMenuText = L"";
    a.bSupportPrint = true;
    a.sPrintMenuText = L"";
    a.bSupportNew = true;
    a.sNewMenuText = L"Make";
    a.bSupportInstall = true;
    a.lDefaultIconIndex = 0;
    const std::wstring p = L"\"%ProgramFiles%\\x.exe\"";
    const std::vector<AssociationWrite> expected{
        {L"..xyz", L"c"},
        {L"c", L"d"},
        {L"c\\shell\\open", L"&Open"},
        {L"c\\shell\\open\\command", p + L" \"%1\""},
        {L"c\\shell\\print", L"&Print"},
        {L"c\\shell\\print\\command", p + L" /p \"%1\""},
        {L"c\\shell\\add", L"&Install .xyz"},
        {L"c\\shell\\add\\command", p + L" /a \"%1\""},
        {L"c\\shell\\new", L"Make"},
        {L"c\\shell\\new\\command", p + L" /n \"%1\""},
        {L"c\\DefaultIcon", p + L",0"},
    };
    EXPECT_EQ(PlanExeAssociation(a), expected);
}

TEST(PlanAdditionalVerbs, TriplesInOrder) {
    const std::vector<AssociationWrite> expected{
        {L"xyzfile\\shell\\edit", L"&Edit"},
        {L"xyzfile\\shell\\edit\\command", L"editor.exe /e"},
        {L"xyzfile\\shell\\view", L"&View"},
        {L"xyzfile\\shell\\view\\command", L"viewer.exe"},
    };
    EXPECT_EQ(PlanAdditionalVerbs(L"xyzfile", {L"edit", L"&Edit", L"editor.exe /e", L"view",
                                               L"&View", L"viewer.exe"}),
              expected);
    EXPECT_TRUE(PlanAdditionalVerbs(L"x", {}).empty());
}

} // namespace
} // namespace skelvane
