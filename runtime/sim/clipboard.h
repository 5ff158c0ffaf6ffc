// The system clipboard as the four clipboard functions see it: opened by one
// window at a time, emptied by its owner, holding one entry per format.
// Another program can be made to hold it for a number of attempts, and a
// test can leave content there before the program runs.
#pragma once

#include "runtime/core/picture/bitmap.h"
#include "runtime/sim/pictures.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vorn::sim {

inline constexpr std::uint32_t kFormatText = 1;
inline constexpr std::uint32_t kFormatBitmap = 2;

struct ClipboardEntry {
    std::uint32_t format = 0;
    std::uint64_t handle = 0;
    // A bitmap entry whose handle was live when it was set: a copy of its
    // pixels. None for a handle that was released or never existed.
    std::optional<picture::Image> picture;
    std::string text; // UTF-8, for text that a test put there
};

class Clipboard {
  public:
    explicit Clipboard(PictureObjects& pictures) : pictures_(pictures) {}

    // ---- The test's side ----
    // Content left by another program.
    void put_text(std::string utf8_text);
    // The next `attempts` opens fail, as while another program holds it.
    void hold_elsewhere(int attempts) { held_elsewhere_ = attempts; }
    const std::vector<ClipboardEntry>& entries() const { return entries_; }
    // The bitmap that a paste would get now: the format-2 entry's picture
    // while the clipboard still owns a live bitmap for it.
    std::optional<picture::Image> bitmap() const;
    bool is_open() const { return open_; }
    int open_attempts() const { return open_attempts_; }

    // ---- The program's side (results as the Win32 functions give them) ----
    bool open(std::uint64_t window);
    // Only while open; releases the bitmaps the clipboard owned.
    bool empty();
    // Only while open; a bitmap handed over belongs to the clipboard from now
    // on. Returns the handle, 0 on failure.
    std::uint64_t set(std::uint32_t format, std::uint64_t handle);
    bool close();

  private:
    void drop(const ClipboardEntry& entry);

    PictureObjects& pictures_;
    std::vector<ClipboardEntry> entries_;
    bool open_ = false;
    std::uint64_t opener_ = 0;
    int held_elsewhere_ = 0;
    int open_attempts_ = 0;
};

} // namespace vorn::sim
