#include "console/ConsoleInputs.h"

#include <windows.h>

#include "console/rules/RunnerInputs.h"
#include "engine/win32/GroupFileStore.h"
#include "engine/win32/ListFileStore.h"
#include "support/FolderTree.h"
#include "support/win32/Files.h"
#include "support/win32/Win32DirectoryLister.h"

namespace tolvane {
namespace {

const std::wstring kTooMany =
    L"ｺﾝﾊﾟｲﾙﾘｽﾄに登録できるのは" + std::to_wstring(clsTolvane::kMaxEntries) + L"件までです";

// Adds one input's projects, or says why it cannot be used.
std::optional<std::wstring> AddInput(const std::wstring& input, clsTolvane::EntryList& entries) {
    const std::size_t room = static_cast<std::size_t>(clsTolvane::kMaxEntries) - std::min<std::size_t>(entries.size(), clsTolvane::kMaxEntries);
    const auto addChecked = [&](const std::vector<std::wstring>& projects) -> std::optional<std::wstring> {
        if (projects.size() > room) return input + L"は追加できません: " + kTooMany;
        for (const auto& project : projects) entries.push_back(clsTolvane::NewEntry(project, true));
        return std::nullopt;
    };
    const DWORD attributes = GetFileAttributesW(input.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return input + L"が見つかりません";
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
        Win32DirectoryLister lister;
        const std::wstring root = input.back() == L'\\' ? input : input + L"\\";
        const ProjectSearch found = SearchFiles(lister, root, L"vbp", room);
        // A build server must not pass over projects it could not see.
        if (found.skippedFolders > 0) {
            return found.firstSkipped + L"を検索出来ませんでした: " + LastErrorText(found.firstSkippedError);
        }
        if (found.overLimit) return input + L"は追加できません: " + kTooMany;
        return addChecked(found.projects);
    }
    switch (KindOfInputFile(input)) {
    case InputKind::List: {
        ListFileRead read = ReadListFile(input);
        switch (read.result) {
        case ListFileLoad::Missing: return input + L"が見つかりません";
        case ListFileLoad::Unreadable: return input + L"が開けませんでした: " + LastErrorText(read.error);
        case ListFileLoad::TooLong: return input + L"は開けませんでした: " + kTooMany;
        case ListFileLoad::Loaded: break;
        }
        if (read.entries.size() > room) return input + L"は追加できません: " + kTooMany;
        entries.insert(entries.end(), read.entries.begin(), read.entries.end());
        return std::nullopt;
    }
    case InputKind::Group: {
        const GroupFileRead read = ReadGroupFile(input);
        if (!read.read) return input + L"が開けませんでした: " + LastErrorText(read.error);
        return addChecked(read.projects);
    }
    case InputKind::Project: return addChecked({input});
    case InputKind::Unknown: break;
    }
    return input + L"は入力に使用できません: ｺﾝﾊﾟｲﾙﾘｽﾄ(*.clt)、vbg、vbpかﾌｫﾙﾀﾞを指定してください";
}

}  // namespace

GatheredInputs GatherInputs(const std::vector<std::wstring>& inputs, bool checkAll) {
    GatheredInputs gathered;
    for (const std::wstring& input : inputs) {
        if (const auto refusal = AddInput(input, gathered.entries)) {
            gathered.refusal = *refusal;
            gathered.entries.clear();
            return gathered;
        }
    }
    if (checkAll) {
        for (const auto& entry : gathered.entries) entry->SetAction(true);
    }
    CheckEachProjectOnce(gathered.entries);
    gathered.ok = true;
    return gathered;
}

}  // namespace tolvane
