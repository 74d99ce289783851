#include "engine/CommandLine.h"

#include <algorithm>

#include "support/Paths.h"

namespace tolvane {

std::wstring BuildCommandLine(const std::wstring& vb, const std::wstring& project,
                              const std::wstring& outFolder, const std::wstring& dimension) {
    std::wstring line = vb + L" /make " + QuoteIfSpaced(project);
    if (!outFolder.empty()) line += L" /outdir " + QuoteIfSpaced(outFolder);
    if (!dimension.empty()) {
        std::wstring args = dimension;
        args.erase(std::remove(args.begin(), args.end(), L' '), args.end());
        line += L" /d " + args;
    }
    return line;
}

bool HasUnsafeCommandLineChar(const std::wstring& path) {
    return std::any_of(path.begin(), path.end(),
                       [](wchar_t c) { return c == L'"' || c < 0x20 || c == 0x7F; });
}

}  // namespace tolvane
