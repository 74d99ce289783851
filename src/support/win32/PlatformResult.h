#pragma once
// The one way a call at the platform boundary reports how it went: success,
// or the platform's error code with the routine that met it. It has no
// conversion to bool on purpose, so that no caller can read it backwards.
#include <windows.h>

#include <string>

#include "support/VbError.h"

namespace tolvane {

class PlatformResult {
public:
    // Success.
    PlatformResult() = default;

    // The failure of the platform call just made, with its last error.
    static PlatformResult LastError(const wchar_t* source) { return Failure(GetLastError(), source); }
    static PlatformResult Failure(DWORD code, const wchar_t* source) { return PlatformResult(code, source); }

    bool Failed() const { return failed_; }
    DWORD Code() const { return code_; }
    // The routine at the boundary that met the failure.
    const wchar_t* Source() const { return source_; }
    // The platform's text for the code, in the user's language.
    std::wstring Text() const;
    // The program's error for a failure: the platform's number, the source,
    // and "what: the platform's text" (the text alone without what).
    VbError Error(const std::wstring& what = std::wstring()) const;

private:
    PlatformResult(DWORD code, const wchar_t* source) : failed_(true), code_(code), source_(source) {}

    bool failed_ = false;
    DWORD code_ = ERROR_SUCCESS;
    const wchar_t* source_ = L"";
};

}  // namespace tolvane
