#include "ui/dialogs/frmOption.h"

#include "engine/win32/TolvaneIni.h"
#include "support/DataChange.h"
#include "support/win32/Files.h"
#include "ui/core/WindowPlacement.h"
#include "ui/core/Globals.h"
#include "ui/dialogs/MessageBoxes.h"
#include "ui/dialogs/SettingsDialog.h"
#include "ui/chooser/frmDialogBox.h"

namespace tolvane {
namespace {

using namespace settings_dialog;

void Warn(const std::wstring& message, std::uint32_t color = 0) { ShowWarning(L"", message, color); }

}  // namespace

frmOption& frmOption::Instance() {
    static frmOption instance;
    return instance;
}

ui::FormStyle frmOption::Style() const {
    // The outer size is set at load; this is near the client area it leaves.
    return ToolWindow(L"ｵﾌﾟｼｮﾝ", 5430, 1935);
}

std::vector<ui::ControlSpec> frmOption::Layout() const {
    using ui::ControlKind;
    // The frame and its contents come first: the tab order runs txtEXE,
    // cmdExe, cmdGo, cmdCancel.
    return {
        {Frame1, ControlKind::Frame, 0, 90, 690, 5265, 1125},
        FrameTitle(Label4, Frame1),
        FrameLabel(Label6, Frame1, 240, 300, 825, L"VB*.EXE："),
        {txtEXE, ControlKind::TextBox, Frame1, 1095, 585, 3330, 270},
        {cmdExe, ControlKind::Button, Frame1, 4485, 585, 555, 285, L"参照"},
        {cmdGo, ControlKind::Button, 0, 150, 135, 1500, 435, L"設定"},
        {cmdCancel, ControlKind::Button, 0, 1710, 135, 1500, 435, L"終了"},
    };
}

void frmOption::OnLoad() {
    Resize(5520, 2280);
    SetControlTop(Frame1, 690);
    SetControlLeft(Frame1, 90);
    // The substitute face can be wider than the one the labels were drawn
    // for; a label never cuts its text (there is room to its right).
    for (int id : {Label4, Label6}) {
        const int needed = TextWidth(id, Text(id)) + 15;
        const RECT r = ControlRect(id);
        if (needed > r.right - r.left) SetControlWidth(id, needed);
    }
    // " 設定 " is the frame's caption: the line runs through its middle, and
    // the label's own background breaks it there.
    const RECT title = ControlRect(Label4);
    SetFrameLineTop(Frame1, (title.top + title.bottom) / 2);
    ClearPath();
    SetText(txtEXE, ReadSetting(settings::kCompilerPath));
    CenterForm(Hwnd());
    SetFocus(txtEXE);
}

void frmOption::OnButtonClicked(int id) {
    switch (id) {
    case cmdGo: cmdGo_Click(); break;
    case cmdCancel: cmdCancel_Click(); break;
    case cmdExe: cmdExe_Click(); break;
    default: break;
    }
}

void frmOption::OnCommand(int id, int notifyCode) {
    switch (id) {
    case IDOK: {
        // Enter presses the button that has the focus, and nothing else.
        HWND focus = GetFocus();
        const int focused = focus && IsChild(Hwnd(), focus) ? GetDlgCtrlID(focus) : 0;
        OnButtonClicked(focused);
        break;
    }
    case IDCANCEL: cmdCancel_Click(); break;
    case txtEXE: if (notifyCode == EN_SETFOCUS) txtEXE_GotFocus(); break;
    default: break;
    }
}

// The chooser and the settings routines report in the program's own box.
void frmOption::OnUnhandledError(const std::wstring& description) { Warn(description); }

void frmOption::cmdExe_Click() {
    const auto path = frmDialogBox::Instance().Choose(
        {chooser::ChooserMode::ExistingFile, L"VB_EXE", std::wstring(L"VB*.EXE"), L"VB*.EXE選択"});
    // A cancel empties the box.
    SetText(txtEXE, path.value_or(std::wstring()));
}

void frmOption::cmdGo_Click() {
    TrimPath();
    gstrVBExe = Text(txtEXE);
    if (!FileExists(gstrVBExe)) {
        Warn(L"VB.EXEのパスが間違っています");
        return;
    }
    if (!WriteSetting(settings::kCompilerPath, gstrVBExe).Failed())
        Warn(L"設定しました", kNavy);
    else
        Warn(L"Tolvane.iniに書き込めませんでした");
}

void frmOption::cmdCancel_Click() { Unload(); }

void frmOption::txtEXE_GotFocus() { SelectAll(txtEXE); }

void frmOption::ClearPath() { SetText(txtEXE, L""); }

void frmOption::TrimPath() { SetText(txtEXE, NormalizeText(Text(txtEXE))); }

}  // namespace tolvane
