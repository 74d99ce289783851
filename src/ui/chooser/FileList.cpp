#include "ui/chooser/FileList.h"

#include <algorithm>
#include <cstdint>

#include "support/Paths.h"
#include "support/VbError.h"
#include "support/win32/clsFindFile.h"
#include "ui/chooser/rules/FolderModel.h"

namespace tolvane {
namespace {

constexpr DWORD kLeftOut = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;

std::vector<std::wstring> SplitPattern(const std::wstring& pattern) {
    std::vector<std::wstring> parts;
    std::size_t start = 0;
    while (start <= pattern.size()) {
        std::size_t end = pattern.find(L';', start);
        if (end == std::wstring::npos) end = pattern.size();
        const std::wstring part = TrimSpaces(pattern.substr(start, end - start));
        if (!part.empty()) parts.push_back(part);
        start = end + 1;
    }
    if (parts.empty()) parts.push_back(L"*");
    return parts;
}

}  // namespace

std::vector<std::wstring> ReadFiles(const std::wstring& folder, const std::wstring& pattern) {
    const UINT oldMode = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    std::vector<std::wstring> names;
    for (const std::wstring& part : SplitPattern(pattern)) {
        clsFindFile find;
        find.SetFileMask(JoinFolderAndName(folder, part));
        for (std::wstring name = find.NextFile(); !name.empty(); name = find.NextFile())
            if (!(find.Attributes() & kLeftOut)) names.push_back(name);
        // No match is an empty list; anything else means the folder is out of reach.
        if (!find.Complete()) {
            SetErrorMode(oldMode);
            throw VbError(static_cast<std::int32_t>(find.Error()), L"frmDialogBox", L"「" + folder + L"」を開けませんでした");
        }
    }
    SetErrorMode(oldMode);
    chooser::SortNames(names);
    names.erase(std::unique(names.begin(), names.end()), names.end());
    return names;
}

void FileList::Attach(HWND list) {
    list_ = list;
    path_.clear();
    files_.clear();
}

void FileList::Show(const std::wstring& folder, const std::wstring& pattern,
                    const std::vector<std::wstring>& files) {
    path_ = folder;
    pattern_ = pattern;
    files_ = files;
    SendMessageW(list_, WM_SETREDRAW, FALSE, 0);
    SendMessageW(list_, LB_RESETCONTENT, 0, 0);
    for (const auto& name : files_) SendMessageW(list_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
    SendMessageW(list_, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list_, nullptr, TRUE);
}

void FileList::SetPattern(const std::wstring& pattern) {
    if (path_.empty()) {
        pattern_ = pattern;
        return;
    }
    Show(path_, pattern, ReadFiles(path_, pattern));
}

int FileList::Selected() const { return static_cast<int>(SendMessageW(list_, LB_GETCURSEL, 0, 0)); }

std::wstring FileList::FileName(int index) const {
    if (index < 0 || index >= Count()) return std::wstring();
    return files_[static_cast<std::size_t>(index)];
}

}  // namespace tolvane
