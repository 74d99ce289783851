#pragma once
// File lookups and the program's own place on disk.
#include <windows.h>

#include <string>

#include "support/win32/PlatformResult.h"

namespace tolvane {

// True when the path names an ordinary (or read-only, or archive) file.
// Folders, hidden and system files are not found; a wildcard pattern never
// counts, since the name found differs from the pattern.
bool FileExists(const std::wstring& path);

// Full path of the running program.
std::wstring RunningProgramPath();

// The running program's folder, without a final backslash unless it is a drive root.
std::wstring ProgramFolder();

// A file beside the program: its folder, a backslash unless that ends in one, the name.
std::wstring FileBesideProgram(const std::wstring& name);

// The whole file into bytes, or the failure when it cannot be read.
PlatformResult ReadWholeFile(const std::wstring& path, std::string& bytes);

// The platform's text for an error code, in the user's language, without the
// trailing line break.
std::wstring LastErrorText(DWORD code);

}  // namespace tolvane
