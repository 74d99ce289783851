#include "engine/CompileListFile.h"

#include <cwctype>

#include "support/Paths.h"

namespace tolvane {

namespace {

bool EqualsIgnoringCase(const std::wstring& text, const wchar_t* word) {
    std::size_t i = 0;
    for (; i < text.size() && word[i] != L'\0'; ++i) {
        if (std::towlower(text[i]) != std::towlower(word[i])) return false;
    }
    return i == text.size() && word[i] == L'\0';
}

bool IsDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

// Reads [sign] digits [. digits] [e [sign] digits] (or a fraction alone) as the
// whole text. Sets nonZero when the mantissa holds a digit other than 0; the
// exponent cannot turn a non-zero mantissa into zero for the purpose of a mark.
bool ReadPlainNumber(const std::wstring& text, bool& nonZero) {
    std::size_t i = 0;
    nonZero = false;
    if (i < text.size() && (text[i] == L'+' || text[i] == L'-')) ++i;
    std::size_t digits = 0;
    for (; i < text.size() && IsDigit(text[i]); ++i, ++digits) nonZero |= text[i] != L'0';
    if (i < text.size() && text[i] == L'.') {
        ++i;
        for (; i < text.size() && IsDigit(text[i]); ++i, ++digits) nonZero |= text[i] != L'0';
    }
    if (digits == 0) return false;
    if (i < text.size() && (text[i] == L'e' || text[i] == L'E')) {
        ++i;
        if (i < text.size() && (text[i] == L'+' || text[i] == L'-')) ++i;
        std::size_t expDigits = 0;
        for (; i < text.size() && IsDigit(text[i]); ++i) ++expDigits;
        if (expDigits == 0) return false;
    }
    return i == text.size();
}

}  // namespace

std::wstring FormatCompileList(const clsTolvane::EntryList& entries) {
    std::wstring text;
    for (const auto& entry : entries) {
        text += entry->Action() ? L"True" : L"False";
        text += L'\t';
        text += entry->Vbp();
        text += L"\r\n";
    }
    return text;
}

std::wstring FormatCompileList(const clsTolvane& engine) { return FormatCompileList(engine.Vbp()); }

bool ParseCheckMark(const std::wstring& field) {
    const std::wstring value = TrimSpaces(field);
    if (EqualsIgnoringCase(value, L"true")) return true;
    if (EqualsIgnoringCase(value, L"false")) return false;
    bool nonZero = false;
    return ReadPlainNumber(value, nonZero) && nonZero;
}

std::vector<ListLine> ParseCompileList(const std::string& bytes, const AnsiCodec& codec) {
    // Split on the raw bytes: CR, LF and TAB are never part of a double-byte
    // character, while a decoder may pair a damaged lead byte with them.
    std::vector<ListLine> lines;
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t end = bytes.find_first_of("\r\n", start);
        if (end == std::string::npos) end = bytes.size();
        const std::string line = bytes.substr(start, end - start);
        start = end + 1;
        if (start < bytes.size() && bytes[start - 1] == '\r' && bytes[start] == '\n') ++start;

        const std::size_t tab = line.find('\t');
        if (tab == std::string::npos) continue;  // no second field, no path
        const std::size_t nextTab = line.find('\t', tab + 1);
        ListLine entry;
        entry.path = codec.Decode(
            line.substr(tab + 1, nextTab == std::string::npos ? std::string::npos : nextTab - tab - 1));
        if (IsBlank(entry.path)) continue;
        entry.mark = ParseCheckMark(codec.Decode(line.substr(0, tab)));
        lines.push_back(std::move(entry));
    }
    return lines;
}

}  // namespace tolvane
