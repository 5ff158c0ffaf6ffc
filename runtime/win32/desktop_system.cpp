// The desktop's services about the machine: the screen, snapshots, sound,
// paths, processes, the shell, DLL commands and picture objects.
#include "runtime/win32/controls/top_window.h"
#include "runtime/win32/win32_desktop.h"

#include "runtime/core/contract/dll_functions.h"
#include "runtime/core/engine/errors.h"
#include "runtime/core/picture/bitmap.h"
#include "runtime/win32/dpi.h"
#include "runtime/win32/gdi.h"
#include "runtime/win32/portable/dll_geometry.h"
#include "runtime/win32/portable/held_grab.h"
#include "runtime/win32/portable/picture_file.h"
#include "runtime/win32/portable/row_bands.h"
#include "runtime/win32/portable/shell_text.h"
#include "runtime/win32/text.h"
#include "runtime/win32/trace.h"
#include "text/gbk.h"
#include "text/wide.h"

#include <mmsystem.h>
#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>
#include <tlhelp32.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <map>
#include <vector>

namespace vorn::win32 {

namespace {

// The shell library numbers the desktop folder 3.
constexpr std::int32_t kDesktopFolder = 3;
// DLL commands take at most this many integer arguments; the call passes
// them all (x64 callers clean up, so unused ones cost nothing).
constexpr std::size_t kMaxDllArguments = 12;

std::u16string module_path() {
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, buffer.data(), DWORD(buffer.size()));
        if (length < buffer.size())
            return text::from_wide(std::wstring_view(buffer.data(), length));
        buffer.resize(buffer.size() * 2);
    }
}

