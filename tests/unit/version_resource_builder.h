#pragma once
// Small, well-formed PE files with a version resource, built byte by byte.
#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

namespace skelvane::test {

// Where the pieces of PeWithVersion's file lie.
inline constexpr std::size_t kSection = 0x138, kTypeDir = 0x218, kIdDir = 0x230, kDataEntry = 0x248,
                             kBlockOffset = 0x258;

// One node of a version block; `wide` is the 32-bit form with UTF-16 keys.
inline std::vector<std::uint8_t> Node(bool wide, const std::string& key,
                                      const std::vector<std::uint8_t>& value, bool text,
                                      const std::vector<std::vector<std::uint8_t>>& children) {
    std::vector<std::uint8_t> b(wide ? 6 : 4, 0);
    for (char c : key) {
        b.push_back(static_cast<std::uint8_t>(c));
        if (wide) b.push_back(0);
    }
    b.insert(b.end(), wide ? 2 : 1, 0);
    b.resize((b.size() + 3) & ~std::size_t{3}, 0);
    b.insert(b.end(), value.begin(), value.end());
    for (const auto& child : children) {
        b.resize((b.size() + 3) & ~std::size_t{3}, 0);
        b.insert(b.end(), child.begin(), child.end());
    }
    const std::size_t valueLength = wide && text ? value.size() / 2 : value.size();
    b[0] = static_cast<std::uint8_t>(b.size()), b[1] = static_cast<std::uint8_t>(b.size() >> 8);
    b[2] = static_cast<std::uint8_t>(valueLength),
    b[3] = static_cast<std::uint8_t>(valueLength >> 8);
    if (wide) b[4] = text ? 1 : 0;
    return b;
}

inline std::vector<std::uint8_t> Text(bool wide, const std::string& s) {
    std::vector<std::uint8_t> b;
    for (char c : s) {
        b.push_back(static_cast<std::uint8_t>(c));
        if (wide) b.push_back(0);
    }
    b.insert(b.end(), wide ? 2 : 1, 0);
    return b;
}

// VS_VERSION_INFO with FileVersion "1.0" in table 040904B0 and its translation.
inline std::vector<std::uint8_t> Block(bool wide) {
    std::vector<std::uint8_t> fixed(52, 0);
    fixed[0] = 0xBD, fixed[1] = 0x04, fixed[2] = 0xEF, fixed[3] = 0xFE;
    const auto version = Node(wide, "FileVersion", Text(wide, "1.0"), true, {});
    const auto table = Node(wide, "040904B0", {}, true, {version});
    const auto strings = Node(wide, "StringFileInfo", {}, true, {table});
    const auto translation = Node(wide, "Translation", {0x09, 0x04, 0xB0, 0x04}, false, {});
    const auto vars = Node(wide, "VarFileInfo", {}, true, {translation});
    return Node(wide, "VS_VERSION_INFO", fixed, false, {strings, vars});
}

// A PE32 file with one section, .rsrc, at address 0x1000 and file offset 0x200,
// holding the resource tree version/1/0409 and `block`.
inline std::vector<std::uint8_t> PeWithVersion(const std::vector<std::uint8_t>& block) {
    const std::size_t raw = (0x58 + block.size() + 0x1FF) & ~std::size_t{0x1FF};
    std::vector<std::uint8_t> f(0x200 + raw, 0);
    auto put16 = [&](std::size_t at, std::uint32_t v) {
        f[at] = static_cast<std::uint8_t>(v), f[at + 1] = static_cast<std::uint8_t>(v >> 8);
    };
    auto put32 = [&](std::size_t at, std::uint32_t v) { put16(at, v), put16(at + 2, v >> 16); };
    f[0] = 'M', f[1] = 'Z';
    put32(0x3C, 0x40);
    f[0x40] = 'P', f[0x41] = 'E';
    put16(0x44, 0x14C);            // i386
    put16(0x46, 1);                // one section
    put16(0x54, 0xE0);             // optional header size
    put16(0x58, 0x10B);            // PE32
    put32(0x58 + 92, 16);          // data directories
    put32(0x58 + 96 + 16, 0x1000); // the resource directory's address
    put32(0x58 + 96 + 20, static_cast<std::uint32_t>(0x58 + block.size()));
    std::copy_n(".rsrc", 5, f.begin() + kSection);
    put32(kSection + 8, static_cast<std::uint32_t>(raw));
    put32(kSection + 12, 0x1000);
    put32(kSection + 16, static_cast<std::uint32_t>(raw));
    put32(kSection + 20, 0x200);
    // Three directories of one id entry each, then the data entry and the block.
    put16(0x200 + 14, 1), put32(0x200 + 16, 16), put32(0x200 + 20, 0x80000018);
    put16(kTypeDir + 14, 1), put32(kTypeDir + 16, 1), put32(kTypeDir + 20, 0x80000030);
    put16(kIdDir + 14, 1), put32(kIdDir + 16, 0x409), put32(kIdDir + 20, 0x48);
    put32(kDataEntry, 0x1058);
    put32(kDataEntry + 4, static_cast<std::uint32_t>(block.size()));
    std::copy(block.begin(), block.end(), f.begin() + kBlockOffset);
    return f;
}

} // namespace skelvane::test
