#pragma once
// One question to the chooser. The mode numbers are the chooser's Mode
// values, as callers have always given them.
#include <cstdint>
#include <optional>
#include <string>

namespace tolvane::chooser {

enum class ChooserMode : std::int32_t {
    None = 0,          // not asked: the chooser refuses to open
    Folder = 1,        // a folder, offered to be created when missing
    ExistingFile = 2,  // a file that is there
    NameToWrite = 3,   // a file name, the mask's extension added, taken as typed
    FileToWrite = 4,   // the same, asking before an existing file is written over
};

struct ChooserRequest {
    ChooserMode mode = ChooserMode::None;
    std::wstring user;                 // whose last place the chooser starts from
    std::optional<std::wstring> mask;  // the file list's pattern; unchanged when absent
    std::wstring caption;
};

}  // namespace tolvane::chooser
