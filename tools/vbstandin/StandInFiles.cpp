#include "StandInFiles.h"

#include "support/win32/Handle.h"

namespace standin {

namespace {

std::string Encoded(UINT codePage, const std::wstring& s) {
    if (s.empty()) return {};
    int n = WideCharToMultiByte(codePage, 0, s.data(), static_cast<int>(s.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(codePage, 0, s.data(), static_cast<int>(s.size()), &out[0], n, nullptr, nullptr);
    return out;
}

}  // namespace

std::string ToUtf8(const std::wstring& s) { return Encoded(CP_UTF8, s); }

std::string ToAnsi(const std::wstring& s) { return Encoded(CP_ACP, s); }

bool AppendBytes(const std::wstring& path, const std::string& bytes, bool append) {
    const tolvane::Handle f(CreateFileW(path.c_str(), append ? FILE_APPEND_DATA : GENERIC_WRITE,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                        append ? OPEN_ALWAYS : CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!f.Valid()) return false;
    DWORD written = 0;
    const BOOL ok = WriteFile(f.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    return ok && written == bytes.size();
}

bool ReadBytes(const std::wstring& path, std::string& bytes) {
    const tolvane::Handle f(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!f.Valid()) return false;
    bytes.clear();
    char buf[4096];
    DWORD got = 0;
    bool ok = true;
    while ((ok = ReadFile(f.Get(), buf, sizeof buf, &got, nullptr) != FALSE) && got > 0) bytes.append(buf, got);
    return ok;
}

std::wstring FromAnsi(const std::string& s) {
    if (s.empty()) return {};
    int n = MultiByteToWideChar(CP_ACP, 0, s.data(), static_cast<int>(s.size()), nullptr, 0);
    std::wstring out(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_ACP, 0, s.data(), static_cast<int>(s.size()), &out[0], n);
    return out;
}

bool FileThere(const std::wstring& path) {
    DWORD a = GetFileAttributesW(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

bool IsAbsolute(const std::wstring& p) {
    return (p.size() >= 2 && p[1] == L':') || (!p.empty() && p[0] == L'\\');
}

std::wstring FolderOf(const std::wstring& path) {
    size_t k = path.find_last_of(L'\\');
    return k == std::wstring::npos ? std::wstring() : path.substr(0, k + 1);
}

std::wstring Join(const std::wstring& folder, const std::wstring& name) {
    if (folder.empty() || IsAbsolute(name)) return name;
    return folder.back() == L'\\' ? folder + name : folder + L'\\' + name;
}

}  // namespace standin
