#include "runtime/sim/trace.h"

namespace vorn::sim {

std::vector<std::string> Trace::starting_with(std::string_view prefix) const {
    std::vector<std::string> found;
    for (const std::string& line : lines_)
        if (line.starts_with(prefix))
            found.push_back(line);
    return found;
}

bool Trace::in_order(std::initializer_list<std::string_view> prefixes) const {
    auto line = lines_.begin();
    for (std::string_view prefix : prefixes) {
        while (line != lines_.end() && !line->starts_with(prefix))
            ++line;
        if (line == lines_.end())
            return false;
        ++line;
    }
    return true;
}

std::string Trace::dump() const {
    std::string text;
    for (const std::string& line : lines_)
        text += line + "\n";
    return text;
}

} // namespace vorn::sim