// The program's DLL commands name system libraries only: they are taken from
// the system directory and nowhere else, whatever lies beside the executable,
// even should the process not have restricted its search at start. Windows 7
// without its loader update refuses the flag; it falls back to the search the
// start-up stub has narrowed as far as that system allows.
HMODULE load_system_library(const std::string& library) {
    HMODULE module = LoadLibraryExA(library.c_str(), nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (module == nullptr && GetLastError() == ERROR_INVALID_PARAMETER)
        module = LoadLibraryA(library.c_str());
    return module;
}

// Each library is loaded and each function looked up once, on its first
// call: the program calls the clipboard functions on every shot. The
// libraries stay loaded for as long as the runtime runs.
FARPROC resolve(const std::string& library, const std::string& function) {
    static std::map<std::string, HMODULE> modules;
    static std::map<std::pair<std::string, std::string>, FARPROC> entries;
    const auto known = entries.find({library, function});
    if (known != entries.end())
        return known->second;
    auto module = modules.find(library);
    if (module == modules.end())
        module = modules.emplace(library, load_system_library(library)).first;
    FARPROC entry = module->second != nullptr ? GetProcAddress(module->second, function.c_str()) : nullptr;
    entries.emplace(std::pair(library, function), entry);
    return entry;
}

// The bitmap's rows into the file's pixel area, bottom-up as the file stores
// them, a band at a time; false if GDI gave fewer rows.
bool read_rows(HDC dc, HBITMAP bitmap, std::span<std::uint8_t> file, int width, int height,
               std::uint64_t& file_digest) {
    const std::size_t stride = picture::bmp_stride_24(width);
    Digest digest;
    digest.add(ByteView(file).first(picture::kBmpPixelOffset));
    // GetDIBits counts a bottom-up bitmap's rows as the file stores them:
    // bands in storage order, as a top-down bitmap's would be.
    for (const RowBand& band : row_bands(width, height, true, kRowBandBytes)) {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = height; // bottom-up, as the file stores rows
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 24;
        info.bmiHeader.biCompression = BI_RGB;
        std::uint8_t* at = file.data() + picture::kBmpPixelOffset + band.first_stored_row * stride;
        if (GetDIBits(dc, bitmap, UINT(band.first_stored_row), UINT(band.rows), at, &info, DIB_RGB_COLORS) !=
            band.rows)
            return false;
        digest.add(ByteView(at, std::size_t(band.rows) * stride));
    }
    file_digest = digest.value();
    return true;
}

// The screen's rectangle as a bitmap file in a block for the program.
// GetDIBits writes the rows straight into that block: a shot is tens of
// megabytes, and every fresh buffer of that size costs more than the copy.
// It does so a band at a time, each band digested while it is still in the
// cache. The device bitmap the rows were read from goes to `grabbed` (null
// when there was none), with the digest of the whole file.
runtime::ProgramBlock grab_screen(int left, int top, int width, int height, HBITMAP& grabbed,
                                  std::uint64_t& file_digest) {
    grabbed = nullptr;
    runtime::ProgramBlock file = runtime::ProgramBlock::sized(picture::bmp_file_size_24(width, height));
    const std::span<std::uint8_t> bytes = file.bytes();
    if (bytes.empty())
        return file;
    picture::write_bmp_headers(bytes, width, height);
    if (width <= 0 || height <= 0)
        return file;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    if (bitmap != nullptr) {
        HGDIOBJ old = SelectObject(memory, bitmap);
        // CAPTUREBLT takes layered windows along, as the user sees them.
        BitBlt(memory, 0, 0, width, height, screen, left, top, SRCCOPY | CAPTUREBLT);
        trace("grab: screen copied");
        SelectObject(memory, old);
        if (read_rows(memory, bitmap, bytes, width, height, file_digest))
            grabbed = bitmap;
        else
            DeleteObject(bitmap);
    }
    trace("grab: rows read");
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return file;
}

// A device bitmap straight from a plain bitmap file's rows, as shots are:
// no decoded copy of tens of megabytes on the way. Null for anything else.
// It is of the screen's format: under Wine, the clipboard did not always
// offer other programs a 24-bit bitmap, and offers none for a DIB section.
HBITMAP bitmap_from_bmp(ByteView file) {
    if (!picture::looks_like_bmp(file))
        return nullptr;
    Result<picture::BmpLayout> layout = picture::read_bmp_layout(file);
    if (!layout || layout->bitfields || layout->width == 0 || layout->height == 0)
        return nullptr;
    HDC screen = GetDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, layout->width, layout->height);
    if (bitmap != nullptr) {
        HDC memory = CreateCompatibleDC(screen);
        HGDIOBJ old = SelectObject(memory, bitmap);
        paint_bmp_rows(memory, file, *layout);
        SelectObject(memory, old);
        DeleteDC(memory);
    }
    ReleaseDC(nullptr, screen);
    return bitmap;
}

// A size the program asked for, made safe to allocate: negative sizes
// become 0, and an absurd one is cut down.
void bound_size(std::int32_t& width, std::int32_t& height) {
    width = std::clamp(width, 0, picture::kMaxDimension);
    height = std::clamp(height, 0, picture::kMaxDimension);
    if (width > 0 && std::uint64_t(width) * std::uint64_t(height) > picture::kMaxPixels)
        height = std::int32_t(picture::kMaxPixels / std::uint64_t(width));
}

template <class Interface> void release(Interface*& object) {
    if (object != nullptr)
        object->Release();
    object = nullptr;
}

} // namespace

runtime::Size Win32Desktop::screen_size() {
    const std::uint32_t dpi = screen_dpi();
    return {to_units(GetSystemMetrics(SM_CXSCREEN), dpi), to_units(GetSystemMetrics(SM_CYSCREEN), dpi)};
}

