#include "engine/BuildTimes.h"

#include <algorithm>
#include <set>

#include "support/PathNames.h"

namespace tolvane {

namespace {

constexpr const wchar_t* kHeader = L"Tolvane build times 1";
// A day: anything longer is no build time but damage.
constexpr std::int64_t kLongestBuild = 24LL * 60 * 60 * 1000;

std::optional<std::int64_t> Milliseconds(const std::wstring& digits) {
    if (digits.empty() || digits.size() > 9) return std::nullopt;
    std::int64_t value = 0;
    for (wchar_t c : digits) {
        if (c < L'0' || c > L'9') return std::nullopt;
        value = value * 10 + (c - L'0');
    }
    if (value > kLongestBuild) return std::nullopt;
    return value;
}

}  // namespace

BuildTimes BuildTimes::FromText(const std::wstring& text) {
    BuildTimes times, damaged;
    damaged.changed_ = true;
    std::vector<std::wstring> lines;
    for (std::size_t at = 0; at < text.size();) {
        std::size_t end = text.find(L'\n', at);
        if (end == std::wstring::npos) end = text.size();
        std::wstring line = text.substr(at, end - at);
        if (!line.empty() && line.back() == L'\r') line.pop_back();
        lines.push_back(std::move(line));
        at = end + 1;
    }
    while (!lines.empty() && lines.back().empty()) lines.pop_back();
    if (lines.empty() || lines.front() != kHeader || lines.size() > kMaxBuildTimes + 1) return damaged;
    std::set<std::wstring> seen;
    for (std::size_t i = 1; i < lines.size(); ++i) {
        const std::size_t tab = lines[i].find(L'\t');
        if (tab == std::wstring::npos || tab + 1 == lines[i].size()) return damaged;
        const auto ms = Milliseconds(lines[i].substr(0, tab));
        if (!ms) return damaged;
        const std::wstring key = PathKey(lines[i].substr(tab + 1));
        // No path holds a control character; one that seems to is damage.
        if (std::any_of(key.begin(), key.end(), [](wchar_t c) { return c < L' '; })) return damaged;
        if (!seen.insert(key).second) return damaged;  // written once each, never twice
        times.entries_.push_back({key, *ms});
    }
    return times;
}

std::wstring BuildTimes::Text() const {
    std::wstring text = kHeader;
    for (const auto& e : entries_) text += L"\r\n" + std::to_wstring(e.milliseconds) + L"\t" + e.key;
    return text;
}

std::optional<std::int64_t> BuildTimes::Find(const std::wstring& vbp) const {
    const std::wstring key = PathKey(vbp);
    const auto it = std::find_if(entries_.rbegin(), entries_.rend(), [&](const Entry& e) { return e.key == key; });
    return it == entries_.rend() ? std::nullopt : std::optional<std::int64_t>(it->milliseconds);
}

void BuildTimes::Record(const std::wstring& vbp, std::int64_t milliseconds) {
    const std::wstring key = PathKey(vbp);
    entries_.erase(std::remove_if(entries_.begin(), entries_.end(), [&](const Entry& e) { return e.key == key; }),
                   entries_.end());
    entries_.push_back({key, std::clamp<std::int64_t>(milliseconds, 0, kLongestBuild)});
    if (entries_.size() > kMaxBuildTimes) entries_.erase(entries_.begin());
    changed_ = true;
}

}  // namespace tolvane
