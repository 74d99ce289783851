#pragma once
// The user's special folders (desktop, documents...) by the kind numbers the
// chooser uses.
#include <cstdint>
#include <string>

namespace tolvane {

// The folder's path as the platform reports it, without a final backslash;
// "" for a kind outside the table. Throws VbError (source "SpecialFolder")
// when the platform cannot name the folder.
std::wstring SpecialFolder(std::int32_t kind);

}  // namespace tolvane