runtime::ProgramBlock Win32Desktop::snapshot(const runtime::SnapshotRequest& request) {
    // No handle, or the null handle, takes the screen from its top-left
    // corner; a window handle takes what the screen shows in the window's
    // rectangle (covering windows included), and an unknown handle a black
    // picture of the size asked for. The picture is in pixels; a size asked
    // for is in units, and the screen's or the window's own size in units
    // takes exactly its pixels.
    int left = 0, top = 0;
    std::int32_t width = 0, height = 0;
    bool known = true;
    const std::uint32_t dpi = screen_dpi();
    if (!request.window || *request.window == 0) {
        width = GetSystemMetrics(SM_CXSCREEN);
        height = GetSystemMetrics(SM_CYSCREEN);
    } else {
        const auto hwnd = reinterpret_cast<HWND>(std::uintptr_t(*request.window));
        RECT rect{};
        known = IsWindow(hwnd) && GetWindowRect(hwnd, &rect);
        left = rect.left;
        top = rect.top;
        width = rect.right - rect.left;
        height = rect.bottom - rect.top;
    }
    if (request.width)
        width = side_matching_picture(*request.width, width, dpi, false);
    if (request.height)
        height = side_matching_picture(*request.height, height, dpi, false);
    bound_size(width, height);
    trace("snapshot " + (request.window ? hex(*request.window) : std::string("screen")) + " " +
          std::to_string(width) + "x" + std::to_string(height) + (known ? "" : " (unknown window)"));
    if (!known)
        return runtime::ProgramBlock::copy_of(picture::blank_bmp(width, height));
    HBITMAP grabbed = nullptr;
    std::uint64_t shot_digest = 0;
    runtime::ProgramBlock shot = grab_screen(left, top, width, height, grabbed, shot_digest);
    if (grabbed != nullptr)
        if (std::optional<std::uint64_t> older =
                held_grab_.hold(reinterpret_cast<std::uintptr_t>(grabbed), shot.view(), shot_digest))
            DeleteObject(reinterpret_cast<HBITMAP>(std::uintptr_t(*older)));
    return shot;
}

void Win32Desktop::wait(std::uint32_t milliseconds) {
    trace("wait " + std::to_string(milliseconds));
    // Paint while waiting, so that a window the program just hid or showed
    // is seen that way when the wait ends (the reason programs wait); no
    // input is taken meanwhile.
    const DWORD start = GetTickCount();
    for (;;) {
        MSG message{};
        while (PeekMessageW(&message, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE))
            DispatchMessageW(&message);
        const DWORD passed = GetTickCount() - start;
        if (passed >= milliseconds)
            break;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, milliseconds - passed, QS_PAINT);
    }
}

void Win32Desktop::play_sound(ByteView wave) {
    trace("sound " + std::to_string(wave.size()) + " bytes");
    // PlaySound plays from our memory while we run on: stop the last sound
    // before its bytes go.
    PlaySoundW(nullptr, nullptr, 0);
    sound_.assign(wave.begin(), wave.end());
    if (!sound_.empty())
        PlaySoundW(reinterpret_cast<LPCWSTR>(sound_.data()), nullptr, SND_MEMORY | SND_ASYNC | SND_NODEFAULT);
}

std::string Win32Desktop::run_directory() {
    return text::utf16_to_gbk(split_module_path(module_path()).directory);
}

std::string Win32Desktop::program_file_name() {
    return text::utf16_to_gbk(split_module_path(module_path()).file_name);
}

std::filesystem::path Win32Desktop::host_path(const std::string& program_path) {
    return std::filesystem::path(wide(program_path));
}

