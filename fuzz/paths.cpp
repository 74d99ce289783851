// Path helpers and the chooser's rules: the parts of a path put it back
// together, folders end in a backslash, and the chooser accepts only what its
// mode allows, with the mask's extension where it adds one.
#include <cstdint>
#include <string>

#include "FuzzSupport.h"
#include "support/Paths.h"
#include "support/VbError.h"
#include "ui/chooser/rules/ChooserRules.h"
#include "ui/chooser/rules/FolderModel.h"

using namespace tolvane;
using namespace tolvane::chooser;

namespace {

bool EndsWith(const std::wstring& text, const std::wstring& tail) {
    return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

bool StartsWith(const std::wstring& text, const std::wstring& head) { return text.compare(0, head.size(), head) == 0; }

void CheckPathParts(const std::wstring& path) {
    const std::wstring name = GetFileName(path);
    fuzz::Require(EndsWith(path, name) && name.find(L'\\') == std::wstring::npos, "the file name ends the path");
    const std::wstring root = GetDriveRoot(path);
    fuzz::Require(StartsWith(path, root) && (root.empty() || root.back() == L'\\'), "the root starts the path");
    try {
        const std::wstring folder = GetFolderPath(path);
        fuzz::Require(folder.empty() == IsBlank(path), "only a blank path has no folder");
        if (folder.empty()) return;
        fuzz::Require(folder.back() == L'\\', "a folder ends in a backslash");
        // A doubled final backslash (no path a user gives) loses one.
        if (folder.size() < 2 || folder[folder.size() - 2] != L'\\')
            fuzz::Require(GetFolderPath(folder) == folder, "a folder's folder is itself");
        // Together again, unless the folder part already ended in a backslash
        // or the path had only one level.
        const std::wstring before = path.substr(0, path.size() - name.size() - 1);
        if (!before.empty() && before.back() != L'\\' && before.find(L'\\') != std::wstring::npos)
            fuzz::Require(folder + name == path, "folder and file name give the path");
    } catch (const VbError& e) {
        fuzz::Require(e.Number() == kErrInvalidArgument && path.find(L'\\') == std::wstring::npos,
                      "only a path without a backslash is refused");
    }
    const std::wstring quoted = QuoteIfSpaced(path);
    fuzz::Require(quoted == path || (path.find(L' ') != std::wstring::npos && quoted == L"\"" + path + L"\""),
                  "quoted exactly when spaced");
    const std::wstring trimmed = TrimSpaces(path);
    fuzz::Require(trimmed.empty() == IsBlank(path) && (trimmed.empty() || (trimmed.front() != L' ' && trimmed.back() != L' ')),
                  "trimmed of spaces at both ends");
}

void CheckChooser(int mode, const std::wstring& folder, const std::wstring& typed, const std::wstring& mask,
                  bool answer) {
    const OkStep step =
        DecideOk(static_cast<ChooserMode>(mode), folder, typed, mask, [answer](const std::wstring&) { return answer; });
    const bool blank = IsBlank(typed);
    if (step.action == OkAction::Warn) {
        fuzz::Require(!step.message2.empty(), "a warning says why");
        fuzz::Require(blank || (mode == 2 && !answer), "warned only for a blank name or a missing file");
        return;
    }
    fuzz::Require(!(blank && (mode == 2 || mode == 3 || mode == 4)), "a blank file name is never accepted");
    fuzz::Require(StartsWith(step.path, step.triedPath), "the path is what was tried, perhaps with more");
    if (mode == 1) fuzz::Require(step.path.back() == L'\\', "a chosen folder ends in a backslash");
    if ((mode == 3 || mode == 4) && mask.size() >= 4 && !EndsWith(mask, L".*")) {
        const std::wstring extension = mask.substr(mask.size() - 4);
        fuzz::Require(UpperForCompare(step.path.substr(step.path.size() - 4)) == UpperForCompare(extension),
                      "a saved name has the mask's extension");
    }
    if (mode == 4) fuzz::Require((step.action == OkAction::AskOverwrite) == answer, "an existing file is asked about");
}

void CheckFolderList(const std::wstring& folder, const std::wstring& sub) {
    const std::wstring root = FolderRoot(folder);
    fuzz::Require(root.empty() || root.back() == L'\\', "a root ends in a backslash");
    const auto entries = BuildFolderEntries(folder, {sub, sub});
    const int current = CurrentEntryIndex(folder);
    fuzz::Require(current >= 0 && static_cast<std::size_t>(current) < entries.size(),
                  "the current folder is one of the lines");
    for (std::size_t i = 0; i < entries.size(); ++i) {
        fuzz::Require(entries[i].open == (static_cast<int>(i) <= current), "ancestors open, subfolders closed");
        if (i > 0) fuzz::Require(entries[i].indent >= 1, "only the root is at the left");
    }
    // A server without a share (\\server\) names no folder: its root is doubled.
    if (root.size() < 2 || root[root.size() - 2] != L'\\')
        fuzz::Require(ListPath(ListPath(folder)) == ListPath(folder), "a list path is its own list path");
    if (NewFolderNameProblem(sub).empty()) {
        const std::wstring made = NewFolderPath(folder, sub);
        fuzz::Require(!made.empty() && made.back() == L'\\', "a new folder ends in a backslash");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // Lines: a path, a folder, a typed name, a mask; the first byte picks the
    // chooser's mode and whether the lookups find something.
    const auto lines = fuzz::Lines(data, size);
    const std::wstring path = fuzz::LineAt(lines, 0), folder = fuzz::LineAt(lines, 1);
    const std::wstring typed = fuzz::LineAt(lines, 2), mask = fuzz::LineAt(lines, 3);
    CheckPathParts(path);
    CheckPathParts(folder);
    const int mode = size > 0 ? data[0] % 5 : 0;
    CheckChooser(mode, folder, typed, mask, size > 0 && (data[0] & 0x80));
    CheckFolderList(folder, typed);
    return 0;
}
