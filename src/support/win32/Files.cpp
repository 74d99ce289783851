#include "support/win32/Files.h"

#include "support/Paths.h"
#include "support/win32/Handle.h"

namespace tolvane {
namespace {

std::wstring Lower(std::wstring text) {
    if (!text.empty()) CharLowerBuffW(&text[0], static_cast<DWORD>(text.size()));
    return text;
}

constexpr DWORD kNotAFile = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;

}  // namespace

bool FileExists(const std::wstring& path) {
    const std::wstring name = GetFileName(path);
    if (name.empty()) return false;
    WIN32_FIND_DATAW data;
    const FindHandle search(FindFirstFileW(path.c_str(), &data));
    if (!search.Valid()) return false;
    // The first entry a plain file lookup would show decides.
    bool found = false;
    do {
        if ((data.dwFileAttributes & kNotAFile) == 0) {
            found = true;
            break;
        }
    } while (FindNextFileW(search.Get(), &data));
    return found && Lower(data.cFileName) == Lower(name);
}

std::wstring RunningProgramPath() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (n == 0) return L"";
        if (n < path.size()) {
            path.resize(n);
            return path;
        }
        path.resize(path.size() * 2);  // cut off: try a larger buffer
    }
}

std::wstring ProgramFolder() {
    const std::wstring module = RunningProgramPath();
    const auto k = module.rfind(L'\\');
    if (k == std::wstring::npos) return std::wstring();
    std::wstring folder = module.substr(0, k);
    if (folder.find(L'\\') == std::wstring::npos) folder += L'\\';  // "C:" is the drive's root
    return folder;
}

std::wstring FileBesideProgram(const std::wstring& name) {
    return JoinFolderAndName(ProgramFolder(), name);
}

PlatformResult ReadWholeFile(const std::wstring& path, std::string& bytes) {
    const Handle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid()) return PlatformResult::LastError(L"ReadWholeFile");
    bytes.clear();
    char buffer[64 * 1024];
    for (;;) {
        DWORD read = 0;
        if (!ReadFile(file.Get(), buffer, sizeof buffer, &read, nullptr)) return PlatformResult::LastError(L"ReadWholeFile");
        if (read == 0) return PlatformResult();
        bytes.append(buffer, read);
    }
}

std::wstring LastErrorText(DWORD code) {
    wchar_t* buffer = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::wstring text;
    if (length != 0 && buffer != nullptr) text.assign(buffer, length);
    if (buffer != nullptr) LocalFree(buffer);
    const auto last = text.find_last_not_of(L" \t\r\n");
    text.erase(last == std::wstring::npos ? 0 : last + 1);
    if (text.empty()) text = L"エラー " + std::to_wstring(code);
    return text;
}

}  // namespace tolvane
