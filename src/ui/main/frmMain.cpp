// The main window's layout, menus, start and end, and the locking around a run.
#include "ui/main/frmMain.h"

#include <commctrl.h>

#include <algorithm>
#include <chrono>

#include "engine/win32/TolvaneIni.h"
#include "engine/win32/Win32RunPlatform.h"
#include "support/Paths.h"
#include "support/TimeLimit.h"
#include "support/VbError.h"
#include "support/win32/Files.h"
#include "support/win32/IniControl.h"
#include "support/win32/RelateExecute.h"
#include "ui/core/WindowPlacement.h"
#include "ui/core/Colors.h"
#include "ui/core/Globals.h"
#include "ui/core/Twips.h"
#include "ui/dialogs/MessageBoxes.h"
#include "ui/dialogs/frmCompileOption.h"
#include "ui/dialogs/frmOption.h"
#include "ui/main/MainIds.h"
#include "ui/dialogs/frmAbout.h"

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
    s.dialogOwner = true;
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
    // Over both counters while a folder tree is searched.
    ui::ControlSpec search{lblSearch, ControlKind::Label, Frame2, 7170, 15, 2655, 285};
    search.font = &kBoldFont;
    search.textColor = kNavy;
    layout.push_back(search);
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

    BuildMenus();
    FitToContents();
    CutLogOutOfActionFrame();
    UseClassicLook(Control(chkAll));
    // The log only grows while the program runs; the edit's default limit would cut it.
    SendMessageW(Control(txtCompileList), EM_SETLIMITTEXT, 0, 0);

    SetText(txtCompileList, L"");
    SetText(lblFailureCount, L"");
    SetText(lblCount, L"0/0");
    SetVisible(lblSearch, false);
    // Two projects of the same file name are told apart by the full path.
    HWND list = Control(lstCompileList);
    ListView_SetExtendedListViewStyle(list, ListView_GetExtendedListViewStyle(list) | LVS_EX_INFOTIP);

    // Taken for a first start, a settings file that cannot be read would be
    // offered for overwriting as if it were empty: say why and end instead.
    if (const PlatformResult readable = CheckIniReadable(TolvaneIniPath()); readable.Failed()) {
        Notice(TolvaneIniPath() + L"を読み込めませんでした", readable.Text());
        EndProgram();
        return;
    }
    gstrVBExe = ReadSetting(settings::kCompilerPath);
    if (IsBlank(gstrVBExe)) frmOption::Instance().ShowModal();
    if (IsBlank(gstrVBExe)) {
        EndProgram();
        return;
    }

    platform_ = std::make_unique<Win32RunPlatform>();
    mobjVBC = std::make_unique<clsTolvane>(*platform_);
    mobjVBC->SetExecutionStartHandler([this](const ExecutionEvent& e) { mobjVBC_ExecutionStart(e); });
    mobjVBC->SetExecutionStopHandler([this](const ExecutionEvent& e) { mobjVBC_ExecutionStop(e); });
    mobjVBC->SetExecutionSkipHandler([this](const ExecutionEvent& e) { mobjVBC_ExecutionSkip(e); });
    mobjVBC->SetVB(gstrVBExe);
    mobjVBC->SetStamper(&stampStore_);
    ApplyRunSettings();
    // A program ended in the middle of a build left its project stamped.
    for (const auto& note : GiveBackLeftovers()) AppendLog(note + L"\r\n");

    mstrPrevList = ReadSetting(settings::kPreviousList);
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
    if (mblnSearching) {
        // Closing asks the search to stop; the window stays for the user to see it did.
        searchCancelled_ = true;
        return false;
    }
    if (mblnListChanged) {
        if (Ask(L"ｺﾝﾊﾟｲﾙﾘｽﾄが変更されています", L"保存しますか？")) {
            // A save that failed or was cancelled keeps the window: the user
            // asked for the list to be kept.
            if (SaveCompileList() != SaveResult::Saved) return false;
            mblnListChanged = false;
        }
    }
    return true;
}

