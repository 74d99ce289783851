// The menus: their table, what a command needs to be available, and the
// locking of the window around a run.
#include "ui/main/frmMain.h"

#include "ui/main/MainIds.h"

namespace tolvane {

using namespace main_ids;

namespace {

struct MenuItem {
    int id;  // 0: separator
    const wchar_t* caption;
};

struct BarMenu {
    const wchar_t* caption;
    std::vector<MenuItem> items;
};

std::vector<BarMenu> MenuTable() {
    return {
        {L"ファイル(&F)",
         {{mnuDelAllList, L"新規ｺﾝﾊﾟｲﾙﾘｽﾄ作成\tCtrl+N"},
          {0, nullptr},
          {mnuReadList, L"ｺﾝﾊﾟｲﾙﾘｽﾄを開く\tCtrl+O"},
          {mnuWriteList, L"ｺﾝﾊﾟｲﾙﾘｽﾄの保存\tCtrl+S"},
          {0, nullptr},
          {mnuAddList, L"vbpを追加する"},
          {mnuAddAllList, L"指定ﾌｫﾙﾀﾞ以下のvbpを追加"},
          {mnuAddGroup, L"vbgを追加"},
          {0, nullptr},
          {mnuDelList, L"未ﾁｪｯｸのvbpをｺﾝﾊﾟｲﾙﾘｽﾄから外す"},
          {0, nullptr},
          {mnuEditEnd, L"終了"}}},
        {L"実行(&R)",
         {{mnuCompile, L"ｺﾝﾊﾟｲﾙの実行\tF12"},
          {mnuCompileStop, L"ｺﾝﾊﾟｲﾙの中止\tF11"},
          {mnuCompilePlan, L"ｺﾝﾊﾟｲﾙ順の確認"},
          {0, nullptr},
          {mnuAllCheck, L"すべてのﾁｪｯｸを入れる\tCtrl+A"},
          {mnuNoCheck, L"すべてのﾁｪｯｸを外す\tCtrl+D"},
          {mnuReversalCheck, L"ﾁｪｯｸの反転\tCtrl+R"}}},
        {L"ｵﾌﾟｼｮﾝ(&O)",
         {{mnuEditInitialize, L"最後に開いたｺﾝﾊﾟｲﾙﾘｽﾄを初期表示する"},
          {mnuEditTool, L"VB*.exeの指定"},
          {mnuCompileOption, L"ｺﾝﾊﾟｲﾙ設定"}}},
        {L"ﾍﾙﾌﾟ(&H)",
         {{mnuEditUse, L"使用方法"},
          {mnuEditVer, L"ﾊﾞｰｼﾞｮﾝ情報"}}},
    };
}

// The drop-down menu (its position on the bar) that holds a command.
int BarPositionOf(int id) {
    const auto table = MenuTable();
    for (std::size_t p = 0; p < table.size(); ++p)
        for (const MenuItem& item : table[p].items)
            if (item.id == id) return static_cast<int>(p);
    return -1;
}


// The enabled controls that take input (those in the tab order).
BOOL CALLBACK CollectInputControl(HWND child, LPARAM found) {
    const LONG style = GetWindowLongW(child, GWL_STYLE);
    if ((style & WS_TABSTOP) && IsWindowEnabled(child)) reinterpret_cast<std::vector<HWND>*>(found)->push_back(child);
    return TRUE;
}

}  // namespace

void frmMain::BuildMenus() {
    if (menuBar_) {
        SetMenu(Hwnd(), nullptr);
        DestroyMenu(menuBar_);
    }
    menuBar_ = CreateMenu();
    for (const BarMenu& bar : MenuTable()) {
        HMENU popup = CreatePopupMenu();
        for (const MenuItem& item : bar.items) {
            if (item.id == 0) {
                AppendMenuW(popup, MF_SEPARATOR, 0, nullptr);
            } else {
                AppendMenuW(popup, MF_STRING, static_cast<UINT_PTR>(item.id), item.caption);
            }
        }
        AppendMenuW(menuBar_, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(popup), bar.caption);
    }
    SetMenu(Hwnd(), menuBar_);

    if (!accelerators_) {
        ACCEL keys[] = {
            {FVIRTKEY, VK_F12, static_cast<WORD>(mnuCompile)},
            {FVIRTKEY, VK_F11, static_cast<WORD>(mnuCompileStop)},
            {FVIRTKEY | FCONTROL, 'N', static_cast<WORD>(mnuDelAllList)},
            {FVIRTKEY | FCONTROL, 'O', static_cast<WORD>(mnuReadList)},
            {FVIRTKEY | FCONTROL, 'S', static_cast<WORD>(mnuWriteList)},
            {FVIRTKEY | FCONTROL, 'A', static_cast<WORD>(mnuAllCheck)},
            {FVIRTKEY | FCONTROL, 'D', static_cast<WORD>(mnuNoCheck)},
            {FVIRTKEY | FCONTROL, 'R', static_cast<WORD>(mnuReversalCheck)},
        };
        accelerators_ = CreateAcceleratorTableW(keys, static_cast<int>(sizeof keys / sizeof keys[0]));
    }
}


void frmMain::SetMenuEnabled(int id, bool enabled) {
    EnableMenuItem(menuBar_, static_cast<UINT>(id), MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
}

void frmMain::SetBarMenuEnabled(int position, bool enabled) {
    EnableMenuItem(menuBar_, static_cast<UINT>(position), MF_BYPOSITION | (enabled ? MF_ENABLED : MF_GRAYED));
}

bool frmMain::CommandAvailable(int id) const {
    // Shortcuts and commands sent from outside reach the window even when
    // their menu is closed; they count only when the user could choose them.
    if (!menuBar_ || !IsWindowEnabled(Hwnd())) return false;
    const int position = BarPositionOf(id);
    if (position < 0) return false;
    const UINT bar = GetMenuState(menuBar_, static_cast<UINT>(position), MF_BYPOSITION);
    const UINT item = GetMenuState(menuBar_, static_cast<UINT>(id), MF_BYCOMMAND);
    if (bar == static_cast<UINT>(-1) || item == static_cast<UINT>(-1)) return false;
    return ((bar | item) & (MF_GRAYED | MF_DISABLED)) == 0;
}

bool frmMain::InitializeChecked() const {
    return menuBar_ && (GetMenuState(menuBar_, mnuEditInitialize, MF_BYCOMMAND) & MF_CHECKED) != 0;
}

void frmMain::SetRunningState(bool running) {
    SetContainerEnabled(*this, fraAction, false);
    if (running) LockInputs(true);
    SetBarMenuEnabled(mnuEditFilePosition, false);
    SetBarMenuEnabled(mnuEditOptionPosition, false);
    SetMenuEnabled(mnuCompile, false);
    SetMenuEnabled(mnuCompileStop, false);
    SetMenuEnabled(mnuCompilePlan, false);
    SetMenuEnabled(mnuAllCheck, false);
    SetMenuEnabled(mnuNoCheck, false);
    SetMenuEnabled(mnuReversalCheck, false);
    SetBarMenuEnabled(mnuEditHelpPosition, false);
    mblnCompiling = false;
    if (running) {
        SetMenuEnabled(mnuCompileStop, true);
        mblnCompiling = true;
        DrawMenuBar(Hwnd());
        return;
    }
    SetContainerEnabled(*this, fraAction, true);
    if (buildingItem_ >= 0) {
        buildingItem_ = -1;
        InvalidateRect(Control(lstCompileList), nullptr, TRUE);
    }
    SetBarMenuEnabled(mnuEditFilePosition, true);
    SetBarMenuEnabled(mnuEditOptionPosition, true);
    SetMenuEnabled(mnuCompile, true);
    SetMenuEnabled(mnuCompilePlan, true);
    SetMenuEnabled(mnuAllCheck, true);
    SetMenuEnabled(mnuNoCheck, true);
    SetMenuEnabled(mnuReversalCheck, true);
    SetBarMenuEnabled(mnuEditHelpPosition, true);
    LockInputs(false);
    DrawMenuBar(Hwnd());
}

void frmMain::SetSearchingState(bool searching) {
    SetContainerEnabled(*this, fraAction, !searching);
    LockInputs(searching);
    for (int bar : {mnuEditFilePosition, mnuEditRPosition, mnuEditOptionPosition, mnuEditHelpPosition})
        SetBarMenuEnabled(bar, !searching);
    mblnSearching = searching;
    DrawMenuBar(Hwnd());
}

// A disabled frame does not keep keys from the child that has the focus, so
// each control inside that takes input is disabled itself, and the focus
// waits in the log (which stays usable) until the lock ends.
void frmMain::LockInputs(bool lock) {
    HWND frame = Control(fraAction);
    if (lock) {
        if (inputsLocked_) return;
        inputsLocked_ = true;
        HWND focus = ::GetFocus();
        focusBeforeLock_ = focus && IsChild(Hwnd(), focus) ? focus : nullptr;
        EnumChildWindows(frame, CollectInputControl, reinterpret_cast<LPARAM>(&lockedInputs_));
        for (HWND control : lockedInputs_) EnableWindow(control, FALSE);
        if (focusBeforeLock_ && IsChild(frame, focusBeforeLock_)) FocusControl(Control(txtCompileList));
        return;
    }
    if (!inputsLocked_) return;
    inputsLocked_ = false;
    for (HWND control : lockedInputs_) EnableWindow(control, TRUE);
    lockedInputs_.clear();
    HWND focus = focusBeforeLock_;
    focusBeforeLock_ = nullptr;
    if (focus && IsChild(Hwnd(), focus) && IsWindowEnabled(focus) && IsWindowVisible(focus)) FocusControl(focus);
}

void SetContainerEnabled(ui::Form& form, int frameId, bool value) {
    HWND frame = form.Control(frameId);
    if (!frame) return;
    for (HWND child = GetWindow(frame, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        EnableWindow(child, value ? TRUE : FALSE);
    }
}


}  // namespace tolvane
