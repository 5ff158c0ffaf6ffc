// Texts that cross into the shell and the system as Windows wants them:
// common-dialog filters, shortcut names, the run directory, and the process
// list as the single-instance rule reads it. Pure functions, so that the odd
// cases are tested natively.
#pragma once

#include <string>
#include <string_view>

namespace vorn::win32 {

// "Text|pattern|Text|pattern" as the program writes a filter becomes the
// common dialog's "Text\0pattern\0Text\0pattern\0\0". A last description
// without a pattern is its own pattern. Empty in, empty out (no filter).
std::u16string dialog_filter(std::u16string_view filter);

// The shell saves a shortcut under the name it is given; ".lnk" is appended
// unless the name already ends with it (in any case).
std::u16string with_link_extension(std::u16string_view path);

// A full module path split at its last backslash: the run directory without
// a trailing backslash ("C:" for a program in the root) and the file name.
struct ModulePath {
    std::u16string directory;
    std::u16string file_name;
};
ModulePath split_module_path(std::u16string_view path);

// How the process list names a running program (GBK): a name that is the
// program's own file name apart from ASCII letter case is reported as the
// program's own name, and then every "exe" is written "EXE", exactly as the
// program rewrites its own name before it counts its copies.
std::string listed_process_name(std::string_view reported, std::string_view own_file_name);

// Every "exe" in `name` written as "EXE", byte by byte from the start.
std::string exe_upper_cased(std::string name);

} // namespace vorn::win32
