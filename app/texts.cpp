#include "app/texts.h"

#include "text/gbk.h"

#include <array>
#include <string>

namespace vorn::app {

namespace {

constexpr std::array kTexts = {
#define VORN_TEXT_INFO(id, utf8) TextInfo{Text::id, #id, utf8},
    VORN_TEXTS(VORN_TEXT_INFO)
#undef VORN_TEXT_INFO
};

static_assert(
    [] {
        for (std::size_t i = 0; i < kTexts.size(); ++i)
            if (static_cast<std::size_t>(kTexts[i].id) != i)
                return false;
        return true;
    }(),
    "the table is indexed by its identifiers");

} // namespace

std::span<const TextInfo> all_texts() {
    return kTexts;
}

std::string_view utf8(Text text) {
    return kTexts[static_cast<std::size_t>(text)].utf8;
}

std::string_view gbk(Text text) {
    // Built on first use rather than at static initialisation, so that no
    // other static's constructor can see it half converted.
    static const std::array<std::string, kTexts.size()> converted = [] {
        std::array<std::string, kTexts.size()> out;
        for (std::size_t i = 0; i < kTexts.size(); ++i)
            out[i] = text::utf8_to_gbk(kTexts[i].utf8);
        return out;
    }();
    return converted[static_cast<std::size_t>(text)];
}

} // namespace vorn::app