std::optional<std::uint64_t> Win32Desktop::call_dll(const std::string& library, const std::string& function,
                                                    std::span<const std::uint64_t> args) {
    const std::string from = library.empty() ? "user32" : library;
    const FARPROC entry = resolve(from, function);
    if (entry == nullptr) {
        trace("dll " + from + "!" + function + ": not found");
        return std::nullopt;
    }
    if (args.size() > kMaxDllArguments)
        fatal_error(runtime::kDllArgumentError, "DLL command " + function + " given " +
                                                    std::to_string(args.size()) + " arguments; at most " +
                                                    std::to_string(kMaxDllArguments) + " are passed");
    std::array<std::uint64_t, kMaxDllArguments> a{};
    std::copy(args.begin(), args.end(), a.begin());
    using Function = std::uint64_t (*)(std::uint64_t, std::uint64_t, std::uint64_t, std::uint64_t,
                                       std::uint64_t, std::uint64_t, std::uint64_t, std::uint64_t,
                                       std::uint64_t, std::uint64_t, std::uint64_t, std::uint64_t);
    const auto call = reinterpret_cast<Function>(reinterpret_cast<void*>(entry));
    std::uint64_t result = call(a[0], a[1], a[2], a[3], a[4], a[5], a[6], a[7], a[8], a[9], a[10], a[11]);
    const contract::DllFunction* known = contract::find_dll_function(function);
    if (known != nullptr && known->result == contract::DllResult::int32)
        result = std::uint64_t(std::int64_t(std::int32_t(std::uint32_t(result))));
    if (known != nullptr && known->ownership == contract::DllOwnership::clipboard_takes_bitmap &&
        result != 0 && args.size() == 2)
        bitmap_owners_.handed_to_clipboard(args[1]);
    // Other windows' places come back in the screen's pixels; the program
    // counts in units. The function wrote them into the program's memory
    // at the pointer it was given, as many bytes as the table says.
    if (known != nullptr && std::uint32_t(result) != 0)
        if (const std::optional<GeometryOut> out = geometry_out(*known, args)) {
            auto* bytes = reinterpret_cast<std::uint8_t*>(std::uintptr_t(out->address));
            geometry_to_units(*known, std::span<std::uint8_t>(bytes, out->size), screen_dpi());
        }
    if (tracing()) {
        std::string line = "dll " + from + "!" + function + "(";
        for (std::size_t i = 0; i < args.size(); ++i)
            line += (i == 0 ? "" : ", ") + hex(args[i]);
        trace(line + ") -> " + hex(result));
    }
    return result;
}

std::vector<std::string> Win32Desktop::process_names() {
    std::vector<std::string> names;
    const std::string own = program_file_name();
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE)
        return names;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32FirstW(snapshot, &entry); more; more = Process32NextW(snapshot, &entry)) {
        const std::u16string file = split_module_path(text::from_wide(entry.szExeFile)).file_name;
        names.push_back(listed_process_name(text::utf16_to_gbk(file), own));
    }
    CloseHandle(snapshot);
    trace("process list (" + std::to_string(names.size()) + " names)");
    return names;
}

namespace {

// Deeper than any window of this program nests its controls.
constexpr int kMaxNesting = 16;

// The innermost visible child of `window` at the screen point.
HWND innermost_at(HWND window, POINT at) {
    for (int depth = 0; depth < kMaxNesting; ++depth) {
        POINT client = at;
        ScreenToClient(window, &client);
        const HWND child = ChildWindowFromPointEx(window, client, CWP_SKIPINVISIBLE | CWP_SKIPTRANSPARENT);
        if (child == nullptr || child == window)
            break;
        window = child;
    }
    return window;
}

} // namespace

// Where one of our layered windows shows its colour key, the user sees, and
// points at, what lies beneath (Windows hit-tests so; Wine does not).
bool Win32Desktop::see_through_at(HWND window) const {
    auto* top = dynamic_cast<TopWindow*>(control_of(window));
    COLORREF key = 0;
    DWORD flags = 0;
    return top != nullptr && (GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_LAYERED) != 0 &&
           GetLayeredWindowAttributes(window, &key, nullptr, &flags) && (flags & LWA_COLORKEY) != 0 &&
           top->background_colour() == key;
}

std::uint64_t Win32Desktop::window_under_pointer() {
    POINT at{};
    GetCursorPos(&at);
    HWND under = WindowFromPoint(at);
    while (under != nullptr && see_through_at(under)) {
        HWND below = GetWindow(under, GW_HWNDNEXT);
        for (RECT rect{}; below != nullptr; below = GetWindow(below, GW_HWNDNEXT))
            if (IsWindowVisible(below) && GetWindowRect(below, &rect) && PtInRect(&rect, at))
                break;
        under = below != nullptr ? innermost_at(below, at) : GetDesktopWindow();
    }
    trace("window under pointer " + std::to_string(at.x) + "," + std::to_string(at.y) + " -> " +
          hex(reinterpret_cast<std::uintptr_t>(under)));
    return reinterpret_cast<std::uintptr_t>(under);
}

