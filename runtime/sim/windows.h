// The windows on the simulated screen: ours, with native handles built from
// the live model, and the foreign windows of other programs that a test lays
// out. Answers what the Win32 window functions would: rectangles, placement,
// parent, extended style, and which window lies under the pointer.
#pragma once

#include "runtime/core/engine/model.h"
#include "runtime/sim/geometry.h"

#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace vorn::sim {

inline constexpr std::uint32_t kMainWindowId = 0x52010001;

// Extended styles, layered-window flags and show commands the program meets.
inline constexpr std::uint32_t kExTopmost = 0x00000008;
inline constexpr std::uint32_t kExLayered = 0x00080000;
inline constexpr std::uint32_t kLayeredColourKey = 0x1;
inline constexpr std::uint32_t kShowNormal = 1;
inline constexpr std::uint32_t kShowMinimised = 2;
inline constexpr std::uint32_t kShowMaximised = 3;

// A window of another program, as the test lays it out.
struct ForeignWindow {
    std::uint64_t handle = 0;
    std::string title{}; // UTF-8, for traces
    Rect rect{};         // current screen rectangle, for a child window too
    // The restored rectangle (what a window placement reports); the current
    // rectangle when unset.
    std::optional<Rect> normal{};
    std::uint32_t show_command = kShowNormal;
    // A child window lies inside `parent` and is hit-tested only within it; a
    // top-level window's `parent` is its owner, which GetParent also reports.
    std::uint64_t parent = 0;
    bool child = false;
    std::uint32_t ex_style = 0;
    bool visible = true;
};

struct LayeredAttributes {
    std::uint32_t key = 0; // 0x00BBGGRR
    std::uint32_t alpha = 255;
    std::uint32_t flags = 0;
    bool operator==(const LayeredAttributes&) const = default;
};

// What one of our handles stands for.
struct OwnHandle {
    runtime::LiveWindow* window = nullptr;
    std::uint32_t element = 0; // the own element's id for the window itself
};

class WindowTable {
  public:
    // Our windows. Every element whose class has a window of its own gets a
    // handle; the window goes on top of the stack, as a newly shown window does.
    // A window added is not shown, whatever its visible property, until its
    // created handler has run and `created` is called.
    void add_live(runtime::LiveWindow& window, runtime::LiveWindow* owner);
    void created(const runtime::LiveWindow& window);
    void remove_live(runtime::LiveWindow& window);
    const OwnHandle* own(std::uint64_t handle) const;
    bool has_window(std::uint32_t window_id) const;

    // Foreign windows; a top-level one goes on top of the stack, children in
    // the order added, the first on top. Throws std::invalid_argument for a
    // handle in use (or 0) and for a child of an unknown parent.
    void add_foreign(ForeignWindow window);
    void remove_foreign(std::uint64_t handle); // with its children
    ForeignWindow* foreign(std::uint64_t handle);

    bool known(std::uint64_t handle) const;
    // Top-level windows, front first. Stay-on-top windows are taken before
    // the others when the pointer is hit-tested, whatever their place here.
    const std::vector<std::uint64_t>& stacking() const { return stack_; }
    void bring_to_front(std::uint64_t handle);

    std::optional<Rect> rect(std::uint64_t handle) const;
    std::optional<Rect> normal_rect(std::uint64_t handle) const;
    std::uint32_t show_command(std::uint64_t handle) const;
    // The parent of a child window or control, the owner of a top-level one.
    std::uint64_t parent(std::uint64_t handle) const;
    bool visible(std::uint64_t handle) const;
    bool topmost(std::uint64_t handle) const;

    std::optional<std::uint32_t> ex_style(std::uint64_t handle) const;
    // Returns the previous style; nullopt for an unknown handle.
    std::optional<std::uint32_t> set_ex_style(std::uint64_t handle, std::uint32_t style);
    // Refused (false) unless the window has the layered style, as in Win32.
    bool set_layered(std::uint64_t handle, LayeredAttributes attributes);
    std::optional<LayeredAttributes> layered(std::uint64_t handle) const;

    void set_pointer(Point at) { pointer_ = at; }
    Point pointer() const { return pointer_; }
    // The innermost visible window under the pointer, 0 over the bare
    // desktop. A layered window with a colour key lets the pointer through
    // where its own background has the key colour and no control covers it.
    std::uint64_t under_pointer() const;

    // Names in traces: "main" for the main window unless renamed, else the id.
    void name_window(std::uint32_t window_id, std::string label) { labels_[window_id] = std::move(label); }
    std::string window_label(std::uint32_t window_id) const;
    // "main.按钮_复制", "main", a foreign window's title, or the handle in hex.
    std::string describe(std::uint64_t handle) const;

  private:
    std::uint64_t allocate();
    const ForeignWindow* find_foreign(std::uint64_t handle) const;
    std::uint32_t* style_slot(std::uint64_t handle);
    std::uint64_t hit_own(const runtime::LiveWindow& window, Point at) const;
    std::uint64_t hit_foreign(std::uint64_t handle, Point at) const;
    bool lets_pointer_through(std::uint64_t handle) const;

    std::map<std::uint64_t, OwnHandle> own_;
    std::set<std::uint64_t> being_created_;         // our windows whose created handler runs
    std::map<std::uint64_t, std::uint64_t> owners_; // our top-level windows
    std::map<std::uint64_t, std::uint32_t> own_styles_;
    std::vector<ForeignWindow> foreign_; // in the order added
    std::map<std::uint64_t, LayeredAttributes> layered_;
    std::vector<std::uint64_t> stack_;
    std::map<std::uint32_t, std::string> labels_;
    Point pointer_;
    std::uint64_t next_handle_ = 0x10010;
};

// Where an element of a live window lies on the screen. The client area
// starts at the window's own left and top (the simulated frame has no
// border); a control lies relative to the client area of its container.
Rect element_rect(const runtime::LiveWindow& window, const runtime::LiveElement& element);
// Visible itself, in every container up to the window, and the window too.
bool element_shown(const runtime::LiveWindow& window, const runtime::LiveElement& element);

} // namespace vorn::sim
