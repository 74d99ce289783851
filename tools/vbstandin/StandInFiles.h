#pragma once
// The stand-in's files and texts: bytes in and out, the ANSI code page, paths.
#include <windows.h>

#include <string>

namespace standin {

std::string ToUtf8(const std::wstring& s);
std::string ToAnsi(const std::wstring& s);
std::wstring FromAnsi(const std::string& s);

// Appended (created when missing) or written anew.
bool AppendBytes(const std::wstring& path, const std::string& bytes, bool append);
bool ReadBytes(const std::wstring& path, std::string& bytes);

bool FileThere(const std::wstring& path);
bool IsAbsolute(const std::wstring& p);
// The folder with its final backslash; empty for a bare name.
std::wstring FolderOf(const std::wstring& path);
// name taken relative to folder unless it is absolute.
std::wstring Join(const std::wstring& folder, const std::wstring& name);

}  // namespace standin
