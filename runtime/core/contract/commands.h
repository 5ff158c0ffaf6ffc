// The runtime's own commands (service slot 3) and the support-library commands
// the program calls (slot 2): stable numbers, names for traces, and the
// argument shapes the runtime checks before it acts.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace vorn::contract {

// Argument shapes, checked per position: a required argument must be present
// with this type; an optional one may be omitted.
enum class Arg : std::uint8_t {
    Integer,
    Logical,
    Text,
    Block,
    Double,
    Control, // (window id, element id, class id)
    Window,  // a window id as an integer
    Any,
};

struct ArgSpec {
    Arg type;
    bool optional = false;
};

enum class KernelCommand : std::uint32_t {
    // Windows
    LoadWindow = 1,     // window, parent window (0 = none), modal flag
    CloseWindow = 2,    // window
    IsWindowLoaded = 3, // window -> logical
    WindowHandle = 4,   // control (or a window's own element) -> integer
    GiveFocus = 5,      // control
    MoveControl = 6,    // control, left?, top?, width?, height?
    PopupMenu = 7,      // window, menu item, x?, y?
    WindowCommand = 8,  // control, integer: a window-object command (2 = bring to the foreground)
    MessageBox = 9,     // text, style, title? -> integer (button pressed)
    // Program environment
    RunDirectory = 20,    // -> text, without a trailing backslash
    ProgramFileName = 21, // -> text, name and extension
    ScreenWidth = 22,     // -> integer
    ScreenHeight = 23,    // -> integer
    Wait = 24,            // milliseconds
    ScreenSnapshot = 25,  // window handle?, width?, height? -> picture data
    PlaySound = 26,       // sound block, flags?
    ReadSetting = 27,     // file, section, key, default? -> text
    WriteSetting = 28,    // file, section, key, value -> logical
    WriteFile = 29,       // path, block -> FileFailure (0: written)
    ReadFile = 30,        // path -> block
    LoadPictureFile = 31, // path -> picture id
    ProgramConstant = 32, // const-section offset of a binary constant -> a copy of its bytes
    PictureSize = 33,     // picture data, 0 for the width or 1 for the height -> integer (0: no picture)
    LoadPictureData = 34, // picture data -> picture id, as LoadPictureFile gives for a file
    PictureIdSize = 35,   // picture id, integer (0 width, 1 height) -> pixels, 0 when unreadable
    // Canvases
    CanvasClear = 40,     // canvas
    CanvasRectangle = 41, // canvas, x1, y1, x2, y2
    CanvasEllipse = 42,   // canvas, x1, y1, x2, y2
    CanvasLine = 43,      // canvas, x1, y1, x2, y2
    CanvasPolygon = 44,   // canvas, points block (x, y pairs of 32-bit integers), point count
    CanvasCopy = 45,      // source, left?, top?, width?, height?, target, target left?, target top?, mode?
    CanvasPicture = 46,   // canvas, width?, height? -> picture data
    CanvasWriteText = 47, // canvas, x, y, text
    CanvasTextWidth = 48, // canvas, text -> integer
    // Objects
    PictureCreate = 50,  // picture data -> object
    ObjectNumber = 51,   // object, property name -> double
    ObjectRelease = 52,  // object
    OpenFileDialog = 55, // dialog control -> logical
    // Printer component
    PrinterDrawPicture = 60, // printer, picture id, left, top, width, height, mode
    PrinterEndJob = 61,      // printer, logical, logical, integer, integer, two omitted
};

// Why a file could not be written, as the file commands and the JPEG
// conversion report it: 0 when it was written. The program words each reason
// for the user.
enum class FileFailure : std::int64_t {
    none = 0,
    no_directory = 1,       // the folder does not exist
    denied = 2,             // read-only medium or folder, or no permission
    disk_full = 3,          // no space left
    unreadable_picture = 4, // the source is not a picture the converter reads
    other = 5,
};

struct KernelCommandInfo {
    KernelCommand command;
    std::string_view name;
    std::span<const ArgSpec> args;
};

std::span<const KernelCommandInfo> kernel_commands();
const KernelCommandInfo* find_kernel_command(std::uint32_t selector);

// Support-library commands, by 0-based library index and selector. The index
// is the library's position in the image's table; the image builder checks
// these values against the table it writes.
enum class LibraryIndex : std::uint32_t {
    EdirectX = 1,
    EApi = 2,
    EImgConverter = 5,
    Shell = 6,
    Iext5 = 11,
};

struct LibraryCommandInfo {
    LibraryIndex library;
    std::uint32_t selector;
    std::string_view name;
    std::span<const ArgSpec> args;
};

std::span<const LibraryCommandInfo> library_commands();
const LibraryCommandInfo* find_library_command(std::uint32_t library, std::uint32_t selector);

namespace library_command {
inline constexpr std::uint32_t kInputDeviceEnable = 0x8C;   // EdirectX: device, logical, two omitted
inline constexpr std::uint32_t kInputDeviceInterval = 0x98; // EdirectX: device, integer
inline constexpr std::uint32_t kInputDeviceMode = 0x38;     // EdirectX: device, integer
inline constexpr std::uint32_t kProcessNames = 0x28;        // eAPI: -> array of texts
inline constexpr std::uint32_t kPictureWidth = 0x7C;        // eAPI: path -> integer
inline constexpr std::uint32_t kPictureHeight = 0x80;       // eAPI: path -> integer
inline constexpr std::uint32_t kWindowUnderPointer = 0x138; // eAPI: -> integer
// eImgConverter: source (a file's path, or the picture data itself), target path, logical, quality,
// logical, integer -> FileFailure
inline constexpr std::uint32_t kConvertPicture = 0;
inline constexpr std::uint32_t kSpecialFolder = 0x1C; // shell: integer -> text
inline constexpr std::uint32_t kCreateShortcut = 0;   // shell: link path, target, three omitted
inline constexpr std::uint32_t kAttachTip = 0x50;     // iext5: balloon, control, text, integer, ...
} // namespace library_command

} // namespace vorn::contract
