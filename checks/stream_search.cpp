#include "checks/stream_search.h"

namespace skelvane {

namespace {
char Fold(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}
} // namespace

StreamSearch::StreamSearch(std::string_view marker) : marker_(marker), fail_(marker.size(), 0) {
    for (char& c : marker_)
        c = Fold(c);
    for (std::size_t i = 1, k = 0; i < marker_.size(); ++i) {
        while (k > 0 && marker_[i] != marker_[k])
            k = fail_[k - 1];
        if (marker_[i] == marker_[k]) ++k;
        fail_[i] = k;
    }
}

bool StreamSearch::Feed(std::string_view chunk) {
    for (char raw : chunk) {
        if (found()) break;
        const char c = Fold(raw);
        while (matched_ > 0 && c != marker_[matched_])
            matched_ = fail_[matched_ - 1];
        if (c == marker_[matched_]) ++matched_;
    }
    return found();
}

} // namespace skelvane
