#include "support/win32/TolvaneIni.h"

#include "support/Paths.h"
#include "support/TimeLimit.h"
#include "support/win32/Files.h"
#include "support/win32/IniControl.h"

namespace tolvane {
namespace {

constexpr wchar_t kSection[] = L"COMMON";

}  // namespace

std::wstring TolvaneIniPath() { return FileBesideProgram(L"Tolvane.ini"); }

std::wstring ReadCompilerPath() { return GetIniString(TolvaneIniPath(), kSection, L"EXE"); }

PlatformResult WriteCompilerPath(const std::wstring& path) { return PutIniString(TolvaneIniPath(), kSection, L"EXE", path); }

std::wstring ReadPreviousList() { return GetIniString(TolvaneIniPath(), kSection, L"PREV_List"); }

PlatformResult WritePreviousList(const std::wstring& path) { return PutIniString(TolvaneIniPath(), kSection, L"PREV_List", path); }

std::optional<std::chrono::minutes> ReadTimeLimit() {
    const std::wstring value = GetIniString(TolvaneIniPath(), kSection, L"TimeLimit");
    // An absent key and an empty value read alike.
    if (IsBlank(value)) {
        PutIniString(TolvaneIniPath(), kSection, L"TimeLimit", std::to_wstring(kDefaultTimeLimit.count()));
        return kDefaultTimeLimit;
    }
    return ParseTimeLimit(value);
}

}  // namespace tolvane
