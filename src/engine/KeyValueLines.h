#pragma once
// The "Key=Value" lines that VB6 writes in project and group files.
#include <string>
#include <vector>

namespace tolvane {

struct KeyValue {
    std::wstring key;    // trimmed, in lower case
    std::wstring value;  // everything after the first '=', untrimmed
};

// The lines of the first section, up to a line that opens another
// ("[MS Transaction Server]"). Lines end at CR, LF or both; lines without
// '=' are left out.
std::vector<KeyValue> ReadMainSection(const std::wstring& text);

// Leading and trailing spaces and tabs removed.
std::wstring TrimBlanks(const std::wstring& text);

// Trimmed, and without the double quotes around it when it has them.
std::wstring Unquote(const std::wstring& text);

}  // namespace tolvane
