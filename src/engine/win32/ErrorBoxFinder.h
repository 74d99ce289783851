#pragma once
// Finding a build's error box among the desktop's top-level windows, and
// reading its message.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace tolvane {

// Shown top-level windows whose title is exactly `title` and whose process
// `isOurs` accepts. `isOurs` is only asked when such a title is present, so
// the usual case (no box) costs one FindWindowExW.
std::vector<HWND> FindOwnedWindows(const std::wstring& title, const std::function<bool(DWORD pid)>& isOurs);

// The first shown top-level window, titled other than `exceptTitle`, whose
// process `isOurs` accepts; null when none.
HWND FindOwnedWindowExcept(const std::wstring& exceptTitle, const std::function<bool(DWORD pid)>& isOurs);

// A window's title, read without sending it a message, so a hung window cannot hang us.
std::wstring WindowText(HWND w);

// The message of a box: the texts of its static controls that are not icons
// or pictures, joined by line breaks.
std::wstring ReadBoxText(HWND box);

}  // namespace tolvane
