// Any bytes as a file and as a version block: the checks must never read outside them.
#include "checks/version_info.h"
#include "checks/version_resource.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace skelvane;
    const std::span<const std::uint8_t> bytes(data, size);
    const VersionResourceFacts facts = InspectVersionResource(bytes);
    if (facts.state == VersionResourceState::Sound && facts.largestSize > size) std::abort();
    if (facts.state == VersionResourceState::Sound &&
        VersionBufferSize(0, facts) < facts.largestSize * std::uint64_t{2})
        std::abort();
    VersionBlockIsSound(bytes);
    TranslationTableName(data, size);
    BoundedText(reinterpret_cast<const char*>(data), reinterpret_cast<const char*>(data) + size);
    return 0;
}
