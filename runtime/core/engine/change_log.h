// What changed on a canvas surface, and since when: the editor copies its
// whole relay canvas onto the foreground at every pointer move, and only
// what differs needs copying and repainting. A surface that was last made a
// whole copy of another remembers which, and when; what it must take on the
// next whole copy is what the source changed since then and what it changed
// itself since then. Anything the log no longer holds means: all of it.
#pragma once

#include "runtime/core/engine/canvas.h"

#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>

namespace vorn::runtime {

class ChangeLog {
  public:
    explicit ChangeLog(std::uint64_t surface) : surface_(surface) {}

    std::uint64_t surface() const { return surface_; }
    std::uint64_t version() const { return version_; }

    // `area` changed on a width × height surface. A change of size ends what
    // the log can tell about the past.
    void record(const CopyRect& area);
    void resized(std::int32_t width, std::int32_t height);

    // The union of what changed after `version`; an empty rectangle when
    // nothing did, nullopt when the log no longer reaches back that far.
    std::optional<CopyRect> since(std::uint64_t version) const;

    // Before a whole copy from `source`: the part of this surface that can
    // differ from it now, or nullopt for all of it.
    std::optional<CopyRect> differing_from(const ChangeLog& source) const;
    // After it: this surface equals `source` as it is now.
    void copied_whole(const ChangeLog& source);

  private:
    struct Entry {
        std::uint64_t version;
        CopyRect area;
    };
    static constexpr std::size_t kKept = 32;

    std::uint64_t surface_;
    std::uint64_t version_ = 0;
    std::uint64_t forgotten_before_ = 1; // versions below this are not in `entries_`
    std::deque<Entry> entries_;
    std::int32_t width_ = 0;
    std::int32_t height_ = 0;
    // The surface this one was last a whole copy of, and its version then.
    std::optional<std::uint64_t> mirror_of_;
    std::uint64_t mirrored_version_ = 0;
    std::uint64_t own_version_at_copy_ = 0;
};

// A number no other surface of this process has.
std::uint64_t next_surface_number();

} // namespace vorn::runtime
