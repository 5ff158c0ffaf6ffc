#include "runtime/core/engine/change_log.h"

#include <atomic>

namespace vorn::runtime {

void ChangeLog::record(const CopyRect& area) {
    const CopyRect on_surface = union_within({}, area, width_, height_);
    if (on_surface.width <= 0 || on_surface.height <= 0)
        return;
    entries_.push_back({++version_, on_surface});
    if (entries_.size() > kKept) {
        forgotten_before_ = entries_.front().version + 1;
        entries_.pop_front();
    }
}

void ChangeLog::resized(std::int32_t width, std::int32_t height) {
    width_ = width;
    height_ = height;
    ++version_;
    forgotten_before_ = version_ + 1;
    entries_.clear();
    mirror_of_.reset();
}

std::optional<CopyRect> ChangeLog::since(std::uint64_t version) const {
    if (version >= version_)
        return CopyRect{};
    if (version + 1 < forgotten_before_)
        return std::nullopt;
    CopyRect out;
    for (const Entry& entry : entries_)
        if (entry.version > version)
            out = union_within(out, entry.area, width_, height_);
    return out;
}

std::optional<CopyRect> ChangeLog::differing_from(const ChangeLog& source) const {
    if (!mirror_of_ || *mirror_of_ != source.surface_ || source.width_ != width_ || source.height_ != height_)
        return std::nullopt;
    const std::optional<CopyRect> theirs = source.since(mirrored_version_);
    const std::optional<CopyRect> mine = since(own_version_at_copy_);
    if (!theirs || !mine)
        return std::nullopt;
    return union_within(*theirs, *mine, width_, height_);
}

void ChangeLog::copied_whole(const ChangeLog& source) {
    mirror_of_ = source.surface_;
    mirrored_version_ = source.version_;
    own_version_at_copy_ = version_;
}

std::uint64_t next_surface_number() {
    static std::atomic<std::uint64_t> next{1};
    return next++;
}

} // namespace vorn::runtime
