#pragma once
// What the credits roll prints, line by line. Header-only and free of the
// Windows API, so the native logic tests reach it as well.
#include <array>
#include <string>
#include <vector>

#include "ui/dialogs/rules/VersionText.h"

namespace tolvane {

constexpr int kStaffCount = 5;  // idea, design, coding, test, debugging
using StaffNames = std::array<std::wstring, kStaffCount>;

constexpr const wchar_t* kDefaultStaffName = L"Tolvane 開発チーム";
constexpr const wchar_t* kCopyrightHolder = L"Ostrevia";

// Unnamed roles are credited to the default name; the names stay filled in.
inline void FillDefaultStaff(StaffNames& names) {
    for (std::wstring& name : names)
        if (name.empty()) name = kDefaultStaffName;
}

// Every printed line in order; "" is a line of its own (a blank line).
inline std::vector<std::wstring> StaffRollLines(const StaffNames& names, const std::wstring& computerName,
                                                const std::wstring& version) {
    std::vector<std::wstring> lines;
    auto blanks = [&lines](int count) { lines.insert(lines.end(), static_cast<size_t>(count), std::wstring()); };
    auto role = [&](const wchar_t* heading, const std::wstring& name, bool last) {
        lines.push_back(heading);
        blanks(1);
        lines.push_back(name);
        if (!last) blanks(5);
    };
    lines.push_back(std::wstring(L"■■ ") + kProductTitle + L" Ver" + version + L"■■");
    blanks(5);
    role(L"★★ 発案 ★★", names[0], false);
    role(L"★★ デザイン ★★", names[1], false);
    role(L"★★ コーディング ★★", names[2], false);
    role(L"★★ 効果音 ★★", computerName, false);
    role(L"★★ テスト ★★", names[3], false);
    role(L"★★ デバッグ ★★", names[4], false);
    role(L"★★ 製作・著作権 ★★", kCopyrightHolder, true);
    return lines;
}

}  // namespace tolvane
