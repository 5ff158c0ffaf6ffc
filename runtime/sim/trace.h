// One ordered log of what the program asked of the desktop and what the test
// did as the user, one readable line per step ("wait 100", "snapshot screen",
// "dll SetClipboardData(2, bmp#3) -> ..."), so that a test can check the order
// of the steps of a flow and not only their end state.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace vorn::sim {

class Trace {
  public:
    void add(std::string line) { lines_.push_back(std::move(line)); }
    const std::vector<std::string>& lines() const { return lines_; }
    void clear() { lines_.clear(); }

    // The lines that start with `prefix`, in order.
    std::vector<std::string> starting_with(std::string_view prefix) const;
    // True when each prefix starts a line that comes after the line matched
    // by the prefix before it (other lines may lie in between).
    bool in_order(std::initializer_list<std::string_view> prefixes) const;
    // Every line, for a failing test's message.
    std::string dump() const;

  private:
    std::vector<std::string> lines_;
};

} // namespace vorn::sim
