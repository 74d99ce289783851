// The main window's layout, menus, start and end, and the locking around a run.
#include "ui/main/frmMain.h"

#include <commctrl.h>

#include <algorithm>

#include "engine/win32/Win32RunPlatform.h"
#include "support/Paths.h"
#include "support/VbError.h"
#include "support/win32/Files.h"
#include "support/win32/IniControl.h"
#include "support/win32/RelateExecute.h"
#include "support/win32/WindowPlacement.h"
#include "ui/core/Colors.h"
#include "ui/core/Globals.h"
#include "ui/core/Twips.h"
#include "ui/dialogs/MessageBoxes.h"
#include "ui/dialogs/frmDialogBox.h"
#include "ui/dialogs/frmOption.h"
#include "ui/main/MainIds.h"
#include "ui/startup/frmAbout.h"

namespace tolvane {

using namespace main_ids;
using ui::ControlKind;

namespace {


// The design size of the window (outer, twips) and what its client area must
// hold: the widest and lowest control plus the left margin.
constexpr int kDesignWidth = 10000;
constexpr int kDesignHeight = 6900;
constexpr int kNeededClientWidth = 45 + 9825 + 45;
constexpr int kNeededClientHeight = 30 + 5700 + 405 + 45;

const ui::FontSpec kBoldFont{L"ＭＳ ゴシック", 90, true, false};

std::wstring IniPath() { return FileBesideProgram(L"Tolvane.ini"); }

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
          {0, nullptr},
          {mnuDelList, L"未ﾁｪｯｸのvbpをｺﾝﾊﾟｲﾙﾘｽﾄから外す"},
          {0, nullptr},
          {mnuEditEnd, L"終了"}}},
        {L"実行(&R)",
         {{mnuCompile, L"ｺﾝﾊﾟｲﾙの実行\tF12"},
          {mnuCompileStop, L"ｺﾝﾊﾟｲﾙの中止\tF11"},
          {0, nullptr},
          {mnuAllCheck, L"すべてのﾁｪｯｸを入れる\tCtrl+A"},
          {mnuNoCheck, L"すべてのﾁｪｯｸを外す\tCtrl+D"},
          {mnuReversalCheck, L"ﾁｪｯｸの反転\tCtrl+R"}}},
        {L"ｵﾌﾟｼｮﾝ(&O)",
         {{mnuEditInitialize, L"最後に開いたｺﾝﾊﾟｲﾙﾘｽﾄを初期表示する"},
          {mnuEditTool, L"VB*.exeの指定"}}},
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

// Themed check boxes ignore the text colour the window asks for; the classic
// look keeps chkAll navy. uxtheme is looked up at run time, as it may be absent.
void UseClassicLook(HWND control) {
    HMODULE uxtheme = LoadLibraryW(L"uxtheme.dll");
    if (!uxtheme) return;
    using SetWindowThemeFn = HRESULT(WINAPI*)(HWND, LPCWSTR, LPCWSTR);
    auto setTheme = reinterpret_cast<SetWindowThemeFn>(
        reinterpret_cast<void*>(GetProcAddress(uxtheme, "SetWindowTheme")));
    if (setTheme) setTheme(control, L"", L"");
}

}  // namespace

frmMain& frmMain::Instance() {
    static frmMain instance;
    return instance;
}

frmMain::~frmMain() {
    if (accelerators_) DestroyAcceleratorTable(accelerators_);
}

ui::FormStyle frmMain::Style() const {
    ui::FormStyle s;
    s.style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
    s.clientWidth = kNeededClientWidth;
    s.clientHeight = kNeededClientHeight;
    s.caption = L"Tolvane";
    s.topLevel = true;  // outlives the splash screen that is active when it loads
    return s;
}

