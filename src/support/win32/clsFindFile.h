#pragma once
// clsFindFile: the entries of one folder that match a wildcard mask, one
// name at a time, with one entry of look-ahead so that "" marks the end.
#include <windows.h>

#include <string>

#include "support/win32/Handle.h"

namespace tolvane {

class clsFindFile {
public:
    clsFindFile();
    clsFindFile(const clsFindFile&) = delete;
    clsFindFile& operator=(const clsFindFile&) = delete;

    // Starts a new search (closing any open one), e.g. C:\Src\*.vbp.
    // "." and ".." at the head of the listing are passed over.
    void SetFileMask(const std::wstring& mask);

    // The next name, "" at the end; the entry it names becomes the current one.
    std::wstring NextFile();

    // The current entry: the one NextFile handed out last.
    bool IsDir() const;
    // Raw attribute bits, for callers that must tell junctions and links apart.
    DWORD Attributes() const;
    // True once NextFile has yielded "" because the listing ended, not because
    // the folder could not be read (missing, no access, a failing share).
    bool Complete() const;
    // The platform's error that ended an incomplete listing.
    DWORD Error() const;

private:
    void ReadAhead();
    std::wstring TrimAtNull(const wchar_t* field, std::size_t width) const;

    FindHandle search_;
    WIN32_FIND_DATAW ahead_;
    WIN32_FIND_DATAW current_;
    std::wstring pending_;
    bool complete_ = false;
    DWORD error_ = 0;
};

}  // namespace tolvane
