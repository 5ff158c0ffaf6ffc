#include "runtime/core/settings/profile.h"

#include "text/gbk.h"

namespace vorn::settings {

namespace {

// Carriage returns never reach here: every one ends a line.
bool is_space(char c) {
    return c == ' ' || c == '\t';
}

std::size_t skip_space(std::string_view text, std::size_t at, std::size_t end) {
    while (at < end && is_space(text[at]))
        ++at;
    return at;
}

std::size_t skip_space_back(std::string_view text, std::size_t begin, std::size_t at) {
    while (at > begin && is_space(text[at - 1]))
        --at;
    return at;
}

std::string_view trimmed(std::string_view text, std::size_t begin, std::size_t end) {
    begin = skip_space(text, begin, end);
    end = skip_space_back(text, begin, end);
    return text.substr(begin, end - begin);
}

// What one pass over the text learns about `section` and `key`.
struct Location {
    bool section_found = false;
    std::optional<Line> key_line;
    std::size_t insert_at = 0; // where a new key line of the section would go
};

Location locate(std::string_view text, std::string_view section, std::string_view key) {
    Location found;
    bool inside = false;
    for (std::size_t at = 0; at < text.size();) {
        const Line line = parse_line(text, at);
        at = line.end;
        if (line.kind == LineKind::section) {
            if (inside)
                break; // the first occurrence of the section has ended
            if (line.name == section) {
                inside = true;
                found.section_found = true;
                found.insert_at = line.end;
            }
            continue;
        }
        if (!inside)
            continue;
        if (line.kind == LineKind::key && line.name == key) {
            found.key_line = line;
            break;
        }
        if (line.kind == LineKind::key || line.kind == LineKind::junk)
            found.insert_at = line.end;
    }
    return found;
}

bool has_space_around(std::string_view name) {
    return !name.empty() && (is_space(name.front()) || is_space(name.back()));
}

bool has_line_break(std::string_view text) {
    return text.find_first_of("\r\n") != std::string_view::npos;
}

Status check_storable(std::string_view section, std::string_view key, std::string_view value) {
    auto refuse = [](std::string_view what, std::string_view name, std::string_view why) -> Status {
        return Error{std::string(what) + " \"" + text::gbk_to_utf8(name) +
                     "\" cannot be stored: " + std::string(why)};
    };
    if (has_line_break(section) || section.find(']') != std::string_view::npos)
        return refuse("section name", section, "it holds a line break or ']'");
    if (has_space_around(section))
        return refuse("section name", section, "it begins or ends with a space");
    if (has_line_break(key) || key.find('=') != std::string_view::npos)
        return refuse("key", key, "it holds a line break or '='");
    if (!key.empty() && (key.front() == ';' || key.front() == '['))
        return refuse("key", key, "it would read as a comment or a section");
    if (has_space_around(key))
        return refuse("key", key, "it begins or ends with a space");
    if (has_line_break(value))
        return refuse("value", value, "it holds a line break");
    return ok_status();
}

// `text` with its last line terminated, if it has one that is not.
void terminate_last_line(std::string& text, std::string_view line_ending) {
    if (text.empty() || text.back() == '\n')
        return;
    if (text.back() == '\r') {
        // In a text of "\r\n" lines a lone '\r' at the end only lacks its '\n'.
        if (line_ending == "\r\n")
            text += '\n';
        return;
    }
    text += line_ending;
}

} // namespace

Line parse_line(std::string_view text, std::size_t begin) {
    Line line;
    line.begin = begin;
    const std::size_t newline = text.find_first_of("\r\n", begin);
    if (newline == std::string_view::npos) {
        line.content_end = line.end = text.size();
    } else {
        line.content_end = newline;
        const bool crlf = text[newline] == '\r' && newline + 1 < text.size() && text[newline + 1] == '\n';
        line.end = newline + (crlf ? 2 : 1);
    }
    line.value = text.substr(line.content_end, 0);

    const std::size_t first = skip_space(text, begin, line.content_end);
    if (first == line.content_end) {
        line.kind = LineKind::blank;
    } else if (text[first] == ';') {
        line.kind = LineKind::comment;
    } else if (text[first] == '[') {
        const std::size_t close = text.substr(0, line.content_end).find(']', first);
        if (close == std::string_view::npos) {
            line.kind = LineKind::junk;
        } else {
            line.kind = LineKind::section;
            line.name = trimmed(text, first + 1, close);
        }
    } else {
        const std::size_t equals = text.substr(0, line.content_end).find('=', first);
        if (equals == std::string_view::npos) {
            line.kind = LineKind::junk;
        } else {
            line.kind = LineKind::key;
            line.name = trimmed(text, first, equals);
            const std::size_t value_begin = skip_space(text, equals + 1, line.content_end);
            const std::size_t value_end = skip_space_back(text, value_begin, line.content_end);
            line.value = text.substr(value_begin, value_end - value_begin);
        }
    }
    return line;
}

std::optional<std::string_view> find_value(std::string_view text, std::string_view section,
                                           std::string_view key) {
    const Location found = locate(text, section, key);
    if (!found.key_line)
        return std::nullopt;
    return found.key_line->value;
}

Result<std::string> with_value_set(std::string_view text, std::string_view section, std::string_view key,
                                   std::string_view value) {
    VORN_TRY_STATUS(check_storable(section, key, value));
    // Spacing around a value could not be read back; storing it would only
    // let it pile up, one more space with every rewrite.
    value = trimmed(value, 0, value.size());
    const Location found = locate(text, section, key);

    if (found.key_line) {
        const std::size_t value_begin = static_cast<std::size_t>(found.key_line->value.data() - text.data());
        std::string out(text.substr(0, value_begin));
        out += value;
        out += text.substr(value_begin + found.key_line->value.size());
        return out;
    }

    const std::size_t insert_at = found.section_found ? found.insert_at : text.size();
    std::string_view line_ending = dominant_line_ending(text);
    // Before a blank "\n" line, a new line ended by a lone '\r' would take
    // that '\n' as the rest of its own ending, and the blank line would go.
    if (line_ending == "\r" && insert_at < text.size() && text[insert_at] == '\n')
        line_ending = "\r\n";
    std::string out(text.substr(0, insert_at));
    terminate_last_line(out, line_ending);
    if (!found.section_found) {
        out += '[';
        out += section;
        out += ']';
        out += line_ending;
    }
    out += key;
    out += '=';
    out += value;
    out += line_ending;
    out += text.substr(insert_at);
    return out;
}

std::string_view dominant_line_ending(std::string_view text) {
    std::size_t crlf = 0, lf = 0, cr = 0;
    for (std::size_t at = text.find_first_of("\r\n"); at != std::string_view::npos;
         at = text.find_first_of("\r\n", at + 1)) {
        if (text[at] == '\n')
            ++lf;
        else if (at + 1 < text.size() && text[at + 1] == '\n')
            ++crlf, ++at;
        else
            ++cr;
    }
    if (lf > crlf && lf >= cr)
        return "\n";
    if (cr > crlf && cr > lf)
        return "\r";
    return "\r\n";
}

} // namespace vorn::settings
