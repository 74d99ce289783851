#include "support/win32/clsFindFile.h"

#include <cwchar>

namespace tolvane {

clsFindFile::clsFindFile() : search_(INVALID_HANDLE_VALUE), ahead_{}, current_{} {}

clsFindFile::~clsFindFile() { CloseSearch(); }

void clsFindFile::SetFileMask(const std::wstring& mask) {
    if (search_ != INVALID_HANDLE_VALUE) CloseSearch();
    pending_.clear();
    // The wide search: a name the code page cannot hold still comes back whole.
    search_ = FindFirstFileW(mask.c_str(), &ahead_);
    if (search_ == INVALID_HANDLE_VALUE) {
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

void clsFindFile::CloseSearch() {
    if (search_ != INVALID_HANDLE_VALUE) FindClose(search_);
    search_ = INVALID_HANDLE_VALUE;
}

void clsFindFile::ReadAhead() {
    if (search_ == INVALID_HANDLE_VALUE || !FindNextFileW(search_, &ahead_)) {
        if (search_ != INVALID_HANDLE_VALUE) error_ = GetLastError();
        complete_ = search_ != INVALID_HANDLE_VALUE && error_ == ERROR_NO_MORE_FILES;
        pending_.clear();
        return;
    }
    pending_ = TrimAtNull(ahead_.cFileName, sizeof ahead_.cFileName / sizeof ahead_.cFileName[0]);
}

std::wstring clsFindFile::TrimAtNull(const wchar_t* field, std::size_t width) const {
    return std::wstring(field, wcsnlen(field, width));
}

}  // namespace tolvane
