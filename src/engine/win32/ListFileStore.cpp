#include "engine/win32/ListFileStore.h"

#include "engine/CompileListFile.h"
#include "support/AnsiCodec.h"
#include "support/win32/Files.h"
#include "support/win32/Make.h"

namespace tolvane {

ListFileLoad LoadListFile(const std::wstring& path, clsTolvane& engine) {
    ListFileLoad load;
    if (!FileExists(path)) return load;
    std::string bytes;
    if (!ReadWholeFile(path, bytes, load.error)) {
        load.result = ListFileLoad::Unreadable;
        return load;
    }
    const std::vector<ListLine> lines = ParseCompileList(bytes, SystemAnsiCodec());
    if (lines.size() > static_cast<std::size_t>(clsTolvane::kMaxEntries)) {
        load.result = ListFileLoad::TooLong;
        return load;
    }
    engine.RemoveTargetAll();
    for (const ListLine& line : lines) engine.addVbp(line.path, line.mark);
    load.result = ListFileLoad::Loaded;
    return load;
}

void SaveListFile(const std::wstring& path, const clsTolvane& engine) {
    MakeTextFile(path, FormatCompileList(engine));
}

}  // namespace tolvane
