#include "ui/startup/basMain.h"

#include <windows.h>

#include "support/win32/DoEvents.h"
#include "support/win32/Files.h"
#include "support/win32/Handle.h"
#include "ui/core/Globals.h"
#include "ui/dialogs/MessageBoxes.h"
#include "ui/main/frmMain.h"
#include "ui/startup/ProgramVersion.h"
#include "ui/startup/frmSplash.h"

namespace tolvane {
namespace {

BOOL CALLBACK FindShownWindow(HWND w, LPARAM found) {
    if (!IsWindowVisible(w)) return TRUE;
    *reinterpret_cast<bool*>(found) = true;
    return FALSE;
}

bool AnyWindowShown() {
    bool found = false;
    EnumThreadWindows(GetCurrentThreadId(), FindShownWindow, reinterpret_cast<LPARAM>(&found));
    return found;
}

// The user wanted Tolvane: the one already running comes to the front, with
// whichever of its windows was last in use.
void BringRunningInstanceForward() {
    HWND main = FindWindowW(frmMain::kClassName, nullptr);
    if (!main) return;
    if (IsIconic(main)) ShowWindow(main, SW_RESTORE);
    SetForegroundWindow(GetLastActivePopup(main));
}

}  // namespace

bool ClaimSingleInstance(const wchar_t* name) {
    Handle mutex(CreateMutexW(nullptr, FALSE, name));
    const DWORD error = GetLastError();
    if (!mutex.Valid()) {
        // Held by an instance running with other rights; any other failure
        // must not keep the user from starting the program.
        return error != ERROR_ACCESS_DENIED;
    }
    if (error == ERROR_ALREADY_EXISTS) return false;
    // The handle stays open: the claim lasts until the process ends.
    mutex.Release();
    return true;
}

void Main() {
    if (!ClaimSingleInstance(kSingleInstanceName)) {
        Msg_Warning& box = Msg_Warning::Instance();
        box.SetMessage1(L"すでにTolvaneは起動しています");
        box.SetMessage2(L"なお、複数起動は出来ません");
        box.ShowModal();
        BringRunningInstanceForward();
        ExitProcess(0);
    }
    gstrVersion = ReadVersionText(RunningProgramPath());
    frmSplash::Instance().Show();
}

void ShowMain() {
    frmMain& main = frmMain::Instance();
    main.Load();
    if (!main.IsLoaded()) return;  // its load ended it
    main.Show();
}

void SplashCancel() { ShowMain(); }

int RunMessageLoop() {
    MSG msg{};
    while (AnyWindowShown()) {
        const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0) return static_cast<int>(msg.wParam);
        if (got < 0) return 1;
        DispatchWindowMessage(msg);
    }
    return 0;
}

}  // namespace tolvane
