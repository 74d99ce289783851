#include "support/win32/clsFindFile.h"

#include <cwchar>

namespace tolvane {

clsFindFile::clsFindFile() : ahead_{}, current_{} {}

void clsFindFile::SetFileMask(const std::wstring& mask) {
    pending_.clear();
    // The wide search: a name the code page cannot hold still comes back whole.
    search_.Close();
    search_.Reset(FindFirstFileW(mask.c_str(), &ahead_));
    if (!search_.Valid()) {
        // Nothing matched, or an empty drive root (not even "."): that listing is whole.
        error_ = GetLastError();
        complete_ = error_ == ERROR_FILE_NOT_FOUND || error_ == ERROR_NO_MORE_FILES;
        return;
    }
    complete_ = false;
    error_ = 0;
    pending_ = TrimAtNull(ahead_.cFileName, sizeof ahead_.cFileName / sizeof ahead_.cFileName[0]);
    while (pending_ == L"." || pending_ == L"..") ReadAhead();
}

std::wstring clsFindFile::NextFile() {
    const std::wstring name = pending_;
    if (!name.empty()) {
        current_ = ahead_;
        ReadAhead();
    }
    return name;
}

bool clsFindFile::IsDir() const { return (current_.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0; }

DWORD clsFindFile::Attributes() const { return current_.dwFileAttributes; }

bool clsFindFile::Complete() const { return pending_.empty() && complete_; }

DWORD clsFindFile::Error() const { return error_; }

void clsFindFile::ReadAhead() {
    if (!search_.Valid() || !FindNextFileW(search_.Get(), &ahead_)) {
        if (search_.Valid()) error_ = GetLastError();
        complete_ = search_.Valid() && error_ == ERROR_NO_MORE_FILES;
        pending_.clear();
        return;
    }
    pending_ = TrimAtNull(ahead_.cFileName, sizeof ahead_.cFileName / sizeof ahead_.cFileName[0]);
}

std::wstring clsFindFile::TrimAtNull(const wchar_t* field, std::size_t width) const {
    return std::wstring(field, wcsnlen(field, width));
}

}  // namespace tolvane
