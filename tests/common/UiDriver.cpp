#include "UiDriver.h"

#include <thread>

#include "ui/dialogs/MessageBoxBase.h"

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
    DWORD pid;
    const wchar_t* className;
    const std::wstring* caption;
    HWND found;
};

BOOL CALLBACK MatchTop(HWND window, LPARAM param) {
    auto* s = reinterpret_cast<TopSearch*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if ((s->pid && pid != s->pid) || !IsWindowVisible(window)) return TRUE;
    if (s->className) {
        wchar_t name[128] = {};
        GetClassNameW(window, name, 128);
        if (lstrcmpW(name, s->className) != 0) return TRUE;
    }
    if (s->caption && WindowText(window) != *s->caption) return TRUE;
    s->found = window;
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

LRESULT Ask(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    DWORD_PTR result = 0;
    // A timeout, so that a hung window fails the test instead of hanging it.
    if (!SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, 10000, &result)) return -1;
    return static_cast<LRESULT>(result);
}

HWND FindTop(DWORD pid, const wchar_t* className, const std::wstring* caption) {
    TopSearch s{pid, className, caption, nullptr};
    EnumWindows(MatchTop, reinterpret_cast<LPARAM>(&s));
    return s.found;
}

HWND Child(HWND parent, int id) {
    ChildSearch s{id, nullptr};
    EnumChildWindows(parent, MatchChild, reinterpret_cast<LPARAM>(&s));
    return s.found;
}

std::wstring WindowText(HWND window) {
    if (!window) return L"";
    const LRESULT length = Ask(window, WM_GETTEXTLENGTH, 0, 0);
    if (length <= 0) return L"";
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    const LRESULT copied =
        Ask(window, WM_GETTEXT, static_cast<WPARAM>(text.size()), reinterpret_cast<LPARAM>(text.data()));
    text.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
    return text;
}

bool ClickAt(HWND window, POINT screen) {
    if (!BringToFront(window)) return false;
    // Press and release each carry the point: a pointer motion the display
    // reports late would otherwise move one of them to where the last click was.
    const LONG width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    INPUT press[2]{};
    for (INPUT& in : press) {
        in.type = INPUT_MOUSE;
        in.mi.dx = (2 * screen.x + 1) * 32768 / width;  // the pixel's centre on the 0..65535 scale
        in.mi.dy = (2 * screen.y + 1) * 32768 / height;
    }
    press[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_LEFTDOWN;
    press[1].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_LEFTUP;
    return SendInput(2, press, sizeof(INPUT)) == 2;
}

bool ClickWithMouse(HWND control) {
    RECT r{};
    GetWindowRect(control, &r);
    return ClickAt(GetAncestor(control, GA_ROOT), {(r.left + r.right) / 2, (r.top + r.bottom) / 2});
}

HWND WaitForFocusIn(HWND window) {
    HWND focus = nullptr;
    auto focused = [&] { return (focus = FocusedControl(window)) != nullptr && IsChild(window, focus); };
    for (int attempt = 0; attempt < 10 && !focused(); ++attempt) {
        if (attempt > 0 && GetForegroundWindow() != window) SetForegroundWindow(window);
        WaitUntil(focused, 2s);
    }
    return focused() ? focus : nullptr;
}

BoxLines LinesOf(HWND box) {
    return {WindowText(Child(box, MessageBoxBase::lblMessage0)), WindowText(Child(box, MessageBoxBase::lblMessage1))};
}

bool Answer(HWND window, int buttonId) {
    HWND button = Child(window, buttonId);
    if (!button) return false;
    Click(button);
    return WaitForWindowGone(window, 30s);
}

}  // namespace tolvane::testing
