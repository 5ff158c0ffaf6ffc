#include "app/settings.h"

namespace vorn::app {

std::string settings_file_path(const facade::Runtime& runtime) {
    return runtime.run_directory() + std::string(gbk(Text::settings_file));
}

std::string read_setting(const facade::Runtime& runtime, Text section, Text key) {
    return runtime.read_setting(settings_file_path(runtime), gbk(section), gbk(key));
}

bool setting_is(const facade::Runtime& runtime, Text section, Text key, Text word) {
    return read_setting(runtime, section, key) == gbk(word);
}

} // namespace vorn::app
