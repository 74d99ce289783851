#pragma once
// The compiler's command line for one project.
#include <string>

namespace tolvane {

// vb /make project [/outdir folder] [/d arguments]: the compiler path as is,
// project and folder quoted when they hold a space (backslashes that end a
// quoted path doubled), every space removed from the arguments; /outdir and /d
// only when their values are not empty.
std::wstring BuildCommandLine(const std::wstring& vb, const std::wstring& project,
                              const std::wstring& outFolder, const std::wstring& dimension);

// True when the path holds a double quote or a control character (below 0x20,
// or 0x7F): such a path could not be passed as one argument on a command line.
bool HasUnsafeCommandLineChar(const std::wstring& path);

}  // namespace tolvane
