// The compiler's command line, split as a Windows program splits its own
// (CommandLineToArgvW's rules, written out below), gives back exactly the
// compiler, the project, the output folder and the arguments.
#include <cstdint>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "engine/CommandLine.h"
#include "support/Paths.h"

using namespace tolvane;

namespace {

bool IsBlankChar(wchar_t c) { return c == L' ' || c == L'\t'; }

// CommandLineToArgvW: the program name runs to the next quote when it starts
// with one, else to the first blank; then 2n backslashes before a quote give
// n and the quote opens or closes a quoted part, 2n+1 give n and a literal
// quote, other backslashes stand as they are, and "" inside a quoted part is
// one literal quote.
std::vector<std::wstring> SplitLikeWindows(const std::wstring& line) {
    std::vector<std::wstring> args;
    std::size_t i = 0;
    std::wstring program;
    if (i < line.size() && line[i] == L'"') {
        for (++i; i < line.size() && line[i] != L'"'; ++i) program += line[i];
        if (i < line.size()) ++i;
    } else {
        for (; i < line.size() && !IsBlankChar(line[i]); ++i) program += line[i];
    }
    args.push_back(program);
    for (;;) {
        while (i < line.size() && IsBlankChar(line[i])) ++i;
        if (i == line.size()) return args;
        std::wstring arg;
        bool quoted = false;
        while (i < line.size() && (quoted || !IsBlankChar(line[i]))) {
            if (line[i] == L'\\') {
                std::size_t n = 0;
                for (; i < line.size() && line[i] == L'\\'; ++i) ++n;
                if (i < line.size() && line[i] == L'"') {
                    arg.append(n / 2, L'\\');
                    if (n % 2 == 1) {
                        arg += L'"';
                        ++i;
                    }
                } else {
                    arg.append(n, L'\\');
                }
            } else if (line[i] == L'"') {
                if (quoted && i + 1 < line.size() && line[i + 1] == L'"') {
                    arg += L'"';
                    i += 2;
                } else {
                    quoted = !quoted;
                    ++i;
                }
            } else {
                arg += line[i++];
            }
        }
        args.push_back(arg);
    }
}

// No file name holds a quote or a control character.
bool CanNameAFile(const std::wstring& path) { return !HasUnsafeCommandLineChar(path); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // Lines: the compiler, the project, the output folder, the arguments, as
    // the engine keeps them (trimmed; the arguments without their spaces).
    const auto lines = fuzz::Lines(data, size);
    const std::wstring vb = TrimSpaces(fuzz::LineAt(lines, 0));
    const std::wstring project = TrimSpaces(fuzz::LineAt(lines, 1));
    const std::wstring folder = TrimSpaces(fuzz::LineAt(lines, 2));
    std::wstring dimension = TrimSpaces(fuzz::LineAt(lines, 3));
    // The engine refuses a blank compiler or project and a project path that
    // could not be one argument; a compiler or folder that exists is a file name.
    // The arguments are the user's own text: a quote or control character
    // in them is taken as the user's own quoting, not checked here.
    if (vb.empty() || project.empty() || !CanNameAFile(vb) || !CanNameAFile(project) || !CanNameAFile(folder) ||
        !CanNameAFile(dimension))
        return 0;

    // Known fault, found here: a compiler path with a blank goes out unquoted,
    // so the program name the compiler reads ends at the blank and the rest of
    // its path comes before /make as an argument of its own.
    if (vb.find(L' ') != std::wstring::npos && !fuzz::KnownFaultChecked("program-name-unquoted")) return 0;

    const std::wstring line = BuildCommandLine(vb, project, folder, dimension);
    std::vector<std::wstring> expected{vb, L"/make", project};
    if (!folder.empty()) expected.insert(expected.end(), {L"/outdir", folder});
    std::wstring arguments;
    for (wchar_t c : dimension)
        if (c != L' ') arguments += c;
    if (!dimension.empty()) expected.insert(expected.end(), {L"/d", arguments});
    fuzz::Require(SplitLikeWindows(line) == expected, "the compiler gets back each value as one argument");
    return 0;
}
