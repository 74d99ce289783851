#pragma once
// The way a stop request reaches the run. Ctrl+C, Ctrl+Break and closing the
// console arrive on a thread of their own, while the engine lives on the run's
// thread; the control handler therefore sends a close request to a hidden
// window of the run's thread, which the run serves while it waits for a
// compiler. A close request from outside (taskkill without /f) takes the same door.
#include <windows.h>

#include <functional>

namespace tolvane {

class StopWindow {
public:
    static constexpr const wchar_t* kClassName = L"TolvaneCmdStop";

    // onStop runs on the creating thread at each close request; onTick about
    // every 10 ms after StartTicking, while window events run.
    StopWindow(std::function<void()> onStop, std::function<void()> onTick);
    ~StopWindow();
    StopWindow(const StopWindow&) = delete;
    StopWindow& operator=(const StopWindow&) = delete;

    void StartTicking();
    void StopTicking();

    // Ctrl+C, Ctrl+Break, closing the console, logoff and shutdown are turned
    // into close requests to this window while it exists.
    void HandleConsoleControl();

private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    static BOOL WINAPI OnControl(DWORD type);

    HWND hwnd_ = nullptr;
    std::function<void()> onStop_;
    std::function<void()> onTick_;
};

}  // namespace tolvane
