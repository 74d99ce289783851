#include "support/Paths.h"

#include "support/RuntimeError.h"

namespace tolvane {

std::wstring TrimSpaces(const std::wstring& text) {
    const auto first = text.find_first_not_of(L' ');
    if (first == std::wstring::npos) return std::wstring();
    const auto last = text.find_last_not_of(L' ');
    return text.substr(first, last - first + 1);
}

bool IsBlank(const std::wstring& text) {
    return text.find_first_not_of(L' ') == std::wstring::npos;
}

std::wstring GetFileName(const std::wstring& path) {
    const auto k = path.rfind(L'\\');
    return k == std::wstring::npos ? path : path.substr(k + 1);
}

std::wstring GetDriveRoot(const std::wstring& path) {
    const auto k = path.find(L'\\');
    return k == std::wstring::npos ? std::wstring() : path.substr(0, k + 1);
}

std::wstring GetFolderPath(const std::wstring& path) {
    if (IsBlank(path)) return std::wstring();
    const auto k = path.rfind(L'\\');
    if (k == std::wstring::npos) {
        // VB's Left() with a negative length: the runtime's invalid-argument error.
        throw RuntimeError(kErrInvalidArgument, L"GetFolderPath");
    }
    std::wstring folder = path.substr(0, k);
    // A bare drive ("C:") or nothing at all still has to name a folder.
    if (folder.find(L'\\') == std::wstring::npos) folder += L'\\';
    if (folder.back() != L'\\') folder += L'\\';
    return folder;
}

std::wstring QuoteIfSpaced(const std::wstring& value) {
    if (value.find(L' ') == std::wstring::npos) return value;
    return L"\"" + value + L"\"";
}

std::wstring JoinFolderAndName(const std::wstring& folder, const std::wstring& name) {
    if (!folder.empty() && folder.back() == L'\\') return folder + name;
    return folder + L'\\' + name;
}

}  // namespace tolvane
