#pragma once
// Finds a marker in a body that arrives in pieces, ignoring ASCII letter case,
// holding no more than the marker's own length whatever the body's size.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace skelvane {

class StreamSearch {
  public:
    explicit StreamSearch(std::string_view marker);

    // Feeds the next piece; true once the marker has been seen (in this or an earlier piece).
    bool Feed(std::string_view chunk);
    bool found() const { return matched_ == marker_.size(); }

  private:
    std::string marker_;            // folded to lower case
    std::vector<std::size_t> fail_; // KMP failure table
    std::size_t matched_ = 0;
};

} // namespace skelvane
