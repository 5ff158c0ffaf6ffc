// assetdump DIR: writes every picture and the capture sound into DIR, so that
// they can be looked at and listened to.
#include "tools/assets/assets.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

namespace {

using namespace vorn;
using namespace vorn::assets;

std::vector<std::pair<std::string, Bytes>> all_assets() {
    return {
        {"copy.ico", icon(Icon::copy)},
        {"exit.ico", icon(Icon::exit)},
        {"print.ico", icon(Icon::print)},
        {"about.ico", icon(Icon::about)},
        {"clear.ico", icon(Icon::clear)},
        {"save.ico", icon(Icon::save)},
        {"settings.ico", icon(Icon::settings)},
        {"edit.ico", icon(Icon::edit)},
        {"zoom.png", png(Png::zoom)},
        {"capture_window.png", png(Png::capture_window)},
        {"capture_full_screen.png", png(Png::capture_full_screen)},
        {"capture_region.png", png(Png::capture_region)},
        {"finish_edit.png", png(Png::finish_edit)},
        {"enlarge.bmp", small_bitmap(SmallBitmap::enlarge)},
        {"shrink.bmp", small_bitmap(SmallBitmap::shrink)},
        {"capture.wav", capture_sound()},
    };
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("usage: assetdump DIR\n", stderr);
        return 2;
    }
    const std::filesystem::path dir = argv[1];
    std::error_code error;
    std::filesystem::create_directories(dir, error);
    if (error) {
        std::fprintf(stderr, "assetdump: %s: %s\n", argv[1], error.message().c_str());
        return 1;
    }
    for (const auto& [name, bytes] : all_assets()) {
        const std::filesystem::path path = dir / name;
        std::ofstream out(path, std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
        out.close();
        if (!out) {
            std::fprintf(stderr, "assetdump: cannot write %s\n", path.c_str());
            return 1;
        }
    }
    return 0;
}
