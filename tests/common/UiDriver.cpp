#include "UiDriver.h"

#include <thread>

namespace tolvane::testing {

bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds limit) {
    auto end = std::chrono::steady_clock::now() + limit;
    for (;;) {
        if (condition()) return true;
        if (std::chrono::steady_clock::now() > end) return false;
        // Keep this thread's own windows alive while waiting.
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

namespace {

struct TopSearch {
    const std::wstring* title;
    DWORD pid;
    HWND found;
};

BOOL CALLBACK MatchTop(HWND hwnd, LPARAM param) {
    auto* s = reinterpret_cast<TopSearch*>(param);
    if (!IsWindowVisible(hwnd) || WindowText(hwnd) != *s->title) return TRUE;
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (s->pid && pid != s->pid) return TRUE;
    s->found = hwnd;
    return FALSE;
}

struct ChildSearch {
    int id;
    HWND found;
};

BOOL CALLBACK MatchChild(HWND hwnd, LPARAM param) {
    auto* s = reinterpret_cast<ChildSearch*>(param);
    if (GetDlgCtrlID(hwnd) != s->id) return TRUE;
    s->found = hwnd;
    return FALSE;
}

}  // namespace

HWND FindTopWindow(const std::wstring& title, DWORD pid) {
    TopSearch s{&title, pid, nullptr};
    EnumWindows(MatchTop, reinterpret_cast<LPARAM>(&s));
    return s.found;
}

HWND WaitForTopWindow(const std::wstring& title, DWORD pid, std::chrono::milliseconds limit) {
    HWND found = nullptr;
    WaitUntil([&] { return (found = FindTopWindow(title, pid)) != nullptr; }, limit);
    return found;
}

bool WaitForWindowGone(HWND hwnd, std::chrono::milliseconds limit) {
    return WaitUntil([&] { return !IsWindow(hwnd) || !IsWindowVisible(hwnd); }, limit);
}

HWND Child(HWND parent, int id) {
    ChildSearch s{id, nullptr};
    EnumChildWindows(parent, MatchChild, reinterpret_cast<LPARAM>(&s));
    return s.found;
}

std::wstring WindowText(HWND hwnd) {
    wchar_t buffer[4096];
    DWORD_PTR copied = 0;
    // A timeout, so that a hung window cannot hang the test.
    if (!SendMessageTimeoutW(hwnd, WM_GETTEXT, 4096, reinterpret_cast<LPARAM>(buffer), SMTO_ABORTIFHUNG, 5000,
                             &copied))
        return L"";
    return std::wstring(buffer, copied);
}

void SetWindowTextTo(HWND hwnd, const std::wstring& text) {
    SendMessageW(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void Click(HWND button) { PostMessageW(button, BM_CLICK, 0, 0); }

void PostCommand(HWND window, int id) { PostMessageW(window, WM_COMMAND, MAKEWPARAM(id, 0), 0); }

void PostKey(HWND target, WORD virtualKey) {
    PostMessageW(target, WM_KEYDOWN, virtualKey, 1);
    PostMessageW(target, WM_KEYUP, virtualKey, 0xC0000001);
}

bool ClickAt(HWND window, POINT screen) {
    if (!WaitUntil([&] { return GetForegroundWindow() == window || (SetForegroundWindow(window), false); }, 10s))
        return false;
    if (!SetCursorPos(screen.x, screen.y)) return false;
    INPUT press[2]{};
    press[0].type = press[1].type = INPUT_MOUSE;
    press[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    press[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    return SendInput(2, press, sizeof(INPUT)) == 2;
}

bool ClickWithMouse(HWND control) {
    RECT r{};
    GetWindowRect(control, &r);
    return ClickAt(GetAncestor(control, GA_ROOT), {(r.left + r.right) / 2, (r.top + r.bottom) / 2});
}

HWND FocusedControl(HWND window) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info);
    return info.hwndFocus;
}

}  // namespace tolvane::testing
