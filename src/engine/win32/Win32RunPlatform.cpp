#include "engine/win32/Win32RunPlatform.h"

#include <algorithm>
#include <optional>
#include <utility>
#include <vector>

#include "engine/win32/ErrorBoxFinder.h"
#include "engine/win32/JobProcess.h"
#include "support/Locale.h"
#include "support/win32/DoEvents.h"
#include "support/win32/Files.h"

namespace tolvane {

namespace {

const wchar_t kErrorBoxTitle[] = L"Microsoft Visual Basic";
// Terminating is immediate on Windows; the wait only covers a slow wineserver.
constexpr DWORD kTerminateWaitMs = 5000;
// The class of dialog windows, message boxes among them.
const wchar_t kDialogClass[] = L"#32770";
constexpr std::chrono::milliseconds kFullSearchInterval{100};
// Close requests are repeated at growing intervals up to this one.
constexpr DWORD kCloseRetryMaxMs = 4;

DWORD Millis(std::chrono::milliseconds d) {
    return d.count() <= 0 ? 0 : static_cast<DWORD>(std::min<long long>(d.count(), INFINITE - 1));
}

// Show events seen by the hook, for the record: the wake-up itself is the
// hook's delivery, which makes the message wait return.
volatile LONG g_showEvents = 0;

void CALLBACK OnWindowShown(HWINEVENTHOOK, DWORD, HWND, LONG idObject, LONG idChild, DWORD, DWORD) {
    if (idObject == OBJID_WINDOW && idChild == CHILDID_SELF) InterlockedIncrement(&g_showEvents);
}

class Win32CompilerProcess : public CompilerProcess {
public:
    explicit Win32CompilerProcess(std::unique_ptr<JobProcess> process) : process_(std::move(process)) {
        // Windows reports the compiler's box at once; where the hook stays
        // silent (Wine) the caller's interval check finds it.
        hook_ = SetWinEventHook(EVENT_OBJECT_SHOW, EVENT_OBJECT_SHOW, nullptr, OnWindowShown, process_->ProcessId(), 0,
                                WINEVENT_OUTOFCONTEXT | WINEVENT_SKIPOWNPROCESS);
    }

    ~Win32CompilerProcess() override {
        if (hook_) UnhookWinEvent(hook_);
    }

    std::optional<std::wstring> FindErrorBox() override {
        // Under Wine a title search costs a server round trip per desktop
        // window, while a search by class is filtered by the server almost for
        // free. The compiler's boxes are dialogs (message boxes), so while no
        // dialog exists anywhere the full search runs only now and then, for
        // boxes of other kinds, and always once the end has been seen.
        const auto now = std::chrono::steady_clock::now();
        if (now < nextFullSearch_ && !endSeen_ && !FindWindowExW(nullptr, nullptr, kDialogClass, nullptr))
            return std::nullopt;
        nextFullSearch_ = now + kFullSearchInterval;
        std::vector<HWND> boxes = Boxes();
        if (boxes.empty()) return std::nullopt;
        return ReadBoxText(boxes.front());
    }

    bool CloseErrorBox(std::chrono::milliseconds limit) override {
        const auto deadline = std::chrono::steady_clock::now() + limit;
        DWORD pause = 1;
        for (;;) {
            std::vector<HWND> boxes = Boxes();
            if (boxes.empty()) return true;
            auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
            if (left.count() <= 0) return false;
            for (HWND box : boxes) PostMessageW(box, WM_CLOSE, 0, 0);
            // Window events do not run here; only messages sent to us do, so
            // that a program waiting on us cannot deadlock the close.
            MsgWaitForMultipleObjectsEx(0, nullptr, std::min(pause, Millis(left)), QS_SENDMESSAGE, 0);
            MSG msg;
            PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
            pause = std::min(pause * 2, kCloseRetryMaxMs);
        }
    }

    bool HasEnded() override {
        // A wait step that just timed out has already asked: the compiler was
        // running then, and the next step will see its end.
        if (std::exchange(stillRunningAtLastStep_, false)) return false;
        if (WaitForSingleObject(process_->Process(), 0) == WAIT_TIMEOUT) return false;
        endSeen_ = true;
        return true;
    }

    void WaitStep(std::chrono::milliseconds interval) override {
        HANDLE h = process_->Process();
        // A timeout means no window input is waiting, so there is nothing to
        // run; skipping the empty look saves a server round trip per pass under Wine.
        if (MsgWaitForMultipleObjectsEx(1, &h, Millis(interval), QS_ALLINPUT, MWMO_INPUTAVAILABLE) == WAIT_TIMEOUT)
            stillRunningAtLastStep_ = true;
        else
            tolvane::DoEvents();
    }

    bool WaitForExit(std::chrono::milliseconds limit) override {
        const auto deadline = std::chrono::steady_clock::now() + limit;
        HANDLE h = process_->Process();
        while (!HasEnded()) {
            auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
            if (left.count() <= 0) return false;
            MsgWaitForMultipleObjectsEx(1, &h, Millis(left), QS_ALLINPUT, MWMO_INPUTAVAILABLE);
            tolvane::DoEvents();
        }
        return true;
    }

    void Terminate() override { process_->Terminate(std::chrono::milliseconds(kTerminateWaitMs)); }

private:
    std::vector<HWND> Boxes() {
        std::optional<std::vector<DWORD>> ids;
        return FindOwnedWindows(kErrorBoxTitle, [&](DWORD pid) {
            if (!ids) ids = process_->ProcessIds();
            return std::find(ids->begin(), ids->end(), pid) != ids->end();
        });
    }

    std::unique_ptr<JobProcess> process_;
    HWINEVENTHOOK hook_ = nullptr;
    std::chrono::steady_clock::time_point nextFullSearch_{};
    bool endSeen_ = false;
    bool stillRunningAtLastStep_ = false;
};

}  // namespace

bool Win32RunPlatform::FileExists(const std::wstring& path) { return tolvane::FileExists(path); }

bool Win32RunPlatform::PathExists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

void Win32RunPlatform::DoEvents() { tolvane::DoEvents(); }

std::wstring Win32RunPlatform::NowText() { return GeneralDateText(LocalNow()); }

std::unique_ptr<CompilerProcess> Win32RunPlatform::StartCompiler(const std::wstring& commandLine) {
    return std::make_unique<Win32CompilerProcess>(JobProcess::Start(commandLine, SW_SHOWNORMAL));
}

long WinEventShowCount() { return g_showEvents; }

}  // namespace tolvane
