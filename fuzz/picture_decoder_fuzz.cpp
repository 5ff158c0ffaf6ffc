// Picture data comes from files and the clipboard: every decoder must refuse
// what it cannot read without reading out of bounds.
#include "runtime/core/picture/bitmap.h"
#include "runtime/core/picture/decode.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const vorn::ByteView bytes(data, size);
    if (auto image = vorn::picture::decode_bmp(bytes)) {
        // What decodes must encode and decode to the same pixels.
        auto again = vorn::picture::decode_bmp(vorn::picture::encode_bmp(*image));
        if (!again || !(*again == *image))
            __builtin_trap();
    }
    if (size >= 2)
        (void)vorn::picture::decode_bmp_shrunk(bytes, 1 + data[0] % 64, 1 + data[1] % 64);
    (void)vorn::picture::picture_size(bytes);
    return 0;
}
