// Reads the form section: the window directory, one unit per window and the
// element records, checking every length and offset against the bytes that are
// really there. Errors name the window, the element and the absolute offset.
#pragma once

#include "base/bytes.h"
#include "base/result.h"
#include "forms/section.h"

namespace vorn::forms {

struct ReadOptions {
    // Decode the class block of every element whose class is known, so that a
    // block that does not match its class's layout is refused at read time
    // rather than when the runtime first reads a property.
    bool check_class_blocks = true;
};

// `base_offset` is the position of `section` in its enclosing buffer (the
// image), so that error offsets point into the file being inspected.
Result<FormSection> read_forms(ByteView section, std::uint64_t base_offset = 0,
                               const ReadOptions& options = {});

} // namespace vorn::forms