std::vector<ui::ControlSpec> frmMain::Layout() const {
    // Creation order is the tab order: chkAll, txtFolderPath, cmdFolderPath,
    // lstCompileList, txtDimension, then the log.
    std::vector<ui::ControlSpec> layout;
    layout.push_back({fraAction, ControlKind::Panel, 0, 45, 30, 10200, 6750});
    layout.push_back({Frame1, ControlKind::Frame, fraAction, 0, 0, 9810, 585});
    ui::ControlSpec check{chkAll, ControlKind::CheckBox, Frame1, 90, 240, 2385, 225, L"一括EXE出力フォルダ指定"};
    check.textColor = kNavy;
    layout.push_back(check);
    layout.push_back({txtFolderPath, ControlKind::TextBox, Frame1, 2550, 225, 6480, 270, L"", WS_DISABLED});
    layout.push_back({cmdFolderPath, ControlKind::Button, Frame1, 9150, 225, 555, 285, L"参照", WS_DISABLED});
    layout.push_back({lstCompileList, ControlKind::CheckList, fraAction, 0, 675, 9825, 3420});
    layout.push_back({Frame2, ControlKind::Panel, fraAction, 0, 5700, 10200, 405});
    ui::ControlSpec label{Label1, ControlKind::Label, Frame2, 0, 60, 2160, 180, L"[条件付きコンパイル引数]"};
    label.textColor = kNavy;
    layout.push_back(label);
    layout.push_back({txtDimension, ControlKind::TextBox, Frame2, 2145, 15, 4980, 285});
    ui::ControlSpec failures{lblFailureCount, ControlKind::Label, Frame2, 7170, 15, 1320, 285, L"失敗 10000"};
    failures.font = &kBoldFont;
    failures.textColor = kDarkRed;
    layout.push_back(failures);
    ui::ControlSpec count{lblCount, ControlKind::Label, Frame2, 8505, 15, 1320, 285, L"10000/10000"};
    count.font = &kBoldFont;
    count.textColor = kNavy;
    layout.push_back(count);
    ui::ControlSpec log{txtCompileList, ControlKind::LogBox, 0, 45, 4230, 9825, 1440};
    log.textColor = kNavy;
    log.backColor = GetSysColor(COLOR_INACTIVEBORDER);
    layout.push_back(log);
    return layout;
}

void frmMain::OnLoad() { Form_Load(); }

bool frmMain::OnQueryUnload() {
    if (closeAgreed_) return true;
    return Form_QueryUnload();
}

void frmMain::OnUnload() { Form_Unload(); }

void frmMain::Form_Load() {
    mblnListChanged = false;
    mblnCompiling = false;
    closeAgreed_ = false;
    abortedBuild_ = 0;
    mcolFolders.clear();

    BuildMenus();
    FitToContents();
    CutLogOutOfActionFrame();
    UseClassicLook(Control(chkAll));
    // The log only grows while the program runs; the edit's default limit would cut it.
    SendMessageW(Control(txtCompileList), EM_SETLIMITTEXT, 0, 0);

    SetText(txtCompileList, L"");
    SetText(lblFailureCount, L"");
    SetText(lblCount, L"0/0");

    // Taken for a first start, a settings file that cannot be read would be
    // offered for overwriting as if it were empty: say why and end instead.
    if (const DWORD error = IniReadError(IniPath())) {
        Notice(IniPath() + L"を読み込めませんでした", LastErrorText(error));
        EndProgram();
        return;
    }
    gstrVBExe = GetIniString(IniPath(), L"COMMON", L"EXE");
    if (IsBlank(gstrVBExe)) frmOption::Instance().ShowModal();
    if (IsBlank(gstrVBExe)) {
        EndProgram();
        return;
    }

    platform_ = std::make_unique<Win32RunPlatform>();
    mobjVBC = std::make_unique<clsTolvane>(*platform_);
    mobjVBC->SetExecutionStartHandler([this] { mobjVBC_ExecutionStart(); });
    mobjVBC->SetExecutionStopHandler([this] { mobjVBC_ExecutionStop(); });
    mobjVBC->SetVB(gstrVBExe);

    mstrPrevList = GetIniString(IniPath(), L"COMMON", L"PREV_List");
    if (!IsBlank(mstrPrevList)) {
        CheckMenuItem(menuBar_, mnuEditInitialize, MF_BYCOMMAND | MF_CHECKED);
        // The path stays for the next start; an empty list without a word
        // would look as if the list had been lost.
        if (LoadCompileList(mstrPrevList) == LoadResult::Missing) {
            Notice(mstrPrevList + L"が見つかりません", L"前回のｺﾝﾊﾟｲﾙﾘｽﾄを開けませんでした");
        }
    } else {
        CheckMenuItem(menuBar_, mnuEditInitialize, MF_BYCOMMAND | MF_UNCHECKED);
    }
    RefreshCompileList();
    mblnListChanged = false;
    SetRunningState(false);
    CenterForm(Hwnd());
    AnimateOpen(Hwnd());
}

void frmMain::EndProgram() {
    // Nothing is shown and nothing written: the program ends here.
    ExitProcess(0);
}

bool frmMain::Form_QueryUnload() {
    if (mblnCompiling) return false;
    if (mblnListChanged) {
        if (Ask(L"ｺﾝﾊﾟｲﾙﾘｽﾄが変更されています", L"保存しますか？")) {
            // A save that failed keeps the window, or the list would be lost
            // right after the user was told it was not saved.
            if (SaveCompileList() == SaveResult::Failed) return false;
            mblnListChanged = false;
        }
    }
    return true;
}

