#include "checks/version_resource.h"
#include "version_resource_builder.h"

#include <gtest/gtest.h>

namespace skelvane {
namespace {

using test::Block;
using test::PeWithVersion;

void Put16(std::vector<std::uint8_t>& b, std::size_t at, std::uint16_t v) {
    b[at] = static_cast<std::uint8_t>(v);
    b[at + 1] = static_cast<std::uint8_t>(v >> 8);
}
void Put32(std::vector<std::uint8_t>& b, std::size_t at, std::uint32_t v) {
    Put16(b, at, static_cast<std::uint16_t>(v));
    Put16(b, at + 2, static_cast<std::uint16_t>(v >> 16));
}

TEST(VersionResource, ASoundFileIsSound) {
    for (bool wide : {true, false}) {
        const auto file = PeWithVersion(Block(wide));
        const auto facts = InspectVersionResource(file);
        EXPECT_EQ(facts.state, VersionResourceState::Sound) << wide;
        EXPECT_EQ(facts.largestSize, Block(wide).size());
        EXPECT_TRUE(ReportedSizeIsSane(facts.largestSize * 2 + 4, facts));
        EXPECT_GE(VersionBufferSize(1, facts), facts.largestSize * 2 + 8);
    }
}

TEST(VersionResource, DamageIsSeenWhereverItIs) {
    const std::vector<std::uint8_t> sound = PeWithVersion(Block(true));
    // With the root's id count raised to two, its second entry is read from here.
    constexpr std::size_t kSecondTypeEntry = test::kTypeDir;
    const std::size_t block = test::kBlockOffset;
    struct Case {
        const char* what;
        std::size_t at;
        int width;
        std::uint32_t value;
        VersionResourceState expected;
    };
    using enum VersionResourceState;
    const Case cases[] = {
        {"root length past the resource", block, 2, 0xFFFF, Damaged},
        {"root length below its header", block, 2, 4, Damaged},
        {"a child past its parent", block + 0x5C, 2, 0x400, Damaged},
        {"resource size past the file", test::kDataEntry + 4, 4, 0x8000000, Damaged},
        {"resource size 0x10000", test::kDataEntry + 4, 4, 0x10000, Damaged},
        {"resource size near 4 GiB", test::kDataEntry + 4, 4, 0xFFFFFFF0, Damaged},
        {"resource address outside every section", test::kDataEntry, 4, 0x90000, Damaged},
        {"language entry count past the section", test::kIdDir + 14, 2, 0xFFFF, Damaged},
        {"type entry count past the section", 0x200 + 14, 2, 0x7FFF, Damaged},
        {"type directory offset past the section", 0x200 + 20, 4, 0x8000FFF0, Damaged},
        {"section too short for the resource", test::kSection + 16, 4, 0x60, Damaged},
        {"section longer than the file, resource inside", test::kSection + 16, 4, 0x100000, Sound},
        {"section raw offset past the file", test::kSection + 20, 4, 0x7FFFFFFF, Damaged},
        {"section count past the headers", 0x46, 2, 0xFFFF, Damaged},
        {"optional header size past the file", 0x54, 2, 0xFFFF, Damaged},
        {"optional header of no known kind", 0x58, 2, 0x1234, Damaged},
        {"no PE signature", 0x40, 1, 'X', Absent},
        {"PE header offset past the file", 0x3C, 4, 0xFFFFFF00, Absent},
        {"no version type", 0x200 + 16, 4, 17, Absent},
        {"a version resource with another id", test::kTypeDir + 16, 4, 2, Absent},
        // The system halves its way through sorted ids: a second id below the version
        // type's, or the same again, would let it find another entry than this walk.
        {"a second type id below the first", kSecondTypeEntry, 4, 3, Damaged},
        {"the same type id twice", kSecondTypeEntry, 4, 16, Damaged},
        {"a second type id above the first", kSecondTypeEntry, 4, 24, Sound},
    };
    for (const Case& c : cases) {
        std::vector<std::uint8_t> file = sound;
        if (c.at == kSecondTypeEntry) Put16(file, 0x200 + 14, 2); // the root then has two
        if (c.width == 1)
            file[c.at] = static_cast<std::uint8_t>(c.value);
        else if (c.width == 2)
            Put16(file, c.at, static_cast<std::uint16_t>(c.value));
        else
            Put32(file, c.at, c.value);
        EXPECT_EQ(InspectVersionResource(file).state, c.expected) << c.what;
    }
}

// Cut anywhere before the block's last byte; what lies behind it may go.
TEST(VersionResource, TruncationNeverPassesAsSound) {
    const std::vector<std::uint8_t> sound = PeWithVersion(Block(true));
    const std::size_t blockEnd = test::kBlockOffset + Block(true).size();
    EXPECT_EQ(InspectVersionResource(std::span(sound).first(blockEnd)).state,
              VersionResourceState::Sound);
    for (std::size_t size = 0; size < blockEnd; ++size) {
        const auto state = InspectVersionResource(std::span(sound).first(size)).state;
        EXPECT_NE(state, VersionResourceState::Sound) << size;
    }
}

TEST(VersionResource, BlockWalk) {
    const std::vector<std::uint8_t> wide = Block(true);
    EXPECT_TRUE(VersionBlockIsSound(wide));
    EXPECT_FALSE(VersionBlockIsSound(std::span(wide).first(wide.size() - 1)));
    EXPECT_FALSE(VersionBlockIsSound({}));
    // A zero-length child ends the children, as it does for the system.
    std::vector<std::uint8_t> padded = wide;
    padded.resize(wide.size() + 8, 0);
    Put16(padded, 0, static_cast<std::uint16_t>(padded.size()));
    EXPECT_TRUE(VersionBlockIsSound(padded));
    // A key with no terminator inside its node.
    std::vector<std::uint8_t> open = wide;
    for (std::size_t i = 6; i < 6 + 32; i += 2)
        open[i] = 'A';
    Put16(open, 0, 36);
    EXPECT_FALSE(VersionBlockIsSound(open));
}

TEST(VersionResource, ReportedSizes) {
    const VersionResourceFacts facts{VersionResourceState::Sound, 1000};
    EXPECT_FALSE(ReportedSizeIsSane(0, facts));
    EXPECT_TRUE(ReportedSizeIsSane(2004, facts));
    EXPECT_TRUE(ReportedSizeIsSane(3000, facts));
    EXPECT_FALSE(ReportedSizeIsSane(0x10000, facts));
    EXPECT_FALSE(ReportedSizeIsSane(0xFFFFFFFF, facts));
    EXPECT_FALSE(ReportedSizeIsSane(2004, {VersionResourceState::Damaged, 1000}));
    EXPECT_EQ(VersionBufferSize(5000, facts), 5000u);
    EXPECT_EQ(VersionBufferSize(100, facts), 2008u);
}

} // namespace
} // namespace skelvane
