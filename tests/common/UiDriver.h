#pragma once
// Drives windows from outside, as a user would: find a window, wait for a
// condition, click, type, read back. Works across threads and processes.
#include <windows.h>

#include <chrono>
#include <functional>
#include <string>

namespace tolvane::testing {

using namespace std::chrono_literals;

// Polls the condition until it holds or the limit passes; true when it held.
bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds limit = 20s);

// A visible top-level window with this exact title (of any process when pid is 0).
HWND FindTopWindow(const std::wstring& title, DWORD pid = 0);
HWND WaitForTopWindow(const std::wstring& title, DWORD pid = 0, std::chrono::milliseconds limit = 20s);
bool WaitForWindowGone(HWND hwnd, std::chrono::milliseconds limit = 20s);

HWND Child(HWND parent, int id);  // searches the whole tree of child windows
std::wstring WindowText(HWND hwnd);
void SetWindowTextTo(HWND hwnd, const std::wstring& text);
// Presses a button as a click would (BM_CLICK), without waiting for its handler.
void Click(HWND button);
// Sends a menu or accelerator command to a window without waiting.
void PostCommand(HWND window, int id);
// Posts one key (down and up) to a window.
void PostKey(HWND target, WORD virtualKey);
// A real left click at a point of the screen, the window brought to the front first.
bool ClickAt(HWND window, POINT screen);
// A real left click in the middle of the control, its window brought to the front first.
bool ClickWithMouse(HWND control);
// The control that has the keyboard focus in the window's thread (nullptr if none).
HWND FocusedControl(HWND window);

}  // namespace tolvane::testing
