#pragma once
// Small stateless routines on Windows path texts and on VB-style blank text.
// Nothing here touches the file system.
#include <string>

namespace tolvane {

// Leading and trailing U+0020 removed; tabs and other blanks stay (as VB's Trim).
std::wstring TrimSpaces(const std::wstring& text);

// Empty, or spaces only.
bool IsBlank(const std::wstring& text);

// The text after the last backslash; the whole path when it has none.
std::wstring GetFileName(const std::wstring& path);

// The text up to and including the first backslash; empty when there is none.
std::wstring GetDriveRoot(const std::wstring& path);

// The folder part, always ending in a backslash; empty for a blank path.
// Throws VbError(kErrInvalidArgument) for a non-blank path without a backslash.
std::wstring GetFolderPath(const std::wstring& path);

// The value in double quotes when it contains a space (code 32), else unchanged.
std::wstring QuoteIfSpaced(const std::wstring& value);

// folder + name, with a backslash between unless the folder already ends in one.
std::wstring JoinFolderAndName(const std::wstring& folder, const std::wstring& name);

}  // namespace tolvane
