#include "support/win32/clsFindFile.h"

#include <cstring>

#include "support/AnsiCodec.h"
#include "support/DateTime.h"
#include "support/Locale.h"
#include "support/win32/SystemTime.h"

namespace tolvane {

clsFindFile::clsFindFile() : search_(INVALID_HANDLE_VALUE) {
    std::memset(&ahead_, 0, sizeof ahead_);
    std::memset(&current_, 0, sizeof current_);
}

clsFindFile::~clsFindFile() { CloseSearch(); }

void clsFindFile::SetFileMask(const std::wstring& mask) {
    if (search_ != INVALID_HANDLE_VALUE) CloseSearch();
    pending_.clear();
    // A mask the code page cannot hold would reach the platform with '?',
    // a wildcard: it matches nothing instead.
    const auto narrow = SystemAnsiCodec().Encode(mask);
    if (!narrow) return;
    search_ = FindFirstFileA(narrow->c_str(), &ahead_);
    if (search_ == INVALID_HANDLE_VALUE) return;
    pending_ = TrimAtNull(ahead_.cFileName, sizeof ahead_.cFileName);
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

std::wstring clsFindFile::LastWriteTime() const {
    SYSTEMTIME st;
    // Kept in UTC, as the record holds it.
    if (!FileTimeToSystemTime(&current_.ftLastWriteTime, &st)) return GeneralDateText(LocalNow());
    return GeneralDateText(FromSystemTime(st));
}

void clsFindFile::CloseSearch() {
    if (search_ != INVALID_HANDLE_VALUE) FindClose(search_);
    search_ = INVALID_HANDLE_VALUE;
}

void clsFindFile::ReadAhead() {
    if (search_ == INVALID_HANDLE_VALUE || !FindNextFileA(search_, &ahead_)) {
        pending_.clear();
        return;
    }
    pending_ = TrimAtNull(ahead_.cFileName, sizeof ahead_.cFileName);
}

std::wstring clsFindFile::TrimAtNull(const char* field, std::size_t width) const {
    return SystemAnsiCodec().Decode(std::string(field, strnlen(field, width)));
}

}  // namespace tolvane
