#include "ui/chooser/rules/ChooserRules.h"

#include "support/Paths.h"

namespace tolvane::chooser {
namespace {

std::wstring LastChars(const std::wstring& text, std::size_t count) {
    return text.size() <= count ? text : text.substr(text.size() - count);
}

bool EndsWithBackslash(const std::wstring& text) { return !text.empty() && text.back() == L'\\'; }

std::wstring Quoted(const std::wstring& text) { return L"「" + text + L"」"; }

}  // namespace

std::wstring UpperForCompare(const std::wstring& text) {
    std::wstring upper = text;
    for (wchar_t& c : upper) {
        if (c >= L'a' && c <= L'z') {
            c = static_cast<wchar_t>(c - 0x20);
        } else if (c >= 0xE0 && c <= 0xFE && c != 0xF7) {
            c = static_cast<wchar_t>(c - 0x20);
        } else if (c >= 0xFF41 && c <= 0xFF5A) {  // full-width a to z
            c = static_cast<wchar_t>(c - 0x20);
        }
    }
    return upper;
}

std::wstring ApplyMaskExtension(const std::wstring& path, const std::wstring& mask) {
    if (LastChars(mask, 2) == L".*") return path;
    const std::wstring extension = LastChars(mask, 4);
    if (UpperForCompare(extension) == UpperForCompare(LastChars(path, 4))) return path;
    return path + extension;
}

OkStep DecideOk(ChooserMode mode, const std::wstring& folder, const std::wstring& typed, const std::wstring& mask,
                const std::function<bool(const std::wstring&)>& exists) {
    OkStep step;
    step.triedPath = JoinFolderAndName(folder, typed);
    std::wstring p = step.triedPath;
    const bool blank = TrimSpaces(typed).empty();
    auto warnBlank = [&step] {
        step.action = OkAction::Warn;
        step.message2 = L"ファイル名が指定されていません";
        return step;
    };

    switch (mode) {
    case ChooserMode::Folder:
        if (!EndsWithBackslash(p)) p += L'\\';
        step.path = p;
        if (exists(p)) {
            step.action = OkAction::Accept;
        } else {
            step.action = OkAction::AskCreate;
            step.message2 = Quoted(p) + L"を作成しますか？";
        }
        return step;
    case ChooserMode::ExistingFile:
        if (blank) return warnBlank();
        step.path = p;
        if (exists(p)) {
            step.action = OkAction::Accept;
        } else {
            step.action = OkAction::Warn;
            step.message2 = Quoted(GetFileName(p)) + L"は存在しません";
        }
        return step;
    case ChooserMode::NameToWrite:
        if (blank) return warnBlank();
        step.path = ApplyMaskExtension(p, mask);
        step.action = OkAction::Accept;
        return step;
    case ChooserMode::FileToWrite:
        if (blank) return warnBlank();
        step.path = ApplyMaskExtension(p, mask);
        if (exists(step.path)) {
            step.action = OkAction::AskOverwrite;
            step.message1 = Quoted(GetFileName(step.path)) + L"は既に存在します";
            step.message2 = L"既存のファイルを書き換えますか？";
        } else {
            step.action = OkAction::Accept;
        }
        return step;
    default:
        step.path = p;
        step.action = OkAction::Accept;
        return step;
    }
}

std::wstring NewFolderPath(const std::wstring& folder, const std::wstring& name) {
    std::wstring p = JoinFolderAndName(folder, name);
    if (!EndsWithBackslash(p)) p += L'\\';
    // The file name only marks where the folder part ends.
    return GetFolderPath(p + L"test.txt");
}

std::wstring NewFolderNameProblem(const std::wstring& name) {
    if (TrimSpaces(name).empty()) return L"フォルダ名が指定されていません";
    for (wchar_t c : name) {
        if (c < 0x20 || c == L'<' || c == L'>' || c == L':' || c == L'"' || c == L'/' || c == L'|' ||
            c == L'?' || c == L'*') {
            return L"フォルダ名に使えない文字が含まれています";
        }
    }
    bool anyLevel = false;
    std::size_t start = 0;
    while (start <= name.size()) {
        std::size_t end = name.find(L'\\', start);
        if (end == std::wstring::npos) end = name.size();
        const std::wstring piece = name.substr(start, end - start);
        if (!piece.empty()) {
            // Only dots or only blanks would name the current folder, its parent, or nothing.
            if (piece.find_first_not_of(L". ") == std::wstring::npos) return L"フォルダ名が正しくありません";
            anyLevel = true;
        }
        start = end + 1;
    }
    if (!anyLevel) return L"フォルダ名が指定されていません";
    return std::wstring();
}

}  // namespace tolvane::chooser
