#include "ui/dialogs/frmCompileOption.h"

#include "engine/win32/PlanSettings.h"
#include "support/Paths.h"
#include "support/win32/Files.h"
#include "support/win32/IniControl.h"
#include "support/win32/WindowPlacement.h"
#include "ui/dialogs/MessageBoxes.h"

namespace tolvane {
namespace {

const ui::FontSpec kLabelFont{L"ＭＳ ゴシック", 98, false};  // 9.75 point
const ui::FontSpec kTitleFont{L"ＭＳ ゴシック", 98, true};

std::wstring SettingsFile() { return FileBesideProgram(L"Tolvane.ini"); }

// Minutes as the settings keep them: a whole number, 0 for no limit.
constexpr int kMaxTimeLimit = 9999;
constexpr const wchar_t* kDefaultTimeLimit = L"30";

bool ValidTimeLimit(const std::wstring& text) {
    return !text.empty() && text.size() <= 4 && text.find_first_not_of(L"0123456789") == std::wstring::npos;
}

}  // namespace

frmCompileOption& frmCompileOption::Instance() {
    static frmCompileOption instance;
    return instance;
}

ui::FormStyle frmCompileOption::Style() const {
    ui::FormStyle s;
    s.style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
    s.exStyle = WS_EX_TOOLWINDOW | WS_EX_CONTROLPARENT;
    s.caption = L"ｺﾝﾊﾟｲﾙ設定";
    s.clientWidth = 5430;
    s.clientHeight = 2655;
    return s;
}

std::vector<ui::ControlSpec> frmCompileOption::Layout() const {
    using ui::ControlKind;
    ui::ControlSpec title{Label4, ControlKind::Label, Frame1, 30, 15, 570, 195, L" 設定 "};
    title.font = &kTitleFont;
    title.style = SS_LEFTNOWORDWRAP;
    std::vector<ui::ControlSpec> specs{
        {Frame1, ControlKind::Frame, 0, 90, 690, 5265, 1845},
        title,
        {chkOrder, ControlKind::CheckBox, Frame1, 240, 285, 4900, 285, L"参照順にｺﾝﾊﾟｲﾙする"},
        {chkSkip, ControlKind::CheckBox, Frame1, 240, 630, 4900, 285, L"更新されていないﾌﾟﾛｼﾞｪｸﾄはｽｷｯﾌﾟする"},
        {lblParallel, ControlKind::Label, Frame1, 240, 1020, 1800, 195, L"同時ｺﾝﾊﾟｲﾙ数："},
        {cboParallel, ControlKind::DropDown, Frame1, 2100, 975, 735, 300},
        {lblTimeLimit, ControlKind::Label, Frame1, 240, 1410, 1800, 195, L"制限時間(分)："},
        {txtTimeLimit, ControlKind::TextBox, Frame1, 2100, 1365, 735, 270},
        {lblTimeLimitNote, ControlKind::Label, Frame1, 2925, 1410, 2250, 195, L"0は制限なし"},
        {cmdGo, ControlKind::Button, 0, 150, 135, 1500, 435, L"設定"},
        {cmdCancel, ControlKind::Button, 0, 1710, 135, 1500, 435, L"終了"},
    };
    for (auto& spec : specs) {
        if (spec.kind == ControlKind::Label && spec.id != Label4) {
            spec.font = &kLabelFont;
            spec.style = SS_LEFTNOWORDWRAP;
        }
    }
    return specs;
}

void frmCompileOption::OnLoad() {
    Resize(5520, 3000);
    const PlanOptions options = ReadPlanOptions(SettingsFile());
    SetChecked(chkOrder, options.order);
    SetChecked(chkSkip, options.skip);
    HWND parallel = Control(cboParallel);
    SendMessageW(parallel, CB_RESETCONTENT, 0, 0);
    for (int n = 1; n <= kMaxParallel; ++n) {
        SendMessageW(parallel, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(std::to_wstring(n).c_str()));
    }
    SendMessageW(parallel, CB_SETCURSEL, static_cast<WPARAM>(options.parallel - 1), 0);
    const std::wstring limit = TrimSpaces(GetIniString(SettingsFile(), L"COMMON", L"TimeLimit"));
    SetText(txtTimeLimit, limit.empty() ? kDefaultTimeLimit : limit);
    CenterForm(Hwnd());
    SetFocus(chkOrder);
}

void frmCompileOption::OnCommand(int id, int notifyCode) {
    switch (id) {
    case IDCANCEL: cmdCancel_Click(); break;
    case cmdGo: if (notifyCode == BN_CLICKED) cmdGo_Click(); break;
    case cmdCancel: if (notifyCode == BN_CLICKED) cmdCancel_Click(); break;
    case txtTimeLimit: if (notifyCode == EN_SETFOCUS) SelectAll(txtTimeLimit); break;
    default: break;
    }
}

void frmCompileOption::OnUnhandledError(const std::wstring& description) { ShowWarning(L"", description); }

void frmCompileOption::cmdGo_Click() {
    const std::wstring limit = TrimSpaces(Text(txtTimeLimit));
    if (!ValidTimeLimit(limit)) {
        ShowWarning(L"", L"制限時間は0から" + std::to_wstring(kMaxTimeLimit) + L"までの分で指定してください");
        SetFocus(txtTimeLimit);
        return;
    }
    PlanOptions options;
    options.order = Checked(chkOrder);
    options.skip = Checked(chkSkip);
    options.parallel = static_cast<int>(SendMessageW(Control(cboParallel), CB_GETCURSEL, 0, 0)) + 1;
    const bool written = WritePlanOptions(SettingsFile(), options) &&
                         PutIniString(SettingsFile(), L"COMMON", L"TimeLimit", std::to_wstring(std::stoi(limit)));
    if (written)
        ShowWarning(L"", L"設定しました", kNavy);
    else
        ShowWarning(L"", L"Tolvane.iniに書き込めませんでした");
}

void frmCompileOption::cmdCancel_Click() { Unload(); }

bool frmCompileOption::Checked(int id) const { return SendMessageW(Control(id), BM_GETCHECK, 0, 0) == BST_CHECKED; }

void frmCompileOption::SetChecked(int id, bool checked) {
    SendMessageW(Control(id), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

}  // namespace tolvane
