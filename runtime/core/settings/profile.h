// The initialisation-profile format of the settings file, worked on as the
// file's bytes (GBK, but nothing here depends on the encoding):
//
//   [section]
//   key=value
//
// Reading:
//  - Lines end in "\n", "\r\n" or a lone "\r" (as old Mac editors wrote, and
//    as Windows reads them too); the last line may have no terminator.
//  - Spaces and tabs around section names, keys, "=" and values are ignored. Everything else is byte for
//  byte: names
//    compare case-sensitively, and quotes or a trailing "; note" are part of
//    the value.
//  - A line whose first visible character is ';' is a comment. "[name]" opens
//    a section (text after the first ']' is ignored); a line starting with
//    '[' without a ']' and a line without '=' are junk. Comments and junk are
//    skipped, never dropped.
//  - Keys before the first section belong to no section and are never found.
//  - A repeated section or key: only the first occurrence counts, for reads
//    and writes alike. The later ones are kept as they are, unseen.
//
// Writing changes the bytes of one value and nothing else:
//  - An existing key keeps its spelling and the spacing around "=".
//  - A new key goes after the last key (or junk) line of its section, so that
//    the blank and comment lines that lead into the next section stay there.
//  - A new section goes at the end of the text.
//  - New lines are "key=value" and "[section]", ended like most of the text's
//    lines already are ("\r\n" on a tie and in an empty text, as Windows tools
//    write). An unterminated last line is terminated first.
#pragma once

#include "base/result.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace vorn::settings {

enum class LineKind { blank, comment, section, key, junk };

// One line, located by offsets into the text it was parsed from.
struct Line {
    LineKind kind = LineKind::blank;
    std::size_t begin = 0;       // first byte of the line
    std::size_t content_end = 0; // end of its text, before the terminator
    std::size_t end = 0;         // past the terminator: where the next line begins
    std::string_view name;       // section lines: the name; key lines: the key
    std::string_view value;      // key lines: the value; always a view into the text
};

// Parses the line that starts at `begin`, which lies inside `text`.
Line parse_line(std::string_view text, std::size_t begin);

// The value of `key` in `section`, if the text has it.
std::optional<std::string_view> find_value(std::string_view text, std::string_view section,
                                           std::string_view key);

// `text` with `key` in `section` set to `value`. An Error when the names or the
// value could not be read back as given: a line break anywhere, a ']' in the
// section name, a '=' in the key, a key starting with ';' or '[', or spaces or
// tabs around a name. Spaces and tabs around the value are dropped, as a
// read would drop them.
Result<std::string> with_value_set(std::string_view text, std::string_view section, std::string_view key,
                                   std::string_view value);

// "\r\n", "\n" or "\r", whichever ends more lines of the text; "\r\n" on a
// tie with it, "\n" on a tie of the other two.
std::string_view dominant_line_ending(std::string_view text);

} // namespace vorn::settings
