#include "common/TempFolder.h"

#include <windows.h>
#include <shellapi.h>

#include <stdexcept>

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

TempFolder::~TempFolder() {
    // Everything below it goes, read-only and hidden files too.
    std::wstring from = path_ + L'\0';  // the list ends in two NULs
    SHFILEOPSTRUCTW op{};
    op.wFunc = FO_DELETE;
    op.pFrom = from.c_str();
    op.fFlags = FOF_NOCONFIRMATION | FOF_NOERRORUI | FOF_SILENT;
    SHFileOperationW(&op);
}

std::wstring TempFolder::Folder(const std::wstring& name) const {
    MakeFolders(File(name));
    return File(name);
}

}  // namespace tolvane::testing
