#pragma once
// The per-build time limit as people write it, in Tolvane.ini and on the
// console runner's command line: whole minutes, 0 for none.
#include <chrono>
#include <optional>
#include <string>

namespace tolvane {

// A build that runs longer is ended: an unattended run must not hang.
constexpr std::chrono::minutes kDefaultTimeLimit{30};
// Nine digits, as Tolvane.ini's value has always been read.
constexpr std::chrono::minutes kMaxTimeLimit{999999999};

// The minutes a text spells: decimal digits only, surrounding spaces allowed,
// 0 to kMaxTimeLimit. Nothing for anything else, the blank text included.
std::optional<std::chrono::minutes> ParseTimeLimit(const std::wstring& text);

// What a refused value is told, wherever it was written.
std::wstring TimeLimitRule();

}  // namespace tolvane