void frmMain::Form_Unload() {
    if (!PutIniString(IniPath(), L"COMMON", L"PREV_List", InitializeChecked() ? mstrPrevList : std::wstring())) {
        const DWORD error = GetLastError();
        Notice(IniPath() + L"に書き込めませんでした", LastErrorText(error));
    }
    AnimateClose(Hwnd());
    mobjVBC.reset();
    platform_.reset();
    SetMenu(Hwnd(), nullptr);
    if (menuBar_) DestroyMenu(menuBar_);
    menuBar_ = nullptr;
    // The main window is the program's life.
    PostQuitMessage(0);
}

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

void frmMain::FitToContents() {
    // The design size, grown where the platform's frame and menu bar leave the
    // client area too small for the controls.
    RECT outer{}, client{};
    GetWindowRect(Hwnd(), &outer);
    GetClientRect(Hwnd(), &client);
    const int frameWidth = ui::PixelsToTwipsX((outer.right - outer.left) - client.right);
    const int frameHeight = ui::PixelsToTwipsY((outer.bottom - outer.top) - client.bottom);
    Resize(std::max(kDesignWidth, kNeededClientWidth + frameWidth),
           std::max(kDesignHeight, kNeededClientHeight + frameHeight));
}

void frmMain::CutLogOutOfActionFrame() {
    // The log lies in a gap of fraAction but is not its child (it stays usable
    // during a run); without the cut the frame would cover it.
    HWND frame = Control(fraAction);
    HWND log = Control(txtCompileList);
    RECT frameRect{}, logRect{};
    GetWindowRect(frame, &frameRect);
    GetWindowRect(log, &logRect);
    HRGN region = CreateRectRgn(0, 0, frameRect.right - frameRect.left, frameRect.bottom - frameRect.top);
    HRGN hole = CreateRectRgn(logRect.left - frameRect.left, logRect.top - frameRect.top,
                              logRect.right - frameRect.left, logRect.bottom - frameRect.top);
    CombineRgn(region, region, hole, RGN_DIFF);
    DeleteObject(hole);
    SetWindowRgn(frame, region, TRUE);  // the window owns the region now
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
    SetBarMenuEnabled(mnuEditFilePosition, false);
    SetBarMenuEnabled(mnuEditOptionPosition, false);
    SetMenuEnabled(mnuCompile, false);
    SetMenuEnabled(mnuCompileStop, false);
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
    SetBarMenuEnabled(mnuEditFilePosition, true);
    SetBarMenuEnabled(mnuEditOptionPosition, true);
    SetMenuEnabled(mnuCompile, true);
    SetMenuEnabled(mnuAllCheck, true);
    SetMenuEnabled(mnuNoCheck, true);
    SetMenuEnabled(mnuReversalCheck, true);
    SetBarMenuEnabled(mnuEditHelpPosition, true);
    DrawMenuBar(Hwnd());
}

