#include "engine/win32/ErrorBoxFinder.h"

namespace tolvane {

std::wstring WindowText(HWND w) {
    // For another process's window this reads the stored caption without
    // sending a message, so a hung box cannot hang the run.
    std::wstring buf(4096, L'\0');
    int n = GetWindowTextW(w, &buf[0], static_cast<int>(buf.size()));
    buf.resize(n > 0 ? static_cast<size_t>(n) : 0);
    return buf;
}

namespace {

std::wstring ClassOf(HWND w) {
    wchar_t buf[64];
    int n = GetClassNameW(w, buf, 64);
    return std::wstring(buf, n > 0 ? n : 0);
}

bool IsTextStatic(HWND w) {
    if (_wcsicmp(ClassOf(w).c_str(), L"Static") != 0) return false;
    LONG type = GetWindowLongW(w, GWL_STYLE) & SS_TYPEMASK;
    return type != SS_ICON && type != SS_BITMAP && type != SS_ENHMETAFILE && type != SS_BLACKRECT &&
           type != SS_GRAYRECT && type != SS_WHITERECT && type != SS_ETCHEDHORZ && type != SS_ETCHEDVERT &&
           type != SS_ETCHEDFRAME;
}

BOOL CALLBACK CollectText(HWND child, LPARAM param) {
    auto& text = *reinterpret_cast<std::wstring*>(param);
    if (!IsTextStatic(child)) return TRUE;
    std::wstring t = WindowText(child);
    if (t.empty()) return TRUE;
    if (!text.empty()) text += L"\r\n";
    text += t;
    return TRUE;
}

}  // namespace

std::vector<HWND> FindOwnedWindows(const std::wstring& title, const std::function<bool(DWORD pid)>& isOurs) {
    std::vector<HWND> found;
    HWND after = nullptr;
    // The search itself ignores letter case; the title must match exactly.
    while ((after = FindWindowExW(nullptr, after, nullptr, title.c_str())) != nullptr) {
        wchar_t buf[256];
        int n = GetWindowTextW(after, buf, 256);
        if (title.compare(0, std::wstring::npos, buf, n > 0 ? n : 0) != 0) continue;
        if (!IsWindowVisible(after)) continue;
        DWORD pid = 0;
        GetWindowThreadProcessId(after, &pid);
        if (pid != 0 && isOurs(pid)) found.push_back(after);
    }
    return found;
}

namespace {

struct PromptSearch {
    const std::wstring& exceptTitle;
    const std::function<bool(DWORD)>& isOurs;
    HWND found = nullptr;
};

BOOL CALLBACK MatchPrompt(HWND w, LPARAM param) {
    auto& s = *reinterpret_cast<PromptSearch*>(param);
    if (!IsWindowVisible(w) || WindowText(w) == s.exceptTitle) return TRUE;
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    if (pid == 0 || !s.isOurs(pid)) return TRUE;
    s.found = w;
    return FALSE;
}

}  // namespace

HWND FindOwnedWindowExcept(const std::wstring& exceptTitle, const std::function<bool(DWORD pid)>& isOurs) {
    PromptSearch search{exceptTitle, isOurs};
    EnumWindows(MatchPrompt, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::wstring ReadBoxText(HWND box) {
    std::wstring text;
    EnumChildWindows(box, CollectText, reinterpret_cast<LPARAM>(&text));
    return text;
}

}  // namespace tolvane
