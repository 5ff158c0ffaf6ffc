#include "tools/imagetool/product_content.h"

#include "image/format.h"
#include "runtime/core/contract/commands.h"

#include <array>

namespace vorn::imagetool {

namespace {

// Descriptions are GBK, written as escapes so the source stays plain ASCII.
constexpr std::array<LibraryEntry, image::kLibraryCount> kLibraries = {{
    // 系统核心支持库
    {"krnln", "d09f2340818511d396f6aaf844c7e325", "5", "2",
     "\xcf\xb5\xcd\xb3\xba\xcb\xd0\xc4\xd6\xa7\xb3\xd6\xbf\xe2"},
    // DirectX2D支持库
    {"EdirectX", "81690053A86045bf9E362F5DE0BC4095", "2", "0", "DirectX2D\xd6\xa7\xb3\xd6\xbf\xe2"},
    // 应用接口支持库
    {"eAPI", "F7FC1AE45C5C4758AF03EF19F18A395D", "3", "1",
     "\xd3\xa6\xd3\xc3\xbd\xd3\xbf\xda\xd6\xa7\xb3\xd6\xbf\xe2"},
    // ｅＬＩＢ＋＋ (full-width)
    {"eLIBpp", "ECFB3D10541A422b8B73779AF00B4D0C", "1", "2",
     "\xa3\xe5\xa3\xcc\xa3\xc9\xa3\xc2\xa3\xab\xa3\xab"},
    // 扩展界面支持库一
    {"iext", "27bb20fdd3e145e4bee3db39ddd6e64c", "2", "0",
     "\xc0\xa9\xd5\xb9\xbd\xe7\xc3\xe6\xd6\xa7\xb3\xd6\xbf\xe2\xd2\xbb"},
    // 图像格式转换支持库
    {"eImgConverter", "8FA3AA46276847db8F28E57E7FB97B7F", "2", "0",
     "\xcd\xbc\xcf\xf1\xb8\xf1\xca\xbd\xd7\xaa\xbb\xbb\xd6\xa7\xb3\xd6\xbf\xe2"},
    // 操作系统界面功能支持库
    {"shell", "52F260023059454187AF826A3C07AF2A", "3", "0",
     "\xb2\xd9\xd7\xf7\xcf\xb5\xcd\xb3\xbd\xe7\xc3\xe6\xb9\xa6\xc4\xdc\xd6\xa7\xb3\xd6\xbf\xe2"},
    // 数据操作支持库一
    {"dp1", "4BB4003860154917BC7D8230BF4FA58A", "2", "0",
     "\xca\xfd\xbe\xdd\xb2\xd9\xd7\xf7\xd6\xa7\xb3\xd6\xbf\xe2\xd2\xbb"},
    // 互联网支持库
    {"internet", "707ca37322474f6ca841f0e224f4b620", "2", "0",
     "\xbb\xa5\xc1\xaa\xcd\xf8\xd6\xa7\xb3\xd6\xbf\xe2"},
    // 界面控件增强库
    {"FrameAdvLib", "081033A058C3458a940FE27B3D5BDA86", "1", "4",
     "\xbd\xe7\xc3\xe6\xbf\xd8\xbc\xfe\xd4\xf6\xc7\xbf\xbf\xe2"},
    // 扩展界面支持库二
    {"iext2", "AF6AD80AA4244A59AFB3D83ECF5173CC", "2", "0",
     "\xc0\xa9\xd5\xb9\xbd\xe7\xc3\xe6\xd6\xa7\xb3\xd6\xbf\xe2\xb6\xfe"},
    // 扩展界面支持库五
    {"iext5", "{E5000198-4471-40e2-92BC-D0BA075BDBB2}", "2", "0",
     "\xc0\xa9\xd5\xb9\xbd\xe7\xc3\xe6\xd6\xa7\xb3\xd6\xbf\xe2\xce\xe5"},
    // 超文本浏览框支持库
    {"HtmlView", "5014D8FA6DCA40b68FA626D8183666EB", "2", "2",
     "\xb3\xac\xce\xc4\xb1\xbe\xe4\xaf\xc0\xc0\xbf\xf2\xd6\xa7\xb3\xd6\xbf\xe2"},
}};

// The table order is what the named library indices promise.
static_assert(kLibraries[image::library_index(image::Library::Krnln)].name == "krnln");
static_assert(kLibraries[image::library_index(image::Library::EdirectX)].name == "EdirectX");
static_assert(kLibraries[image::library_index(image::Library::EApi)].name == "eAPI");
static_assert(kLibraries[image::library_index(image::Library::ELibpp)].name == "eLIBpp");
static_assert(kLibraries[image::library_index(image::Library::Iext)].name == "iext");
static_assert(kLibraries[image::library_index(image::Library::EImgConverter)].name == "eImgConverter");
static_assert(kLibraries[image::library_index(image::Library::Shell)].name == "shell");
static_assert(kLibraries[image::library_index(image::Library::Dp1)].name == "dp1");
static_assert(kLibraries[image::library_index(image::Library::Internet)].name == "internet");
static_assert(kLibraries[image::library_index(image::Library::FrameAdvLib)].name == "FrameAdvLib");
static_assert(kLibraries[image::library_index(image::Library::Iext2)].name == "iext2");
static_assert(kLibraries[image::library_index(image::Library::Iext5)].name == "iext5");
static_assert(kLibraries[image::library_index(image::Library::HtmlView)].name == "HtmlView");

// The program calls support libraries by the contract's numbers, which the
// contract keeps apart from the image format: they must be these positions.
constexpr bool same_position(contract::LibraryIndex called, image::Library listed) {
    return static_cast<std::uint32_t>(called) == image::library_index(listed);
}
static_assert(same_position(contract::LibraryIndex::EdirectX, image::Library::EdirectX));
static_assert(same_position(contract::LibraryIndex::EApi, image::Library::EApi));
static_assert(same_position(contract::LibraryIndex::EImgConverter, image::Library::EImgConverter));
static_assert(same_position(contract::LibraryIndex::Shell, image::Library::Shell));
static_assert(same_position(contract::LibraryIndex::Iext5, image::Library::Iext5));

} // namespace

std::span<const LibraryEntry> support_libraries() {
    return kLibraries;
}

} // namespace vorn::imagetool
