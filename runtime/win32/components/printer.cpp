#include "runtime/win32/components/printer.h"

#include "runtime/win32/gdi.h"
#include "runtime/win32/portable/conventions.h"
#include "runtime/win32/portable/picture_file.h"
#include "runtime/win32/text.h"
#include "runtime/win32/trace.h"

#include <winspool.h>

#include <algorithm>
#include <utility>

namespace vorn::win32 {

void Printer::draw(ByteView picture, std::int32_t left, std::int32_t top, std::int32_t width,
                   std::int32_t height) {
    Result<Picture> decoded = decode_any_picture(picture);
    if (!decoded) {
        trace("printer: picture not read: " + decoded.error().message);
        return;
    }
    page_.push_back({flatten(*decoded, picture::rgb(255, 255, 255)), left, top, width, height});
}

void Printer::end_job(const std::wstring& document_name) {
    std::vector<Placed> page = std::exchange(page_, {});
    if (page.empty())
        return;
    DWORD length = 0;
    GetDefaultPrinterW(nullptr, &length);
    std::wstring name(length, L'\0');
    if (length == 0 || !GetDefaultPrinterW(name.data(), &length)) {
        trace("printer: there is no default printer");
        return;
    }
    name.resize(length > 0 ? length - 1 : 0);
    HDC printer = CreateDCW(L"WINSPOOL", name.c_str(), nullptr, nullptr);
    if (printer == nullptr) {
        trace("printer: cannot open " + utf8(name));
        return;
    }
    std::int32_t right = 0, bottom = 0;
    for (const Placed& placed : page) {
        right = std::max(right, placed.left + placed.width);
        bottom = std::max(bottom, placed.top + placed.height);
    }
    const PageScale scale =
        page_scale(GetDeviceCaps(printer, LOGPIXELSX), GetDeviceCaps(printer, LOGPIXELSY),
                   GetDeviceCaps(printer, HORZRES), GetDeviceCaps(printer, VERTRES), right, bottom);
    DOCINFOW document{};
    document.cbSize = sizeof document;
    document.lpszDocName = document_name.c_str();
    if (StartDocW(printer, &document) > 0) {
        StartPage(printer);
        for (const Placed& placed : page)
            draw_image(printer, placed.image, int(placed.left * scale.x), int(placed.top * scale.y),
                       int(placed.width * scale.x), int(placed.height * scale.y));
        EndPage(printer);
        EndDoc(printer);
        trace("printer: printed " + std::to_string(page.size()) + " pictures on " + utf8(name));
    }
    DeleteDC(printer);
}

} // namespace vorn::win32
