// The settings file beside the executable. Its path is built afresh for every
// access and nothing is cached, so an edit made while the program runs counts
// from the next read.
#pragma once

#include "app/texts.h"
#include "runtime/facade/runtime.h"

#include <string>

namespace vorn::app {

// The run directory followed by "\设置.ini" (GBK).
std::string settings_file_path(const facade::Runtime& runtime);

// The value as stored, or empty text when the file, section or key is absent.
std::string read_setting(const facade::Runtime& runtime, Text section, Text key);

// Under a key given as GBK text (a tool's name followed by a key, say):
// the stored value, or `fallback` when the file, section or key is absent.
std::string read_setting(const facade::Runtime& runtime, Text section, const std::string& key, Text fallback);
// False when the file could not be written.
bool write_setting(const facade::Runtime& runtime, Text section, const std::string& key,
                   const std::string& value);

// Whether the stored value is exactly `word`: byte for byte, no trimming.
bool setting_is(const facade::Runtime& runtime, Text section, Text key, Text word);

} // namespace vorn::app
