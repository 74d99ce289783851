#include "engine/StampedProjectFiles.h"

#include <limits>

#include "support/PathNames.h"

namespace tolvane {

std::optional<std::wstring> StampedProjectFiles::ReadText(const std::wstring& path) {
    auto text = files_.ReadText(path);
    if (!text) return text;
    projects_.insert(PathKey(path));
    if (stamper_.Settings().empty()) return text;
    return StampText(*text, SettingPairs(stamper_.Settings()));
}

std::optional<std::int64_t> StampedProjectFiles::WriteTime(const std::wstring& path) {
    auto time = files_.WriteTime(path);
    // Newer than any output: the project is built again.
    if (time && projects_.count(PathKey(path)) && stamper_.BuiltWithOtherSettings(path)) {
        return std::numeric_limits<std::int64_t>::max();
    }
    return time;
}

}  // namespace tolvane
