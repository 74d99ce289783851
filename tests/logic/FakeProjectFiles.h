#pragma once
// Project texts, file times and sizes as a test sets them.
#include <cstdint>
#include <map>
#include <optional>
#include <string>

#include "engine/ProjectFiles.h"

namespace tolvane::testing {

class FakeFiles : public ProjectFiles {
public:
    std::map<std::wstring, std::wstring> texts;
    std::map<std::wstring, std::int64_t> times;
    std::map<std::wstring, std::int64_t> sizes;
    std::optional<std::wstring> ReadText(const std::wstring& path) override { return Find(texts, path); }
    std::optional<std::int64_t> WriteTime(const std::wstring& path) override { return Find(times, path); }
    std::optional<std::int64_t> Size(const std::wstring& path) override { return Find(sizes, path); }

private:
    template <class T>
    static std::optional<T> Find(const std::map<std::wstring, T>& map, const std::wstring& path) {
        const auto it = map.find(path);
        return it == map.end() ? std::nullopt : std::optional<T>(it->second);
    }
};

}  // namespace tolvane::testing
