// Feeds arbitrary bytes to the image reader. Whatever it accepts must also load
// and survive a write-back: the parts written must read back as the same parts.
#include "image/loader.h"
#include "image/reader.h"
#include "image/writer.h"

#include <cstdio>
#include <cstdlib>

namespace {

[[noreturn]] void fail(const char* what, const std::string& detail) {
    std::fprintf(stderr, "image_reader_fuzz: %s: %s\n", what, detail.c_str());
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace vorn;
    Result<image::Image> read = image::read_image(ByteView(data, size));
    if (!read)
        return 0;
    if (read->extent > size)
        fail("extent",
             "the image claims " + std::to_string(read->extent) + " bytes of " + std::to_string(size));

    image::LoadOptions options;
    options.bases = {0x00400000, 0x10000000, 0x20000000, 0xfffff000};
    // A memory size past the loader's limit is a refusal, not a finding.
    (void)image::load_image(*read, options);

    image::ImageParts parts = image::parts_of(*read);
    Result<Bytes> written = image::write_image(parts);
    if (!written)
        fail("write-back refused parts the reader accepted", written.error().message);
    Result<image::Image> again = image::read_image(*written);
    if (!again)
        fail("written image does not read back", again.error().message);
    if (!(image::parts_of(*again) == parts))
        fail("round trip", "parts differ after write and read");
    if (again->extent != written->size())
        fail("round trip", "written image has trailing bytes");
    return 0;
}
