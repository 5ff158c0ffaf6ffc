#include "runtime/win32/portable/shell_text.h"

#include <vector>

namespace vorn::win32 {

namespace {

char16_t ascii_lower(char16_t c) {
    return c >= u'A' && c <= u'Z' ? char16_t(c - u'A' + u'a') : c;
}

unsigned char ascii_lower_byte(unsigned char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<unsigned char>(c - 'A' + 'a') : c;
}

// GBK lead bytes; the byte after one belongs to the same character, and a
// trail byte in the ASCII letter range must not be folded.
bool is_gbk_lead(unsigned char c) {
    return c >= 0x81 && c <= 0xFE;
}

bool same_name_ignoring_ascii_case(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
        if (is_gbk_lead(x) && i + 1 < a.size()) {
            if (x != y || a[i + 1] != b[i + 1])
                return false;
            ++i;
            continue;
        }
        if (ascii_lower_byte(x) != ascii_lower_byte(y))
            return false;
    }
    return true;
}

} // namespace

std::u16string dialog_filter(std::u16string_view filter) {
    if (filter.empty())
        return {};
    std::vector<std::u16string_view> parts;
    for (std::size_t start = 0;;) {
        const std::size_t bar = filter.find(u'|', start);
        parts.push_back(filter.substr(start, bar == std::u16string_view::npos ? bar : bar - start));
        if (bar == std::u16string_view::npos)
            break;
        start = bar + 1;
    }
    if (parts.size() % 2 != 0)
        parts.push_back(parts.back());
    std::u16string out;
    for (std::u16string_view part : parts) {
        out += part;
        out += u'\0';
    }
    out += u'\0';
    return out;
}

std::u16string with_link_extension(std::u16string_view path) {
    static constexpr std::u16string_view kExtension = u".lnk";
    std::u16string out(path);
    bool has = path.size() >= kExtension.size();
    for (std::size_t i = 0; has && i < kExtension.size(); ++i)
        has = ascii_lower(path[path.size() - kExtension.size() + i]) == kExtension[i];
    if (!has)
        out += kExtension;
    return out;
}

ModulePath split_module_path(std::u16string_view path) {
    const std::size_t slash = path.find_last_of(u"\\/");
    if (slash == std::u16string_view::npos)
        return {u"", std::u16string(path)};
    return {std::u16string(path.substr(0, slash)), std::u16string(path.substr(slash + 1))};
}

std::string exe_upper_cased(std::string name) {
    for (std::size_t at = name.find("exe"); at != std::string::npos; at = name.find("exe", at + 3))
        name.replace(at, 3, "EXE");
    return name;
}

std::string listed_process_name(std::string_view reported, std::string_view own_file_name) {
    std::string name(same_name_ignoring_ascii_case(reported, own_file_name) ? own_file_name : reported);
    return exe_upper_cased(std::move(name));
}

} // namespace vorn::win32
