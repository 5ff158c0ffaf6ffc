#include "image/const_pool.h"

#include <bit>
#include <cstring>

namespace vorn::image {

namespace {

std::array<std::uint8_t, 4> le32(std::uint32_t value) {
    std::array<std::uint8_t, 4> out{};
    store_u32(out.data(), value);
    return out;
}

} // namespace

ConstPool::ConstPool() {
    binary({});
}

std::uint32_t ConstPool::append(ByteView bytes) {
    auto at = static_cast<std::uint32_t>(data_.size());
    data_.insert(data_.end(), bytes.begin(), bytes.end());
    return at;
}

Result<std::uint32_t> ConstPool::text(std::string_view value) {
    if (value.find('\0') != std::string_view::npos)
        return Error{"const text \"" + std::string(value.substr(0, value.find('\0'))) +
                     "\" contains a zero byte"};
    if (auto found = texts_.find(value); found != texts_.end())
        return found->second;
    std::uint32_t at = append(as_bytes(value));
    data_.push_back(0);
    texts_.emplace(std::string(value), at);
    return at;
}

std::uint32_t ConstPool::binary(ByteView value) {
    std::uint32_t at = append(le32(1));
    append(le32(static_cast<std::uint32_t>(value.size())));
    append(value);
    return at;
}

std::uint32_t ConstPool::real(double value) {
    auto bits = std::bit_cast<std::uint64_t>(value);
    std::uint32_t at = append(le32(static_cast<std::uint32_t>(bits)));
    append(le32(static_cast<std::uint32_t>(bits >> 32)));
    return at;
}

} // namespace vorn::image
