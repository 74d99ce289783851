#include "support/win32/Make.h"

#include <windows.h>

#include <algorithm>
#include <cwchar>

#include "support/AnsiCodec.h"
#include "support/Paths.h"
#include "support/RuntimeError.h"
#include "support/win32/Handle.h"
#include "support/win32/PlatformResult.h"

namespace tolvane {
namespace {

// A new, uniquely named file in the target's folder, so that the final move
// stays on one volume and replaces the target in one step.
HANDLE CreateTempBeside(const std::wstring& folder, std::wstring& tempPath) {
    static unsigned counter = 0;
    for (int attempt = 0; attempt < 100; ++attempt) {
        wchar_t name[64];
        std::swprintf(name, 64, L"~tlv%lx%x.tmp", static_cast<unsigned long>(GetCurrentProcessId()),
                      (GetTickCount() + ++counter) & 0xFFFFu);
        tempPath = folder + name;
        HANDLE h = CreateFileW(tempPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                               FILE_ATTRIBUTE_ARCHIVE, nullptr);
        if (h != INVALID_HANDLE_VALUE || GetLastError() != ERROR_FILE_EXISTS) return h;
    }
    return INVALID_HANDLE_VALUE;
}

bool WriteAll(HANDLE h, const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        DWORD written = 0;
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 20));
        if (!WriteFile(h, bytes.data() + done, chunk, &written, nullptr) || written == 0) return false;
        done += written;
    }
    return true;
}

}  // namespace

void MakeFolders(const std::wstring& path) {
    // No first piece to start from.
    if (path.empty()) throw RuntimeError(kErrSubscriptOutOfRange, L"MakeFolders");
    auto end = path.find(L'\\');
    std::wstring level = path.substr(0, end);
    while (end != std::wstring::npos) {
        const auto next = path.find(L'\\', end + 1);
        level += L'\\';
        level += path.substr(end + 1, next == std::wstring::npos ? std::wstring::npos : next - end - 1);
        end = next;
        // A level ending in a backslash names the folder itself: it exists once its parent does.
        if (GetFileAttributesW(level.c_str()) != INVALID_FILE_ATTRIBUTES) continue;
        if (!CreateDirectoryW(level.c_str(), nullptr)) {
            throw PlatformResult::LastError(L"MakeFolders").Error(level + L"を作成出来ませんでした");
        }
    }
}

namespace {

// The safe replace: the bytes go to a new file beside the target, which then
// takes the target's place in one step.
void ReplaceFile(const std::wstring& path, const std::string& bytes, const wchar_t* source) {
    const std::wstring failed = path + L"に書き込めませんでした";
    const std::wstring folder = GetFolderPath(path);
    MakeFolders(folder);

    std::wstring tempPath;
    Handle temp(CreateTempBeside(folder, tempPath));
    if (!temp.Valid()) throw PlatformResult::LastError(source).Error(failed);

    DWORD code = ERROR_SUCCESS;
    if (!WriteAll(temp.Get(), bytes) || !FlushFileBuffers(temp.Get())) code = GetLastError();
    if (!temp.Close() && code == ERROR_SUCCESS) code = GetLastError();

    // Read-only, hidden and system go; they come back if the file cannot be replaced.
    const DWORD oldAttributes = GetFileAttributesW(path.c_str());
    const bool clearAttributes = code == ERROR_SUCCESS && oldAttributes != INVALID_FILE_ATTRIBUTES &&
                                 (oldAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0 &&
                                 oldAttributes != FILE_ATTRIBUTE_ARCHIVE;
    if (clearAttributes) SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_ARCHIVE);

    if (code == ERROR_SUCCESS &&
        !MoveFileExW(tempPath.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        code = GetLastError();
    }
    if (code != ERROR_SUCCESS) {
        DeleteFileW(tempPath.c_str());
        if (clearAttributes) SetFileAttributesW(path.c_str(), oldAttributes);
        throw PlatformResult::Failure(code, source).Error(failed);
    }
}

}  // namespace

void MakeTextFile(const std::wstring& path, const std::wstring& text) {
    const auto bytes = SystemAnsiCodec().Encode(text + L"\r\n");
    if (!bytes) {
        const auto at = FirstUnencodable(SystemAnsiCodec(), text);
        std::wstring character = at == std::wstring::npos ? std::wstring() : text.substr(at, 1);
        if (at != std::wstring::npos && at + 1 < text.size() && text[at] >= 0xD800 && text[at] <= 0xDBFF) {
            character = text.substr(at, 2);
        }
        throw TolvaneError(L"MakeTextFile", path + L"に書き込めませんでした: 「" + character +
                                                L"」はシステムの文字コードで保存出来ない文字です");
    }
    ReplaceFile(path, *bytes, L"MakeTextFile");
}

void MakeFile(const std::wstring& path, const std::string& bytes) { ReplaceFile(path, bytes, L"MakeFile"); }

}  // namespace tolvane
