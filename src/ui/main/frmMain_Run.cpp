// The compile run as the window shows it: the run and stop commands, and the
// engine's two events that write the log and the counters.
#include "ui/main/frmMain.h"

#include <commctrl.h>

#include "engine/RunFrame.h"
#include "engine/RunLog.h"
#include "support/VbError.h"
#include "support/win32/DoEvents.h"
#include "ui/main/MainIds.h"

namespace tolvane {

using namespace main_ids;

void frmMain::AppendLog(const std::wstring& piece) {
    HWND log = Control(txtCompileList);
    int end = GetWindowTextLengthW(log);
    SendMessageW(log, EM_SETSEL, static_cast<WPARAM>(end), static_cast<LPARAM>(end));
    SendMessageW(log, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(piece.c_str()));
    // The newest line stays in view.
    end = GetWindowTextLengthW(log);
    SendMessageW(log, EM_SETSEL, static_cast<WPARAM>(end), static_cast<LPARAM>(end));
    SendMessageW(log, EM_SCROLLCARET, 0, 0);
}

void frmMain::mnuCompile_Click() {
    buildAnnounced_ = false;
    try {
        AppendLog(RunStartPiece());
        SetText(lblFailureCount, L"");
        SetRunningState(true);
        HandOverOutFolder();
        mobjVBC->SetDimension(Text(txtDimension));
        ApplyVersion();
        RunFrame frame(*mobjVBC);
        frame.Run();
        AppendLog(frame.ClosingPiece());
        if (!frame.Stopped()) {
            DoEvents();
            const std::int32_t failures = frame.Failures();
            if (frame.Recheck()) {
                SetText(lblFailureCount, FinalFailureText(failures));
                RefreshCompileList();
            }
            const ClosingNotice notice = frame.Notice();
            CallUserBack();
            Notice(notice.message1, notice.message2, notice.color);
        }
        SetRunningState(false);
    } catch (const VbError& e) {
        // The log would otherwise stop at the start line of a build that never ran.
        if (buildAnnounced_) AppendLog(BrokenOffPiece(e.Description()));
        Notice(e.Description(), L"");
        SetRunningState(false);
    } catch (const std::exception&) {
        Notice(L"予期しないエラーが発生しました", L"");
        SetRunningState(false);
    }
}

void frmMain::HandOverOutFolder() {
    if (AllChecked()) {
        mobjVBC->SetOutFolder(Text(txtFolderPath));
    } else {
        // An unticked box withdraws a folder an earlier run handed over.
        mobjVBC->ClearOutFolder();
    }
}

// The plan of the run the run command would make, into the log; the list
// stays locked while its projects are read.
void frmMain::mnuCompilePlan_Click() {
    try {
        AppendLog(RunStartPiece());
        SetRunningState(true);
        SetMenuEnabled(mnuCompileStop, false);  // nothing runs that could be stopped
        HandOverOutFolder();
        std::wstring text;
        for (const auto& line : mobjVBC->PlanLines()) text += line + L"\r\n";
        AppendLog(text);
        SetRunningState(false);
    } catch (const VbError& e) {
        Notice(e.Description(), L"");
        SetRunningState(false);
    }
}

// A run that ends while another program is in front flashes the taskbar
// button until the user comes back.
void frmMain::CallUserBack() {
    DWORD pid = 0;
    GetWindowThreadProcessId(GetForegroundWindow(), &pid);
    if (pid == GetCurrentProcessId()) return;
    FLASHWINFO flash{sizeof flash, Hwnd(), FLASHW_ALL | FLASHW_TIMERNOFG, 0, 0};
    FlashWindowEx(&flash);
}

void frmMain::mnuCompileStop_Click() {
    if (!mobjVBC->CompileStop()) {
        mobjVBC->SetCompileStop(true);
        AppendLog(StoppingPiece());
        return;
    }
    // The build in progress is normally waited for; a second request ends a
    // compiler that does not finish by itself, once per build.
    if (mobjVBC->AbortCurrentBuild()) AppendLog(AbortingPiece());
}

void frmMain::mobjVBC_ExecutionStart(const ExecutionEvent& e) { ShowBuildStarted(e, BuildStartedPiece(e.message)); }

// A skipped project is logged in one line, where a build would take two.
void frmMain::mobjVBC_ExecutionSkip(const ExecutionEvent& e) {
    ShowBuildStarted(e, BuildEndedPiece(e.message, false, L""));
}

void frmMain::ShowBuildStarted(const ExecutionEvent& e, const std::wstring& piece) {
    buildAnnounced_ = true;
    SetText(lblCount, ProgressText(e.compileCount, e.targetCount));
    AppendLog(piece);
    HWND list = Control(lstCompileList);
    const int item = e.position - 1;
    const int previous = buildingItem_;
    buildingItem_ = item;
    ListView_SetItemState(list, item, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    ListView_EnsureVisible(list, item, FALSE);
    if (previous >= 0) ListView_RedrawItems(list, previous, previous);
    ListView_RedrawItems(list, item, item);
    DoEvents();
}

void frmMain::mobjVBC_ExecutionStop(const ExecutionEvent& e) {
    AppendLog(BuildEndedPiece(e.message, e.entry));
    SetText(lblFailureCount, RunningFailureText(e.failureCount));
    DoEvents();
}

}  // namespace tolvane
