#pragma once
// A fresh folder under the temporary folder for one test, removed with
// everything in it (read-only and hidden entries too) when the test ends.
#include <windows.h>

#include <string>

namespace tolvane::testing {

class ScratchFolder {
public:
    ScratchFolder() {
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        static unsigned counter = 0;
        for (;;) {
            path_ = std::wstring(temp) + L"tlvtest" + std::to_wstring(GetCurrentProcessId()) + L"_" +
                    std::to_wstring(++counter);
            if (CreateDirectoryW(path_.c_str(), nullptr)) break;
        }
        path_ += L'\\';
    }
    ~ScratchFolder() { Remove(path_); }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    // The folder, ending in a backslash.
    const std::wstring& Path() const { return path_; }
    std::wstring operator/(const std::wstring& name) const { return path_ + name; }

private:
    static void Remove(const std::wstring& folder) {
        WIN32_FIND_DATAW data;
        HANDLE h = FindFirstFileW((folder + L"*").c_str(), &data);
        if (h != INVALID_HANDLE_VALUE) {
            do {
                const std::wstring name = data.cFileName;
                if (name == L"." || name == L"..") continue;
                const std::wstring full = folder + name;
                SetFileAttributesW(full.c_str(), FILE_ATTRIBUTE_NORMAL);
                if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                    Remove(full + L'\\');
                } else {
                    DeleteFileW(full.c_str());
                }
            } while (FindNextFileW(h, &data));
            FindClose(h);
        }
        RemoveDirectoryW(folder.c_str());
    }

    std::wstring path_;
};

// The raw bytes of a file; empty when it cannot be read.
inline std::string ReadBytes(const std::wstring& path) {
    HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return std::string();
    std::string bytes;
    char buffer[4096];
    DWORD read = 0;
    while (ReadFile(h, buffer, sizeof buffer, &read, nullptr) && read > 0) bytes.append(buffer, read);
    CloseHandle(h);
    return bytes;
}

inline bool WriteBytes(const std::wstring& path, const std::string& bytes) {
    HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                           nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const bool ok = WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                    written == bytes.size();
    CloseHandle(h);
    return ok;
}

}  // namespace tolvane::testing
