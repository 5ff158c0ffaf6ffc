#include "base/bytes.h"

#include <cstdio>
#include <cstring>

namespace vorn {

std::string hex(std::uint64_t value) {
    char buf[24];
    std::snprintf(buf, sizeof buf, "0x%llx", static_cast<unsigned long long>(value));
    return buf;
}

Error ByteCursor::error_at(std::uint64_t pos, std::string_view message) const {
    return Error{context_ + " at " + hex(base_ + pos) + ": " + std::string(message)};
}

Status ByteCursor::seek(std::uint64_t pos, std::string_view what) {
    if (pos > bytes_.size())
        return error_at(pos, std::string(what) + " lies past the end (" + hex(base_ + bytes_.size()) + ")");
    pos_ = static_cast<std::size_t>(pos);
    return ok_status();
}

Result<ByteView> ByteCursor::take(std::uint64_t count, std::string_view what) {
    if (!fits(pos_, count, bytes_.size()))
        return error_at(pos_, std::string(what) + " needs " + std::to_string(count) + " bytes, only " +
                                  std::to_string(remaining()) + " left");
    ByteView view = bytes_.subspan(pos_, static_cast<std::size_t>(count));
    pos_ += static_cast<std::size_t>(count);
    return view;
}

Result<std::uint32_t> ByteCursor::u32(std::string_view what) {
    VORN_TRY_ASSIGN(ByteView field, take(4, what));
    return load_u32(field.data());
}

Result<std::int32_t> ByteCursor::i32(std::string_view what) {
    VORN_TRY_ASSIGN(std::uint32_t value, u32(what));
    return static_cast<std::int32_t>(value);
}

Result<std::uint8_t> ByteCursor::u8(std::string_view what) {
    VORN_TRY_ASSIGN(ByteView field, take(1, what));
    return field[0];
}

Result<std::string> ByteCursor::text(std::string_view what) {
    if (remaining() == 0)
        return error_at(pos_, std::string(what) + " has no terminating zero byte");
    const std::uint8_t* start = bytes_.data() + pos_;
    const void* end = std::memchr(start, 0, remaining());
    if (end == nullptr)
        return error_at(pos_, std::string(what) + " has no terminating zero byte");
    std::size_t length = static_cast<const std::uint8_t*>(end) - start;
    std::string value(reinterpret_cast<const char*>(start), length);
    pos_ += length + 1;
    return value;
}

Result<ByteView> ByteCursor::counted(std::string_view what) {
    std::size_t at = pos_;
    VORN_TRY_ASSIGN(std::uint32_t length, u32(what));
    const std::size_t following = remaining();
    if (length > following) {
        pos_ = at;
        return error_at(at, std::string(what) + " declares " + std::to_string(length) + " bytes, only " +
                                std::to_string(following) + " follow");
    }
    return take(length, what);
}

Status ByteCursor::expect_entries(std::uint64_t count, std::uint64_t entry_size,
                                  std::string_view what) const {
    // count and entry_size are at most 32 bits each, so the product fits in 64.
    if (count > UINT32_MAX || entry_size > UINT32_MAX || count * entry_size > remaining())
        return error_at(pos_, std::string(what) + ": " + std::to_string(count) + " entries of " +
                                  std::to_string(entry_size) + " bytes do not fit in the " +
                                  std::to_string(remaining()) + " bytes left");
    return ok_status();
}

void ByteWriter::u32(std::uint32_t value) {
    std::size_t at = out_.size();
    out_.resize(at + 4);
    store_u32(out_.data() + at, value);
}

void ByteWriter::text(std::string_view value) {
    bytes(as_bytes(value));
    out_.push_back(0);
}

void ByteWriter::counted(ByteView data) {
    u32(static_cast<std::uint32_t>(data.size()));
    bytes(data);
}

} // namespace vorn
