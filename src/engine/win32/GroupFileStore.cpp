#include "engine/win32/GroupFileStore.h"

#include "engine/VbgGroup.h"
#include "support/AnsiCodec.h"
#include "support/win32/Files.h"

namespace tolvane {

GroupFileRead ReadGroupFile(const std::wstring& path) {
    GroupFileRead group;
    std::string bytes;
    group.failure = ReadWholeFile(path, bytes);
    if (!group.failure.Failed()) group.projects = ParseVbg(SystemAnsiCodec().Decode(bytes), path);
    return group;
}

}  // namespace tolvane
