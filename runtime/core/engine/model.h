// The live object model: the windows that are loaded, each with its elements
// (own element, controls, components, menu items) and their current property
// values. It is created from the stored definitions and is the truth that the
// program reads and writes; the desktop backend mirrors it on screen and feeds
// user changes (typed text, a toggled check box, a moved window) back into it.
#pragma once

#include "base/bytes.h"
#include "base/result.h"
#include "forms/class_table.h"
#include "forms/font.h"
#include "forms/properties.h"
#include "forms/section.h"

#include <algorithm>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace vorn::runtime {

using forms::PropertyId;

// The bytes behind a shared value: its own, or a block of the program's lent
// to it (see block_lending.h), which becomes its own when the program writes
// into the block.
class ByteStore {
  public:
    explicit ByteStore(Bytes bytes = {}) : own_(std::move(bytes)) {}
    virtual ~ByteStore() = default;
    ByteStore(const ByteStore&) = delete;
    ByteStore& operator=(const ByteStore&) = delete;

    ByteView view() const { return lent_ ? *lent_ : ByteView(own_); }
    // Its own bytes, to write over in place; null while they are a block's.
    Bytes* own() { return lent_ ? nullptr : &own_; }

  protected:
    Bytes own_;
    std::optional<ByteView> lent_;
};

// Bytes that several properties hold at once: a picture the program read
// from one property and wrote, unchanged, to another (the editor's canvas
// takes the shot the main window shows) is kept once, and so is a block the
// program lends. Whoever is written next gets bytes of its own; compared by
// content, as Bytes are.
class SharedBytes {
  public:
    explicit SharedBytes(Bytes bytes) : store_(std::make_shared<ByteStore>(std::move(bytes))) {}
    explicit SharedBytes(std::shared_ptr<ByteStore> store) : store_(std::move(store)) {}
    ByteView view() const { return store_->view(); }
    // Its own bytes, held by this value alone: they may be written over in
    // place. Null otherwise.
    Bytes* sole_bytes() { return store_.use_count() == 1 ? store_->own() : nullptr; }
    bool operator==(const SharedBytes& other) const {
        if (store_ == other.store_)
            return true;
        const ByteView mine = view();
        const ByteView theirs = other.view();
        return std::equal(mine.begin(), mine.end(), theirs.begin(), theirs.end());
    }

  private:
    std::shared_ptr<ByteStore> store_;
};

// A property value: integers, flags, colours and cursors as integers; texts as
// GBK bytes; pictures and other blocks as bytes; fonts as the stored record
// (monostate: the class's default font).
using Value = std::variant<std::monostate, std::int64_t, std::string, Bytes, forms::Font, SharedBytes>;

std::int64_t as_integer(const Value& value);
std::string as_text(const Value& value);
Bytes as_bytes(const Value& value);
// The bytes without a copy; valid while the value is unchanged.
ByteView bytes_view(const Value& value);

struct LiveElement {
    std::uint32_t id = 0;
    std::uint32_t class_id = 0;
    const forms::Element* definition = nullptr;
    const forms::ClassInfo* info = nullptr; // null for a class the table does not know
    std::map<PropertyId, Value> properties;
    std::uint64_t native = 0; // the backend's handle

    bool is_menu_item() const { return definition->is_menu_item(); }
    bool has(PropertyId property) const { return properties.count(property) != 0; }
    const Value& get(PropertyId property) const;
    std::int64_t integer(PropertyId property) const { return as_integer(get(property)); }
    std::string text(PropertyId property) const { return as_text(get(property)); }
    // Container element id, 0 for the window's client area.
    std::uint32_t parent() const;
    const std::string& name() const { return definition->name; }
};

struct LiveWindow {
    std::uint32_t id = 0;
    const forms::Window* definition = nullptr;
    std::vector<LiveElement> elements; // own element first, in stored order
    std::uint32_t parent = 0;          // parent window id, 0 for none
    bool modal = false;
    std::uint64_t native = 0; // the backend's handle

    LiveElement& own() { return elements.front(); }
    const LiveElement& own() const { return elements.front(); }
    LiveElement* find(std::uint32_t element_id);
    const LiveElement* find(std::uint32_t element_id) const;
    // The window's own element may be addressed by its own id or by the window id.
    LiveElement* resolve(std::uint32_t element_id);
    std::string describe() const;
};

// Builds a window's live elements from its definition: geometry, visibility,
// focusability and cursor from the element records, every property that the
// class block stores, and the run-time defaults of the rest.
Result<std::unique_ptr<LiveWindow>> create_live_window(const forms::Window& definition);

// The properties an element of this class has (those of its record and class
// block, and the run-time ones), for checking reads and writes.
bool class_has_property(std::uint32_t class_id, bool is_menu_item, PropertyId property);

} // namespace vorn::runtime
