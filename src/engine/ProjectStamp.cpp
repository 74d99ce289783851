#include "engine/ProjectStamp.h"

#include <algorithm>
#include <cstdint>

namespace tolvane {

namespace {

template <class C>
C AsciiLower(C c) {
    return c >= C('A') && c <= C('Z') ? C(c - C('A') + C('a')) : c;
}

template <class S>
S Lower(S text) {
    for (auto& c : text) c = AsciiLower(c);
    return text;
}

template <class S>
S Trim(const S& text) {
    const auto b = text.find_first_not_of(S{' ', '\t'});
    if (b == S::npos) return S();
    return text.substr(b, text.find_last_not_of(S{' ', '\t'}) - b + 1);
}

// The keys that name the project's files, one line per file: one value for
// all of them would drop files from the build.
const wchar_t* const kListKeys[] = {L"form", L"module", L"class", L"reference", L"object", L"usercontrol",
                                    L"designer", L"propertypage", L"userdocument", L"relateddoc"};

const wchar_t* const kStringKeys[] = {
    L"name", L"title", L"description", L"exename32", L"path32", L"command32", L"condcomp", L"compatiblemode",
    L"compatibleexe32", L"resfile32", L"iconform", L"startup", L"helpfile", L"helpcontextid",
    L"versioncompatible32", L"versioncomments", L"versioncompanyname", L"versionfiledescription",
    L"versionlegalcopyright", L"versionlegaltrademarks", L"versionproductname"};

const wchar_t* const kVersionKeys[] = {L"majorver", L"minorver", L"revisionver", L"autoincrementver"};

bool OneOf(const std::wstring& lowerKey, const wchar_t* const* begin, const wchar_t* const* end) {
    return std::any_of(begin, end, [&](const wchar_t* k) { return lowerKey == k; });
}

template <class S>
struct Line {
    std::size_t begin, end, next;  // content [begin, end), line end [end, next)
};

template <class S>
std::vector<Line<S>> SplitLines(const S& text) {
    std::vector<Line<S>> lines;
    for (std::size_t at = 0; at < text.size();) {
        std::size_t end = text.find_first_of(S{'\r', '\n'}, at);
        if (end == S::npos) end = text.size();
        std::size_t next = end;
        if (next < text.size()) next += (text[next] == '\r' && next + 1 < text.size() && text[next + 1] == '\n') ? 2 : 1;
        lines.push_back({at, end, next});
        at = next;
    }
    return lines;
}

}  // namespace

const wchar_t* const kVersionRule = L"2.5.1234 のように0から9999の数を3つ指定してください";

std::optional<std::array<int, 3>> ParseVersion(const std::wstring& text) {
    std::array<int, 3> parts{};
    std::size_t at = 0;
    for (int i = 0; i < 3; ++i) {
        std::size_t digits = 0;
        int value = 0;
        while (at < text.size() && text[at] >= L'0' && text[at] <= L'9' && digits < 5) {
            value = value * 10 + (text[at++] - L'0');
            ++digits;
        }
        if (digits == 0 || value > kMaxVersionPart) return std::nullopt;
        parts[static_cast<std::size_t>(i)] = value;
        if (i < 2 && (at >= text.size() || text[at++] != L'.')) return std::nullopt;
    }
    if (at != text.size()) return std::nullopt;
    return parts;
}

SettingArgument ParseSetting(const std::wstring& argument) {
    SettingArgument parsed;
    const auto eq = argument.find(L'=');
    if (eq == std::wstring::npos) {
        parsed.error = argument + L"は/setに指定できません: <ｷｰ>=<値> の形で指定してください";
        return parsed;
    }
    const std::wstring key = Trim(argument.substr(0, eq));
    const std::wstring value = Trim(argument.substr(eq + 1));
    // A key is one word of printable ASCII that cannot open a section.
    const bool wordKey = !key.empty() && key[0] != L'[' && std::all_of(key.begin(), key.end(), [](wchar_t c) {
        return c > L' ' && c < 0x7F && c != L'"' && c != L';';
    });
    if (!wordKey) {
        parsed.error = key + L"はﾌﾟﾛｼﾞｪｸﾄﾌｧｲﾙのｷｰとして使用できません";
    } else if (OneOf(Lower(key), std::begin(kListKeys), std::end(kListKeys))) {
        parsed.error = key + L"はﾌｧｲﾙを並べるｷｰのため/setで変更できません";
    } else if (std::any_of(value.begin(), value.end(), [](wchar_t c) { return c < L' ' || c == L'"' || c == 0x7F; })) {
        // A line break would add lines of its own; a quote would end the value early.
        parsed.error = argument + L"の値に使用できない文字(\" や制御文字)が含まれています";
    } else {
        const std::wstring lower = Lower(key);
        const bool number = lower == L"majorver" || lower == L"minorver" || lower == L"revisionver";
        if (number && !ParseVersion(value + L".0.0")) {
            parsed.error = key + L"には0から9999までの数を指定してください";
        } else if (lower == L"autoincrementver" && value != L"0" && value != L"1") {
            parsed.error = key + L"には0か1を指定してください";
        } else {
            parsed.setting = ProjectSetting{key, value};
        }
    }
    return parsed;
}

RunSettings CombineSettings(const std::wstring& version, const ProjectSettings& sets) {
    RunSettings run;
    if (!version.empty()) {
        const auto parts = ParseVersion(version);
        if (!parts) {
            run.error = version + L"はﾊﾞｰｼﾞｮﾝに指定できません: " + kVersionRule;
            return run;
        }
        // The compiler would otherwise raise the revision again and save the project.
        run.settings = {{L"MajorVer", std::to_wstring((*parts)[0])},
                        {L"MinorVer", std::to_wstring((*parts)[1])},
                        {L"RevisionVer", std::to_wstring((*parts)[2])},
                        {L"AutoIncrementVer", L"0"}};
    }
    for (const auto& set : sets) {
        const std::wstring lower = Lower(set.key);
        if (!version.empty() && OneOf(lower, std::begin(kVersionKeys), std::end(kVersionKeys))) {
            run.error = set.key + L"は/versionと同時に/setで指定できません";
            return run;
        }
        for (const auto& earlier : run.settings) {
            if (Lower(earlier.key) == lower) {
                run.error = set.key + L"が/setで2回指定されています";
                return run;
            }
        }
        run.settings.push_back(set);
    }
    return run;
}

bool IsStringKey(const std::wstring& key) { return OneOf(Lower(key), std::begin(kStringKeys), std::end(kStringKeys)); }

template <class S>
S StampText(const S& text, const std::vector<std::pair<S, S>>& settings) {
    const auto lines = SplitLines(text);
    std::size_t mainEnd = 0;  // lines of the first section
    while (mainEnd < lines.size() && !(lines[mainEnd].end > lines[mainEnd].begin && text[lines[mainEnd].begin] == '['))
        ++mainEnd;
    std::vector<bool> found(settings.size(), false);
    std::vector<S> keys;
    for (const auto& setting : settings) keys.push_back(Lower(setting.first));
    const auto written = [&](std::size_t k, bool quoted) {
        const bool string = quoted || IsStringKey(std::wstring(settings[k].first.begin(), settings[k].first.end()));
        return string ? S(1, '"') + settings[k].second + S(1, '"') : settings[k].second;
    };

    S out;
    out.reserve(text.size() + 64);
    std::optional<std::size_t> lastFilled;  // in out: where lines may be added
    S addEnd;                               // their line end
    bool addBefore = false;                 // the last filled line has no line end: one goes before each
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const Line<S>& line = lines[i];
        const S content = text.substr(line.begin, line.end - line.begin);
        const S ending = text.substr(line.end, line.next - line.end);
        S replaced = content;
        const auto eq = content.find('=');
        if (i < mainEnd && eq != S::npos) {
            const S key = Lower(Trim(content.substr(0, eq)));
            for (std::size_t k = 0; k < settings.size(); ++k) {
                if (key != keys[k]) continue;
                found[k] = true;
                const S old = Trim(content.substr(eq + 1));
                replaced = content.substr(0, eq + 1) + written(k, !old.empty() && old[0] == '"');
            }
        }
        out += replaced;
        out += ending;
        if (i < mainEnd && !Trim(content).empty()) {
            lastFilled = out.size();
            addEnd = ending;
            addBefore = ending.empty();
        }
    }
    S added;
    for (std::size_t k = 0; k < settings.size(); ++k) {
        if (found[k]) continue;
        const S line = settings[k].first + S(1, '=') + written(k, false);
        if (!lastFilled) {
            // No line to follow: the additions open the file, ending as its lines do.
            const auto first = std::find_if(lines.begin(), lines.end(), [](const Line<S>& l) { return l.next > l.end; });
            added += line + (first == lines.end() ? S{'\r', '\n'} : text.substr(first->end, first->next - first->end));
        } else if (addBefore) {
            const auto first = std::find_if(lines.begin(), lines.end(), [](const Line<S>& l) { return l.next > l.end; });
            added += (first == lines.end() ? S{'\r', '\n'} : text.substr(first->end, first->next - first->end)) + line;
        } else {
            added += line + addEnd;
        }
    }
    out.insert(lastFilled.value_or(0), added);
    return out;
}

template std::string StampText(const std::string&, const std::vector<std::pair<std::string, std::string>>&);
template std::wstring StampText(const std::wstring&, const std::vector<std::pair<std::wstring, std::wstring>>&);

std::vector<std::pair<std::wstring, std::wstring>> SettingPairs(const ProjectSettings& settings) {
    std::vector<std::pair<std::wstring, std::wstring>> pairs;
    for (const auto& s : settings) pairs.emplace_back(s.key, s.value);
    return pairs;
}

std::wstring SettingsFingerprint(const ProjectSettings& settings) {
    if (settings.empty()) return std::wstring();
    std::vector<std::wstring> lines;
    for (const auto& s : settings) lines.push_back(Lower(s.key) + L"=" + s.value);
    std::sort(lines.begin(), lines.end());
    std::uint64_t hash = 14695981039346656037ull;
    for (const auto& line : lines) {
        for (wchar_t c : line + L"\n") {
            hash ^= static_cast<std::uint32_t>(c);
            hash *= 1099511628211ull;
        }
    }
    static const wchar_t digits[] = L"0123456789abcdef";
    std::wstring text;
    for (int shift = 60; shift >= 0; shift -= 4) text += digits[(hash >> shift) & 0xF];
    return text;
}

}  // namespace tolvane
