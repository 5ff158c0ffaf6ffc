#include "runtime/sim/clipboard.h"

#include <algorithm>

namespace vorn::sim {

void Clipboard::put_text(std::string utf8_text) {
    for (const ClipboardEntry& entry : entries_)
        drop(entry);
    entries_.assign(1, ClipboardEntry{kFormatText, 0, std::nullopt, std::move(utf8_text)});
}

std::optional<picture::Image> Clipboard::bitmap() const {
    for (const ClipboardEntry& entry : entries_)
        if (entry.format == kFormatBitmap && entry.picture && pictures_.bitmap(entry.handle) != nullptr)
            return entry.picture;
    return std::nullopt;
}

bool Clipboard::open(std::uint64_t window) {
    ++open_attempts_;
    if (held_elsewhere_ > 0) {
        --held_elsewhere_;
        return false;
    }
    // Opening again from the window that holds it succeeds, as in Win32.
    if (open_ && opener_ != window)
        return false;
    open_ = true;
    opener_ = window;
    return true;
}

bool Clipboard::empty() {
    if (!open_)
        return false;
    for (const ClipboardEntry& entry : entries_)
        drop(entry);
    entries_.clear();
    return true;
}

std::uint64_t Clipboard::set(std::uint32_t format, std::uint64_t handle) {
    if (!open_)
        return 0;
    auto same =
        std::find_if(entries_.begin(), entries_.end(), [&](const auto& e) { return e.format == format; });
    if (same != entries_.end()) {
        drop(*same);
        entries_.erase(same);
    }
    ClipboardEntry entry{format, handle, std::nullopt, {}};
    if (format == kFormatBitmap)
        if (const picture::Image* image = pictures_.bitmap(handle)) {
            entry.picture = *image;
            pictures_.hand_over(handle);
        }
    entries_.push_back(std::move(entry));
    return handle;
}

bool Clipboard::close() {
    if (!open_)
        return false;
    open_ = false;
    opener_ = 0;
    return true;
}

void Clipboard::drop(const ClipboardEntry& entry) {
    if (entry.format == kFormatBitmap && entry.picture)
        pictures_.release_bitmap(entry.handle);
}

} // namespace vorn::sim
