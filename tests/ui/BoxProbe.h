#pragma once
// Reading the program's own boxes from a scripted user's thread: find them by
// window class (they have no title), and read what a user would see.
#include <windows.h>

#include <chrono>
#include <string>

#include "UiDriver.h"
#include "ui/core/Twips.h"

namespace tolvane::testing {

constexpr wchar_t kWarningClass[] = L"TolvaneMsgWarning";
constexpr wchar_t kYesNoClass[] = L"TolvaneMsgYesNo";

// A visible top-level window of this class in this process (other programs
// may share the display).
inline HWND FindVisibleOfClass(const wchar_t* className) {
    for (HWND w = FindWindowExW(nullptr, nullptr, className, nullptr); w;
         w = FindWindowExW(nullptr, w, className, nullptr)) {
        DWORD pid = 0;
        GetWindowThreadProcessId(w, &pid);
        if (pid == GetCurrentProcessId() && IsWindowVisible(w)) return w;
    }
    return nullptr;
}

inline HWND WaitForVisibleOfClass(const wchar_t* className, std::chrono::milliseconds limit = std::chrono::seconds(20)) {
    HWND found = nullptr;
    WaitUntil([&] { return (found = FindVisibleOfClass(className)) != nullptr; }, limit);
    return found;
}

// A child's place in twips, relative to its container.
inline RECT ChildRectTwips(HWND child) {
    RECT r{};
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&r), 2);
    return {ui::PixelsToTwipsX(r.left), ui::PixelsToTwipsY(r.top), ui::PixelsToTwipsX(r.right),
            ui::PixelsToTwipsY(r.bottom)};
}

inline int OuterWidthTwips(HWND w) {
    RECT r{};
    GetWindowRect(w, &r);
    return ui::PixelsToTwipsX(r.right - r.left);
}

// The control that has the keyboard focus in the window's thread.
inline HWND FocusOf(HWND window) {
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info);
    return info.hwndFocus;
}

// Waits until a control of the window has the focus (the window has just
// been activated), and returns it; nullptr when none got it in time. Another
// program on the shared display may have taken the foreground meanwhile: the
// scripted user then brings the window back, as a click on it would.
inline HWND WaitForFocusIn(HWND window) {
    HWND focus = nullptr;
    auto focused = [&] { return (focus = FocusOf(window)) != nullptr && IsChild(window, focus); };
    for (int attempt = 0; attempt < 10 && !focused(); ++attempt) {
        if (attempt > 0 && GetForegroundWindow() != window) SetForegroundWindow(window);
        WaitUntil(focused, std::chrono::seconds(2));
    }
    return focused() ? focus : nullptr;
}

// Text colour the label is painted with, asked of its window the way the
// label itself asks when it paints.
inline COLORREF PaintedTextColor(HWND label) {
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    ReleaseDC(nullptr, screen);
    SetTextColor(dc, RGB(1, 2, 3));
    SendMessageW(GetParent(label), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(label));
    const COLORREF color = GetTextColor(dc);
    DeleteDC(dc);
    return color;
}

// Width in twips that a text takes in the label's own font.
inline int TextWidthTwips(HWND label, const std::wstring& text) {
    HDC dc = GetDC(label);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(label, WM_GETFONT, 0, 0)));
    SIZE size{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    SelectObject(dc, old);
    ReleaseDC(label, dc);
    return ui::PixelsToTwipsX(size.cx);
}

}  // namespace tolvane::testing
