#include "ui/dialogs/frmCompileOption.h"

#include "support/TimeLimit.h"
#include "engine/ProjectStamp.h"
#include "engine/win32/TolvaneIni.h"
#include "support/Paths.h"
#include "ui/core/WindowPlacement.h"
#include "ui/dialogs/MessageBoxes.h"
#include "ui/dialogs/SettingsDialog.h"

namespace tolvane {
using namespace settings_dialog;

frmCompileOption& frmCompileOption::Instance() {
    static frmCompileOption instance;
    return instance;
}

ui::FormStyle frmCompileOption::Style() const {
    return ToolWindow(L"ｺﾝﾊﾟｲﾙ設定", 5430, 3375);
}

std::vector<ui::ControlSpec> frmCompileOption::Layout() const {
    using ui::ControlKind;
    return {
        {Frame1, ControlKind::Frame, 0, 90, 690, 5265, 2565},
        FrameTitle(Label4, Frame1),
        {chkOrder, ControlKind::CheckBox, Frame1, 240, 285, 4900, 285, L"参照順にｺﾝﾊﾟｲﾙする"},
        {chkSkip, ControlKind::CheckBox, Frame1, 240, 630, 4900, 285, L"更新されていないﾌﾟﾛｼﾞｪｸﾄはｽｷｯﾌﾟする"},
        FrameLabel(lblParallel, Frame1, 240, 1020, 1800, L"同時ｺﾝﾊﾟｲﾙ数："),
        {cboParallel, ControlKind::DropDown, Frame1, 2100, 975, 735, 300},
        FrameLabel(lblTimeLimit, Frame1, 240, 1410, 1800, L"制限時間(分)："),
        {txtTimeLimit, ControlKind::TextBox, Frame1, 2100, 1365, 735, 270},
        FrameLabel(lblTimeLimitNote, Frame1, 2925, 1410, 2250, L"0は制限なし"),
        {chkCompilerLog, ControlKind::CheckBox, Frame1, 240, 1770, 4900, 285, L"ｺﾝﾊﾟｲﾗのﾛｸﾞを読む"},
        FrameLabel(lblVersion, Frame1, 240, 2175, 1800, L"ﾊﾞｰｼﾞｮﾝ："),
        {txtVersion, ControlKind::TextBox, Frame1, 2100, 2130, 1500, 270},
        FrameLabel(lblVersionNote, Frame1, 3690, 2175, 1485, L"空欄は変更なし"),
        {cmdGo, ControlKind::Button, 0, 150, 135, 1500, 435, L"設定"},
        {cmdCancel, ControlKind::Button, 0, 1710, 135, 1500, 435, L"終了"},
    };
}

void frmCompileOption::OnLoad() {
    Resize(5520, 3720);
    SetChecked(chkOrder, ReadSetting(settings::kOrder));
    SetChecked(chkSkip, ReadSetting(settings::kSkip));
    SetChecked(chkCompilerLog, ReadSetting(settings::kCompilerLog));
    HWND parallel = Control(cboParallel);
    SendMessageW(parallel, CB_RESETCONTENT, 0, 0);
    for (int n = 1; n <= kMaxParallel; ++n) {
        SendMessageW(parallel, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(std::to_wstring(n).c_str()));
    }
    SendMessageW(parallel, CB_SETCURSEL, static_cast<WPARAM>(ReadSetting(settings::kParallel) - 1), 0);
    // The limit is shown as stored, so that a value edited by hand can be corrected here.
    SetText(txtTimeLimit, EditedIniText(settings::kTimeLimit.key));
    SetText(txtVersion, ReadSetting(settings::kVersion));
    CenterForm(Hwnd());
    SetFocus(chkOrder);
}

void frmCompileOption::OnButtonClicked(int id) {
    if (id == cmdGo) cmdGo_Click();
    if (id == cmdCancel) cmdCancel_Click();
}

void frmCompileOption::OnCommand(int id, int notifyCode) {
    switch (id) {
    case IDCANCEL: cmdCancel_Click(); break;
    case txtTimeLimit: if (notifyCode == EN_SETFOCUS) SelectAll(txtTimeLimit); break;
    case txtVersion: if (notifyCode == EN_SETFOCUS) SelectAll(txtVersion); break;
    default: break;
    }
}

void frmCompileOption::OnUnhandledError(const std::wstring& description) { ShowWarning(L"", description); }

void frmCompileOption::cmdGo_Click() {
    const auto limit = ParseTimeLimit(Text(txtTimeLimit));
    if (!limit) {
        ShowWarning(L"", L"制限時間は0から" + std::to_wstring(kMaxTimeLimit.count()) + L"までの分で指定してください");
        SetFocus(txtTimeLimit);
        return;
    }
    // Checked as the console checks /version; empty keeps the projects' own.
    const std::wstring version = TrimSpaces(Text(txtVersion));
    if (!version.empty() && !ParseVersion(version)) {
        ShowWarning(L"ﾊﾞｰｼﾞｮﾝが正しくありません", kVersionRule);
        SetFocus(txtVersion);
        return;
    }
    const int parallel = static_cast<int>(SendMessageW(Control(cboParallel), CB_GETCURSEL, 0, 0)) + 1;
    // The planner's three keys are all tried; the others stop at the first failure.
    bool written = !WriteSetting(settings::kOrder, IsChecked(chkOrder)).Failed();
    written = !WriteSetting(settings::kSkip, IsChecked(chkSkip)).Failed() && written;
    written = !WriteSetting(settings::kParallel, parallel).Failed() && written;
    written = written && !WriteSetting(settings::kTimeLimit, *limit).Failed() &&
              !WriteSetting(settings::kCompilerLog, IsChecked(chkCompilerLog)).Failed() &&
              !WriteSetting(settings::kVersion, version).Failed();
    if (written)
        ShowWarning(L"", L"設定しました", kNavy);
    else
        ShowWarning(L"", L"Tolvane.iniに書き込めませんでした");
}

void frmCompileOption::cmdCancel_Click() { Unload(); }

}  // namespace tolvane
