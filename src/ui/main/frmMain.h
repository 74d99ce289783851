#pragma once
// The main window: the compile list, the output folder, the arguments, the
// run with its log and counters, and the menus that reach everything else.
//
// The design's names keep their form: <control>_<Event> handlers, with the
// controls' prefixes telling their kind:
//   mnu  menu command (mnuCompile F12 run, mnuCompileStop F11 stop, mnuReadList
//        / mnuWriteList open and save the list, mnuAddList / mnuAddAllList /
//        mnuAddGroup add projects, mnuDelList / mnuDelAllList remove them)
//   lst  the compile list (lstCompileList); txt a text box (txtDimension: /d)
//   chk  a check box (chkAll: a common output folder); cmd a button
//   lbl  a label (lblCount progress, lblFailureCount failures)
//   mobjVBC  the engine (clsTolvane); its events arrive as mobjVBC_<Event>
#include <windows.h>

#include <commctrl.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "engine/RunPlatform.h"
#include "engine/clsTolvane.h"
#include "engine/StampedProjectFiles.h"
#include "engine/win32/ProjectStampStore.h"
#include "engine/win32/BuildTimesFile.h"
#include "engine/win32/Win32ProjectFiles.h"
#include "ui/core/Form.h"

namespace tolvane {

class frmMain : public ui::Form {
public:
    static frmMain& Instance();
    static constexpr const wchar_t* kClassName = L"TolvaneMain";
    ~frmMain() override;

protected:
    ui::FormStyle Style() const override;
    std::vector<ui::ControlSpec> Layout() const override;
    const wchar_t* ClassName() const override { return kClassName; }

    void OnLoad() override;
    bool OnQueryUnload() override;
    void OnUnload() override;
    void OnButtonClicked(int id) override;
    void OnCommand(int id, int notifyCode) override;
    LRESULT OnNotify(NMHDR* header) override;
    bool PreTranslate(MSG& msg) override;
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) override;
    void OnUnhandledError(const std::wstring& description) override;

private:

    enum class LoadResult { Missing, Loaded, Failed };
    enum class SaveResult { Saved, Cancelled, Failed };

    // Lifecycle, menus and window state.
    void Form_Load();
    bool Form_QueryUnload();
    void Form_Unload();
    void mnuEditEnd_Click();
    void mnuEditInitialize_Click();
    void mnuEditTool_Click();
    void mnuCompileOption_Click();
    void ApplyRunSettings();
    void ApplyVersion();
    void txtDimension_GotFocus();
    void txtDimension_LostFocus();
    void SetRunningState(bool running);
    void SetSearchingState(bool searching);
    void LockInputs(bool lock);
    void BuildMenus();
    void FitToContents();
    void CutLogOutOfActionFrame();
    void SetMenuEnabled(int id, bool enabled);
    void SetBarMenuEnabled(int position, bool enabled);
    bool CommandAvailable(int id) const;
    bool InitializeChecked() const;
    void EndProgram();

    // The compile list, its file and its control.
    LoadResult LoadCompileList(const std::wstring& path);
    SaveResult SaveCompileList();
    bool WriteCompileList(const std::wstring& path);
    void RefreshCompileList();
    void lstCompileList_ItemCheck(int item);
    LRESULT lstCompileList_CustomDraw(NMLVCUSTOMDRAW* draw);
    void lstCompileList_GetDispInfo(NMLVDISPINFOW* info);
    void lstCompileList_Toggle(int item);
    void mnuReadList_Click();
    void mnuWriteList_Click();
    int ItemCount() const;
    bool ItemChecked(int item) const;
    void SetItemChecked(int item, bool checked);
    void WarnListLimit(const std::wstring& consequence);

    // Editing commands.
    void mnuAddList_Click();
    void mnuAddAllList_Click();
    void mnuAddGroup_Click();
    void mnuDelList_Click();
    void mnuDelAllList_Click();
    void SetEveryCheck(bool (*next)(bool));
    void mnuAllCheck_Click();
    void mnuNoCheck_Click();
    void mnuReversalCheck_Click();
    void chkAll_Click();
    void cmdFolderPath_Click();
    void AddFolderProjects(const std::wstring& folder, const std::wstring& extension);
    bool AllChecked() const;

    // The run.
    void mnuCompile_Click();
    void mnuCompileStop_Click();
    void mnuCompilePlan_Click();
    void HandOverOutFolder();
    void mobjVBC_ExecutionStart(const ExecutionEvent& e);
    void mobjVBC_ExecutionStop(const ExecutionEvent& e);
    void mobjVBC_ExecutionSkip(const ExecutionEvent& e);
    void ShowBuildStarted(const ExecutionEvent& e, const std::wstring& piece);
    void AppendLog(const std::wstring& piece);
    void CallUserBack();

    // Help.
    void mnuEditUse_Click();
    void mnuEditVer_Click();

    // The shared dialogs, each through one door so the rules above stay testable.
    void Notice(const std::wstring& message1, const std::wstring& message2, std::uint32_t color = 0);
    bool Ask(const std::wstring& message1, const std::wstring& message2);

    std::unique_ptr<RunPlatform> platform_;
    std::unique_ptr<clsTolvane> mobjVBC;
    Win32ProjectFiles projectFiles_;
    // The version of Tolvane.ini, written into each project for its build.
    ProjectStampStore stampStore_;
    StampedProjectFiles stampedFiles_{projectFiles_, stampStore_};
    BuildTimesFile buildTimes_;
    std::wstring mstrPrevList;
    bool mblnListChanged = false;
    bool mblnCompiling = false;
    bool mblnSearching = false;

    HMENU menuBar_ = nullptr;
    HACCEL accelerators_ = nullptr;
    // A build of the current run has been announced (its start line logged).
    bool buildAnnounced_ = false;
    // The system asked for the end of the session and the close was agreed.
    bool closeAgreed_ = false;
    // Controls a run or a search disabled, and where the focus was before.
    bool inputsLocked_ = false;
    std::vector<HWND> lockedInputs_;
    HWND focusBeforeLock_ = nullptr;
    // The user asked (Esc, or closing the window) for the folder search to stop.
    bool searchCancelled_ = false;
    // The list item of the build in progress, -1 outside a run.
    int buildingItem_ = -1;
};

// Enables or disables the direct children of one of the form's frames; the
// controls inside those keep their own state.
void SetContainerEnabled(ui::Form& form, int frameId, bool value);

}  // namespace tolvane
