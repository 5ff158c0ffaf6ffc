#include "startup/stub.h"

#include <cstring>

namespace vorn::startup {

namespace {

// A joined path must fit the shared buffer together with its terminator, and
// name the runtime's file itself rather than a name to search for.
bool loadable_path(const std::string& path) {
    return path.size() + 1 <= kPathBufferSize && is_full_path(path);
}

LibraryHandle load_beside_executable(System& system) {
    std::optional<std::string> directory = executable_directory(system.module_path());
    if (!directory)
        return nullptr;
    std::string path = *directory + kRuntimeBesideExe;
    if (!loadable_path(path))
        return nullptr;
    return system.load_library(path);
}

LibraryHandle load_from_install_directory(System& system) {
    std::optional<std::string> directory = system.read_install_path();
    if (!directory)
        return nullptr;
    std::string path = with_trailing_backslash(*directory) + kRuntimeInInstallDir;
    if (!loadable_path(path))
        return nullptr;
    return system.load_library(path);
}

// Hands the image over; false when the library offers no entry routine, in
// which case it has been released again.
bool hand_over(System& system, LibraryHandle library, const void* image) {
    ProcAddress entry_export = system.find_export(library, kEntryExport);
    std::uintptr_t entry = entry_export ? system.request_entry(entry_export, kEntryRequest) : 0;
    if (entry == 0) {
        system.free_library(library);
        return false;
    }
    system.run_program(entry, image);
    return true;
}

} // namespace

std::optional<std::string> executable_directory(const std::string& module_path) {
    // Scan backwards from n - 6, never before the first character.
    if (module_path.size() < 6)
        return std::nullopt;
    for (std::size_t i = module_path.size() - 6 + 1; i-- > 0;) {
        if (module_path[i] == '\\')
            return module_path.substr(0, i + 1);
    }
    return std::nullopt;
}

std::string with_trailing_backslash(std::string directory) {
    if (directory.empty() || directory.back() != '\\')
        directory += '\\';
    return directory;
}

bool is_full_path(std::string_view path) {
    const auto letter = [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); };
    if (path.size() >= 3 && letter(path[0]) && path[1] == ':' && path[2] == '\\')
        return true;
    return path.size() >= 3 && path[0] == '\\' && path[1] == '\\' && path[2] != '\\';
}

int run_stub(System& system, const void* image) {
    system.restrict_library_search();
    LibraryHandle library = load_beside_executable(system);
    if (!library)
        library = load_from_install_directory(system);
    if (library && hand_over(system, library, image)) {
        system.exit_process(0);
        return 0;
    }
    system.message_box(kErrorText, kErrorCaption, kErrorBoxStyle);
    return kFailureExitCode;
}

} // namespace vorn::startup
