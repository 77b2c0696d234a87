#include "checks/version_resource.h"

#include <algorithm>
#include <optional>
#include <vector>

namespace skelvane {

namespace {

using Bytes = std::span<const std::uint8_t>;

std::optional<std::uint32_t> Read16(Bytes b, std::size_t at) {
    if (at > b.size() || b.size() - at < 2) return std::nullopt;
    return static_cast<std::uint32_t>(b[at] | (b[at + 1] << 8));
}

std::optional<std::uint32_t> Read32(Bytes b, std::size_t at) {
    const auto low = Read16(b, at), high = Read16(b, at + 2);
    if (!low || !high) return std::nullopt;
    return *low | (*high << 16);
}

std::size_t Align4(std::size_t n) {
    return (n + 3) & ~std::size_t{3};
}

// --- The version block ---------------------------------------------------------

// A node of the block: a 16-bit length, a value length, (in the 32-bit form) a type,
// a NUL-terminated key, then the value and the children, each on a 4-byte boundary.
// The system stops at a child of length 0, and so does this walk.
bool NodeIsSound(Bytes block, std::size_t at, std::size_t parentEnd, bool wide, int depth) {
    if (depth > 8) return false; // a real block is four levels deep
    const std::size_t header = wide ? 6 : 4;
    const auto length = Read16(block, at);
    const auto valueLength = Read16(block, at + 2);
    const auto type = wide ? Read16(block, at + 4) : std::optional<std::uint32_t>(0);
    if (!length || !valueLength || !type || *length < header + (wide ? 2 : 1)) return false;
    const std::size_t end = at + *length;
    if (end > parentEnd) return false;

    std::size_t key = at + header;
    const std::size_t unit = wide ? 2 : 1;
    for (;; key += unit) {
        if (key + unit > end) return false; // the key runs out of its node
        if (block[key] == 0 && (!wide || block[key + 1] == 0)) break;
    }
    const std::size_t value = Align4(key + unit);
    // A value that claims more than its node holds leaves no room for children; the
    // system then finds none, and the reader bounds every value it copies.
    const std::size_t valueBytes = *valueLength * (wide && *type == 1 ? 2u : 1u);
    for (std::size_t child = Align4(value + valueBytes); child < end;) {
        const auto childLength = Read16(block, child);
        if (!childLength) return false;
        if (*childLength == 0) break;
        if (!NodeIsSound(block, child, end, wide, depth + 1)) return false;
        child = Align4(child + *childLength);
    }
    return true;
}

// --- The PE file ------------------------------------------------------------------

struct Section {
    std::uint32_t virtualAddress, rawSize, rawOffset;
};

class PeFile {
  public:
    explicit PeFile(Bytes file) : file_(file) {}

    // False when the file is no PE file at all; damaged_ says whether it is one
    // whose headers are broken. `pe` is where its new-format header starts.
    bool Open(std::size_t pe) {
        if (file_.size() - pe < 24 || file_[pe + 2] || file_[pe + 3]) return false;
        const std::size_t header = pe + 4;
        const auto sections = Read16(file_, header + 2);
        const auto optionalSize = Read16(file_, header + 16);
        const std::size_t optional = header + 20;
        const auto magic = Read16(file_, optional);
        if (!sections || !optionalSize || !magic) return Broken();
        std::size_t directories;
        if (*magic == 0x10B)
            directories = 96;
        else if (*magic == 0x20B)
            directories = 112;
        else
            return Broken();
        const auto count = Read32(file_, optional + directories - 4);
        if (!count || *optionalSize < directories + 3 * 8) return Broken();
        if (*count < 3) return true; // no resource directory: nothing to find
        const auto resourceRva = Read32(file_, optional + directories + 2 * 8);
        if (!resourceRva) return Broken();

        const std::size_t table = optional + *optionalSize;
        for (std::uint32_t i = 0; i < *sections; ++i) {
            const std::size_t at = table + i * std::size_t{40};
            const auto va = Read32(file_, at + 12), raw = Read32(file_, at + 16),
                       offset = Read32(file_, at + 20);
            if (!va || !raw || !offset) return Broken();
            sections_.push_back({*va, *raw, *offset});
        }
        if (*resourceRva == 0) return true;
        const auto start = FileOffset(*resourceRva, 0);
        if (!start) return Broken();
        resources_ = file_.subspan(*start, SpanLeft(*resourceRva));
        return true;
    }

