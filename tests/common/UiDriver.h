#pragma once
// Drives windows from outside, as a user would: find a window, wait for a
// condition, click, type, read back what is shown. Works across threads and
// processes; the program driver builds on it.
#include <windows.h>

#include <chrono>
#include <functional>
#include <string>
#include <vector>

namespace tolvane::testing {

using namespace std::chrono_literals;

// Window classes of the program's windows (the boxes have no caption).
constexpr wchar_t kMainClass[] = L"TolvaneMain";
constexpr wchar_t kSplashClass[] = L"TolvaneSplash";
constexpr wchar_t kOptionClass[] = L"TolvaneOption";
constexpr wchar_t kWarningBoxClass[] = L"TolvaneMsgWarning";
constexpr wchar_t kYesNoBoxClass[] = L"TolvaneMsgYesNo";

// Polls the condition until it holds or the limit passes; true when it held.
bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds limit = 20s);

// A visible top-level window of the process (any process when pid is 0)
// with this class and caption; a null class or caption matches any.
HWND FindTop(DWORD pid, const wchar_t* className, const std::wstring* caption);
inline HWND WaitForTop(DWORD pid, const wchar_t* className, const std::wstring* caption,
                       std::chrono::milliseconds limit = 20s) {
    HWND found = nullptr;
    WaitUntil([&] { return (found = FindTop(pid, className, caption)) != nullptr; }, limit);
    return found;
}
inline bool WaitForWindowGone(HWND hwnd, std::chrono::milliseconds limit = 20s) {
    return WaitUntil([&] { return !IsWindow(hwnd) || !IsWindowVisible(hwnd); }, limit);
}

// A message sent to another thread's or process's window; -1 when it does not answer in time.
LRESULT Ask(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
HWND Child(HWND parent, int id);  // searches the whole tree of child windows
// Text of any length, in any process; empty when the window does not answer.
std::wstring WindowText(HWND hwnd);
inline void SetWindowTextTo(HWND hwnd, const std::wstring& text) {
    SendMessageW(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

// Presses a button as a click would (BM_CLICK), without waiting for its handler.
inline void Click(HWND button) { PostMessageW(button, BM_CLICK, 0, 0); }
// Posts one key (down and up) to a window.
inline void PostKey(HWND target, WORD virtualKey) {
    PostMessageW(target, WM_KEYDOWN, virtualKey, 1);
    PostMessageW(target, WM_KEYUP, virtualKey, 0xC0000001);
}
// Brings a window to the front; true once it is the foreground window.
inline bool BringToFront(HWND window) {
    return WaitUntil([&] { return GetForegroundWindow() == window || (SetForegroundWindow(window), false); }, 10s);
}
// A real left click at a point of the screen, the window brought to the front first.
bool ClickAt(HWND window, POINT screen);
// A real left click in the middle of the control, its window brought to the front first.
bool ClickWithMouse(HWND control);
// The control that has the keyboard focus in the window's thread (nullptr if none).
inline HWND FocusedControl(HWND window) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info);
    return info.hwndFocus;
}
// Waits until a control of the window has the focus, bringing the window
// back to the front when another program on the display took it.
HWND WaitForFocusIn(HWND window);

// The two lines of one of the program's message boxes.
struct BoxLines {
    std::wstring line1;
    std::wstring line2;
};
BoxLines LinesOf(HWND box);
// Presses the window's button; true once the window has gone.
bool Answer(HWND window, int buttonId);

}  // namespace tolvane::testing
