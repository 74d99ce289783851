#pragma once
// The version texts the start-up windows show. Header-only and free of the
// Windows API, so the native logic tests reach it as well.
#include <cstdint>
#include <string>

namespace tolvane {

// The application's title, as the start-up windows show it.
constexpr const wchar_t* kProductTitle = L"Tolvane";

// major.minor.revision in plain decimal, no leading zeros: 2, 0, 2 -> "2.0.2".
inline std::wstring VersionText(std::uint32_t major, std::uint32_t minor, std::uint32_t revision) {
    return std::to_wstring(major) + L"." + std::to_wstring(minor) + L"." + std::to_wstring(revision);
}

// From the two file-version words of a version resource: major and minor are
// the high and low halves of the first word, the revision is the third field
// (the high half of the second word); the fourth field is not shown.
inline std::wstring VersionTextFromFileVersion(std::uint32_t versionMS, std::uint32_t versionLS) {
    return VersionText(versionMS >> 16, versionMS & 0xFFFFu, versionLS >> 16);
}

// The splash screen's version label.
inline std::wstring SplashVersionLabel(const std::wstring& version) { return L"ﾊﾞｰｼﾞｮﾝ " + version; }

// The version window's version label.
inline std::wstring AboutVersionLabel(const std::wstring& version) { return L"Ver " + version; }

}  // namespace tolvane
