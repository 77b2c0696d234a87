// cRegistry against Wine's real registry, under keys of its own that it removes again.
#include "registry/cRegistry.h"
#include "support.h"

#include <gtest/gtest.h>

#include <limits>

namespace skelvane::test {
namespace {

constexpr std::int32_t kHkcu = static_cast<std::int32_t>(0x80000001u);

void DeleteTree(HKEY root, const std::wstring& path) {
    HKEY key;
    if (::RegOpenKeyExW(root, path.c_str(), 0, KEY_ALL_ACCESS, &key) == ERROR_SUCCESS) {
        wchar_t name[512];
        while (::RegEnumKeyW(key, 0, name, 512) == ERROR_SUCCESS)
            DeleteTree(key, name);
        ::RegCloseKey(key);
    }
    ::RegDeleteKeyW(root, path.c_str());
}

class Registry : public ::testing::Test {
  protected:
    void SetUp() override {
        section_ = TestKey(L"registry");
        reg_.ClassKey(kHkcu);
        reg_.SectionKey(section_);
    }
    void TearDown() override { DeleteTree(HKEY_CURRENT_USER, section_); }

    // Stores raw data the class did not write, to read it back through the class.
    void RawSet(const std::wstring& name, DWORD type, const std::string& data) {
        HKEY key;
        ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, section_.c_str(), 0, nullptr, 0,
                                    KEY_ALL_ACCESS, nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        const std::string nameA(name.begin(), name.end());
        ::RegSetValueExA(key, nameA.c_str(), 0, type, reinterpret_cast<const BYTE*>(data.data()),
                         static_cast<DWORD>(data.size()));
        ::RegCloseKey(key);
    }
    std::pair<DWORD, std::string> RawGet(const std::wstring& name) {
        HKEY key;
        if (::RegOpenKeyExW(HKEY_CURRENT_USER, section_.c_str(), 0, KEY_READ, &key) !=
            ERROR_SUCCESS)
            return {0xFFFFFFFF, {}};
        char data[256];
        DWORD type = 0, size = sizeof data;
        const std::string nameA(name.begin(), name.end());
        const LONG rc = ::RegQueryValueExA(key, nameA.c_str(), nullptr, &type,
                                           reinterpret_cast<BYTE*>(data), &size);
        ::RegCloseKey(key);
        if (rc != ERROR_SUCCESS) return {0xFFFFFFFF, {}};
        return {type, std::string(data, size)};
    }
    Variant Read(const std::wstring& name) {
        reg_.ValueKey(name);
        return reg_.Value();
    }
    void Write(const std::wstring& name, std::int32_t type, const Variant& value) {
        reg_.ValueKey(name);
        reg_.ValueType(type);
        reg_.Value(value);
    }

