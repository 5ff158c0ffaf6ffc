// Readable forms of the program's values for traces and records: its texts
// are GBK, a test reads UTF-8.
#pragma once

#include "runtime/core/engine/model.h"

#include <string>
#include <string_view>

namespace vorn::sim {

std::string utf8(std::string_view gbk);
std::string gbk(std::string_view utf8_text);
// A GBK text as UTF-8 between double quotes.
std::string in_quotes(std::string_view gbk_text);
// A property value as a trace shows it: integers in decimal, colours in hex
// ("default" for the class's own colour), texts quoted, blocks by size.
std::string show_value(forms::PropertyId property, const runtime::Value& value);

} // namespace vorn::sim
