#include "engine/KeyValueLines.h"

#include "support/PathNames.h"

namespace tolvane {

std::vector<KeyValue> ReadMainSection(const std::wstring& text) {
    std::vector<KeyValue> lines;
    for (std::size_t start = 0; start < text.size();) {
        auto end = text.find_first_of(L"\r\n", start);
        if (end == std::wstring::npos) end = text.size();
        const std::wstring line = text.substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line[0] == L'[') break;
        const auto eq = line.find(L'=');
        if (eq == std::wstring::npos) continue;
        lines.push_back({PathKey(TrimBlanks(line.substr(0, eq))), line.substr(eq + 1)});
    }
    return lines;
}

std::wstring TrimBlanks(const std::wstring& text) {
    const auto b = text.find_first_not_of(L" \t");
    if (b == std::wstring::npos) return std::wstring();
    return text.substr(b, text.find_last_not_of(L" \t") - b + 1);
}

std::wstring Unquote(const std::wstring& text) {
    std::wstring t = TrimBlanks(text);
    if (t.size() >= 2 && t.front() == L'"' && t.back() == L'"') t = t.substr(1, t.size() - 2);
    return t;
}

}  // namespace tolvane
