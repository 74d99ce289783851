#include "engine/win32/Win32ProjectFiles.h"

#include <windows.h>

#include "support/AnsiCodec.h"
#include "support/win32/Files.h"

namespace tolvane {

std::optional<std::wstring> Win32ProjectFiles::ReadText(const std::wstring& path) {
    std::string bytes;
    DWORD error = 0;
    if (!ReadWholeFile(path, bytes, error)) return std::nullopt;
    return SystemAnsiCodec().Decode(bytes);
}

namespace {

std::optional<WIN32_FILE_ATTRIBUTE_DATA> FileData(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return std::nullopt;
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return std::nullopt;
    return data;
}

std::int64_t Joined(DWORD high, DWORD low) {
    return static_cast<std::int64_t>((static_cast<std::uint64_t>(high) << 32) | low);
}

}  // namespace

std::optional<std::int64_t> Win32ProjectFiles::WriteTime(const std::wstring& path) {
    const auto data = FileData(path);
    if (!data) return std::nullopt;
    return Joined(data->ftLastWriteTime.dwHighDateTime, data->ftLastWriteTime.dwLowDateTime);
}

std::optional<std::int64_t> Win32ProjectFiles::Size(const std::wstring& path) {
    const auto data = FileData(path);
    if (!data) return std::nullopt;
    return Joined(data->nFileSizeHigh, data->nFileSizeLow);
}

}  // namespace tolvane
