#include "engine/win32/ListFileStore.h"

#include "engine/CompileListFile.h"
#include "support/AnsiCodec.h"
#include "support/win32/Files.h"
#include "support/win32/Make.h"

namespace tolvane {

ListFileRead ReadListFile(const std::wstring& path) {
    ListFileRead read;
    if (!FileExists(path)) return read;
    std::string bytes;
    read.failure = ReadWholeFile(path, bytes);
    if (read.failure.Failed()) {
        read.result = ListFileLoad::Unreadable;
        return read;
    }
    const std::vector<ListLine> lines = ParseCompileList(bytes, SystemAnsiCodec());
    if (lines.size() > static_cast<std::size_t>(clsTolvane::kMaxEntries)) {
        read.result = ListFileLoad::TooLong;
        return read;
    }
    read.entries.reserve(lines.size());
    for (const ListLine& line : lines) read.entries.push_back(clsTolvane::NewEntry(line.path, line.mark));
    read.result = ListFileLoad::Loaded;
    return read;
}

ListFileLoad LoadListFile(const std::wstring& path, clsTolvane& engine) {
    ListFileRead read = ReadListFile(path);
    if (read.result == ListFileLoad::Loaded) engine.ReplaceEntries(std::move(read.entries));
    return read;
}

void SaveListFile(const std::wstring& path, const clsTolvane::EntryList& entries) {
    MakeTextFile(path, FormatCompileList(entries));
}

}  // namespace tolvane
