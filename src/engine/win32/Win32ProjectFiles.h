#pragma once
// The build planner's files on Windows: project texts in the ANSI code page,
// last-write times and sizes from the file system.
#include "engine/ProjectFiles.h"

namespace tolvane {

class Win32ProjectFiles : public ProjectFiles {
public:
    std::optional<std::wstring> ReadText(const std::wstring& path) override;
    std::optional<std::int64_t> WriteTime(const std::wstring& path) override;
    std::optional<std::int64_t> Size(const std::wstring& path) override;
};

}  // namespace tolvane