    bool Broken() {
        damaged_ = true;
        return true;
    }
    bool damaged() const { return damaged_; }
    Bytes resources() const { return resources_; }

    // The file offset of `length` bytes at an address of the loaded image, when the
    // section that holds them has all of them in the file. The system maps addresses
    // through the sections' sizes in the file, as here.
    std::optional<std::size_t> FileOffset(std::uint32_t rva, std::uint32_t length) const {
        const Section* s = SectionOf(rva);
        if (!s) return std::nullopt;
        const std::uint64_t into = rva - s->virtualAddress;
        const std::uint64_t offset = std::uint64_t{s->rawOffset} + into;
        if (into + length > s->rawSize || offset + length > file_.size()) return std::nullopt;
        return static_cast<std::size_t>(offset);
    }

  private:
    const Section* SectionOf(std::uint32_t rva) const {
        for (const Section& s : sections_)
            if (rva >= s.virtualAddress && rva - s.virtualAddress < s.rawSize) return &s;
        return nullptr;
    }

    // How many bytes of the section holding rva lie in the file from there on.
    std::size_t SpanLeft(std::uint32_t rva) const {
        const Section* s = SectionOf(rva);
        if (!s) return 0;
        const std::uint64_t offset = std::uint64_t{s->rawOffset} + (rva - s->virtualAddress);
        const std::uint64_t inSection = s->rawSize - (rva - s->virtualAddress);
        return static_cast<std::size_t>(std::min<std::uint64_t>(inSection, file_.size() - offset));
    }

