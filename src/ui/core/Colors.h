#pragma once
// The program's colours, in the platform's 0x00BBGGRR form.
#include <cstdint>

namespace tolvane {

constexpr std::uint32_t kNavy = 0x800000;         // success notices, labels
constexpr std::uint32_t kRed = 0x0000FF;          // warnings
constexpr std::uint32_t kBlue = 0xFF0000;         // questions, titles
constexpr std::uint32_t kDarkRed = 0x0000C0;      // the failure counter
constexpr std::uint32_t kLightYellow = 0xC0FFFF;  // the control that has the focus

}  // namespace tolvane
