#include "app/numbers.h"

#include <algorithm>
#include <limits>

namespace vorn::app {

std::int32_t to_integer(std::string_view text) {
    std::size_t at = 0;
    while (at < text.size() && (text[at] == ' ' || text[at] == '\t'))
        ++at;
    bool negative = false;
    if (at < text.size() && (text[at] == '-' || text[at] == '+'))
        negative = text[at++] == '-';
    constexpr std::int64_t kLimit = std::int64_t(std::numeric_limits<std::int32_t>::max()) + 1;
    std::int64_t value = 0;
    for (; at < text.size() && text[at] >= '0' && text[at] <= '9'; ++at)
        value = std::min(value * 10 + (text[at] - '0'), kLimit);
    value = negative ? -value : std::min<std::int64_t>(value, kLimit - 1);
    return std::int32_t(value);
}

} // namespace vorn::app
