#include "runtime/core/engine/pictures.h"

namespace vorn::runtime {

std::uint64_t PictureStore::add_file(Bytes content) {
    entries_.emplace(next_, std::move(content));
    return next_++;
}

std::uint64_t PictureStore::add_object(PictureObject object) {
    entries_.emplace(next_, object);
    return next_++;
}

const Bytes* PictureStore::file(std::uint64_t id) const {
    auto it = entries_.find(id);
    return it == entries_.end() ? nullptr : std::get_if<Bytes>(&it->second);
}

const PictureObject* PictureStore::object(std::uint64_t id) const {
    auto it = entries_.find(id);
    return it == entries_.end() ? nullptr : std::get_if<PictureObject>(&it->second);
}

std::optional<PictureObject> PictureStore::release(std::uint64_t id) {
    auto it = entries_.find(id);
    if (it == entries_.end())
        return std::nullopt;
    std::optional<PictureObject> object;
    if (const auto* held = std::get_if<PictureObject>(&it->second))
        object = *held;
    entries_.erase(it);
    printed_.erase(id);
    return object;
}

void PictureStore::drawn_by_printer(std::uint64_t id) {
    if (file(id) != nullptr)
        printed_.insert(id);
}

void PictureStore::printer_job_ended() {
    for (std::uint64_t id : printed_)
        entries_.erase(id);
    printed_.clear();
}

} // namespace vorn::runtime
