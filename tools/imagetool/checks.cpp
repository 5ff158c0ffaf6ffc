// `imagetool verify` beyond the format: what the runtime relies on when it
// builds the windows and routes their events.
#include "forms/reader.h"
#include "tools/imagetool/assemble.h"
#include "tools/imagetool/code_section.h"

#include <algorithm>

namespace vorn::imagetool {

namespace {

struct Bound {
    std::uint32_t window;
    std::uint32_t element;
    std::uint32_t handler;
};

std::vector<Bound> bindings(const forms::FormSection& windows) {
    std::vector<Bound> out;
    for (const forms::Window& window : windows.windows)
        for (const forms::Element& element : window.elements) {
            if (const forms::MenuItemRecord* item = element.menu_item()) {
                if (item->click_handler != forms::kNoHandler)
                    out.push_back({window.id, element.id, item->click_handler});
                continue;
            }
            for (const forms::EventBinding& binding : element.control()->events)
                out.push_back({window.id, element.id, binding.handler});
        }
    return out;
}

// An image whose start routine is a directory record carries a record for
// every entry; images without one (test programs) only keep their handlers
// inside the code section.
bool has_directory(const image::Image& image) {
    const image::Section& code = image.section(image::SectionKind::Code);
    const std::uint32_t start = image.start_in_code();
    return start < code.stored.size() && code.stored[start] == kStartRole;
}

} // namespace

std::vector<std::string> program_problems(const image::Image& image) {
    std::vector<std::string> problems;
    const image::Section& form = image.section(image::SectionKind::Form);
    Result<forms::FormSection> windows = forms::read_forms(form.stored, form.stored_offset);
    if (!windows) {
        problems.push_back("the window definitions do not read: " + windows.error().message);
        return problems;
    }
    const image::Section& code = image.section(image::SectionKind::Code);
    std::vector<EntryRecord> records;
    if (has_directory(image)) {
        Result<std::vector<EntryRecord>> read = read_entry_directory(code.stored);
        if (!read)
            problems.push_back("the entry directory does not read: " + read.error().message);
        else
            records = std::move(*read);
    }
    for (const Bound& bound : bindings(*windows)) {
        const std::string what = "element " + hex(bound.element) + " of window " + hex(bound.window) +
                                 " binds " + hex(bound.handler);
        if (bound.handler >= code.memory_size) {
            problems.push_back(what + ", past the code section's " + hex(code.memory_size) + " bytes");
            continue;
        }
        if (!has_directory(image))
            continue;
        auto record = std::find_if(records.begin(), records.end(),
                                   [&](const EntryRecord& entry) { return entry.offset == bound.handler; });
        if (record == records.end() || record->role != kHandlerRole)
            problems.push_back(what + ", where the entry directory has no event handler");
        else if (record->window != bound.window || record->element != bound.element)
            problems.push_back(what + ", whose directory record names element " + hex(record->element) +
                               " of window " + hex(record->window));
    }
    return problems;
}

} // namespace vorn::imagetool