    Bytes file_;
    std::vector<Section> sections_;
    Bytes resources_;
    bool damaged_ = false;
};

// Counts in one version block of a file: false when it is not sound.
bool AddBlock(VersionResourceFacts& facts, Bytes block) {
    // The system copies the whole resource and converts within twice its size: the
    // block's own length must not claim more than the resource holds.
    if (!VersionBlockIsSound(block)) return false;
    facts.state = VersionResourceState::Sound;
    facts.largestSize = std::max(facts.largestSize, static_cast<std::uint32_t>(block.size()));
    return true;
}

// Where a program file's new-format (PE or NE) header starts, after its MZ stub.
std::optional<std::size_t> NewHeader(Bytes file) {
    if (file.size() < 0x40 || file[0] != 'M' || file[1] != 'Z') return std::nullopt;
    const auto at = Read32(file, 0x3C);
    if (!at || *at > file.size() || file.size() - *at < 4) return std::nullopt;
    return *at;
}

// The entries of one resource directory: (name or id, offset), checked to lie inside.
// Named entries come first, then the ids, which the system searches by halving: they
// must rise strictly, or the system could find another entry than this walk does.
struct Entry {
    std::uint32_t name, offset;
};
struct Directory {
    std::vector<Entry> entries;
    std::size_t firstId; // where the id entries start
};
std::optional<Directory> ReadDirectory(Bytes resources, std::size_t at) {
    const auto named = Read16(resources, at + 12), ids = Read16(resources, at + 14);
    if (!named || !ids) return std::nullopt;
    const std::size_t count = *named + *ids;
    if ((resources.size() - at - 16) / 8 < count) return std::nullopt;
    Directory directory{{}, *named};
    for (std::size_t i = 0; i < count; ++i) {
        const Entry entry{*Read32(resources, at + 16 + 8 * i), *Read32(resources, at + 20 + 8 * i)};
        if (i > *named && entry.name <= directory.entries.back().name) return std::nullopt;
        directory.entries.push_back(entry);
    }
    return directory;
}

constexpr std::uint32_t kSubdirectory = 0x80000000u;
constexpr std::uint32_t kVersionType = 16; // RT_VERSION
constexpr std::uint32_t kVersionId = 1;    // VS_VERSION_INFO, the one the system asks for

// The subdirectory of the id-named entry `id` in the directory at `at`: nullopt when
// the directory is damaged, 0 when it has no such entry.
std::optional<std::size_t> Subdirectory(Bytes resources, std::size_t at, std::uint32_t id) {
    const auto directory = ReadDirectory(resources, at);
    if (!directory) return std::nullopt;
    for (std::size_t i = directory->firstId; i < directory->entries.size(); ++i) {
        const Entry& e = directory->entries[i];
        if (e.name != id) continue;
        if (!(e.offset & kSubdirectory)) return std::nullopt;
        const std::size_t sub = e.offset & ~kSubdirectory;
        if (sub > resources.size() || resources.size() - sub < 16) return std::nullopt;
        return sub;
    }
    return std::size_t{0};
}

// A 16-bit (NE) file keeps its resources in one table of typed groups; the system
// reads its version block from the file by the offset and length given there.
VersionResourceFacts InspectNe(Bytes file, std::size_t header) {
    constexpr VersionResourceFacts kDamaged{VersionResourceState::Damaged, 0};
    const auto tableOffset = Read16(file, header + 0x24), tableEnd = Read16(file, header + 0x26);
    if (!tableOffset || !tableEnd || *tableEnd < *tableOffset) return kDamaged;
    const std::size_t start = std::min(file.size(), header + *tableOffset);
    const Bytes table =
        file.subspan(start, std::min<std::size_t>(*tableEnd - *tableOffset, file.size() - start));
    const auto shift = Read16(table, 0);
    if (!shift) return {};
    if (*shift > 24) return kDamaged;
    VersionResourceFacts facts;
    for (std::size_t at = 2;;) {
        const auto type = Read16(table, at), count = Read16(table, at + 2);
        if (!type) return kDamaged; // the table must end with a type of 0
        if (*type == 0) return facts;
        if (!count || table.size() < at + 8 || (table.size() - at - 8) / 12 < *count)
            return kDamaged;
        for (std::size_t i = 0; i < *count; ++i) {
            const std::size_t entry = at + 8 + 12 * i;
            if (*type != (0x8000 | kVersionType) ||
                *Read16(table, entry + 6) != (0x8000 | kVersionId))
                continue;
            const std::uint64_t offset = std::uint64_t{*Read16(table, entry)} << *shift;
            const std::uint64_t length = std::uint64_t{*Read16(table, entry + 2)} << *shift;
            if (offset > file.size() || length > file.size() - offset) return kDamaged;
            if (!AddBlock(facts, file.subspan(offset, length))) return kDamaged;
        }
        at += 8 + 12 * std::size_t{*count};
    }
}

} // namespace

bool VersionBlockIsSound(Bytes block) {
    if (block.size() < 6) return false;
    const bool wide = block[4] < ' '; // the 16-bit form has its key's first letter there
    const auto length = Read16(block, 0);
    return length && *length <= block.size() && NodeIsSound(block, 0, *length, wide, 0);
}

VersionResourceFacts InspectVersionResource(Bytes file) {
    constexpr VersionResourceFacts kAbsent{}, kDamaged{VersionResourceState::Damaged, 0};
    const auto header = NewHeader(file);
    if (!header) return kAbsent;
    if (file[*header] == 'N' && file[*header + 1] == 'E') return InspectNe(file, *header);
    PeFile pe(file);
    if (file[*header] != 'P' || file[*header + 1] != 'E' || !pe.Open(*header)) return kAbsent;
    if (pe.damaged()) return kDamaged;
    const Bytes resources = pe.resources();
    if (resources.empty()) return kAbsent;

    const auto type = Subdirectory(resources, 0, kVersionType);
    if (!type) return kDamaged;
    if (*type == 0) return kAbsent;
    const auto id = Subdirectory(resources, *type, kVersionId);
    if (!id) return kDamaged;
    if (*id == 0) return kAbsent;
    const auto languages = ReadDirectory(resources, *id);
    if (!languages) return kDamaged;

    VersionResourceFacts facts{VersionResourceState::Absent, 0};
    for (const Entry& language : languages->entries) {
        const std::size_t at = language.offset;
        if (language.offset & kSubdirectory || at > resources.size() || resources.size() - at < 16)
            return kDamaged;
        const std::uint32_t rva = *Read32(resources, at), size = *Read32(resources, at + 4);
        const auto offset = pe.FileOffset(rva, size);
        if (!offset) return kDamaged;
        if (!AddBlock(facts, file.subspan(*offset, size))) return kDamaged;
    }
    return facts;
}

bool ReportedSizeIsSane(std::uint32_t reported, const VersionResourceFacts& facts) {
    if (facts.state != VersionResourceState::Sound || reported == 0) return false;
    return reported <= std::uint64_t{facts.largestSize} * 4 + 4096;
}

std::uint32_t VersionBufferSize(std::uint32_t reported, const VersionResourceFacts& facts) {
    const std::uint64_t room = std::uint64_t{facts.largestSize} * 2 + 8;
    return static_cast<std::uint32_t>(Align4(std::max<std::uint64_t>(reported, room)));
}

} // namespace skelvane
