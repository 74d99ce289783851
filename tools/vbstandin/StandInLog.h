#pragma once
// What the stand-in's keys make it report in the compiler's log.
#include <optional>
#include <string>

namespace standin {

struct CompileError {
    std::wstring path, message;
    long line = 0;  // as the compiler counts
};

// StandInCompileError's value, relative to the project's folder.
std::optional<CompileError> CompileErrorAt(const std::wstring& value, const std::wstring& folder);

// StandInLoadErrors's value: writes the form's .log and gives the compiler
// log's line (CR LF ended); nothing without a log.
std::wstring LoadErrors(const std::wstring& value, const std::wstring& folder, const std::wstring& log);

}  // namespace standin
