// The start-up stub: finds the runtime library, hands it the program image and
// turns every failure into the one error box and exit code -1. The decisions
// live here, against a small system interface, so that they can be tested
// without Windows; startup/win32_system.cpp binds them to the real calls.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vorn::startup {

// Buffer size shared by the executable directory and the install directory
// (MAX_PATH): every path handed to the loader, terminator included, fits it.
inline constexpr std::size_t kPathBufferSize = 260;
// The install directory is read from the registry with this many bytes at most.
inline constexpr std::size_t kInstallPathLimit = 259;
inline constexpr std::uint32_t kEntryRequest = 1000;
inline constexpr int kFailureExitCode = -1;
inline constexpr unsigned kErrorBoxStyle = 0x10; // stop icon, OK button

inline constexpr const char* kRuntimeBesideExe = "krnln.fnr";
inline constexpr const char* kRuntimeInInstallDir = "krnln.fne";
inline constexpr const char* kEntryExport = "GetNewSock";
inline constexpr const char* kInstallKey = "Software\\Marrowsoft\\E\\Install";
inline constexpr const char* kInstallValue = "Path";
inline constexpr const char* kErrorText = "Not found the kernel library or the kernel library is invalid!";
inline constexpr const char* kErrorCaption = "Error";

using LibraryHandle = void*;
using ProcAddress = void*;

class System {
  public:
    virtual ~System() = default;
    // Narrows where Windows looks for a library named without a directory
    // (and for every library a loaded one imports) to the system directory.
    // A library beside the executable, in the current directory or on PATH
    // named like a system one is then never taken for it: a download folder
    // is where such a file waits. Called before anything is loaded.
    virtual void restrict_library_search() = 0;
    // The executable's full path in the ANSI code page, read whole; empty on failure.
    virtual std::string module_path() = 0;
    virtual LibraryHandle load_library(const std::string& path) = 0;
    virtual ProcAddress find_export(LibraryHandle library, const char* name) = 0;
    // Calls the runtime's entry export with `request`; returns the entry routine or 0.
    virtual std::uintptr_t request_entry(ProcAddress entry_export, std::uint32_t request) = 0;
    // Calls the entry routine with the program image; returns when the program has ended.
    virtual void run_program(std::uintptr_t entry_routine, const void* image) = 0;
    // The install directory under HKEY_CURRENT_USER\<kInstallKey>, value <kInstallValue>,
    // as read with at most kInstallPathLimit bytes; nullopt when the key or value is missing
    // or does not fit. The key is closed again in every case.
    virtual std::optional<std::string> read_install_path() = 0;
    virtual void free_library(LibraryHandle library) = 0;
    virtual void message_box(const char* text, const char* caption, unsigned style) = 0;
    // Ends the process. The real one never returns; a test double may.
    virtual void exit_process(int code) = 0;
};

// The directory of `module_path` with its trailing backslash, or nullopt when
// the path has no backslash where one is looked for. As in every release, the
// last five characters (at least the name "x.exe") are not examined.
std::optional<std::string> executable_directory(const std::string& module_path);

// `directory` with a backslash appended when its last character is not one.
std::string with_trailing_backslash(std::string directory);

// Whether `path` names its file from a drive's root ("C:\...") or a share
// ("\\server\..."), so that loading it searches nowhere. Relative paths,
// "C:file" and "\file" depend on the current drive or directory.
bool is_full_path(std::string_view path);

// Runs the stub: restricts the library search, then loads the runtime by its
// full path only (a relative install directory is a failure, since the
// search that would resolve it is the one restricted). Returns kFailureExitCode after showing the error box,
// or ends the process with code 0 through System::exit_process once the program has run (and returns 0 only
// if exit_process returned).
int run_stub(System& system, const void* image);

} // namespace vorn::startup