void SetContainerEnabled(ui::Form& form, int frameId, bool value) {
    HWND frame = form.Control(frameId);
    if (!frame) return;
    for (HWND child = GetWindow(frame, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        EnableWindow(child, value ? TRUE : FALSE);
    }
}

void frmMain::mnuEditEnd_Click() { Unload(); }

void frmMain::mnuEditInitialize_Click() {
    const bool checked = InitializeChecked();
    CheckMenuItem(menuBar_, mnuEditInitialize, MF_BYCOMMAND | (checked ? MF_UNCHECKED : MF_CHECKED));
}

void frmMain::mnuEditTool_Click() {
    frmOption::Instance().ShowModal();
    if (mobjVBC) mobjVBC->SetVB(gstrVBExe);
}

void frmMain::txtDimension_GotFocus() {
    SetBackColor(txtDimension, kLightYellow);
    SelectAll(txtDimension);
}

void frmMain::txtDimension_LostFocus() { SetBackColor(txtDimension, GetSysColor(COLOR_WINDOW)); }

void frmMain::mnuEditUse_Click() {
    try {
        RelateExecute(FileBesideProgram(L"ReadMe.txt"));
    } catch (const VbError& e) {
        Notice(L"", e.Description());
    }
}

void frmMain::mnuEditVer_Click() {
    frmAbout& about = frmAbout::Instance();
    about.SetPreForm(*this);
    about.ShowModal();
}

std::optional<std::wstring> frmMain::Choose(const ChooserRequest& request) {
    if (chooserHook_) return chooserHook_(request);
    frmDialogBox& chooser = frmDialogBox::Instance();
    chooser.SetMode(request.mode);
    chooser.SetUser(request.user);
    if (request.mask) chooser.SetMask(*request.mask);
    chooser.SetDialogCaption(request.caption);
    chooser.ShowModal();
    if (chooser.Cancel()) return std::nullopt;
    return chooser.FullPathName();
}

void frmMain::Notice(const std::wstring& message1, const std::wstring& message2, std::uint32_t color) {
    if (noticeHook_) {
        noticeHook_(message1, message2, color);
        return;
    }
    Msg_Warning& box = Msg_Warning::Instance();
    box.SetMessage1(message1);
    box.SetMessage2(message2);
    if (color != 0) box.SetColor(color);
    box.ShowModal();
}

bool frmMain::Ask(const std::wstring& message1, const std::wstring& message2) {
    if (questionHook_) return questionHook_(message1, message2);
    Msg_YesNo& box = Msg_YesNo::Instance();
    box.SetMessage1(message1);
    box.SetMessage2(message2);
    box.ShowModal();
    return box.YesNo();
}

void frmMain::OnCommand(int id, int notifyCode) {
    switch (id) {
    case chkAll:
        if (notifyCode == BN_CLICKED) chkAll_Click();
        return;
    case cmdFolderPath:
        if (notifyCode == BN_CLICKED) cmdFolderPath_Click();
        return;
    case txtDimension:
        if (notifyCode == EN_SETFOCUS) txtDimension_GotFocus();
        if (notifyCode == EN_KILLFOCUS) txtDimension_LostFocus();
        return;
    default:
        break;
    }
    if (!CommandAvailable(id)) return;
    switch (id) {
    case mnuDelAllList: mnuDelAllList_Click(); break;
    case mnuReadList: mnuReadList_Click(); break;
    case mnuWriteList: mnuWriteList_Click(); break;
    case mnuAddList: mnuAddList_Click(); break;
    case mnuAddAllList: mnuAddAllList_Click(); break;
    case mnuDelList: mnuDelList_Click(); break;
    case mnuEditEnd: mnuEditEnd_Click(); break;
    case mnuCompile: mnuCompile_Click(); break;
    case mnuCompileStop: mnuCompileStop_Click(); break;
    case mnuAllCheck: mnuAllCheck_Click(); break;
    case mnuNoCheck: mnuNoCheck_Click(); break;
    case mnuReversalCheck: mnuReversalCheck_Click(); break;
    case mnuEditInitialize: mnuEditInitialize_Click(); break;
    case mnuEditTool: mnuEditTool_Click(); break;
    case mnuEditUse: mnuEditUse_Click(); break;
    case mnuEditVer: mnuEditVer_Click(); break;
    default: break;
    }
}

LRESULT frmMain::OnNotify(NMHDR* header) {
    if (header->idFrom != static_cast<UINT_PTR>(lstCompileList) || header->code != LVN_ITEMCHANGED) return 0;
    const auto* change = reinterpret_cast<const NMLISTVIEW*>(header);
    if ((change->uChanged & LVIF_STATE) == 0 || change->iItem < 0) return 0;
    // State image 1 is unchecked, 2 checked; 0 is an item still being inserted.
    const UINT before = (change->uOldState & LVIS_STATEIMAGEMASK) >> 12;
    const UINT after = (change->uNewState & LVIS_STATEIMAGEMASK) >> 12;
    if (before != 0 && after != 0 && before != after) lstCompileList_ItemCheck(change->iItem);
    return 0;
}

void frmMain::OnUnhandledError(const std::wstring& description) {
    // Whatever a command could not do is told in the program's own box.
    Notice(description, L"");
}

bool frmMain::PreTranslate(MSG& msg) {
    return accelerators_ && TranslateAcceleratorW(Hwnd(), accelerators_, &msg) != 0;
}

LRESULT frmMain::OnMessage(UINT message, WPARAM wParam, LPARAM /*lParam*/, bool& handled) {
    switch (message) {
    case WM_PAINT: {
        // The etched rule under the menu bar: a dark line over a white one.
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(Hwnd(), &ps);
        const int right = ui::TwipsToPixelsX(kDesignWidth);
        HPEN dark = CreatePen(PS_SOLID, 1, GetSysColor(COLOR_WINDOWTEXT));
        HPEN white = CreatePen(PS_SOLID, 1, RGB(255, 255, 255));
        HGDIOBJ old = SelectObject(dc, dark);
        MoveToEx(dc, 0, 0, nullptr);
        LineTo(dc, right, 0);
        SelectObject(dc, white);
        MoveToEx(dc, 0, ui::TwipsToPixelsY(15), nullptr);
        LineTo(dc, right, ui::TwipsToPixelsY(15));
        SelectObject(dc, old);
        DeleteObject(dark);
        DeleteObject(white);
        EndPaint(Hwnd(), &ps);
        handled = true;
        return 0;
    }
    case WM_QUERYENDSESSION:
        // The system's close goes through the same question as any other.
        handled = true;
        closeAgreed_ = Form_QueryUnload();
        return closeAgreed_ ? TRUE : FALSE;
    case WM_ENDSESSION:
        handled = true;
        if (wParam && closeAgreed_) Unload();
        if (!wParam) closeAgreed_ = false;
        return 0;
    default:
        return 0;
    }
}

}  // namespace tolvane
