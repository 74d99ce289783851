#include "support/win32/IniControl.h"

#include <windows.h>

#include <string>

#include "support/AnsiCodec.h"
#include "support/win32/Handle.h"

namespace tolvane {

namespace {

// Far beyond any path or setting; only a damaged file gets near it.
constexpr DWORD kMaxValueBytes = 1u << 20;

}  // namespace

std::wstring GetIniString(const std::wstring& fileName, const std::wstring& section,
                          const std::wstring& key) {
    const AnsiCodec& codec = SystemAnsiCodec();
    const auto file = codec.Encode(fileName);
    const auto sec = codec.Encode(section);
    const auto name = codec.Encode(key);
    // A name the code page cannot hold cannot be in the file either.
    if (!file || !sec || !name) return std::wstring();
    // The file holds values whole, so they are read whole: a cut value (a
    // long list path) would name another file. A buffer that is too small
    // comes back full (less one byte, or two where a double-byte character
    // did not fit), so grow it until the value leaves room to spare.
    std::string buffer(256, '\0');
    for (;;) {
        const DWORD size = static_cast<DWORD>(buffer.size());
        const DWORD copied =
            GetPrivateProfileStringA(sec->c_str(), name->c_str(), "", &buffer[0], size, file->c_str());
        if (copied + 2 < size || size >= kMaxValueBytes) {
            buffer.resize(copied < size ? copied : 0);
            break;
        }
        buffer.assign(static_cast<std::size_t>(size) * 2, '\0');
    }
    return codec.Decode(buffer);
}

PlatformResult CheckIniReadable(const std::wstring& fileName) {
    // The platform's reader answers "" for a file it cannot open, as for a
    // missing key: open it the same way to learn which it is.
    const Handle h(CreateFileW(fileName.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                               nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!h.Valid()) {
        const DWORD code = GetLastError();
        if (code != ERROR_FILE_NOT_FOUND && code != ERROR_PATH_NOT_FOUND) {
            return PlatformResult::Failure(code, L"CheckIniReadable");
        }
    }
    return PlatformResult();
}

PlatformResult PutIniString(const std::wstring& fileName, const std::wstring& section, const std::wstring& key,
                  const std::wstring& value) {
    const AnsiCodec& codec = SystemAnsiCodec();
    const auto file = codec.Encode(fileName);
    const auto sec = codec.Encode(section);
    const auto name = codec.Encode(key);
    const auto text = codec.Encode(value);
    // Storing '?' in place of a character would spoil the value for good.
    if (!file || !sec || !name || !text) return PlatformResult::Failure(ERROR_NO_UNICODE_TRANSLATION, L"PutIniString");

    // Every step runs whatever the one before did; only the write's result counts.
    SetFileAttributesW(fileName.c_str(), FILE_ATTRIBUTE_ARCHIVE);
    const bool written =
        WritePrivateProfileStringA(sec->c_str(), name->c_str(), text->c_str(), file->c_str()) != 0;
    const PlatformResult result = written ? PlatformResult() : PlatformResult::LastError(L"PutIniString");
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, file->c_str());
    SetFileAttributesW(fileName.c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE);
    return result;
}

}  // namespace tolvane
