#include "common/TextFiles.h"

#include <windows.h>

namespace tolvane::testing {

namespace {

std::string Narrow(UINT codePage, const std::wstring& text, bool* lossy) {
    if (text.empty()) return {};
    BOOL usedDefault = FALSE;
    BOOL* used = codePage == CP_UTF8 ? nullptr : &usedDefault;
    int n = WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, used);
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), &out[0], n, nullptr, used);
    if (lossy) *lossy = usedDefault != FALSE;
    return out;
}

std::wstring Widen(UINT codePage, const std::string& bytes) {
    if (bytes.empty()) return {};
    int n = MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    std::wstring out(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), &out[0], n);
    return out;
}

}  // namespace

std::string ToUtf8(const std::wstring& text) { return Narrow(CP_UTF8, text, nullptr); }
std::wstring FromUtf8(const std::string& bytes) { return Widen(CP_UTF8, bytes); }

std::optional<std::string> ToAnsi(const std::wstring& text) {
    bool lossy = false;
    std::string out = Narrow(CP_ACP, text, &lossy);
    if (lossy) return std::nullopt;
    return out;
}

std::wstring FromAnsi(const std::string& bytes) { return Widen(CP_ACP, bytes); }

bool WriteBytes(const std::wstring& path, const std::string& bytes) {
    HANDLE f = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (f == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    BOOL ok = WriteFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(f);
    return ok && written == bytes.size();
}

std::optional<std::string> ReadBytes(const std::wstring& path) {
    HANDLE f = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (f == INVALID_HANDLE_VALUE) return std::nullopt;
    std::string bytes;
    char buf[8192];
    DWORD got = 0;
    while (ReadFile(f, buf, sizeof buf, &got, nullptr) && got > 0) bytes.append(buf, got);
    CloseHandle(f);
    return bytes;
}

std::wstring ProgramBeside(const std::wstring& name) {
    std::wstring self(MAX_PATH, L'\0');
    for (;;) {
        DWORD n = GetModuleFileNameW(nullptr, &self[0], static_cast<DWORD>(self.size()));
        if (n < self.size()) {
            self.resize(n);
            break;
        }
        self.resize(self.size() * 2);
    }
    return self.substr(0, self.find_last_of(L'\\') + 1) + name;
}

LockedFile::LockedFile(const std::wstring& path)
    : handle_(CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr)) {}

LockedFile::~LockedFile() {
    if (Held()) CloseHandle(handle_);
}

bool LockedFile::Held() const { return handle_ != INVALID_HANDLE_VALUE; }

}  // namespace tolvane::testing