std::string Win32Desktop::special_folder(std::int32_t folder) {
    std::string path;
    wchar_t buffer[MAX_PATH] = {};
    // The folder is made if the user has none yet: the program asks for it
    // to put a shortcut there.
    if (folder == kDesktopFolder &&
        SUCCEEDED(SHGetFolderPathW(nullptr, CSIDL_DESKTOPDIRECTORY | CSIDL_FLAG_CREATE, nullptr,
                                   SHGFP_TYPE_CURRENT, buffer))) {
        std::wstring desktop = buffer;
        if (!desktop.empty() && desktop.back() != L'\\')
            desktop += L'\\';
        path = gbk(desktop);
    }
    trace("special folder " + std::to_string(folder) + " -> \"" + utf8_from_gbk(path) + "\"");
    return path;
}

bool Win32Desktop::create_shortcut(const std::string& link, const std::string& target) {
    if (!com_ready_)
        com_ready_ = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE));
    const std::wstring target_path = wide(target);
    const std::wstring link_path = text::to_wide(with_link_extension(text::gbk_to_utf16(link)));
    const std::wstring directory = text::to_wide(split_module_path(text::from_wide(target_path)).directory);
    IShellLinkW* shortcut = nullptr;
    IPersistFile* file = nullptr;
    bool made = SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                           reinterpret_cast<void**>(&shortcut))) &&
                SUCCEEDED(shortcut->SetPath(target_path.c_str())) &&
                SUCCEEDED(shortcut->SetWorkingDirectory(directory.c_str())) &&
                SUCCEEDED(shortcut->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file))) &&
                SUCCEEDED(file->Save(link_path.c_str(), TRUE));
    release(file);
    release(shortcut);
    trace("shortcut \"" + utf8(link_path) + "\" -> \"" + utf8(target_path) + "\"" + (made ? "" : " failed"));
    return made;
}

runtime::PictureObject Win32Desktop::create_picture_object(ByteView data) {
    trace("picture object from " + std::to_string(data.size()) + " bytes");
    // A shot just taken: the bitmap it was read from is the bitmap of these rows.
    HBITMAP bitmap = nullptr;
    if (std::optional<std::uint64_t> grabbed = held_grab_.take_if_same(data)) {
        bitmap = reinterpret_cast<HBITMAP>(std::uintptr_t(*grabbed));
        trace("picture object from the grab");
    } else {
        bitmap = bitmap_from_bmp(data);
    }
    if (bitmap == nullptr) {
        Result<Picture> decoded = decode_any_picture(data);
        if (!decoded) {
            trace("picture object refused: " + decoded.error().message);
            return {};
        }
        bitmap = screen_bitmap(flatten(std::move(*decoded), picture::rgb(255, 255, 255)));
    }
    if (bitmap == nullptr)
        return {};
    const std::uint64_t object = bitmap_owners_.add(reinterpret_cast<std::uintptr_t>(bitmap));
    trace("picture object " + std::to_string(object) + " bitmap " +
          hex(reinterpret_cast<std::uintptr_t>(bitmap)));
    return {object, reinterpret_cast<std::uintptr_t>(bitmap)};
}

void Win32Desktop::release_picture_object(std::uint64_t object) {
    const std::optional<std::uint64_t> owned = bitmap_owners_.release(object);
    if (owned)
        DeleteObject(reinterpret_cast<HBITMAP>(std::uintptr_t(*owned)));
    trace("release picture object " + std::to_string(object) + (owned ? ", bitmap deleted" : ""));
}

} // namespace vorn::win32
