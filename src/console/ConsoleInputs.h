#pragma once
// The console runner's inputs read from disk into one compile list: a
// compile list with its check marks, a group file's projects in the group's
// order, a project file, a folder's projects found as the window's add-all
// command finds them; then each project once, at its first place.
#include <string>
#include <vector>

#include "engine/clsTolvane.h"

namespace tolvane {

struct GatheredInputs {
    bool ok = false;
    std::wstring refusal;  // one line naming the input and the reason, unless ok
    clsTolvane::EntryList entries;
};

// Inputs are full paths; checkAll checks every entry (/all) before the
// duplicates are unchecked. Nothing is gathered when any input cannot be used.
GatheredInputs GatherInputs(const std::vector<std::wstring>& inputs, bool checkAll);

}  // namespace tolvane
