#include "runtime/win32/trace.h"

#include "runtime/win32/messages.h"
#include "runtime/win32/text.h"

#include <cstdio>
#include <string>

namespace vorn::win32 {

namespace {

struct NamedMessage {
    UINT message;
    std::string_view name;
};

#define VORN_NAMED_MESSAGE(message) NamedMessage{message, #message},
constexpr NamedMessage kMessages[] = {VORN_WIN32_MESSAGES(VORN_NAMED_MESSAGE)};
#undef VORN_NAMED_MESSAGE

// Messages that arrive many times a second and say little in a trace.
bool chatty(UINT message) {
    return message == WM_NCHITTEST || message == WM_SETCURSOR || message == WM_GETTEXT ||
           message == WM_GETTEXTLENGTH || message == WM_GETOBJECT;
}

std::FILE* trace_file() {
    static std::FILE* file = [] {
        wchar_t path[MAX_PATH] = {};
        const DWORD length = GetEnvironmentVariableW(L"VORN_TRACE", path, MAX_PATH);
        if (length == 0 || length >= MAX_PATH)
            return static_cast<std::FILE*>(nullptr);
        return _wfopen(path, L"ab");
    }();
    return file;
}

// Since the first line: fine enough to time one step of a capture.
long long microseconds() {
    static const LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    static const LONGLONG start = [] {
        LARGE_INTEGER now;
        QueryPerformanceCounter(&now);
        return now.QuadPart;
    }();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return (now.QuadPart - start) * 1000000 / frequency.QuadPart;
}

} // namespace

bool tracing() {
    return trace_file() != nullptr;
}

void trace(std::string_view line) {
    std::FILE* file = trace_file();
    if (file == nullptr)
        return;
    const std::string stamped = std::to_string(microseconds()) + " " + std::string(line) + "\n";
    std::fwrite(stamped.data(), 1, stamped.size(), file);
    std::fflush(file);
}

std::string_view message_name(UINT message) {
    for (const NamedMessage& named : kMessages)
        if (named.message == message)
            return named.name;
    return {};
}

void trace_message(std::string_view who, UINT message, WPARAM wparam, LPARAM lparam) {
    if (!tracing() || chatty(message))
        return;
    std::string name(message_name(message));
    if (name.empty()) {
        char number[16];
        std::snprintf(number, sizeof number, "0x%04x", message);
        name = number;
    }
    char arguments[64];
    std::snprintf(arguments, sizeof arguments, " %llx %llx", static_cast<unsigned long long>(wparam),
                  static_cast<unsigned long long>(lparam));
    trace("msg " + std::string(who) + " " + name + arguments);
}

} // namespace vorn::win32
