#include "runtime/sim/host_files.h"

#include "runtime/sim/describe.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <random>
#include <stdexcept>
#include <system_error>

namespace vorn::sim {

namespace fs = std::filesystem;

namespace {

const char* const kDefaultRunDirectory = "C:\\VornShot";
const char* const kDesktopDirectory = "C:\\Users\\Tester\\Desktop\\";

std::vector<std::string> components(const std::string& utf8_path) {
    std::vector<std::string> parts;
    std::string part;
    for (char c : utf8_path) {
        if (c != '\\' && c != '/') {
            part += c;
            continue;
        }
        if (!part.empty())
            parts.push_back(std::move(part));
        part.clear();
    }
    if (!part.empty())
        parts.push_back(std::move(part));
    return parts;
}

std::string lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; });
    return text;
}

bool has_prefix(const std::vector<std::string>& path, const std::vector<std::string>& prefix) {
    if (prefix.empty() || prefix.size() > path.size())
        return false;
    for (std::size_t i = 0; i < prefix.size(); ++i)
        if (lower(path[i]) != lower(prefix[i]))
            return false;
    return true;
}

bool is_drive(const std::string& part) {
    return part.size() == 2 && part[1] == ':' && std::isalpha(static_cast<unsigned char>(part[0]));
}

fs::path utf8_path(const std::string& utf8_text) {
    return fs::path(std::u8string(utf8_text.begin(), utf8_text.end()));
}

fs::path make_root() {
    std::random_device seed;
    std::mt19937_64 random(seed());
    const fs::path temp = fs::temp_directory_path();
    for (int attempt = 0; attempt < 100; ++attempt) {
        fs::path candidate = temp / ("vorn-sim-" + std::to_string(random() % 1000000000));
        if (fs::create_directory(candidate))
            return candidate;
    }
    throw std::runtime_error("cannot make a temporary folder in " + temp.string());
}

} // namespace

HostFiles::HostFiles()
    : root_(make_root()), run_directory_(kDefaultRunDirectory), desktop_directory_(kDesktopDirectory) {
    fs::create_directory(run_folder());
    fs::create_directory(desktop_folder());
}

HostFiles::~HostFiles() {
    std::error_code ignored;
    fs::remove_all(root_, ignored);
}

void HostFiles::set_run_directory(const std::string& utf8_text) {
    run_directory_ = gbk(utf8_text);
}

fs::path HostFiles::map(const std::string& gbk_path) const {
    // Decoded before splitting: a GBK trail byte may be 0x5C, the backslash.
    const std::string text = utf8(gbk_path);
    const std::vector<std::string> parts = components(text);
    const std::vector<std::string> run = components(utf8(run_directory_));
    const std::vector<std::string> desktop = components(utf8(desktop_directory_));

    fs::path base = run_folder();
    std::size_t skip = 0;
    // The longer prefix first, in case one folder lies inside the other.
    const bool desktop_first = desktop.size() >= run.size();
    if (has_prefix(parts, desktop_first ? desktop : run)) {
        base = desktop_first ? desktop_folder() : run_folder();
        skip = desktop_first ? desktop.size() : run.size();
    } else if (has_prefix(parts, desktop_first ? run : desktop)) {
        base = desktop_first ? run_folder() : desktop_folder();
        skip = desktop_first ? run.size() : desktop.size();
    } else if (!parts.empty() && is_drive(parts[0])) {
        base = root_ / "drives" / std::string(1, char(std::toupper(static_cast<unsigned char>(parts[0][0]))));
        skip = 1;
    } else if (!text.empty() && (text[0] == '\\' || text[0] == '/')) {
        base = root_ / "drives" / "C"; // rooted on the current drive
    }

    std::vector<std::string> kept;
    for (std::size_t i = skip; i < parts.size(); ++i) {
        if (parts[i] == ".")
            continue;
        if (parts[i] == "..") {
            if (!kept.empty())
                kept.pop_back();
            continue;
        }
        kept.push_back(parts[i]);
    }
    for (const std::string& part : kept)
        base /= utf8_path(part);
    return base;
}

bool HostFiles::create_shortcut(const std::string& gbk_link, const std::string& gbk_target) {
    ShortcutRecord record{utf8(gbk_link), utf8(gbk_target), {}};
    fs::path file = map(gbk_link);
    if (!lower(record.link).ends_with(".lnk"))
        file += ".lnk";
    std::error_code error;
    if (!fs::is_directory(file.parent_path(), error)) {
        shortcuts_.push_back(std::move(record));
        return false;
    }
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out << record.target << "\n";
    out.close();
    if (out)
        record.file = file;
    const bool made = !record.file.empty();
    shortcuts_.push_back(std::move(record));
    return made;
}

} // namespace vorn::sim
