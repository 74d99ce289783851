#pragma once
// The header of a Visual Basic source file, which the compiler leaves out
// when it counts lines: a form's or class's designer block (VERSION, Object=,
// Begin ... End) and the Attribute lines after it.
#include <cstdint>
#include <string>

namespace tolvane {

// The number of header lines at the top of the file's bytes.
std::int64_t HeaderLineCount(const std::string& bytes);

// The file's own line (counted from 1) for the compiler's line number, which
// counts from 0 at the first line after the header.
std::int64_t FileLineOf(std::int64_t compilerLine, const std::string& bytes);

}  // namespace tolvane
