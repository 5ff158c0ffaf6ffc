// The platform's code page 936 tables, asked one character at a time. The
// portable code in gbk.cpp splits the text into characters and decides what
// replaces a malformed one, so both platforms treat bad input alike.
#pragma once

#include <memory>
#include <string>
#include <string_view>

namespace vorn::text::detail {

class Cp936 {
  public:
    Cp936();
    ~Cp936();
    Cp936(const Cp936&) = delete;
    Cp936& operator=(const Cp936&) = delete;

    // Appends the UTF-16 of one non-ASCII GBK character: the single byte 0x80,
    // or a lead byte and a trail byte. False when the code page has no mapping.
    bool decode(std::string_view character, std::u16string& out);

    // Appends the GBK bytes of one non-ASCII code point, given as its one or
    // two UTF-16 units. False when the code page cannot hold it.
    bool encode(std::u16string_view character, std::string& out);

  private:
    struct Handles;
    std::unique_ptr<Handles> handles_;
};

} // namespace vorn::text::detail
