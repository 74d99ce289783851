#pragma once
// Resolving the relative paths that project and group files hold, and
// comparing paths as Windows does. Nothing here touches the file system.
#include <string>

namespace tolvane {

// path taken relative to folder unless it is already absolute (drive letter
// or leading backslash); slashes become backslashes and "." and ".." steps
// are folded. A ".." above the root stays at the root.
std::wstring ResolvePath(const std::wstring& folder, const std::wstring& path);

// A key under which two spellings of the same path compare equal: letters
// folded to lower case (ASCII and full-width Latin, as the file system does).
std::wstring PathKey(const std::wstring& path);

// True when the name ends in "." and the extension, in any ASCII letter case.
bool HasExtension(const std::wstring& name, const std::wstring& extension);

// The path with the extension of its file name replaced (or added).
std::wstring WithExtension(const std::wstring& path, const std::wstring& extension);

}  // namespace tolvane
