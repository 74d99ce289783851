#include "engine/win32/Win32RunPlatform.h"

#include <algorithm>
#include <optional>
#include <utility>
#include <vector>

#include "engine/win32/ErrorBoxFinder.h"
#include "engine/win32/JobProcess.h"
#include "support/AnsiCodec.h"
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
constexpr std::chrono::milliseconds kFullSearchInterval{1000};
// How often, and at most how long, a hidden dialog of the compiler's is
// looked at again: it may be an error box on its way.
constexpr std::chrono::milliseconds kAppearingRecheck{4};
constexpr std::chrono::milliseconds kAppearingWatch{2000};

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
        // boxes of other kinds, and always once the end has been seen or while
        // a box is being closed.
        const ULONGLONG now = GetTickCount64();
        const bool dialog = FindWindowExW(nullptr, nullptr, kDialogClass, nullptr) != nullptr;
        if (now < nextFullSearch_ && !endSeen_ && !boxShown_ && !dialog) {
            appearingSince_ = 0;
            return std::nullopt;
        }
        nextFullSearch_ = now + kFullSearchInterval.count();
        // Under Wine a box exists a long while (up to a hundred milliseconds
        // and more) before it shows: while a dialog of the compiler's is still
        // hidden, the next look comes soon. Asked before the search, so that
        // a box showing in between is either found or still counted hidden.
        ids_.reset();
        const bool hidden = dialog && HasHiddenDialog();
        lastBoxes_ = Boxes();
        boxShown_ = !lastBoxes_.empty();
        if (hidden && !boxShown_) {
            if (appearingSince_ == 0) appearingSince_ = now;
        } else {
            appearingSince_ = 0;
        }
        if (lastBoxes_.empty()) return std::nullopt;
        return ReadBoxText(lastBoxes_.front());
    }

    void RequestErrorBoxClose() override {
        // The boxes of the last look: a second search per pass would only
        // slow the close under Wine.
        for (HWND box : lastBoxes_) PostMessageW(box, WM_CLOSE, 0, 0);
    }

    std::optional<ShownWindow> FindPrompt() override {
        ids_.reset();
        HWND w = FindOwnedWindowExcept(kErrorBoxTitle, [&](DWORD pid) { return IsOurs(pid); });
        if (!w) return std::nullopt;
        return ShownWindow{WindowText(w), ReadBoxText(w)};
    }

    bool HasEnded() override {
        // A wait step that just timed out has already asked: the compiler was
        // running then, and the next step will see its end.
        if (std::exchange(stillRunningAtLastStep_, false)) return false;
        if (WaitForSingleObject(process_->Process(), 0) == WAIT_TIMEOUT) return false;
        endSeen_ = true;
        return true;
    }

    std::optional<std::uint32_t> ExitCode() override {
        DWORD code = 0;
        if (!GetExitCodeProcess(process_->Process(), &code)) return std::nullopt;
        return code;
    }

    // The tick count is read from memory the system keeps up to date, where a
    // precise clock costs a call into the system on every pass under Wine.
    std::chrono::milliseconds Elapsed() override { return std::chrono::milliseconds(GetTickCount64() - started_); }

    void WaitStep(std::chrono::milliseconds interval) override {
        Win32CompilerProcess* self = this;
        WaitOn(&self, 1, interval);
    }

    // Sleeps until one of the compilers ends, window input arrives, or the
    // interval passes (the shortest any of them asks for).
    static void WaitOn(Win32CompilerProcess* const* compilers, DWORD count, std::chrono::milliseconds interval) {
        HANDLE handles[MAXIMUM_WAIT_OBJECTS - 1] = {};
        count = std::min<DWORD>(count, MAXIMUM_WAIT_OBJECTS - 1);
        for (DWORD i = 0; i < count; ++i) {
            interval = compilers[i]->Shortened(interval);
            handles[i] = compilers[i]->process_->Process();
        }
        // A timeout means no window input is waiting, so there is nothing to
        // run; skipping the empty look saves a server round trip per pass under Wine.
        if (MsgWaitForMultipleObjectsEx(count, handles, Millis(interval), QS_ALLINPUT, MWMO_INPUTAVAILABLE) ==
            WAIT_TIMEOUT) {
            for (DWORD i = 0; i < count; ++i) compilers[i]->stillRunningAtLastStep_ = true;
        } else {
            tolvane::DoEvents();
        }
    }

    void Terminate() override { process_->Terminate(std::chrono::milliseconds(kTerminateWaitMs)); }

