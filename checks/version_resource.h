#pragma once
// Checks a file's version resource before the system's version functions see it.
// Those functions trust every size inside the file: a damaged one makes them read
// past the file or write past the caller's buffer. Nothing here trusts a size
// before it has been checked against the bytes that hold it.
#include <cstddef>
#include <cstdint>
#include <span>

namespace skelvane {

enum class VersionResourceState {
    Absent,  // not a PE file, or no version resource (id 1) in it
    Damaged, // a version resource whose sizes do not fit the file or the block
    Sound,   // every resource of id 1 lies inside the file with sound lengths
};

struct VersionResourceFacts {
    VersionResourceState state = VersionResourceState::Absent;
    std::uint32_t largestSize = 0; // the largest size any version resource claims
};

// Looks at every language's version resource of a PE file (the one the system
// picks is among them) and at the version block each holds.
VersionResourceFacts InspectVersionResource(std::span<const std::uint8_t> file);

// True when the version block at the start of `block` (32-bit or 16-bit form) fits
// in it, and every node inside lies within its parent with its key terminated.
bool VersionBlockIsSound(std::span<const std::uint8_t> block);

// The size the system reports for the block, given what the file holds: at least
// one byte, and no more than the system's own conversion room for that resource.
bool ReportedSizeIsSane(std::uint32_t reported, const VersionResourceFacts& facts);

// How large a buffer to give the system for the block: the reported size, and at
// least twice the resource and a little more, the room its text conversion takes.
std::uint32_t VersionBufferSize(std::uint32_t reported, const VersionResourceFacts& facts);

} // namespace skelvane
