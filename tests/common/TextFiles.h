#pragma once
// Whole-file reads and writes for tests, their lines, and the two encodings they meet.
#include <optional>
#include <string>
#include <vector>

#include "support/win32/Handle.h"

namespace tolvane::testing {

std::string ToUtf8(const std::wstring& text);
std::wstring FromUtf8(const std::string& bytes);
// The system's ANSI code page; nothing when some character has no place in it.
std::optional<std::string> ToAnsi(const std::wstring& text);
std::wstring FromAnsi(const std::string& bytes);

// Splits at CR LF; the text after the last CR LF is the last line.
std::vector<std::wstring> SplitLines(const std::wstring& text);

bool WriteBytes(const std::wstring& path, const std::string& bytes);
// Nothing when the file cannot be read.
std::optional<std::string> ReadBytes(const std::wstring& path);

// Holds a file open without sharing, as another program that locked it would.
class LockedFile {
public:
    explicit LockedFile(const std::wstring& path);
    bool Held() const;

private:
    Handle handle_;
};

}  // namespace tolvane::testing
