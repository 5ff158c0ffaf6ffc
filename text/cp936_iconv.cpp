#include "text/cp936.h"

#include <cstdint>
#include <iconv.h>

namespace vorn::text::detail {

namespace {

// "CP936" rather than "GBK": glibc's GBK has no mapping for 0x80, which
// Windows' code page 936 reads as the euro sign.
constexpr const char* code_page_name = "CP936";
// Explicit byte order, so that iconv neither writes nor expects a BOM.
constexpr const char* utf16_name = "UTF-16LE";

const iconv_t no_converter = reinterpret_cast<iconv_t>(-1);

// One conversion of a whole character; false unless all of it was consumed.
// A failed call can leave a half-read character in the converter, hence the
// reset before every use.
bool convert(iconv_t converter, const char* in, std::size_t in_size, char* out, std::size_t& out_size) {
    if (converter == no_converter)
        return false;
    iconv(converter, nullptr, nullptr, nullptr, nullptr);
    char* in_at = const_cast<char*>(in);
    char* out_at = out;
    std::size_t in_left = in_size;
    std::size_t out_left = out_size;
    if (iconv(converter, &in_at, &in_left, &out_at, &out_left) == static_cast<std::size_t>(-1) ||
        in_left != 0)
        return false;
    out_size -= out_left;
    return true;
}

} // namespace

// Opened on first use, so that plain ASCII text never loads a converter. If
// the system lacks one (a stripped gconv installation), every non-ASCII
// character converts as unmappable instead of failing.
class Converter {
  public:
    Converter(const char* to, const char* from) : to_(to), from_(from) {}
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;
    ~Converter() {
        if (handle_ != no_converter)
            iconv_close(handle_);
    }

    iconv_t get() {
        if (!opened_) {
            handle_ = iconv_open(to_, from_);
            opened_ = true;
        }
        return handle_;
    }

  private:
    const char* to_;
    const char* from_;
    iconv_t handle_ = no_converter;
    bool opened_ = false;
};

struct Cp936::Handles {
    Converter to_utf16{utf16_name, code_page_name};
    Converter from_utf16{code_page_name, utf16_name};
};

Cp936::Cp936() : handles_(std::make_unique<Handles>()) {}

Cp936::~Cp936() = default;

bool Cp936::decode(std::string_view character, std::u16string& out) {
    char units[8];
    std::size_t size = sizeof units;
    if (!convert(handles_->to_utf16.get(), character.data(), character.size(), units, size) || size == 0 ||
        size % 2 != 0)
        return false;
    for (std::size_t at = 0; at < size; at += 2)
        out.push_back(static_cast<char16_t>(std::uint8_t(units[at]) | std::uint8_t(units[at + 1]) << 8));
    return true;
}

bool Cp936::encode(std::u16string_view character, std::string& out) {
    char units[4];
    if (character.size() > 2)
        return false;
    std::size_t count = 0;
    for (char16_t unit : character) {
        units[count++] = static_cast<char>(unit & 0xFF);
        units[count++] = static_cast<char>(unit >> 8);
    }
    char bytes[8];
    std::size_t size = sizeof bytes;
    if (!convert(handles_->from_utf16.get(), units, count, bytes, size) || size == 0)
        return false;
    out.append(bytes, size);
    return true;
}

} // namespace vorn::text::detail
