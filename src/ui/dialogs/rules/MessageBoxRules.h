#pragma once
// The message boxes' arithmetic, kept free of windows so it can be checked alone.
#include <array>
#include <cstdint>
#include <optional>

namespace tolvane::msgbox {

// Seconds as the timer's milliseconds; nothing when the product does not fit
// in 32 bits.
std::optional<std::int32_t> TimerMilliseconds(std::int32_t seconds);

// Left edge that centres a control of this width in a box of this outer width.
int CenteredLeft(int boxWidth, int controlWidth);

struct Widening {
    int boxWidth;
    std::array<int, 2> lineLeft;
    int holderLeft;
};

// Run when one line's text has changed (all widths in twips): nothing when
// that line still fits the box's outer width; otherwise the box becomes the
// line's width plus 200 and both lines and the button holder are centred.
std::optional<Widening> Widen(int boxWidth, int changedLineWidth, const std::array<int, 2>& lineWidths,
                              int holderWidth);

}  // namespace tolvane::msgbox
