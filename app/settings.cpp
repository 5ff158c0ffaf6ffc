#include "app/settings.h"

namespace vorn::app {

std::string settings_file_path(const facade::Runtime& runtime) {
    return runtime.run_directory() + std::string(gbk(Text::settings_file));
}

std::string read_setting(const facade::Runtime& runtime, Text section, Text key) {
    return runtime.read_setting(settings_file_path(runtime), gbk(section), gbk(key));
}

std::string read_setting(const facade::Runtime& runtime, Text section, const std::string& key,
                         Text fallback) {
    return runtime.read_setting(settings_file_path(runtime), gbk(section), key, gbk(fallback));
}

bool write_setting(const facade::Runtime& runtime, Text section, const std::string& key,
                   const std::string& value) {
    return runtime.write_setting(settings_file_path(runtime), gbk(section), key, value);
}

bool setting_is(const facade::Runtime& runtime, Text section, Text key, Text word) {
    return read_setting(runtime, section, key) == gbk(word);
}

} // namespace vorn::app
