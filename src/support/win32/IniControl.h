#pragma once
// basIniControl: the one way to the settings files. One value per call, in
// the ANSI code page of the file; nothing is ever raised.
#include <string>

namespace tolvane {

// The stored value, or "" when the file, section or key is missing. At most
// 254 bytes of the value come back (fewer characters for double-byte text).
std::wstring GetIniString(const std::wstring& fileName, const std::wstring& section,
                          const std::wstring& key);

// Writes the value and leaves the file read-only with the archive attribute.
// False when the platform refused the write, or when a text has a character
// the code page cannot hold (then nothing is written).
bool PutIniString(const std::wstring& fileName, const std::wstring& section, const std::wstring& key,
                  const std::wstring& value);

}  // namespace tolvane
