#include "console/rules/RunnerInputs.h"

#include <map>

#include "support/PathNames.h"
#include "support/Paths.h"

namespace tolvane {

InputKind KindOfInputFile(const std::wstring& path) {
    if (HasExtension(path, L"clt")) return InputKind::List;
    if (HasExtension(path, L"vbg")) return InputKind::Group;
    if (HasExtension(path, L"vbp")) return InputKind::Project;
    return InputKind::Unknown;
}

void CheckEachProjectOnce(const clsTolvane::EntryList& entries) {
    std::map<std::wstring, clsVbp*> first;
    for (const auto& entry : entries) {
        const auto [it, isFirst] = first.emplace(PathKey(ResolvePath(L"", TrimSpaces(entry->Vbp()))), entry.get());
        if (isFirst) continue;
        if (entry->Action()) it->second->SetAction(true);
        entry->SetAction(false);
    }
}

std::wstring InputName(const std::wstring& path) {
    std::wstring trimmed = path;
    // A folder's own name, not the empty text after its final backslash; a
    // drive root keeps its one.
    while (trimmed.size() > 1 && trimmed.back() == L'\\' && trimmed[trimmed.size() - 2] != L':') trimmed.pop_back();
    const std::wstring name = GetFileName(trimmed);
    return name.empty() ? trimmed : name;
}

}  // namespace tolvane
