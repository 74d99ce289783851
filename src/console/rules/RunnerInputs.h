#pragma once
// What the console runner builds from its inputs: compile lists, group
// files, project files and folders, taken in the order given.
#include <string>

#include "engine/clsTolvane.h"

namespace tolvane {

// A file input by its extension, in any letter case.
enum class InputKind { List, Group, Project, Unknown };
InputKind KindOfInputFile(const std::wstring& path);

// A project named more than once is built once, at its first place: later
// entries of it are unchecked, and the first is checked when any was. Two
// spellings of one path (letter case, "." and ".." steps, slashes) are one project.
void CheckEachProjectOnce(const clsTolvane::EntryList& entries);

// The name an input goes by in the report: its file or folder name.
std::wstring InputName(const std::wstring& path);

}  // namespace tolvane
