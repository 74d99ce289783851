#include "console/StopWindow.h"

#include <atomic>

namespace tolvane {
namespace {

std::atomic<HWND> g_target{nullptr};
constexpr UINT_PTR kTickTimer = 1;
constexpr UINT kTickMs = 10;

}  // namespace

StopWindow::StopWindow(std::function<void()> onStop, std::function<void()> onTick)
    : onStop_(std::move(onStop)), onTick_(std::move(onTick)) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = Proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = kClassName;
    RegisterClassExW(&wc);
    // Top-level and never shown, so that a close request from outside finds it.
    hwnd_ = CreateWindowExW(0, kClassName, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, wc.hInstance, nullptr);
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

StopWindow::~StopWindow() {
    HWND self = hwnd_;
    g_target.compare_exchange_strong(self, nullptr);
    SetConsoleCtrlHandler(OnControl, FALSE);
    if (hwnd_) DestroyWindow(hwnd_);
}

void StopWindow::StartTicking() { SetTimer(hwnd_, kTickTimer, kTickMs, nullptr); }

void StopWindow::StopTicking() { KillTimer(hwnd_, kTickTimer); }

void StopWindow::HandleConsoleControl() {
    g_target = hwnd_;
    SetConsoleCtrlHandler(OnControl, TRUE);
}

LRESULT CALLBACK StopWindow::Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<StopWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (self && message == WM_CLOSE) {
        self->onStop_();
        return 0;
    }
    if (self && message == WM_TIMER && wParam == kTickTimer) {
        self->onTick_();
        return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

BOOL WINAPI StopWindow::OnControl(DWORD) {
    HWND target = g_target;
    if (!target) return FALSE;
    // Served by the run's thread at its next look at window events; the run
    // then ends its compiler and the program exits on its own. This thread
    // only waits for that: returning would let the system end the process
    // at once for a closed console.
    SendMessageW(target, WM_CLOSE, 0, 0);
    Sleep(INFINITE);
    return TRUE;
}

}  // namespace tolvane
