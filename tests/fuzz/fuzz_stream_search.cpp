// The streaming search against the plainest search there is, for any marker, body and
// way of cutting the body into pieces.
#include "checks/stream_search.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace {
char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    const std::size_t markerLength = std::min<std::size_t>(data[0] % 32, size - 2);
    const std::size_t piece = data[1] % 17 + 1;
    const std::string marker(reinterpret_cast<const char*>(data) + 2, markerLength);
    const std::string body(reinterpret_cast<const char*>(data) + 2 + markerLength,
                           size - 2 - markerLength);

    std::string foldedMarker = marker, foldedBody = body;
    std::transform(marker.begin(), marker.end(), foldedMarker.begin(), Lower);
    std::transform(body.begin(), body.end(), foldedBody.begin(), Lower);
    const bool expected = foldedBody.find(foldedMarker) != std::string::npos;

    skelvane::StreamSearch search(marker);
    for (std::size_t at = 0; at < body.size(); at += piece)
        search.Feed(std::string_view(body).substr(at, piece));
    if (search.found() != expected) std::abort();
    return 0;
}
