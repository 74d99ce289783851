#pragma once
// What the build planner needs from the file system, kept narrow so that the
// plan's rules can be tested against a fake.
#include <cstdint>
#include <optional>
#include <string>

namespace tolvane {

class ProjectFiles {
public:
    virtual ~ProjectFiles() = default;
    // The file's text decoded from the ANSI code page; nothing when it cannot be read.
    virtual std::optional<std::wstring> ReadText(const std::wstring& path) = 0;
    // The time of the file's last write (later is larger); nothing when there is no such file.
    virtual std::optional<std::int64_t> WriteTime(const std::wstring& path) = 0;
    // The file's size in bytes; nothing when there is no such file.
    virtual std::optional<std::int64_t> Size(const std::wstring& path) = 0;
};

}  // namespace tolvane
