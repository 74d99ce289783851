#pragma once
// The failure texts of builds that ended without an error box.
#include <chrono>
#include <cstdint>
#include <optional>
#include <string>

#include "engine/RunPlatform.h"

namespace tolvane {

// The compiler ended with a status other than 0: the status in decimal and hex.
std::wstring ExitStatusText(std::uint32_t status);

// The build passed its time limit; names the window the compiler was showing
// at that moment, when there was one, so the user learns what it waited for.
std::wstring TimeLimitText(std::chrono::minutes limit, const std::optional<ShownWindow>& prompt);

}  // namespace tolvane
