#include "runtime/win32/portable/bitmap_owners.h"

namespace vorn::win32 {

std::uint64_t normal_handle(std::uint64_t handle) {
    return std::uint64_t(std::int64_t(std::int32_t(std::uint32_t(handle))));
}

std::uint64_t BitmapOwners::add(std::uint64_t bitmap) {
    const std::uint64_t object = next_++;
    objects_[object] = bitmap;
    // A handle that comes back from GDI is a new bitmap, whoever had the number before.
    taken_.erase(normal_handle(bitmap));
    return object;
}

std::optional<std::uint64_t> BitmapOwners::bitmap(std::uint64_t object) const {
    auto it = objects_.find(object);
    return it == objects_.end() ? std::nullopt : std::optional(it->second);
}

void BitmapOwners::handed_to_clipboard(std::uint64_t bitmap) {
    taken_.insert(normal_handle(bitmap));
}

std::optional<std::uint64_t> BitmapOwners::release(std::uint64_t object) {
    auto it = objects_.find(object);
    if (it == objects_.end())
        return std::nullopt;
    const std::uint64_t bitmap = it->second;
    objects_.erase(it);
    if (taken_.erase(normal_handle(bitmap)) != 0)
        return std::nullopt;
    return bitmap;
}

} // namespace vorn::win32
