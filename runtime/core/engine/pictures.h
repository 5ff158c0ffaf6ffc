// What the program holds of pictures by number: picture files loaded for the
// printer and picture objects made for the clipboard. One numbering for
// both, so that releasing a number releases whichever it names. A loaded
// file is also let go when the printer's job that drew it ends: the program
// never releases those itself, and every print would otherwise keep a shot.
#pragma once

#include "base/bytes.h"

#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <variant>

namespace vorn::runtime {

struct PictureObject {
    std::uint64_t object = 0;
    std::uint64_t bitmap = 0;
};

class PictureStore {
  public:
    std::uint64_t add_file(Bytes content);
    std::uint64_t add_object(PictureObject object);
    const Bytes* file(std::uint64_t id) const;
    const PictureObject* object(std::uint64_t id) const;
    // Forgets the number. For an object, returns it for the backend to release.
    std::optional<PictureObject> release(std::uint64_t id);
    // A printer job drew the file; it goes when the job ends.
    void drawn_by_printer(std::uint64_t id);
    void printer_job_ended();
    std::size_t size() const { return entries_.size(); }

  private:
    std::map<std::uint64_t, std::variant<Bytes, PictureObject>> entries_;
    std::set<std::uint64_t> printed_;
    std::uint64_t next_ = 1;
};

} // namespace vorn::runtime
