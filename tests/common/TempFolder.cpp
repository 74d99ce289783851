#include "common/TempFolder.h"

#include <windows.h>

#include <stdexcept>

#include "support/win32/Handle.h"
#include "support/win32/Make.h"

namespace tolvane::testing {

TempFolder::TempFolder(const std::wstring& hint) {
    wchar_t temp[MAX_PATH + 1];
    DWORD n = GetTempPathW(MAX_PATH + 1, temp);
    std::wstring base(temp, n);
    if (!base.empty() && base.back() == L'\\') base.pop_back();
    static LONG counter = 0;
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::wstring candidate = base + L"\\" + hint + L"-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                                 std::to_wstring(InterlockedIncrement(&counter));
        if (CreateDirectoryW(candidate.c_str(), nullptr)) {
            path_ = candidate;
            return;
        }
    }
    throw std::runtime_error("cannot create a temporary folder");
}

namespace {

// Removes a folder and everything below it, read-only and hidden files too.
void RemoveTree(const std::wstring& path) {
    WIN32_FIND_DATAW data;
    const FindHandle find(FindFirstFileW((path + L"\\*").c_str(), &data));
    if (find.Valid()) {
        do {
            const std::wstring name = data.cFileName, full = path + L"\\" + name;
            if (name == L"." || name == L"..") continue;
            SetFileAttributesW(full.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(full);
            else
                DeleteFileW(full.c_str());
        } while (FindNextFileW(find.Get(), &data));
    }
    RemoveDirectoryW(path.c_str());
}

}  // namespace

TempFolder::~TempFolder() { RemoveTree(path_); }

std::wstring TempFolder::Folder(const std::wstring& name) const {
    MakeFolders(File(name));
    return File(name);
}

}  // namespace tolvane::testing
