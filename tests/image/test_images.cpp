#include "tests/image/test_images.h"

#include "image/const_pool.h"
#include "image/reader.h"
#include "image/writer.h"

#include <gtest/gtest.h>

namespace vorn::image::testing {

ImageParts full_parts() {
    ConstPool pool;
    ImageParts parts;
    std::uint32_t user32 = *pool.text("user32");
    std::uint32_t empty = *pool.text("");
    parts.dll_commands = {{user32, *pool.text("GetParent")}, {empty, *pool.text("Beep")}};
    std::uint32_t tail = pool.binary(std::array<std::uint8_t, 3>{1, 2, 3});
    parts.constants.stored = pool.data();
    EXPECT_EQ(user32, kFull.user32);
    EXPECT_EQ(tail + 10, kFull.unterminated);
    EXPECT_EQ(pool.data().size(), kFull.unterminated + 1);

    parts.libraries = {{"krnln", "d09f2340818511d396f6aaf844c7e325", "5", "2", "\xcf\xb5\xcd\xb3"},
                       {"iext5", "{E5000198-4471-40e2-92BC-D0BA075BDBB2}", "2", "0", "five"}};
    parts.form.stored = {0, 0, 0, 0, 0xaa, 0xbb};
    parts.help.stored = Bytes(52, 0);

    Bytes& code = parts.code.stored;
    code.assign(kFull.code_stored, 0x90);
    store_u32(code.data() + 0x04, 0x08);       // service slot 2
    store_u32(code.data() + 0x08, 0x10);       // var offset
    store_u32(code.data() + 0x10, user32);     // const offset
    store_u32(code.data() + 0x1c, 0x2c);       // code offset
    store_u32(code.data() + 0x20, 0x52010001); // window id
    store_u32(code.data() + 0x24, 1);          // DLL command index
    store_u32(code.data() + 0x28, 0);          // library index
    store_u32(code.data() + 0x2c, 0x20002);    // class id
    store_u32(code.data() + 0x14, 0x10001);    // class id
    parts.code.memory_size = kFull.code_memory;
    parts.fixups = {{0x10, FixupKind::ConstData},
                    {0x04, FixupKind::ImageStart},
                    {0x1c, FixupKind::CodeData},
                    {0x08, FixupKind::VarBlock}};
    parts.start_routine = 0x18;
    parts.var_size = 92;
    parts.groups = {{{0x20}, {0x24}, {0x28}, {0x2c, 0x14}}};
    parts.reloc_declared_size = static_cast<std::uint32_t>(encode_groups(parts.groups).size() - 4);
    return parts;
}

Bytes written(const ImageParts& parts) {
    Result<Bytes> bytes = write_image(parts);
    EXPECT_TRUE(bytes.ok()) << bytes.error().message;
    return bytes.ok() ? *bytes : Bytes{};
}

std::string read_error(ByteView bytes) {
    Result<Image> image = read_image(bytes);
    return image.ok() ? std::string() : image.error().message;
}

void put_u32(Bytes& bytes, std::uint64_t at, std::uint32_t value) {
    ASSERT_LE(at + 4, bytes.size());
    store_u32(bytes.data() + at, value);
}

std::uint32_t get_u32(const Bytes& bytes, std::uint64_t at) {
    EXPECT_LE(at + 4, bytes.size());
    return at + 4 <= bytes.size() ? load_u32(bytes.data() + at) : 0;
}

} // namespace vorn::image::testing
