#pragma once
// The per-build time limit as people write it, in Tolvane.ini and on the
// console runner's command line: whole minutes, 0 for none.
#include <chrono>
#include <optional>
#include <string>

namespace tolvane {

constexpr std::chrono::minutes kDefaultTimeLimit{30};
// Four digits: about a week, far beyond any build.
constexpr std::chrono::minutes kMaxTimeLimit{9999};

// The minutes a text spells: decimal digits only, surrounding spaces allowed,
// 0 to kMaxTimeLimit. Nothing for anything else, the blank text included.
std::optional<std::chrono::minutes> ParseTimeLimit(const std::wstring& text);

}  // namespace tolvane
