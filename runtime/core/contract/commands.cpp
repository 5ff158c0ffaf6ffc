#include "runtime/core/contract/commands.h"

#include <array>

namespace vorn::contract {

namespace {

constexpr ArgSpec I{Arg::Integer};
constexpr ArgSpec I_{Arg::Integer, true};
constexpr ArgSpec L{Arg::Logical};
constexpr ArgSpec L_{Arg::Logical, true};
constexpr ArgSpec T{Arg::Text};
constexpr ArgSpec T_{Arg::Text, true};
constexpr ArgSpec B{Arg::Block};
constexpr ArgSpec C{Arg::Control};
constexpr ArgSpec W{Arg::Window};
constexpr ArgSpec A{Arg::Any};
constexpr ArgSpec A_{Arg::Any, true};

constexpr std::array kNone = std::array<ArgSpec, 0>{};
constexpr std::array kWindow = {W};
constexpr std::array kControl = {C};
constexpr std::array kLoadWindow = {W, I_, L_};
constexpr std::array kMove = {C, I_, I_, I_, I_};
constexpr std::array kPopup = {W, I, I_, I_};
constexpr std::array kControlInteger = {C, I};
constexpr std::array kMessageBox = {T, I_, T_};
constexpr std::array kInteger = {I};
constexpr std::array kBlockInteger = {B, I};
constexpr std::array kSnapshot = {I_, I_, I_};
constexpr std::array kSound = {B, A_};
constexpr std::array kReadSetting = {T, T, T, T_};
constexpr std::array kWriteSetting = {T, T, T, T};
constexpr std::array kWriteFile = {T, B};
constexpr std::array kText = {T};
constexpr std::array kCanvasBox = {C, I, I, I, I};
constexpr std::array kCanvasPolygon = {C, B, I};
constexpr std::array kCanvasCopy = {C, I_, I_, I_, I_, C, I_, I_, I_};
constexpr std::array kCanvasPicture = {C, I_, I_};
constexpr std::array kCanvasText = {C, I, I, T};
constexpr std::array kCanvasTextWidth = {C, T};
constexpr std::array kBlock = {B};
constexpr std::array kObjectNumber = {I, T};
constexpr std::array kIntegerPair = {I, I};
constexpr std::array kPrintPicture = {C, I, I, I, I, I, I_};
constexpr std::array kPrinterEnd = {C, L_, L_, I_, I_, A_, A_};

using K = KernelCommand;
constexpr std::array kKernel = {
    KernelCommandInfo{K::LoadWindow, "load window", kLoadWindow},
    KernelCommandInfo{K::CloseWindow, "close window", kWindow},
    KernelCommandInfo{K::IsWindowLoaded, "window loaded", kWindow},
    KernelCommandInfo{K::WindowHandle, "window handle", kControl},
    KernelCommandInfo{K::GiveFocus, "give focus", kControl},
    KernelCommandInfo{K::MoveControl, "move", kMove},
    KernelCommandInfo{K::PopupMenu, "pop up menu", kPopup},
    KernelCommandInfo{K::WindowCommand, "window command", kControlInteger},
    KernelCommandInfo{K::MessageBox, "message box", kMessageBox},
    KernelCommandInfo{K::RunDirectory, "run directory", kNone},
    KernelCommandInfo{K::ProgramFileName, "program file name", kNone},
    KernelCommandInfo{K::ScreenWidth, "screen width", kNone},
    KernelCommandInfo{K::ScreenHeight, "screen height", kNone},
    KernelCommandInfo{K::Wait, "wait", kInteger},
    KernelCommandInfo{K::ScreenSnapshot, "snapshot", kSnapshot},
    KernelCommandInfo{K::PlaySound, "play sound", kSound},
    KernelCommandInfo{K::ReadSetting, "read setting", kReadSetting},
    KernelCommandInfo{K::WriteSetting, "write setting", kWriteSetting},
    KernelCommandInfo{K::WriteFile, "write file", kWriteFile},
    KernelCommandInfo{K::ReadFile, "read file", kText},
    KernelCommandInfo{K::LoadPictureFile, "load picture file", kText},
    KernelCommandInfo{K::ProgramConstant, "program constant", kInteger},
    KernelCommandInfo{K::PictureSize, "picture data size", kBlockInteger},
    KernelCommandInfo{K::LoadPictureData, "load picture data", kBlock},
    KernelCommandInfo{K::PictureIdSize, "picture size", kIntegerPair},
    KernelCommandInfo{K::CanvasClear, "canvas clear", kControl},
    KernelCommandInfo{K::CanvasRectangle, "canvas rectangle", kCanvasBox},
    KernelCommandInfo{K::CanvasEllipse, "canvas ellipse", kCanvasBox},
    KernelCommandInfo{K::CanvasLine, "canvas line", kCanvasBox},
    KernelCommandInfo{K::CanvasPolygon, "canvas polygon", kCanvasPolygon},
    KernelCommandInfo{K::CanvasCopy, "canvas copy", kCanvasCopy},
    KernelCommandInfo{K::CanvasPicture, "canvas picture", kCanvasPicture},
    KernelCommandInfo{K::CanvasWriteText, "canvas write text", kCanvasText},
    KernelCommandInfo{K::CanvasTextWidth, "canvas text width", kCanvasTextWidth},
    KernelCommandInfo{K::PictureCreate, "create picture object", kBlock},
    KernelCommandInfo{K::ObjectNumber, "object number", kObjectNumber},
    KernelCommandInfo{K::ObjectRelease, "release object", kInteger},
    KernelCommandInfo{K::OpenFileDialog, "open file dialog", kControl},
    KernelCommandInfo{K::PrinterDrawPicture, "printer draw picture", kPrintPicture},
    KernelCommandInfo{K::PrinterEndJob, "printer end job", kPrinterEnd},
};

constexpr std::array kDeviceEnable = {C, L, A_, A_};
constexpr std::array kDeviceValue = {C, I};
constexpr std::array kAttachTip = {C, C, T, I, A_, A_, A_, A_};
constexpr std::array kConvert = {A, T, L, I, L, I};
constexpr std::array kShortcut = {T, T, A_, A_, A_};

namespace lc = library_command;
using LI = LibraryIndex;
constexpr std::array kLibrary = {
    LibraryCommandInfo{LI::EdirectX, lc::kInputDeviceEnable, "input device: enable", kDeviceEnable},
    LibraryCommandInfo{LI::EdirectX, lc::kInputDeviceInterval, "input device: interval", kDeviceValue},
    LibraryCommandInfo{LI::EdirectX, lc::kInputDeviceMode, "input device: mode", kDeviceValue},
    LibraryCommandInfo{LI::EApi, lc::kProcessNames, "process names", kNone},
    LibraryCommandInfo{LI::EApi, lc::kPictureWidth, "picture width", kText},
    LibraryCommandInfo{LI::EApi, lc::kPictureHeight, "picture height", kText},
    LibraryCommandInfo{LI::EApi, lc::kWindowUnderPointer, "window under pointer", kNone},
    LibraryCommandInfo{LI::EImgConverter, lc::kConvertPicture, "convert picture", kConvert},
    LibraryCommandInfo{LI::Shell, lc::kSpecialFolder, "special folder", kInteger},
    LibraryCommandInfo{LI::Shell, lc::kCreateShortcut, "create shortcut", kShortcut},
    LibraryCommandInfo{LI::Iext5, lc::kAttachTip, "attach tip", kAttachTip},
};

} // namespace

std::span<const KernelCommandInfo> kernel_commands() {
    return kKernel;
}

const KernelCommandInfo* find_kernel_command(std::uint32_t selector) {
    for (const KernelCommandInfo& info : kKernel)
        if (std::uint32_t(info.command) == selector)
            return &info;
    return nullptr;
}

std::span<const LibraryCommandInfo> library_commands() {
    return kLibrary;
}

const LibraryCommandInfo* find_library_command(std::uint32_t library, std::uint32_t selector) {
    for (const LibraryCommandInfo& info : kLibrary)
        if (std::uint32_t(info.library) == library && info.selector == selector)
            return &info;
    return nullptr;
}

} // namespace vorn::contract
