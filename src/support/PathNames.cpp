#include "support/PathNames.h"

#include <vector>

namespace tolvane {

namespace {

// "X:" before anything else; after a backslash a colon is part of a name.
bool HasDrive(const std::wstring& p) { return p.size() >= 2 && p[1] == L':' && p[0] != L'\\'; }

bool IsAbsolute(const std::wstring& p) { return HasDrive(p) || (!p.empty() && p[0] == L'\\'); }

// The root a path keeps whatever its ".." steps: "C:\", "\\server\share\" or "\".
std::wstring::size_type RootLength(const std::wstring& p) {
    if (HasDrive(p)) return p.size() >= 3 && p[2] == L'\\' ? 3 : 2;
    if (p.compare(0, 2, L"\\\\") == 0) {
        auto k = p.find(L'\\', 2);
        if (k != std::wstring::npos) k = p.find(L'\\', k + 1);
        return k == std::wstring::npos ? p.size() : k + 1;
    }
    return !p.empty() && p[0] == L'\\' ? 1 : 0;
}

wchar_t LowerAscii(wchar_t c) { return (c >= L'A' && c <= L'Z') ? static_cast<wchar_t>(c - L'A' + L'a') : c; }

}  // namespace

bool HasExtension(const std::wstring& name, const std::wstring& extension) {
    if (name.size() < extension.size() + 1) return false;
    const std::size_t dot = name.size() - extension.size() - 1;
    if (name[dot] != L'.') return false;
    for (std::size_t i = 0; i < extension.size(); ++i) {
        if (LowerAscii(name[dot + 1 + i]) != LowerAscii(extension[i])) return false;
    }
    return true;
}

std::wstring ResolvePath(const std::wstring& folder, const std::wstring& path) {
    std::wstring p = path;
    for (auto& c : p) {
        if (c == L'/') c = L'\\';
    }
    if (!IsAbsolute(p) && !folder.empty()) p = (folder.back() == L'\\' ? folder : folder + L'\\') + p;
    const auto rootLength = RootLength(p);
    std::vector<std::wstring> steps;
    for (auto i = rootLength; i <= p.size();) {
        auto k = p.find(L'\\', i);
        if (k == std::wstring::npos) k = p.size();
        const std::wstring step = p.substr(i, k - i);
        if (step == L"..") {
            if (!steps.empty()) steps.pop_back();
        } else if (!step.empty() && step != L".") {
            steps.push_back(step);
        }
        i = k + 1;
    }
    std::wstring out = p.substr(0, rootLength);
    for (std::size_t i = 0; i < steps.size(); ++i) out += (i ? L"\\" : L"") + steps[i];
    return out;
}

std::wstring PathKey(const std::wstring& path) {
    std::wstring key = path;
    for (auto& c : key) {
        if ((c >= L'A' && c <= L'Z') || (c >= L'\uFF21' && c <= L'\uFF3A')) c = static_cast<wchar_t>(c + 0x20);
    }
    return key;
}

std::wstring WithExtension(const std::wstring& path, const std::wstring& extension) {
    // The name starts after the last backslash or a drive's colon ("C:Main.frm").
    const auto slash = path.find_last_of(L"\\:");
    const auto dot = path.rfind(L'.');
    const bool hasDot = dot != std::wstring::npos && (slash == std::wstring::npos || dot > slash);
    return (hasDot ? path.substr(0, dot) : path) + L"." + extension;
}

}  // namespace tolvane