    std::wstring section_;
    cRegistry reg_;
};

template <typename F> RegistryError Raised(F&& f) {
    try {
        f();
    } catch (const RegistryError& e) {
        return e;
    }
    ADD_FAILURE() << "no error raised";
    return RegistryError(0, L"", L"");
}

TEST_F(Registry, KeysExistCreateAndDelete) {
    EXPECT_FALSE(reg_.KeyExists());
    EXPECT_TRUE(reg_.CreateKey());
    EXPECT_TRUE(reg_.KeyExists());
    reg_.SectionKey(L"");
    EXPECT_TRUE(reg_.KeyExists()); // the root itself
    reg_.ClassKey(0);
    EXPECT_FALSE(reg_.KeyExists());
    reg_.ClassKey(kHkcu);
    reg_.SectionKey(section_ + L"\\a\\b\\c");
    EXPECT_TRUE(reg_.CreateKey()); // missing keys along the path are created
    EXPECT_TRUE(reg_.KeyExists());
    EXPECT_TRUE(reg_.DeleteKey());
    EXPECT_FALSE(reg_.KeyExists());
}

TEST_F(Registry, TextRoundTripsAndPercentRule) {
    Write(L"s", kRegSz, std::wstring(L"abc"));
    EXPECT_EQ(RawGet(L"s"), std::make_pair(DWORD{REG_SZ}, std::string("abc", 4)));
    reg_.ValueType(0);
    EXPECT_EQ(Read(L"s"), Variant(std::wstring(L"abc")));
    EXPECT_EQ(reg_.ValueType(), kRegSz);

    Write(L"plain", kRegExpandSz, std::wstring(L"C:\\Temp"));
    EXPECT_EQ(RawGet(L"plain").first, DWORD{REG_SZ});
    Write(L"expand", kRegSz, std::wstring(L"%TEMP%\\x"));
    EXPECT_EQ(RawGet(L"expand").first, DWORD{REG_EXPAND_SZ});
    const std::wstring expanded = ToText(Read(L"expand"));
    EXPECT_EQ(expanded.find(L'%'), std::wstring::npos) << expanded;
    EXPECT_TRUE(expanded.ends_with(L"\\x")) << expanded;
    EXPECT_EQ(reg_.ValueType(), kRegExpandSz);

    // Numbers as text, the same as on any other system.
    const std::pair<Variant, std::string> numbers[] = {
        {std::int16_t{5}, "5"},
        {1e20, "1e+20"},
        {-2.5e-300, "-2.5e-300"},
        {0.1, "0.1"},
        {std::numeric_limits<double>::infinity(), "inf"},
    };
    for (const auto& [number, text] : numbers) {
        Write(L"number", kRegSz, number);
        EXPECT_EQ(RawGet(L"number"), std::make_pair(DWORD{REG_SZ}, text + '\0'));
    }
}

TEST_F(Registry, NumbersAndBytes) {
    Write(L"d", kRegDword, std::int32_t{-2});
    EXPECT_EQ(RawGet(L"d"), std::make_pair(DWORD{REG_DWORD}, std::string("\xFE\xFF\xFF\xFF", 4)));
    EXPECT_EQ(Read(L"d"), Variant(std::int32_t{-2}));
    Write(L"be", kRegDwordBigEndian, std::int32_t{0x11223344});
    EXPECT_EQ(RawGet(L"be"), std::make_pair(DWORD{REG_DWORD}, std::string("\x44\x33\x22\x11", 4)));
    Write(L"small", kRegDword, std::int16_t{-1});
    EXPECT_EQ(Read(L"small"), Variant(std::int32_t{-1}));

    RawSet(L"big", REG_DWORD_BIG_ENDIAN, std::string("\x00\x00\x01\x00", 4));
    EXPECT_EQ(Read(L"big"), Variant(std::int32_t{256}));
    EXPECT_EQ(reg_.ValueType(), kRegDwordBigEndian);
    RawSet(L"long", REG_DWORD, std::string("\x01\x00\x00\x00\xEE\xEE\xEE\xEE", 8));
    EXPECT_EQ(Read(L"long"), Variant(std::int32_t{1})); // never past the four bytes

    Write(L"bin", kRegBinary, ByteArray{1, 2, 3});
    EXPECT_EQ(RawGet(L"bin"), std::make_pair(DWORD{REG_BINARY}, std::string("\x01\x02\x03", 3)));
    EXPECT_EQ(Read(L"bin"), Variant(ByteArray{1, 2, 3}));
    RawSet(L"none", REG_NONE, "");
    EXPECT_EQ(Read(L"none"), Variant(ByteArray{}));
}

TEST_F(Registry, StoredStringsOfOddShapes) {
    RawSet(L"multi", REG_MULTI_SZ, std::string("a\0b\0\0", 5));
    EXPECT_EQ(Read(L"multi"), Variant(std::wstring(L"a\0b\0", 4)));
    RawSet(L"empty", REG_SZ, "");
    EXPECT_EQ(Read(L"empty"), Variant(std::wstring()));
    RawSet(L"unterminated", REG_SZ, "abc");
    EXPECT_EQ(Read(L"unterminated"), Variant(std::wstring(L"abc")));
    const std::string large(100000, 'x');
    RawSet(L"large", REG_SZ, large + '\0');
    EXPECT_EQ(ToText(Read(L"large")).size(), large.size());
}

TEST_F(Registry, MissingValuesGiveTheDefault) {
    reg_.ValueType(kRegSz);
    EXPECT_EQ(Read(L"nothing"), Variant());
    EXPECT_EQ(ToText(Read(L"nothing")), L"");
    reg_.Default(std::int32_t{7});
    EXPECT_EQ(Read(L"nothing"), Variant(std::int32_t{7}));
    EXPECT_EQ(reg_.ValueType(), kRegSz); // untouched by a failed read
    reg_.ClassKey(0);
    EXPECT_EQ(Read(L"nothing"), Variant(std::int32_t{7}));
}

TEST_F(Registry, WritesThatStoreNothing) {
    reg_.SectionKey(section_ + L"\\made");
    Write(L"text-as-number", kRegDword, std::wstring(L"12"));
    EXPECT_TRUE(reg_.KeyExists()); // the key is still created
    reg_.ValueType(0);
    EXPECT_EQ(Read(L"text-as-number"), Variant());

    const RegistryError none = Raised([&] { Write(L"v", 0, std::wstring(L"abc")); });
    EXPECT_EQ(none.Number(), kErrWriteRefused);
    EXPECT_EQ(none.Source(), L"registry_test.cRegistry");
    EXPECT_EQ(none.Description(), L"Failed to set registry value Key: '-2147483647',Section: '" +
                                      section_ + L"\\made',Key: 'v' to value: 'abc'");
    EXPECT_EQ(Raised([&] { Write(L"v", kRegMultiSz, std::wstring(L"abc")); }).Number(),
              kErrWriteRefused);

    const RegistryError notBytes = Raised([&] { Write(L"v", kRegBinary, std::wstring(L"abc")); });
    EXPECT_EQ(notBytes.Number(), kErrRegistry);
    EXPECT_EQ(notBytes.Source(), L"");
    EXPECT_EQ(notBytes.Description(), L"");
    EXPECT_EQ(notBytes.Status(), 0); // no system call failed
}

TEST_F(Registry, RefusedByThePlatform) {
    reg_.ClassKey(0x12345678); // no such root
    const RegistryError write = Raised([&] { Write(L"v", kRegSz, std::wstring(L"x")); });
    EXPECT_EQ(write.Number(), kErrRegistry);
    EXPECT_EQ(write.Description(), L"Failed to set registry value Key: '305419896',Section: '" +
                                       section_ + L"',Key: 'v' to value: 'x'");
    EXPECT_NE(write.Status(), 0); // the system's own code travels with it
    EXPECT_EQ(std::string(write.what()),
              "Failed to set registry value Key: '305419896',Section: '" +
                  std::string(section_.begin(), section_.end()) + "',Key: 'v' to value: 'x'");
    EXPECT_EQ(Raised([&] { reg_.CreateKey(); }).Description(),
              L"Failed to create registry Key: '" + section_);

    // A key opened read-only by its permissions refuses the value write.
    reg_.ClassKey(kHkcu);
    reg_.CreateKey();
    HKEY key;
    ASSERT_EQ(
        ::RegOpenKeyExW(HKEY_CURRENT_USER, section_.c_str(), 0, READ_CONTROL | WRITE_DAC, &key),
        ERROR_SUCCESS);
    SECURITY_DESCRIPTOR sd;
    ::InitializeSecurityDescriptor(&sd, SECURITY_DESCRIPTOR_REVISION);
    ACL acl;
    ::InitializeAcl(&acl, sizeof acl, ACL_REVISION);
    ::SetSecurityDescriptorDacl(&sd, TRUE, &acl, FALSE); // an empty DACL grants nothing
    const bool locked = ::RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, &sd) == ERROR_SUCCESS;
    ::RegCloseKey(key);
    HKEY probe;
    if (locked && ::RegOpenKeyExW(HKEY_CURRENT_USER, section_.c_str(), 0, KEY_SET_VALUE, &probe) !=
                      ERROR_SUCCESS) {
        EXPECT_EQ(Raised([&] { Write(L"v", kRegSz, std::wstring(L"x")); }).Number(), kErrRegistry);
    } else {
        if (locked) ::RegCloseKey(probe);
        GTEST_SKIP() << "this registry does not enforce key permissions";
    }
}

TEST_F(Registry, DeleteErrors) {
    const RegistryError noKey = Raised([&] {
        reg_.ValueKey(L"v");
        reg_.DeleteValue();
    });
    EXPECT_EQ(noKey.Number(), kErrRegistry);
    EXPECT_EQ(noKey.Description(),
              L"Failed to open key '-2147483647',Section: '" + section_ + L"' for delete access");
    reg_.CreateKey();
    const RegistryError noValue = Raised([&] { reg_.DeleteValue(); });
    EXPECT_EQ(noValue.Description(),
              L"Failed to delete registry Key: '-2147483647',Section: '" + section_ + L"',Key: 'v");
    Write(L"v", kRegSz, std::wstring(L"x"));
    EXPECT_TRUE(reg_.DeleteValue());
    EXPECT_EQ(RawGet(L"v").first, 0xFFFFFFFFu);
    reg_.SectionKey(section_ + L"\\absent");
    EXPECT_EQ(Raised([&] { reg_.DeleteKey(); }).Description(),
              L"Failed to delete registry Key: '-2147483647',Section: '" + section_ + L"\\absent");
}

TEST_F(Registry, EnumeratesValuesAndSections) {
    std::vector<std::wstring> names{L"stale"};
    std::int32_t count = 99;
    EXPECT_TRUE(reg_.EnumerateValues(names, count)); // missing key
    EXPECT_EQ(count, 0);
    EXPECT_TRUE(names.empty());
    EXPECT_TRUE(reg_.EnumerateSections(names, count));
    EXPECT_EQ(count, 0);

    reg_.CreateKey();
    EXPECT_TRUE(reg_.EnumerateValues(names, count)); // no values
    EXPECT_EQ(count, 0);

    RawSet(L"", REG_SZ, std::string("default", 8));
    for (int i = 0; i < 60; ++i)
        RawSet(L"v" + std::to_wstring(i), REG_DWORD, std::string(4, '\0'));
    const std::wstring longName(2000, L'n');
    RawSet(longName, REG_SZ, std::string(1, '\0'));
    EXPECT_TRUE(reg_.EnumerateValues(names, count));
    ASSERT_EQ(count, 62);
    ASSERT_EQ(names.size(), 62u);
    EXPECT_NE(std::find(names.begin(), names.end(), L""), names.end());
    EXPECT_NE(std::find(names.begin(), names.end(), L"v59"), names.end());
    EXPECT_NE(std::find(names.begin(), names.end(), longName), names.end());
    EXPECT_TRUE(reg_.EnumerateValues(names, count)); // again: replaced, not appended
    EXPECT_EQ(names.size(), 62u);

    // The longest subkey name this registry accepts: 255 characters on Windows;
    // Wine refuses somewhat shorter ones, so the test takes what it can get.
    std::wstring longest;
    for (int length = 255; length >= 200 && longest.empty(); --length) {
        cRegistry child;
        child.ClassKey(kHkcu);
        child.SectionKey(section_ + L"\\" + std::wstring(length, L'k'));
        try {
            child.CreateKey();
            longest = std::wstring(length, L'k');
        } catch (const RegistryError&) {
        }
    }
    ASSERT_FALSE(longest.empty());
    for (const std::wstring& sub : {std::wstring(L"a"), std::wstring(L"b"), std::wstring(L"c")}) {
        cRegistry child;
        child.ClassKey(kHkcu);
        child.SectionKey(section_ + L"\\" + sub);
        child.CreateKey();
    }
    EXPECT_TRUE(reg_.EnumerateSections(names, count));
    ASSERT_EQ(count, 4);
    std::vector<std::wstring> sorted = names;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(sorted, (std::vector<std::wstring>{L"a", L"b", L"c", longest}));
}

class Association : public ::testing::Test {
  protected:
    void SetUp() override {
        tag_ = TestKey(L"x");
        for (wchar_t& c : tag_)
            if (c == L'\\' || c == L'.') c = L'_';
        className_ = L"skv" + tag_ + L"file";
        extension_ = L"skv" + tag_;
    }
    void TearDown() override {
        for (const std::wstring& key : {className_, L"." + extension_}) {
            DeleteTree(HKEY_CLASSES_ROOT, key);
            DeleteTree(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Classes\\" + key);
        }
    }
    std::wstring Default(HKEY root, const std::wstring& key) {
        cRegistry r;
        r.ClassKey(static_cast<std::int32_t>(reinterpret_cast<std::intptr_t>(root)));
        r.SectionKey(key);
        r.Default(std::wstring(L"<missing>"));
        return ToText(r.Value());
    }
    std::wstring tag_, className_, extension_;
};

TEST_F(Association, WritesEveryKeyUnderBothRoots) {
    cRegistry reg;
    ExeAssociation a;
    a.sExePath = L"C:\\App\\x.exe ";
    a.sClassName = className_;
    a.sClassDescription = L"Xyz document";
    a.sAssociation = extension_;
    a.bSupportInstall = true;
    a.lDefaultIconIndex = 0;
    reg.CreateEXEAssociation(a);
    for (const auto& [root, prefix] : {std::pair{HKEY_CLASSES_ROOT, L""},
                                       std::pair{HKEY_LOCAL_MACHINE, L"SOFTWARE\\Classes\\"}}) {
        const std::wstring c = std::wstring(prefix) + className_;
        EXPECT_EQ(Default(root, std::wstring(prefix) + L"." + extension_), className_);
        EXPECT_EQ(Default(root, c), L"Xyz document");
        EXPECT_EQ(Default(root, c + L"\\shell\\open"), L"&Open");
        EXPECT_EQ(Default(root, c + L"\\shell\\open\\command"), L"\"C:\\App\\x.exe\" \"%1\"");
        EXPECT_EQ(Default(root, c + L"\\shell\\add"), L"&Install " + extension_);
        EXPECT_EQ(Default(root, c + L"\\shell\\add\\command"), L"\"C:\\App\\x.exe\" /a \"%1\"");
        EXPECT_EQ(Default(root, c + L"\\DefaultIcon"), L"\"C:\\App\\x.exe\",0");
        EXPECT_EQ(Default(root, c + L"\\shell\\print"), L"<missing>");
    }
    // The object is left naming the last key written, under HKEY_LOCAL_MACHINE.
    EXPECT_EQ(reg.ClassKey(), kHkeyLocalMachine);
    EXPECT_EQ(reg.SectionKey(), className_ + L"\\DefaultIcon");

    // Right after registration the class is looked for under HKLM itself, where it is not.
    EXPECT_EQ(Raised([&] { reg.CreateAdditionalEXEAssociations(className_, {}); }).Number(),
              kErrClassMissing);
    reg.ClassKey(kHkeyClassesRoot);
    const RegistryError odd = Raised([&] {
        reg.CreateAdditionalEXEAssociations(
            className_, {std::wstring(L"edit"), std::wstring(L"&Edit"),
                         std::wstring(L"editor.exe /e"), std::wstring(L"view")});
    });
    EXPECT_EQ(odd.Number(), kErrInvalidItems);
    EXPECT_EQ(odd.Description(), kInvalidItemsText);
    EXPECT_EQ(Default(HKEY_CLASSES_ROOT, className_ + L"\\shell\\edit"), L"<missing>");

    reg.ClassKey(kHkeyClassesRoot);
    reg.CreateAdditionalEXEAssociations(
        className_, {std::wstring(L"edit"), std::wstring(L"&Edit"), std::wstring(L"editor.exe /e"),
                     std::wstring(L"view"), std::wstring(L"&View"), std::wstring(L"viewer.exe")});
    for (const auto& [root, prefix] : {std::pair{HKEY_CLASSES_ROOT, L""},
                                       std::pair{HKEY_LOCAL_MACHINE, L"SOFTWARE\\Classes\\"}}) {
        const std::wstring c = std::wstring(prefix) + className_;
        EXPECT_EQ(Default(root, c + L"\\shell\\edit"), L"&Edit");
        EXPECT_EQ(Default(root, c + L"\\shell\\edit\\command"), L"editor.exe /e");
        EXPECT_EQ(Default(root, c + L"\\shell\\view\\command"), L"viewer.exe");
    }
}

} // namespace
} // namespace skelvane::test
