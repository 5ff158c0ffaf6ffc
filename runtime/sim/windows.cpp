#include "runtime/sim/windows.h"

#include "runtime/sim/describe.h"

#include <algorithm>
#include <stdexcept>

namespace vorn::sim {

using forms::PropertyId;
using runtime::LiveElement;
using runtime::LiveWindow;

namespace {

// Containers nest only a few levels deep; a definition whose parent fields
// form a cycle must not hang the hit test.
constexpr int kMaxNesting = 16;

std::int32_t int_of(const LiveElement& element, PropertyId property) {
    return std::int32_t(element.integer(property));
}

Point client_origin(const LiveWindow& window, std::uint32_t container, int depth) {
    const LiveElement& own = window.own();
    const Point window_origin{int_of(own, PropertyId::left), int_of(own, PropertyId::top)};
    const LiveElement* holder = container == 0 ? nullptr : window.find(container);
    if (holder == nullptr || depth >= kMaxNesting)
        return window_origin;
    const Point outer = client_origin(window, holder->parent(), depth + 1);
    return {outer.x + int_of(*holder, PropertyId::left), outer.y + int_of(*holder, PropertyId::top)};
}

bool is_own(const LiveWindow& window, const LiveElement& element) {
    return &element == &window.own();
}

} // namespace

Rect element_rect(const LiveWindow& window, const LiveElement& element) {
    const std::int32_t width = int_of(element, PropertyId::width),
                       height = int_of(element, PropertyId::height);
    if (is_own(window, element))
        return Rect::sized(int_of(element, PropertyId::left), int_of(element, PropertyId::top), width,
                           height);
    const Point origin = client_origin(window, element.parent(), 0);
    return Rect::sized(origin.x + int_of(element, PropertyId::left),
                       origin.y + int_of(element, PropertyId::top), width, height);
}

bool element_shown(const LiveWindow& window, const LiveElement& element) {
    if (window.own().integer(PropertyId::visible) == 0)
        return false;
    const LiveElement* at = &element;
    for (int depth = 0; at != nullptr && !is_own(window, *at) && depth < kMaxNesting; ++depth) {
        if (at->integer(PropertyId::visible) == 0)
            return false;
        at = at->parent() == 0 ? nullptr : window.find(at->parent());
    }
    return true;
}

// ---- Our windows ----

std::uint64_t WindowTable::allocate() {
    // Real window handles are even; skipping the foreign ones keeps every
    // handle unique whatever the test chose.
    do
        next_handle_ += 2;
    while (known(next_handle_));
    return next_handle_;
}

void WindowTable::add_live(LiveWindow& window, LiveWindow* owner) {
    const std::uint64_t handle = allocate();
    window.native = handle;
    window.own().native = handle;
    own_[handle] = {&window, window.own().id};
    own_styles_[handle] = 0;
    owners_[handle] = owner != nullptr ? owner->native : 0;
    for (LiveElement& element : window.elements) {
        if (is_own(window, element) || element.is_menu_item() || element.info == nullptr ||
            !element.info->has_window)
            continue;
        element.native = allocate();
        own_[element.native] = {&window, element.id};
        own_styles_[element.native] = 0;
    }
    stack_.insert(stack_.begin(), handle);
    being_created_.insert(handle);
}

void WindowTable::created(const LiveWindow& window) {
    being_created_.erase(window.native);
}

void WindowTable::remove_live(LiveWindow& window) {
    for (auto it = own_.begin(); it != own_.end();) {
        if (it->second.window != &window) {
            ++it;
            continue;
        }
        own_styles_.erase(it->first);
        layered_.erase(it->first);
        owners_.erase(it->first);
        it = own_.erase(it);
    }
    std::erase(stack_, window.native);
    being_created_.erase(window.native);
    for (LiveElement& element : window.elements)
        element.native = 0;
    window.native = 0;
}

const OwnHandle* WindowTable::own(std::uint64_t handle) const {
    auto it = own_.find(handle);
    return it == own_.end() ? nullptr : &it->second;
}

bool WindowTable::has_window(std::uint32_t window_id) const {
    return std::any_of(own_.begin(), own_.end(), [&](const auto& entry) {
        return entry.second.window->id == window_id && entry.second.element == entry.second.window->own().id;
    });
}

// ---- Foreign windows ----

void WindowTable::add_foreign(ForeignWindow window) {
    if (window.handle == 0 || known(window.handle))
        throw std::invalid_argument("foreign window handle " + hex(window.handle) +
                                    " is 0 or already in use");
    if (window.child && !known(window.parent))
        throw std::invalid_argument("child window " + hex(window.handle) + " has no known parent");
    if (!window.child)
        stack_.insert(stack_.begin(), window.handle);
    foreign_.push_back(std::move(window));
}

void WindowTable::remove_foreign(std::uint64_t handle) {
    std::vector<std::uint64_t> children;
    for (const ForeignWindow& window : foreign_)
        if (window.child && window.parent == handle)
            children.push_back(window.handle);
    for (std::uint64_t child : children)
        remove_foreign(child);
    std::erase_if(foreign_, [&](const ForeignWindow& window) { return window.handle == handle; });
    std::erase(stack_, handle);
    layered_.erase(handle);
}

ForeignWindow* WindowTable::foreign(std::uint64_t handle) {
    return const_cast<ForeignWindow*>(find_foreign(handle));
}

const ForeignWindow* WindowTable::find_foreign(std::uint64_t handle) const {
    for (const ForeignWindow& window : foreign_)
        if (window.handle == handle)
            return &window;
    return nullptr;
}

bool WindowTable::known(std::uint64_t handle) const {
    return own_.count(handle) != 0 || find_foreign(handle) != nullptr;
}

void WindowTable::bring_to_front(std::uint64_t handle) {
    auto it = std::find(stack_.begin(), stack_.end(), handle);
    if (it != stack_.end())
        std::rotate(stack_.begin(), it, it + 1);
}

// ---- Window functions ----

std::optional<Rect> WindowTable::rect(std::uint64_t handle) const {
    if (const OwnHandle* ours = own(handle))
        return element_rect(*ours->window, *ours->window->find(ours->element));
    if (const ForeignWindow* window = find_foreign(handle))
        return window->rect;
    return std::nullopt;
}

std::optional<Rect> WindowTable::normal_rect(std::uint64_t handle) const {
    if (const ForeignWindow* window = find_foreign(handle))
        return window->normal.value_or(window->rect);
    return rect(handle); // ours are never minimised or maximised
}

std::uint32_t WindowTable::show_command(std::uint64_t handle) const {
    const ForeignWindow* window = find_foreign(handle);
    return window != nullptr ? window->show_command : kShowNormal;
}

std::uint64_t WindowTable::parent(std::uint64_t handle) const {
    if (const OwnHandle* ours = own(handle)) {
        const LiveWindow& window = *ours->window;
        if (ours->element == window.own().id) {
            auto owner = owners_.find(handle);
            return owner == owners_.end() ? 0 : owner->second;
        }
        // A control inside a container is a child of the container's window.
        const LiveElement* container = window.find(window.find(ours->element)->parent());
        return container != nullptr && container->native != 0 ? container->native : window.native;
    }
    const ForeignWindow* window = find_foreign(handle);
    return window != nullptr ? window->parent : 0;
}

bool WindowTable::visible(std::uint64_t handle) const {
    if (const OwnHandle* ours = own(handle))
        return being_created_.count(ours->window->native) == 0 &&
               element_shown(*ours->window, *ours->window->find(ours->element));
    const ForeignWindow* window = find_foreign(handle);
    if (window == nullptr)
        return false;
    return window->visible && (!window->child || visible(window->parent));
}

bool WindowTable::topmost(std::uint64_t handle) const {
    const std::optional<std::uint32_t> style = ex_style(handle);
    if (style && (*style & kExTopmost) != 0)
        return true;
    const OwnHandle* ours = own(handle);
    return ours != nullptr && ours->element == ours->window->own().id &&
           ours->window->own().integer(PropertyId::stay_on_top) != 0;
}

std::uint32_t* WindowTable::style_slot(std::uint64_t handle) {
    if (ForeignWindow* window = foreign(handle))
        return &window->ex_style;
    auto it = own_styles_.find(handle);
    return it == own_styles_.end() ? nullptr : &it->second;
}

std::optional<std::uint32_t> WindowTable::ex_style(std::uint64_t handle) const {
    const std::uint32_t* slot = const_cast<WindowTable*>(this)->style_slot(handle);
    return slot != nullptr ? std::optional(*slot) : std::nullopt;
}

std::optional<std::uint32_t> WindowTable::set_ex_style(std::uint64_t handle, std::uint32_t style) {
    std::uint32_t* slot = style_slot(handle);
    if (slot == nullptr)
        return std::nullopt;
    return std::exchange(*slot, style);
}

bool WindowTable::set_layered(std::uint64_t handle, LayeredAttributes attributes) {
    const std::optional<std::uint32_t> style = ex_style(handle);
    if (!style || (*style & kExLayered) == 0)
        return false;
    layered_[handle] = attributes;
    return true;
}

std::optional<LayeredAttributes> WindowTable::layered(std::uint64_t handle) const {
    auto it = layered_.find(handle);
    return it == layered_.end() ? std::nullopt : std::optional(it->second);
}

// ---- The pointer ----

std::uint64_t WindowTable::under_pointer() const {
    std::vector<std::uint64_t> order = stack_;
    std::stable_partition(order.begin(), order.end(), [&](std::uint64_t handle) { return topmost(handle); });
    for (std::uint64_t handle : order) {
        if (!visible(handle) || !rect(handle)->contains(pointer_))
            continue;
        if (const OwnHandle* ours = own(handle)) {
            const std::uint64_t hit = hit_own(*ours->window, pointer_);
            if (hit == handle && lets_pointer_through(handle))
                continue;
            return hit;
        }
        return hit_foreign(handle, pointer_);
    }
    return 0;
}

std::uint64_t WindowTable::hit_own(const LiveWindow& window, Point at) const {
    std::uint64_t hit = window.native;
    std::uint32_t container = 0;
    for (int depth = 0; depth < kMaxNesting; ++depth) {
        // Siblings are stacked in creation order, the first created on top.
        auto inside = std::find_if(window.elements.begin(), window.elements.end(), [&](const LiveElement& e) {
            return !is_own(window, e) && e.native != 0 && e.parent() == container &&
                   e.integer(PropertyId::visible) != 0 && element_rect(window, e).contains(at);
        });
        if (inside == window.elements.end())
            break;
        hit = inside->native;
        container = inside->id;
    }
    return hit;
}

std::uint64_t WindowTable::hit_foreign(std::uint64_t handle, Point at) const {
    for (int depth = 0; depth < kMaxNesting; ++depth) {
        auto inside = std::find_if(foreign_.begin(), foreign_.end(), [&](const ForeignWindow& w) {
            return w.child && w.parent == handle && w.visible && w.rect.contains(at);
        });
        if (inside == foreign_.end())
            break;
        handle = inside->handle;
    }
    return handle;
}

bool WindowTable::lets_pointer_through(std::uint64_t handle) const {
    const std::optional<LayeredAttributes> attributes = layered(handle);
    if (!attributes || (attributes->flags & kLayeredColourKey) == 0)
        return false;
    const std::optional<std::uint32_t> style = ex_style(handle);
    if (!style || (*style & kExLayered) == 0)
        return false;
    const auto back = std::uint32_t(own(handle)->window->own().integer(PropertyId::back_colour));
    return back == attributes->key;
}

// ---- Names ----

std::string WindowTable::window_label(std::uint32_t window_id) const {
    auto it = labels_.find(window_id);
    if (it != labels_.end())
        return it->second;
    return window_id == kMainWindowId ? "main" : hex(window_id);
}

std::string WindowTable::describe(std::uint64_t handle) const {
    if (const OwnHandle* ours = own(handle)) {
        std::string label = window_label(ours->window->id);
        if (ours->element != ours->window->own().id)
            label += "." + utf8(ours->window->find(ours->element)->name());
        return label;
    }
    const ForeignWindow* window = find_foreign(handle);
    if (window != nullptr && !window->title.empty())
        return window->title;
    return hex(handle);
}

} // namespace vorn::sim
