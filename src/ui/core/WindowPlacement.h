#pragma once
// Placement and the opening and closing animation every window shares.
#include <windows.h>

#include <string>

namespace tolvane {

// Puts the window in the middle of the whole screen (no clamping).
void CenterForm(HWND form);
// The caption animation from the window's mirrored rectangle to the window.
void AnimateOpen(HWND form);
// The caption animation from the window to a point at a random screen corner.
void AnimateClose(HWND form);
// The machine's name; "????????" when it cannot be read.
std::wstring ComputerName();

}  // namespace tolvane
