#pragma once
// Pictures of real windows for people to look at: when TOLVANE_SCREENSHOTS
// names a folder, CaptureWindow saves the window as it is on screen to
// <folder>/<name>.bmp (scripts/screenshots.sh turns them into PNG files).
#include <windows.h>

#include <string>

namespace tolvane::testing {

// Returns true when a picture was saved (false when none was asked for).
bool CaptureWindow(HWND window, const std::string& name);

}  // namespace tolvane::testing
