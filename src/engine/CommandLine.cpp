#include "engine/CommandLine.h"

#include <algorithm>

#include "support/Paths.h"

namespace tolvane {

namespace {

// Quoted when spaced, as designed. The compiler splits its command line by the
// C runtime's rules, where backslashes before a quote escape it: a quoted
// folder ending in "\" would swallow the quote and every argument after it.
// Doubled, they read as the same folder both by those rules and literally.
std::wstring QuoteArgument(const std::wstring& value) {
    std::wstring quoted = QuoteIfSpaced(value);
    if (quoted.size() == value.size()) return quoted;
    const std::size_t lastOther = value.find_last_not_of(L'\\');
    const std::size_t trailing = value.size() - (lastOther == std::wstring::npos ? 0 : lastOther + 1);
    return quoted.insert(quoted.size() - 1, trailing, L'\\');
}

}  // namespace

std::wstring BuildCommandLine(const std::wstring& vb, const std::wstring& project,
                              const std::wstring& outFolder, const std::wstring& dimension) {
    std::wstring line = vb + L" /make " + QuoteArgument(project);
    if (!outFolder.empty()) line += L" /outdir " + QuoteArgument(outFolder);
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
