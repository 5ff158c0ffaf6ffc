// The start-up stub's system interface bound to the real Windows calls.
#pragma once

#include "startup/stub.h"

namespace vorn::startup {

class Win32System final : public System {
  public:
    void restrict_library_search() override;
    std::string module_path() override;
    LibraryHandle load_library(const std::string& path) override;
    ProcAddress find_export(LibraryHandle library, const char* name) override;
    std::uintptr_t request_entry(ProcAddress entry_export, std::uint32_t request) override;
    void run_program(std::uintptr_t entry_routine, const void* image) override;
    std::optional<std::string> read_install_path() override;
    void free_library(LibraryHandle library) override;
    void message_box(const char* text, const char* caption, unsigned style) override;
    void exit_process(int code) override;
};

} // namespace vorn::startup