private:
    // While a hidden dialog of the compiler's may still become its box, the next look comes soon.
    std::chrono::milliseconds Shortened(std::chrono::milliseconds interval) const {
        if (appearingSince_ != 0 && GetTickCount64() - appearingSince_ < kAppearingWatch.count())
            return std::min(interval, kAppearingRecheck);
        return interval;
    }

    // The process ids are those of the last reset (once per search).
    std::vector<HWND> Boxes() {
        return FindOwnedWindows(kErrorBoxTitle, [&](DWORD pid) { return IsOurs(pid); });
    }

    bool HasHiddenDialog() {
        HWND after = nullptr;
        while ((after = FindWindowExW(nullptr, after, kDialogClass, nullptr)) != nullptr) {
            if (IsWindowVisible(after)) continue;
            DWORD pid = 0;
            GetWindowThreadProcessId(after, &pid);
            if (pid != 0 && IsOurs(pid)) return true;
        }
        return false;
    }

    // Asks for the build's processes once per search.
    bool IsOurs(DWORD pid) {
        if (!ids_) ids_ = process_->ProcessIds();
        return std::find(ids_->begin(), ids_->end(), pid) != ids_->end();
    }

    std::unique_ptr<JobProcess> process_;
    ULONGLONG started_ = GetTickCount64();
    std::optional<std::vector<DWORD>> ids_;
    std::vector<HWND> lastBoxes_;
    HWINEVENTHOOK hook_ = nullptr;
    ULONGLONG nextFullSearch_ = 0;
    ULONGLONG appearingSince_ = 0;  // a dialog, not yet a box of ours, seen since
    bool endSeen_ = false;
    bool boxShown_ = false;
    bool stillRunningAtLastStep_ = false;
};

}  // namespace

bool Win32RunPlatform::FileExists(const std::wstring& path) { return tolvane::FileExists(path); }

bool Win32RunPlatform::PathExists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

void Win32RunPlatform::DoEvents() { tolvane::DoEvents(); }

std::wstring Win32RunPlatform::NowText() { return GeneralDateText(LocalNow()); }

std::unique_ptr<CompilerProcess> Win32RunPlatform::StartCompiler(const std::wstring& program,
                                                                 const std::wstring& commandLine) {
    std::unique_ptr<JobProcess> job;
    const PlatformResult started = JobProcess::Start(program, commandLine, SW_SHOWNORMAL, job);
    if (started.Failed()) throw started.Error();
    return std::make_unique<Win32CompilerProcess>(std::move(job));
}

void Win32RunPlatform::WaitForAny(const std::vector<CompilerProcess*>& compilers, std::chrono::milliseconds interval) {
    // Every compiler here was started by this platform.
    std::vector<Win32CompilerProcess*> ours;
    for (CompilerProcess* c : compilers) ours.push_back(static_cast<Win32CompilerProcess*>(c));
    Win32CompilerProcess::WaitOn(ours.data(), static_cast<DWORD>(ours.size()), interval);
}

std::wstring Win32RunPlatform::NewCompilerLogPath() {
    static volatile LONG counter = 0;
    wchar_t buffer[MAX_PATH + 1];
    const DWORD n = GetTempPathW(MAX_PATH + 1, buffer);
    std::wstring folder(buffer, n <= MAX_PATH ? n : 0);
    // The compiler reads its command line in the ANSI code page: a folder
    // name that it cannot hold is given by its short name.
    if (FirstUnencodable(SystemAnsiCodec(), folder) != std::wstring::npos) {
        const DWORD k = GetShortPathNameW(folder.c_str(), buffer, MAX_PATH + 1);
        if (k > 0 && k <= MAX_PATH) folder.assign(buffer, k);
    }
    // The process id keeps two programs apart, the count two builds of one.
    for (;;) {
        const std::wstring path = folder + L"Tolvane" + std::to_wstring(GetCurrentProcessId()) + L"_" +
                                  std::to_wstring(InterlockedIncrement(&counter)) + L".log";
        if (!PathExists(path)) return path;
    }
}

std::optional<std::string> Win32RunPlatform::ReadFileBytes(const std::wstring& path) {
    std::string bytes;
    if (ReadWholeFile(path, bytes).Failed()) return std::nullopt;
    return bytes;
}

void Win32RunPlatform::RemoveFile(const std::wstring& path) { DeleteFileW(path.c_str()); }

long WinEventShowCount() { return g_showEvents; }

}  // namespace tolvane
