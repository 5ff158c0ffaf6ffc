#include "runtime/sim/sim_desktop.h"

#include "runtime/core/contract/commands.h"
#include "runtime/core/engine/engine.h"
#include "runtime/core/engine/errors.h"
#include "runtime/core/picture/decode.h"
#include "runtime/sim/describe.h"
#include "runtime/sim/user.h"

namespace vorn::sim {

using forms::PropertyId;
using runtime::LiveElement;
using runtime::LiveWindow;

namespace {

const char* const kDefaultProgramFileName = "VornShot.exe";
// A plain desktop until the test paints one; not black, so that a snapshot
// of it is never mistaken for the black picture of an unknown window.
constexpr std::int32_t kDefaultScreenWidth = 1024;
constexpr std::int32_t kDefaultScreenHeight = 768;
constexpr picture::Pixel kDesktopBlue = picture::rgb(0x3A, 0x6E, 0xA5);
constexpr int kAnswerOk = 1;
// The window-object command that brings a window to the foreground.
constexpr std::int64_t kCommandForeground = 2;

std::string at_text(const std::optional<runtime::Point>& at) {
    return at ? " at " + std::to_string(at->x) + "," + std::to_string(at->y) : "";
}

} // namespace

SimDesktop::SimDesktop()
    : user_(std::make_unique<SimUser>(*this)), program_file_name_(kDefaultProgramFileName) {}

SimDesktop::~SimDesktop() = default;

void SimDesktop::set_program_file_name(const std::string& utf8_name) {
    program_file_name_ = gbk(utf8_name);
}

std::string SimDesktop::describe(const LiveWindow& window, const LiveElement& element) const {
    std::string label = windows_.window_label(window.id);
    if (&element != &window.own())
        label += "." + utf8(element.name());
    return label;
}

// ---- Windows ----

Status SimDesktop::create_window(LiveWindow& window, LiveWindow* parent) {
    windows_.add_live(window, parent);
    std::erase_if(canvases_, [&](const auto& entry) { return entry.first.first == window.id; });
    for (const LiveElement& element : window.elements)
        if (element.class_id == forms::class_id::canvas)
            make_canvas(window, element);
    trace_.add("create window " + windows_.window_label(window.id) + " " +
               in_quotes(window.own().text(PropertyId::text)) +
               (window.own().integer(PropertyId::visible) != 0 ? " shown" : " hidden"));
    return ok_status();
}

void SimDesktop::show_created_window(LiveWindow& window) {
    windows_.created(window);
    if (window.own().integer(PropertyId::visible) != 0)
        trace_.add("show window " + windows_.window_label(window.id));
}

void SimDesktop::destroy_window(LiveWindow& window) {
    trace_.add("destroy window " + windows_.window_label(window.id));
    windows_.remove_live(window);
}

void SimDesktop::property_changed(LiveWindow& window, LiveElement& element, PropertyId property) {
    trace_.add("property " + describe(window, element) + " " + std::string(forms::property_name(property)) +
               "=" + show_value(property, element.get(property)));
    // Showing a top-level window activates it, which brings it to the front.
    if (property == PropertyId::visible && &element == &window.own() && element.integer(property) != 0)
        windows_.bring_to_front(window.native);
    // The engine leaves a canvas's surface to the backend, as a GDI canvas
    // resizes its bitmap when its control is resized.
    SimCanvas* surface = find_canvas(window.id, element.id);
    if (surface == nullptr)
        return;
    if (property == PropertyId::width || property == PropertyId::height)
        surface->resize(std::int32_t(element.integer(PropertyId::width)),
                        std::int32_t(element.integer(PropertyId::height)));
    // The picture is decoded once, here; every clear repaints it.
    if (property == PropertyId::background_picture)
        surface->set_background(runtime::bytes_view(element.get(PropertyId::background_picture)),
                                std::uint32_t(element.integer(PropertyId::back_colour)));
}

std::uint64_t SimDesktop::native_handle(LiveWindow& window, LiveElement& element) {
    return &element == &window.own() ? window.native : element.native;
}

void SimDesktop::give_focus(LiveWindow& window, LiveElement& element) {
    focus_changes_.push_back({window.id, element.id, 0});
    trace_.add("focus " + describe(window, element));
}

void SimDesktop::window_command(LiveWindow& window, LiveElement& element, std::int64_t command) {
    window_commands_.push_back({window.id, element.id, command});
    trace_.add("window command " + describe(window, element) + " " + std::to_string(command));
    if (command == kCommandForeground)
        windows_.bring_to_front(window.native);
}

// ---- Loops and the end ----

void SimDesktop::run_message_loop() {
    trace_.add("message loop");
    // The session runs once; a second loop (there is none in the program)
    // finds nothing left to do.
    if (Script session = std::exchange(session_, nullptr))
        session(*this);
    trace_.add("message loop ends");
}

std::optional<std::pair<std::uint32_t, std::uint32_t>> SimDesktop::watching_device() {
    if (enabled_device_ && (engine_ == nullptr || !engine_->is_loaded(enabled_device_->first)))
        enabled_device_.reset();
    return enabled_device_;
}

void SimDesktop::run_modal_loop(std::uint32_t window_id) {
    const std::string label = windows_.window_label(window_id);
    trace_.add("modal loop " + label);
    // A nested loop takes what was posted before it began first.
    user_->deliver_posted();
    auto queued = modal_scripts_.find(window_id);
    if (queued != modal_scripts_.end() && !queued->second.empty()) {
        Script script = std::move(queued->second.front());
        queued->second.pop_front();
        script(*this);
    }
    trace_.add("modal loop " + label + " ends" +
               (windows_.has_window(window_id) ? " (window still open)" : ""));
}

void SimDesktop::end_process(int code) {
    trace_.add("end process " + std::to_string(code));
    exit_code_ = code;
    throw ProgramEnded{code};
}

void SimDesktop::fatal_error(std::uint32_t code, const std::string& message) {
    trace_.add("fatal error " + std::to_string(code) + ": " + message);
    throw RuntimeFailure{code, message};
}

// ---- Questions for the user ----

int SimDesktop::message_box(const std::string& text, const std::string& title, std::uint32_t style) {
    int answer = kAnswerOk;
    if (!box_answers_.empty()) {
        answer = box_answers_.front();
        box_answers_.pop_front();
    }
    message_boxes_.push_back({utf8(text), utf8(title), text, title, style, answer});
    std::string line = "message box " + in_quotes(text);
    if (!title.empty())
        line += " title " + in_quotes(title);
    if (style != 0)
        line += " style " + std::to_string(style);
    trace_.add(line + " -> " + std::to_string(answer));
    return answer;
}

void SimDesktop::popup_menu(LiveWindow& window, LiveElement& menu, std::optional<runtime::Point> at) {
    PopupRecord record{window.id, menu.id, at, std::nullopt};
    if (!popup_choices_.empty()) {
        record.chosen = popup_choices_.front();
        popup_choices_.pop_front();
        posted_.emplace_back(window.id, *record.chosen);
    }
    popups_.push_back(record);
    trace_.add("popup menu " + windows_.window_label(window.id) + " " +
               in_quotes(menu.text(PropertyId::text)) + at_text(at) +
               (record.chosen ? " -> " + hex(*record.chosen) : " -> dismissed"));
}

std::optional<std::string> SimDesktop::open_file_dialog(LiveWindow& window, LiveElement& dialog) {
    FileDialogRecord record;
    record.window = window.id;
    record.dialog = dialog.id;
    record.type = dialog.integer(PropertyId::dialog_type);
    record.filter = utf8(dialog.text(PropertyId::filter));
    record.default_extension = utf8(dialog.text(PropertyId::default_extension));
    record.file_name = utf8(dialog.text(PropertyId::file_name));
    if (!file_answers_.empty()) {
        record.answer = file_answers_.front();
        file_answers_.pop_front();
    }
    trace_.add("file dialog " + describe(window, dialog) + " type " + std::to_string(record.type) +
               " filter \"" + record.filter + "\" -> " +
               (record.answer ? "\"" + *record.answer + "\"" : "cancel"));
    file_dialogs_.push_back(record);
    if (!record.answer)
        return std::nullopt;
    return gbk(*record.answer);
}

// ---- Screen and system ----

runtime::ProgramBlock SimDesktop::snapshot(const runtime::SnapshotRequest& request) {
    // No handle, or the null handle (whose device context is the whole
    // screen), takes the screen from its top-left corner.
    if (!request.window || *request.window == 0) {
        const Size size =
            fit_picture(request.width.value_or(screen_.width), request.height.value_or(screen_.height));
        trace_.add(request.window
                       ? "snapshot screen " + std::to_string(size.width) + "x" + std::to_string(size.height)
                       : "snapshot screen");
        return runtime::ProgramBlock::copy_of(
            picture::encode_bmp(picture::crop(screen_, 0, 0, size.width, size.height)));
    }
    const std::optional<Rect> rect = windows_.rect(*request.window);
    const Size size = fit_picture(request.width.value_or(rect ? rect->width() : 0),
                                  request.height.value_or(rect ? rect->height() : 0));
    const std::string shown = std::to_string(size.width) + "x" + std::to_string(size.height);
    if (!rect) {
        trace_.add("snapshot unknown window " + hex(*request.window) + " " + shown);
        return runtime::ProgramBlock::copy_of(picture::encode_bmp(picture::Image(size.width, size.height)));
    }
    trace_.add("snapshot window " + windows_.describe(*request.window) + " " + shown);
    return runtime::ProgramBlock::copy_of(
        picture::encode_bmp(picture::crop(screen_, rect->left, rect->top, size.width, size.height)));
}

void SimDesktop::wait(std::uint32_t milliseconds) {
    clock_ += milliseconds;
    trace_.add("wait " + std::to_string(milliseconds));
}

void SimDesktop::play_sound(ByteView wave) {
    sounds_.push_back({Bytes(wave.begin(), wave.end()), clock_});
    trace_.add("sound " + std::to_string(wave.size()) + " bytes");
}

std::optional<std::uint64_t> SimDesktop::call_dll(const std::string& library, const std::string& function,
                                                  std::span<const std::uint64_t> args) {
    const std::optional<std::size_t> arity = User32::arity(function);
    if (!arity) {
        trace_.add("dll " + library + "!" + function + ": not found");
        return std::nullopt;
    }
    if (*arity != args.size())
        fatal_error(runtime::kDllArgumentError, "DLL command " + function + " takes " +
                                                    std::to_string(*arity) + " arguments, given " +
                                                    std::to_string(args.size()));
    DllCall call = user32_.call(function, args);
    trace_.add("dll " + call.line);
    return call.result;
}

std::vector<std::string> SimDesktop::process_names() {
    std::vector<std::string> names;
    if (process_names_) {
        for (const std::string& name : *process_names_)
            names.push_back(gbk(name));
    } else {
        std::string own = program_file_name_;
        for (std::size_t at = own.find("exe"); at != std::string::npos; at = own.find("exe", at + 3))
            own.replace(at, 3, "EXE");
        names = {"System", "EXPLORER.EXE", own};
    }
    trace_.add("process list (" + std::to_string(names.size()) + " names)");
    return names;
}

std::uint64_t SimDesktop::window_under_pointer() {
    const std::uint64_t handle = windows_.under_pointer();
    const Point at = windows_.pointer();
    trace_.add("window under pointer " + std::to_string(at.x) + "," + std::to_string(at.y) + " -> " +
               (handle == 0 ? "none" : windows_.describe(handle)));
    return handle;
}

std::string SimDesktop::special_folder(std::int32_t folder) {
    // Folder 3 is the desktop in the shell library's numbering; the program
    // asks for no other.
    constexpr std::int32_t kDesktopFolder = 3;
    const std::string path = folder == kDesktopFolder ? files_.desktop_directory() : std::string();
    trace_.add("special folder " + std::to_string(folder) + " -> " + in_quotes(path));
    return path;
}

bool SimDesktop::create_shortcut(const std::string& link, const std::string& target) {
    const bool made = files_.create_shortcut(link, target);
    trace_.add("shortcut " + in_quotes(link) + " -> " + in_quotes(target) + (made ? "" : " failed"));
    return made;
}

void SimDesktop::attach_tip(LiveWindow&, LiveElement&, LiveWindow& window, LiveElement& control,
                            const std::string& text) {
    tips_.push_back({window.id, control.id, utf8(control.name()), utf8(text)});
    trace_.add("tip " + describe(window, control) + " " + in_quotes(text));
}

void SimDesktop::prepare_input_device(LiveWindow& window, LiveElement& device, std::uint32_t selector,
                                      std::int64_t value) {
    device_preparations_.push_back({window.id, device.id, selector, value});
    if (selector == contract::library_command::kInputDeviceEnable)
        enabled_device_ = value != 0 ? std::optional(std::pair(window.id, device.id)) : std::nullopt;
    trace_.add("input device " + describe(window, device) + " " + hex(selector) + " " +
               std::to_string(value));
}

runtime::PictureObject SimDesktop::create_picture_object(ByteView picture) {
    const runtime::PictureObject made = pictures_.create(picture);
    if (made.object == 0) {
        trace_.add("picture object refused (" + std::to_string(picture.size()) + " bytes)");
        return made;
    }
    const picture::Image& image = *pictures_.bitmap(made.bitmap);
    trace_.add("picture object " + PictureObjects::name(made.object) + " " +
               PictureObjects::name(made.bitmap) + " " + std::to_string(image.width) + "x" +
               std::to_string(image.height));
    return made;
}

void SimDesktop::release_picture_object(std::uint64_t object) {
    const bool released = pictures_.release_object(object);
    trace_.add("release picture object " + PictureObjects::name(object) + (released ? "" : " (not live)"));
}

// ---- Canvases ----

SimCanvas* SimDesktop::find_canvas(std::uint32_t window_id, std::uint32_t element_id) {
    auto it = canvases_.find({window_id, element_id});
    return it == canvases_.end() ? nullptr : it->second.get();
}

SimCanvas& SimDesktop::make_canvas(const LiveWindow& window, const LiveElement& element) {
    auto& slot = canvases_[{window.id, element.id}];
    slot = std::make_unique<SimCanvas>(
        describe(window, element), std::int32_t(element.integer(PropertyId::width)),
        std::int32_t(element.integer(PropertyId::height)),
        std::uint32_t(element.integer(PropertyId::back_colour)), trace_, metric_);
    if (const ByteView background = runtime::bytes_view(element.get(PropertyId::background_picture));
        !background.empty())
        slot->set_background(background, std::uint32_t(element.integer(PropertyId::back_colour)));
    return *slot;
}

runtime::CanvasSurface& SimDesktop::canvas(LiveWindow& window, LiveElement& element) {
    if (SimCanvas* surface = find_canvas(window.id, element.id))
        return *surface;
    return make_canvas(window, element);
}

// ---- Printing ----

void SimDesktop::print_picture(LiveWindow&, LiveElement&, ByteView picture, std::int32_t left,
                               std::int32_t top, std::int32_t width, std::int32_t height) {
    PrintedPicture printed;
    if (Result<picture::Image> image = picture::decode_picture(picture))
        printed.image = std::move(*image);
    printed.data_size = picture.size();
    printed.left = left;
    printed.top = top;
    printed.width = width;
    printed.height = height;
    trace_.add("print picture " + std::to_string(printed.image.width) + "x" +
               std::to_string(printed.image.height) + " at " + std::to_string(left) + "," +
               std::to_string(top) + " size " + std::to_string(width) + "x" + std::to_string(height));
    printing_.pictures.push_back(std::move(printed));
}

void SimDesktop::end_print_job(LiveWindow&, LiveElement&) {
    trace_.add("end print job (" + std::to_string(printing_.pictures.size()) + " pictures)");
    print_jobs_.push_back(std::exchange(printing_, {}));
}

} // namespace vorn::sim
