#pragma once
// Values written into the main section of a project file for one run (the
// version from the build server, other settings of the project), and the
// stamping itself: the named keys replaced where they stand or added at the
// section's end, every other byte left as it was.
#include <array>
#include <optional>
#include <string>
#include <vector>

namespace tolvane {

struct ProjectSetting {
    std::wstring key;    // as the user wrote it
    std::wstring value;  // unquoted
};
using ProjectSettings = std::vector<ProjectSetting>;

// The compiler's limit for each part of a version.
constexpr int kMaxVersionPart = 9999;

// "2.5.1234": three whole numbers 0..kMaxVersionPart; nothing otherwise.
std::optional<std::array<int, 3>> ParseVersion(const std::wstring& text);
// What follows a bad version in its message.
extern const wchar_t* const kVersionRule;

// "Key=Value" as /set gives it: the setting, or the reason it cannot be used.
struct SettingArgument {
    std::optional<ProjectSetting> setting;
    std::wstring error;
};
SettingArgument ParseSetting(const std::wstring& argument);

// The values of a run: MajorVer, MinorVer, RevisionVer and AutoIncrementVer=0
// from the version (when not empty), then the /set values. The reason why
// they cannot go together (a version key set twice) when they cannot.
struct RunSettings {
    ProjectSettings settings;
    std::wstring error;
};
RunSettings CombineSettings(const std::wstring& version, const ProjectSettings& sets);

// Whether the compiler writes this key's value in double quotes.
bool IsStringKey(const std::wstring& key);

// The text with the settings applied (bytes of the ANSI code page, or the
// decoded text): in the first section each line of a named key keeps what
// stands up to its '=' and gets the new value; a key not there is added after
// the section's last non-blank line, with that line's line end. Values of
// string keys, and of keys already quoted, are written in double quotes.
template <class S>
S StampText(const S& text, const std::vector<std::pair<S, S>>& settings);

// The settings as StampText takes them.
std::vector<std::pair<std::wstring, std::wstring>> SettingPairs(const ProjectSettings& settings);

// A short text that differs when the settings differ (not their order, nor
// the letter case of their keys); empty for none.
std::wstring SettingsFingerprint(const ProjectSettings& settings);

}  // namespace tolvane
