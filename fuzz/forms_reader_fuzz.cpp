// Reads arbitrary bytes as a form section. Whatever is accepted must decode
// or refuse each class block cleanly, dump, and write back to the same bytes.
#include "forms/class_block.h"
#include "forms/dump.h"
#include "forms/reader.h"
#include "forms/writer.h"

#include <cstdint>
#include <cstdlib>

using namespace vorn;
using namespace vorn::forms;

namespace {

void require(bool condition) {
    if (!condition)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const ByteView input(data, size);
    Result<FormSection> read = read_forms(input, 0, ReadOptions{.check_class_blocks = false});
    if (!read.ok())
        return 0;

    bool all_blocks_decode = true;
    for (const Window& window : read->windows)
        for (const Element& element : window.elements) {
            const ControlRecord* control = element.control();
            if (control == nullptr || find_class(element.class_id) == nullptr)
                continue;
            Result<ClassBlock> block = decode_class_block(element.class_id, control->class_block);
            if (!block.ok()) {
                all_blocks_decode = false;
                continue;
            }
            Result<Bytes> encoded = encode_class_block(*block);
            require(encoded.ok() && *encoded == control->class_block);
        }
    // The checking read refuses exactly the sections with a block that does not decode.
    require(read_forms(input).ok() == all_blocks_decode);

    (void)dump_forms(*read);
    (void)validate_forms(*read);

    Result<Bytes> written = write_forms(*read, WriteRules::exact_copy());
    require(written.ok());
    require(*written == Bytes(input.begin(), input.end()));
    Result<FormSection> again = read_forms(*written, 0, ReadOptions{.check_class_blocks = false});
    require(again.ok() && *again == *read);
    return 0;
}
