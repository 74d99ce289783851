#pragma once
// How long each project's last good build took, remembered between runs so
// that several compilers can start the longest work first. Keyed by the
// project file's full path; the most recent kMaxBuildTimes are kept.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tolvane {

constexpr std::size_t kMaxBuildTimes = 4000;

class BuildTimes {
public:
    // The stored text; a text that is not wholly readable is taken as no
    // history at all (and Changed, so that it is written anew).
    static BuildTimes FromText(const std::wstring& text);
    // Oldest first, one "<milliseconds> TAB <path>" line each, under a header line.
    std::wstring Text() const;

    std::optional<std::int64_t> Find(const std::wstring& vbp) const;
    // Remembers a build's time as the newest entry, dropping the oldest beyond the bound.
    void Record(const std::wstring& vbp, std::int64_t milliseconds);
    // Something to write back: a build recorded, or a damaged text replaced.
    bool Changed() const { return changed_; }

private:
    struct Entry {
        std::wstring key;
        std::int64_t milliseconds;
    };
    std::vector<Entry> entries_;  // oldest first
    bool changed_ = false;
};

// Where the run keeps the history between runs.
class BuildTimesStore {
public:
    virtual ~BuildTimesStore() = default;
    // An absent or unreadable file is an empty history.
    virtual BuildTimes Load() = 0;
    // A failed write loses nothing but the estimates: it is not reported.
    virtual void Save(const BuildTimes& times) = 0;
};

}  // namespace tolvane
