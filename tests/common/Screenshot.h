#pragma once
// Pictures of real windows: for people to look at, and for tests that check
// what is on screen. When TOLVANE_SCREENSHOTS names a folder, CaptureWindow
// saves the window as it is on screen to <folder>/<name>.bmp
// (scripts/screenshots.sh turns them into PNG files).
#include <windows.h>

#include <string>
#include <vector>

namespace tolvane::testing {

// The screen's pixels under a window, top row first, each 0x00RRGGBB.
struct WindowPixels {
    int width = 0;
    int height = 0;
    std::vector<DWORD> pixels;
};
WindowPixels GrabWindow(HWND window);

// Brings the window to the front and saves it; true when a picture was saved
// (false when none was asked for).
bool CaptureWindow(HWND window, const std::string& name);

}  // namespace tolvane::testing
