#include "engine/win32/GroupFileStore.h"

#include "engine/VbgGroup.h"
#include "support/AnsiCodec.h"
#include "support/win32/Files.h"

namespace tolvane {

GroupFileRead ReadGroupFile(const std::wstring& path) {
    GroupFileRead group;
    std::string bytes;
    if (!ReadWholeFile(path, bytes, group.error)) return group;
    group.projects = ParseVbg(SystemAnsiCodec().Decode(bytes), path);
    group.read = true;
    return group;
}

}  // namespace tolvane
