#pragma once
// The compiler's own log (the file named by /out): its lines as written, the
// file and line of a compile error, and the form logs that load errors name.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "support/AnsiCodec.h"

namespace tolvane {

// Where a compile error is: the file as the compiler named it, its line
// (the compiler's count until converted, then the file's own), the message.
struct SourceError {
    std::wstring path;
    std::int64_t line = 0;
    std::wstring message;
};

struct CompilerLog {
    // Every line but blank ones and the closing "Build of" line.
    std::vector<std::wstring> lines;
    // The first line of the form "Compile Error in File '<path>', Line <n> : <message>".
    std::optional<SourceError> error;
    // The form logs that lines of load errors refer to, in order.
    std::vector<std::wstring> loadLogs;
};

// The bytes split at CR LF, CR or LF before they are decoded: a stray lead
// byte of a double-byte code page must not swallow a line end.
std::vector<std::string> ByteLines(const std::string& bytes);

// The non-blank lines of a text file in the ANSI code page.
std::vector<std::wstring> TextLines(const std::string& bytes, const AnsiCodec& codec);

CompilerLog ReadCompilerLog(const std::string& bytes, const AnsiCodec& codec);

// The one form of line that names a file and a line; the compiler's line
// number as written (at most nine digits).
std::optional<SourceError> ParseCompileError(const std::wstring& line);

}  // namespace tolvane
