// What the simulated desktop was asked to show or do, kept for the test to
// read: one record type per kind of request. Texts are UTF-8 for readable
// assertions; where the program's own bytes matter, the GBK is kept too.
#pragma once

#include "base/bytes.h"
#include "runtime/core/engine/desktop.h"
#include "runtime/core/picture/bitmap.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vorn::sim {

// Thrown by end_process and fatal_error to unwind out of the engine; not
// std::exceptions, so that no handler on the way catches them by accident.
struct ProgramEnded {
    int code = 0;
};
struct RuntimeFailure {
    std::uint32_t code = 0;
    std::string message;
};

struct MessageBoxRecord {
    std::string text;     // UTF-8
    std::string title;    // UTF-8
    std::string raw_text; // GBK, as the program passed it
    std::string raw_title;
    std::uint32_t style = 0;
    int answer = 0;
};

struct PopupRecord {
    std::uint32_t window = 0;
    std::uint32_t menu = 0; // the menu element
    std::optional<runtime::Point> at;
    std::optional<std::uint32_t> chosen; // the item the test chose, if any
};

struct FileDialogRecord {
    std::uint32_t window = 0;
    std::uint32_t dialog = 0;
    std::int64_t type = 0; // 0 open, 1 save
    std::string filter;    // UTF-8
    std::string default_extension;
    std::string file_name;             // the name the dialog started with
    std::optional<std::string> answer; // UTF-8; none for cancel
};

struct SoundRecord {
    Bytes wave;
    std::uint64_t time = 0; // on the virtual clock, in milliseconds
};

struct PrintedPicture {
    picture::Image image; // empty when the data could not be read
    std::size_t data_size = 0;
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
};

// One job of one page, ended by end_print_job.
struct PrintJob {
    std::vector<PrintedPicture> pictures;
};

struct TipRecord {
    std::uint32_t window = 0;
    std::uint32_t control = 0;
    std::string control_name; // UTF-8
    std::string text;         // UTF-8
};

struct DevicePreparation {
    std::uint32_t window = 0;
    std::uint32_t device = 0;
    std::uint32_t selector = 0;
    std::int64_t value = 0;
};

struct ElementRecord {
    std::uint32_t window = 0;
    std::uint32_t element = 0;
    std::int64_t value = 0; // the window command's argument
};

} // namespace vorn::sim
