// Bitmaps and picture objects. A picture object's bitmap goes with the object
// unless the clipboard took it meanwhile: then the clipboard owns it and it
// outlives the object. The table keeps every bitmap until something releases
// it, which lets a test tell a live handle from one that was released or
// never existed.
#pragma once

#include "base/bytes.h"
#include "runtime/core/engine/desktop.h"
#include "runtime/core/picture/bitmap.h"

#include <cstdint>
#include <map>
#include <set>
#include <string>

namespace vorn::sim {

// Bitmaps and objects are numbered in ranges of their own, so a handle of
// one kind passed where the other is expected is never taken for it.
inline constexpr std::uint64_t kFirstBitmap = 0x05000000;
inline constexpr std::uint64_t kFirstObject = 0x7F000000;

class PictureObjects {
  public:
    std::uint64_t add_bitmap(picture::Image image);
    // Null when the handle was released or never existed.
    const picture::Image* bitmap(std::uint64_t handle) const;
    bool release_bitmap(std::uint64_t handle);
    // The clipboard took this bitmap: releasing its object leaves it alone.
    void hand_over(std::uint64_t handle) { handed_over_.insert(handle); }
    std::size_t live_bitmaps() const { return bitmaps_.size(); }

    // Reads any picture format the runtime reads; {0, 0} for unreadable data.
    runtime::PictureObject create(ByteView picture);
    bool release_object(std::uint64_t object);
    std::size_t live_objects() const { return objects_.size(); }

    // "bmp#3" for a bitmap (live or not), "obj#1" for an object, else hex.
    static std::string name(std::uint64_t handle);

  private:
    std::map<std::uint64_t, picture::Image> bitmaps_;
    std::map<std::uint64_t, std::uint64_t> objects_; // object -> its bitmap
    std::set<std::uint64_t> handed_over_;
    std::uint64_t bitmaps_made_ = 0;
    std::uint64_t objects_made_ = 0;
};

} // namespace vorn::sim
