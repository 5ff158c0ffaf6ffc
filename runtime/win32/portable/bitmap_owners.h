// Who owns the bitmap of each picture object. An object's bitmap goes with
// the object, unless SetClipboardData took it meanwhile: from then on the
// clipboard owns it and deleting it would leave the clipboard a dead handle,
// which Wine hides (it copies the bitmap at once) and Windows does not.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <set>

namespace vorn::win32 {

class BitmapOwners {
  public:
    // A new object holding `bitmap`; returns the object's number (from 1).
    std::uint64_t add(std::uint64_t bitmap);
    std::optional<std::uint64_t> bitmap(std::uint64_t object) const;
    // SetClipboardData succeeded with this handle.
    void handed_to_clipboard(std::uint64_t bitmap);
    // Forgets the object. Returns its bitmap when the object still owned it
    // (the caller deletes it), nothing when the clipboard took it or the
    // object is unknown.
    std::optional<std::uint64_t> release(std::uint64_t object);
    std::size_t size() const { return objects_.size(); }

  private:
    std::map<std::uint64_t, std::uint64_t> objects_; // object -> bitmap as created
    std::set<std::uint64_t> taken_;                  // by the clipboard, as handles compare
    std::uint64_t next_ = 1;
};

// GDI handles carry 32 significant bits, sign-extended on Win64; programs
// pass them around as 32-bit integers, so two forms of one handle compare equal.
std::uint64_t normal_handle(std::uint64_t handle);

} // namespace vorn::win32
