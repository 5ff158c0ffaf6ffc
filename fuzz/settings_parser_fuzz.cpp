// The settings file is outside bytes: anyone can edit it. Parses arbitrary
// bytes, looks values up, writes one in memory and checks that the written
// value reads back while every other value stays as it was.
#include "runtime/core/settings/profile.h"
#include "text/gbk.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

using namespace vorn::settings;

namespace {

void check(bool condition) {
    if (!condition)
        std::abort();
}

std::string_view trimmed(std::string_view text) {
    const auto is_space = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
    while (!text.empty() && is_space(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && is_space(text.back()))
        text.remove_suffix(1);
    return text;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);

    // Lines tile the text; the names found in it are the lookups to try,
    // besides two of the program's own (GBK bytes).
    std::vector<std::pair<std::string_view, std::string_view>> names = {
        {"\xBD\xD8\xCD\xBC\xCA\xB1\xD2\xFE\xB2\xD8",
         "\xCA\xC7\xB7\xF1\xD2\xFE\xB2\xD8\xB1\xBE\xB4\xB0\xBF\xDA"},
        {"s", "k"}};
    std::string_view section;
    for (std::size_t at = 0; at < text.size();) {
        const Line line = parse_line(text, at);
        check(line.begin == at && line.content_end <= line.end && line.end > at && line.end <= text.size());
        if (line.kind == LineKind::section)
            section = line.name;
        else if (line.kind == LineKind::key && names.size() < 8)
            names.emplace_back(section, line.name);
        at = line.end;
    }
    std::vector<std::optional<std::string_view>> before;
    for (const auto& [s, k] : names) {
        before.push_back(find_value(text, s, k));
        // The runtime hands values on as UTF-16. Any bytes convert, one unit
        // for each single byte or pair, so nothing is lost or invented.
        if (const auto value = before.back()) {
            const std::size_t units = vorn::text::gbk_to_utf16(*value).size();
            check(units >= (value->size() + 1) / 2 && units <= value->size());
        }
    }

    // The value comes from the input too, so that refused values are tried.
    const std::string_view value = text.substr(0, std::min<std::size_t>(text.size(), 6));
    for (const auto& [s, k] : names) {
        const auto written = with_value_set(text, s, k, value);
        if (!written.ok())
            continue;
        const std::string& updated = written.value();
        check(find_value(updated, s, k) == trimmed(value));
        for (std::size_t i = 0; i < names.size(); ++i)
            if (names[i].first != s || names[i].second != k)
                check(find_value(updated, names[i].first, names[i].second) == before[i]);
        // Writing the same value again changes nothing.
        const auto again = with_value_set(updated, s, k, value);
        check(again.ok() && again.value() == updated);
    }
    return 0;
}
