// Writes the form section. Element offsets, record lengths, unit lengths and
// the directory size are computed from the data; everything else is written as
// held. Before writing, the definitions are checked (validate_forms) so that a
// bad binding or a broken container relation fails when the image is built,
// never when the program runs.
#pragma once

#include "base/bytes.h"
#include "base/result.h"
#include "forms/section.h"

#include <cstdint>
#include <functional>

namespace vorn::forms {

struct WriteRules {
    // Whether a handler offset names a handler of the program; unset accepts any.
    std::function<bool(std::uint32_t)> known_handler;
    // Id kinds in their places, unique ids, parents and child lists that agree,
    // menu levels, one cursor id per control.
    bool check_structure = true;
    // Every class block must decode with its class's layout.
    bool check_class_blocks = true;
    // A class missing from the class table is refused unless this is set; its
    // block is then written as held, without any check.
    bool allow_unknown_classes = false;
    // An event number that the element's class does not raise is refused: a
    // binding to it would never run, which is always a mistake in our own
    // definitions. A copy of read data may keep such bindings.
    bool allow_unlisted_events = false;

    // Rules under which everything that read_forms accepts is written back
    // byte for byte (only what cannot be stored at all is refused).
    static WriteRules exact_copy();
};

// The checks that write_forms makes first; the first failure is returned.
Status validate_forms(const FormSection& forms, const WriteRules& rules = {});

Result<Bytes> write_forms(const FormSection& forms, const WriteRules& rules = {});

} // namespace vorn::forms