void frmMain::Form_Unload() {
    if (const PlatformResult written = WriteSetting(settings::kPreviousList, InitializeChecked() ? mstrPrevList : std::wstring());
        written.Failed()) {
        Notice(TolvaneIniPath() + L"に書き込めませんでした", written.Text());
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

void frmMain::mnuEditEnd_Click() { Unload(); }

void frmMain::mnuEditInitialize_Click() {
    const bool checked = InitializeChecked();
    CheckMenuItem(menuBar_, mnuEditInitialize, MF_BYCOMMAND | (checked ? MF_UNCHECKED : MF_CHECKED));
}

void frmMain::mnuEditTool_Click() {
    frmOption::Instance().ShowModal();
    if (mobjVBC) mobjVBC->SetVB(gstrVBExe);
}

void frmMain::mnuCompileOption_Click() {
    frmCompileOption::Instance().ShowModal();
    ApplyRunSettings();
}

// The time limit, the planner's options and the compiler log, as Tolvane.ini keeps them now.
void frmMain::ApplyRunSettings() {
    // A value that is no number of minutes counts as the default.
    mobjVBC->SetTimeLimit(ReadSetting(settings::kTimeLimit).value_or(kDefaultTimeLimit));
    mobjVBC->SetPlanning(ReadPlanOptions(), &stampedFiles_);
    mobjVBC->SetBuildTimes(&buildTimes_);
    mobjVBC->SetCompilerLog(ReadSetting(settings::kCompilerLog));
}

// The version for the run, as Tolvane.ini keeps it now; a value edited there
// by hand that the console would refuse ends the run before it starts.
void frmMain::ApplyVersion() {
    const std::wstring version = ReadSetting(settings::kVersion);
    const RunSettings run = CombineSettings(version, {});
    if (!run.error.empty()) throw TolvaneError(L"frmMain", TolvaneIniPath() + L"のVersionが正しくありません: " + kVersionRule);
    stampStore_.SetSettings(run.settings);
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

void frmMain::Notice(const std::wstring& message1, const std::wstring& message2, std::uint32_t color) {
    Msg_Warning& box = Msg_Warning::Instance();
    box.SetMessage1(message1);
    box.SetMessage2(message2);
    if (color != 0) box.SetColor(color);
    box.ShowModal();
}

bool frmMain::Ask(const std::wstring& message1, const std::wstring& message2) {
    Msg_YesNo& box = Msg_YesNo::Instance();
    box.SetMessage1(message1);
    box.SetMessage2(message2);
    box.ShowModal();
    return box.YesNo();
}

void frmMain::OnButtonClicked(int id) {
    if (id == chkAll) chkAll_Click();
    if (id == cmdFolderPath) cmdFolderPath_Click();
}

void frmMain::OnCommand(int id, int notifyCode) {
    switch (id) {
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
    case mnuAddGroup: mnuAddGroup_Click(); break;
    case mnuDelList: mnuDelList_Click(); break;
    case mnuEditEnd: mnuEditEnd_Click(); break;
    case mnuCompile: mnuCompile_Click(); break;
    case mnuCompileStop: mnuCompileStop_Click(); break;
    case mnuCompilePlan: mnuCompilePlan_Click(); break;
    case mnuAllCheck: mnuAllCheck_Click(); break;
    case mnuNoCheck: mnuNoCheck_Click(); break;
    case mnuReversalCheck: mnuReversalCheck_Click(); break;
    case mnuEditInitialize: mnuEditInitialize_Click(); break;
    case mnuEditTool: mnuEditTool_Click(); break;
    case mnuCompileOption: mnuCompileOption_Click(); break;
    case mnuEditUse: mnuEditUse_Click(); break;
    case mnuEditVer: mnuEditVer_Click(); break;
    default: break;
    }
}

LRESULT frmMain::OnNotify(NMHDR* header) {
    if (header->idFrom != static_cast<UINT_PTR>(lstCompileList)) return 0;
    if (header->code == NM_CUSTOMDRAW) return lstCompileList_CustomDraw(reinterpret_cast<NMLVCUSTOMDRAW*>(header));
    if (header->code == LVN_GETINFOTIPW) {
        auto* tip = reinterpret_cast<NMLVGETINFOTIPW*>(header);
        if (mobjVBC && tip->iItem >= 0 && tip->iItem < mobjVBC->Count() && tip->cchTextMax > 0)
            lstrcpynW(tip->pszText, mobjVBC->Entry(tip->iItem + 1).Vbp().c_str(), tip->cchTextMax);
        return 0;
    }
    switch (header->code) {
    case LVN_GETDISPINFOW:
        lstCompileList_GetDispInfo(reinterpret_cast<NMLVDISPINFOW*>(header));
        return 0;
    case NM_CLICK: {
        LVHITTESTINFO hit{};
        hit.pt = reinterpret_cast<NMITEMACTIVATE*>(header)->ptAction;
        if (ListView_SubItemHitTest(header->hwndFrom, &hit) >= 0 && (hit.flags & LVHT_ONITEMSTATEICON))
            lstCompileList_Toggle(hit.iItem);
        return 0;
    }
    case LVN_KEYDOWN:
        if (reinterpret_cast<NMLVKEYDOWN*>(header)->wVKey == VK_SPACE)
            lstCompileList_Toggle(ListView_GetNextItem(header->hwndFrom, -1, LVNI_FOCUSED));
        return 0;
    case LVN_ITEMCHANGED: {
        // A mark set through the list itself (by another program, say) is recorded too.
        const auto* change = reinterpret_cast<const NMLISTVIEW*>(header);
        if ((change->uChanged & LVIF_STATE) == 0 || change->iItem < 0) return 0;
        if ((change->uNewState ^ change->uOldState) & LVIS_STATEIMAGEMASK) {
            const UINT after = (change->uNewState & LVIS_STATEIMAGEMASK) >> 12;
            if (after == 1 || after == 2) SetItemChecked(change->iItem, after == 2);
        }
        return 0;
    }
    default:
        return 0;
    }
}

void frmMain::OnUnhandledError(const std::wstring& description) {
    // Whatever a command could not do is told in the program's own box.
    Notice(description, L"");
}

bool frmMain::PreTranslate(MSG& msg) {
    if (mblnSearching && msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE) {
        searchCancelled_ = true;
        return true;
    }
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
