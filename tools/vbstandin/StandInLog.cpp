#include "StandInLog.h"

#include <cwchar>

#include "StandInFiles.h"

namespace standin {

// "<file>:<line>[:<message>]": the file's own line turned into the
// compiler's count, which starts at 0 after the last Attribute line above it.
std::optional<CompileError> CompileErrorAt(const std::wstring& value, const std::wstring& folder) {
    const size_t colon = value.find(L':');
    if (colon == std::wstring::npos) return std::nullopt;
    CompileError error;
    error.path = Join(folder, value.substr(0, colon));
    wchar_t* end = nullptr;
    const long fileLine = std::wcstol(value.c_str() + colon + 1, &end, 10);
    error.message = *end == L':' ? std::wstring(end + 1) : L"Syntax error";
    std::string bytes;
    ReadBytes(error.path, bytes);
    const std::wstring text = FromAnsi(bytes);
    long line = 1, lastAttribute = 0;
    for (size_t pos = 0; pos < text.size() && line < fileLine; ++line) {
        if (text.compare(pos, 10, L"Attribute ") == 0) lastAttribute = line;
        pos = text.find(L'\n', pos);
        pos = pos == std::wstring::npos ? text.size() : pos + 1;
    }
    error.line = fileLine - lastAttribute - 1;
    return error;
}

// "<form>[:<line>]": writes the form's .log and gives the compiler log's line.
std::wstring LoadErrors(const std::wstring& value, const std::wstring& folder, const std::wstring& log) {
    if (value.empty() || log.empty()) return L"";
    const size_t colon = value.find(L':');
    std::wstring form = Join(folder, value.substr(0, colon));
    const std::wstring formLog = form.substr(0, form.find_last_of(L'.')) + L".log";
    const std::wstring line = colon == std::wstring::npos ? L"Line 8: The property name BogusProperty is invalid."
                                                          : value.substr(colon + 1);
    AppendBytes(formLog, ToAnsi(line + L"\r\n"), false);
    return L"Errors during load. Refer to '" + formLog + L"' for details\r\n";
}

}  // namespace standin
