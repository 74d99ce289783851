#include "ui/dialogs/rules/MessageBoxRules.h"

#include <limits>

namespace tolvane::msgbox {

std::optional<std::int32_t> TimerMilliseconds(std::int32_t seconds) {
    const std::int64_t ms = static_cast<std::int64_t>(seconds) * 1000;
    if (ms > std::numeric_limits<std::int32_t>::max() || ms < std::numeric_limits<std::int32_t>::min())
        return std::nullopt;
    return static_cast<std::int32_t>(ms);
}

int CenteredLeft(int boxWidth, int controlWidth) { return (boxWidth - controlWidth) / 2; }

std::optional<Widening> Widen(int boxWidth, int changedLineWidth, const std::array<int, 2>& lineWidths,
                              int holderWidth) {
    if (changedLineWidth <= boxWidth) return std::nullopt;
    Widening w{};
    w.boxWidth = changedLineWidth + 200;
    for (std::size_t i = 0; i < lineWidths.size(); ++i) w.lineLeft[i] = CenteredLeft(w.boxWidth, lineWidths[i]);
    w.holderLeft = CenteredLeft(w.boxWidth, holderWidth);
    return w;
}

}  // namespace tolvane::msgbox
