#include "console/ConsoleWriter.h"

#include <cstdio>

#include "support/AnsiCodec.h"

namespace tolvane {
namespace {

// A character the code page cannot hold is written as its code, never as a
// '?' that could pass for part of a path.
std::string Encode(const std::wstring& text) {
    const AnsiCodec& codec = SystemAnsiCodec();
    if (const auto bytes = codec.Encode(text)) return *bytes;
    std::string out;
    for (wchar_t c : text) {
        if (const auto one = codec.Encode(std::wstring(1, c))) {
            out += *one;
        } else {
            char code[16];
            std::snprintf(code, sizeof code, "[U+%04X]", static_cast<unsigned>(c));
            out += code;
        }
    }
    return out;
}

}  // namespace

ConsoleWriter::ConsoleWriter(DWORD stdHandle) : handle_(GetStdHandle(stdHandle)) {
    DWORD mode = 0;
    console_ = handle_ != nullptr && handle_ != INVALID_HANDLE_VALUE && GetConsoleMode(handle_, &mode) != 0;
}

void ConsoleWriter::Write(const std::wstring& text) {
    if (handle_ == nullptr || handle_ == INVALID_HANDLE_VALUE || text.empty()) return;
    DWORD written = 0;
    if (console_) {
        // The console takes UTF-16 and shows it in its own code page.
        WriteConsoleW(handle_, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
        return;
    }
    const std::string bytes = Encode(text);
    WriteFile(handle_, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

}  // namespace tolvane
