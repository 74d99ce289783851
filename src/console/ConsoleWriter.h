#pragma once
// Text to standard output or standard error, written at once (no buffer, so
// a build server shows each line as it happens): to a console as the console
// shows text, to a file or pipe in the ANSI code page.
#include <windows.h>

#include <string>

namespace tolvane {

class ConsoleWriter {
public:
    // STD_OUTPUT_HANDLE or STD_ERROR_HANDLE.
    explicit ConsoleWriter(DWORD stdHandle);

    // The text as it is; line ends are the caller's (CR LF).
    void Write(const std::wstring& text);
    void WriteLine(const std::wstring& line) { Write(line + L"\r\n"); }

private:
    HANDLE handle_;
    bool console_;
};

}  // namespace tolvane
