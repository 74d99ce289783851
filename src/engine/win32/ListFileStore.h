#pragma once
// Compile-list files on disk, read into and written from the engine the same
// way by the window program and the console runner.
#include <windows.h>

#include <string>

#include "engine/clsTolvane.h"
#include "support/win32/PlatformResult.h"

namespace tolvane {

struct ListFileLoad {
    enum Result { Missing, Loaded, Unreadable, TooLong } result = Missing;
    // Why, when Unreadable.
    PlatformResult failure;
};

// The file read into entries of its own, touching no engine: safe on any thread.
struct ListFileRead : ListFileLoad {
    clsTolvane::EntryList entries;  // when Loaded
};
ListFileRead ReadListFile(const std::wstring& path);

// Replaces the engine's entries with the file's. The whole file is read and
// checked first, so unless the result is Loaded the entries stay as they were.
ListFileLoad LoadListFile(const std::wstring& path, clsTolvane& engine);

// Writes the entries as a list file by a safe replace (MakeTextFile); VbError
// when it cannot. Safe on any thread while the entries are left alone.
void SaveListFile(const std::wstring& path, const clsTolvane::EntryList& entries);

}  // namespace tolvane
