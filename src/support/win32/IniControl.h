#pragma once
// basIniControl: the one way to the settings files. One value per call, in
// the ANSI code page of the file; nothing is ever raised.
#include <windows.h>

#include <string>

#include "support/win32/PlatformResult.h"

namespace tolvane {

// The stored value, whole, or "" when the file, section or key is missing
// (and when the file cannot be read: CheckIniReadable tells that case apart).
std::wstring GetIniString(const std::wstring& fileName, const std::wstring& section,
                          const std::wstring& key);

// The failure when the file is there but cannot be read (held open by
// another program without sharing, no access, a folder of that name);
// success when it can be read or does not exist.
PlatformResult CheckIniReadable(const std::wstring& fileName);

// Writes the value and leaves the file read-only with the archive attribute.
// The failure when the platform refused the write, or when a text has a
// character the code page cannot hold (then nothing is written).
PlatformResult PutIniString(const std::wstring& fileName, const std::wstring& section, const std::wstring& key,
                  const std::wstring& value);

}  // namespace tolvane
