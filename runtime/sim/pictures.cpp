#include "runtime/sim/pictures.h"

#include "runtime/core/picture/decode.h"

namespace vorn::sim {

namespace {

// Far more than any test makes: beyond this a handle is not one of ours.
constexpr std::uint64_t kRangeSize = 0x01000000;

} // namespace

std::uint64_t PictureObjects::add_bitmap(picture::Image image) {
    const std::uint64_t handle = kFirstBitmap + ++bitmaps_made_;
    bitmaps_.emplace(handle, std::move(image));
    return handle;
}

const picture::Image* PictureObjects::bitmap(std::uint64_t handle) const {
    auto it = bitmaps_.find(handle);
    return it == bitmaps_.end() ? nullptr : &it->second;
}

bool PictureObjects::release_bitmap(std::uint64_t handle) {
    handed_over_.erase(handle);
    return bitmaps_.erase(handle) != 0;
}

runtime::PictureObject PictureObjects::create(ByteView picture) {
    Result<picture::Image> image = picture::decode_picture(picture);
    if (!image)
        return {};
    const std::uint64_t bitmap = add_bitmap(std::move(*image));
    const std::uint64_t object = kFirstObject + ++objects_made_;
    objects_[object] = bitmap;
    return {object, bitmap};
}

bool PictureObjects::release_object(std::uint64_t object) {
    auto it = objects_.find(object);
    if (it == objects_.end())
        return false;
    if (!handed_over_.contains(it->second))
        bitmaps_.erase(it->second);
    objects_.erase(it);
    return true;
}

std::string PictureObjects::name(std::uint64_t handle) {
    if (handle > kFirstBitmap && handle < kFirstBitmap + kRangeSize)
        return "bmp#" + std::to_string(handle - kFirstBitmap);
    if (handle > kFirstObject && handle < kFirstObject + kRangeSize)
        return "obj#" + std::to_string(handle - kFirstObject);
    return hex(handle);
}

} // namespace vorn::sim
