#include "support/win32/IniControl.h"

#include <windows.h>

#include <cstring>
#include <optional>

#include "support/AnsiCodec.h"

namespace tolvane {

std::wstring GetIniString(const std::wstring& fileName, const std::wstring& section,
                          const std::wstring& key) {
    const AnsiCodec& codec = SystemAnsiCodec();
    const auto file = codec.Encode(fileName);
    const auto sec = codec.Encode(section);
    const auto name = codec.Encode(key);
    // A name the code page cannot hold cannot be in the file either.
    if (!file || !sec || !name) return std::wstring();
    // Zero-filled: when the cut falls inside a double-byte character the
    // platform may leave that byte untouched, and a filler must not show.
    char buffer[255] = {};
    GetPrivateProfileStringA(sec->c_str(), name->c_str(), "", buffer, sizeof buffer, file->c_str());
    std::size_t length = strnlen(buffer, sizeof buffer);
    // Nor may half a character: drop a lead byte without its trail byte.
    std::size_t i = 0;
    while (i < length) i += IsDBCSLeadByte(static_cast<BYTE>(buffer[i])) ? 2 : 1;
    if (i > length) --length;
    return codec.Decode(std::string(buffer, length));
}

bool PutIniString(const std::wstring& fileName, const std::wstring& section, const std::wstring& key,
                  const std::wstring& value) {
    const AnsiCodec& codec = SystemAnsiCodec();
    const auto file = codec.Encode(fileName);
    const auto sec = codec.Encode(section);
    const auto name = codec.Encode(key);
    const auto text = codec.Encode(value);
    // Storing '?' in place of a character would spoil the value for good.
    if (!file || !sec || !name || !text) return false;

    // Every step runs whatever the one before did; only the write's result counts.
    SetFileAttributesW(fileName.c_str(), FILE_ATTRIBUTE_ARCHIVE);
    const bool written =
        WritePrivateProfileStringA(sec->c_str(), name->c_str(), text->c_str(), file->c_str()) != 0;
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, file->c_str());
    SetFileAttributesW(fileName.c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE);
    return written;
}

}  // namespace tolvane
