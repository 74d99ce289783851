#include "common/TextFiles.h"

#include <windows.h>

#include "support/AnsiCodec.h"
#include "support/win32/Files.h"
#include "support/win32/Handle.h"

namespace tolvane::testing {

std::string ToUtf8(const std::wstring& text) {
    const int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), n, nullptr, nullptr);
    return out;
}

std::wstring FromUtf8(const std::string& bytes) {
    const int n = MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    std::wstring out(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()), out.data(), n);
    return out;
}

std::optional<std::string> ToAnsi(const std::wstring& text) { return SystemAnsiCodec().Encode(text); }

std::wstring FromAnsi(const std::string& bytes) { return SystemAnsiCodec().Decode(bytes); }

std::vector<std::wstring> SplitLines(const std::wstring& text) {
    std::vector<std::wstring> lines;
    for (size_t start = 0;;) {
        const size_t end = text.find(L"\r\n", start);
        lines.push_back(text.substr(start, end == std::wstring::npos ? std::wstring::npos : end - start));
        if (end == std::wstring::npos) return lines;
        start = end + 2;
    }
}

bool WriteBytes(const std::wstring& path, const std::string& bytes) {
    Handle f(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!f.Valid()) return false;
    DWORD written = 0;
    const BOOL ok = WriteFile(f.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    return f.Close() && ok && written == bytes.size();
}

std::optional<std::string> ReadBytes(const std::wstring& path) {
    std::string bytes;
    if (ReadWholeFile(path, bytes).Failed()) return std::nullopt;
    return bytes;
}

LockedFile::LockedFile(const std::wstring& path)
    : handle_(CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr)) {}

bool LockedFile::Held() const { return handle_.Valid(); }

}  // namespace tolvane::testing
