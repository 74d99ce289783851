// The chooser's confirmation, cancel and shortcut buttons, and the boxes it shows.
#include "ui/chooser/frmDialogBox.h"

#include "support/Paths.h"
#include "support/VbError.h"
#include "support/win32/Files.h"
#include "support/win32/Make.h"
#include "ui/dialogs/MessageBoxes.h"
#include "ui/chooser/SpecialFolder.h"
#include "ui/chooser/rules/ChooserRules.h"

namespace tolvane {
namespace {

bool FolderExists(const std::wstring& path) {
    const UINT oldMode = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    const DWORD attributes = GetFileAttributesW(path.c_str());
    SetErrorMode(oldMode);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

// Confirmation, cancel and shortcuts.

void frmDialogBox::cmdOK_Click() {
    if (IsVisible(fraDir)) {
        const std::wstring name = Text(txtDir);
        const std::wstring problem = chooser::NewFolderNameProblem(name);
        if (!problem.empty()) {
            Warn(TrimSpaces(name).empty() ? L"" : L"「" + name + L"」を作成出来ませんでした", problem);
            return;
        }
        if (!CreateFolderFor(chooser::NewFolderPath(files_.Path(), name), name)) return;
        ClosePanel();
        // The new folder shows under the current one.
        GoToFolder(folders_.Path());
        if (IsLoaded()) Form_Resize();
        return;
    }

    const bool folder = mode_ == chooser::ChooserMode::Folder;
    const chooser::OkStep step = chooser::DecideOk(
        mode_, files_.Path(), Text(txtFileName), mask_,
        [folder](const std::wstring& p) { return folder ? FolderExists(p) : FileExists(p); });
    SetText(lblFullPath, step.triedPath);
    switch (step.action) {
    case chooser::OkAction::Warn:
        Warn(step.message1, step.message2);
        return;
    case chooser::OkAction::AskOverwrite:
        if (!Ask(step.message1, step.message2)) return;
        break;
    case chooser::OkAction::AskCreate:
        if (!Ask(step.message1, step.message2)) return;
        if (!CreateFolderFor(GetFolderPath(step.path), step.path)) return;
        break;
    case chooser::OkAction::Accept:
        break;
    }
    Accept(step.path);
}

bool frmDialogBox::CreateFolderFor(const std::wstring& folder, const std::wstring& shownName) {
    try {
        MakeFolders(folder);
        return true;
    } catch (const VbError& e) {
        Warn(L"「" + shownName + L"」を作成出来ませんでした", ReasonText(e.Number()));
        return false;
    }
}

void frmDialogBox::Accept(const std::wstring& path) {
    cancel_ = false;
    fullPathName_ = path;
    Unload();
}

void frmDialogBox::cmdCancel_Click() {
    if (mblnNewFolder) {
        ClosePanel();
        return;
    }
    Unload();
}

void frmDialogBox::ClosePanel() {
    for (int id : {Drive1, Dir1, File1, fraLink, txtFileName, cmdCancel}) SetVisible(id, true);
    SetVisible(fraDir, false);
    mblnNewFolder = false;
    if (mode_ == chooser::ChooserMode::Folder) {
        SetVisible(File1, false);
        SetVisible(txtFileName, false);
        GiveListsFolderModeWidths();
    }
    MoveFocusOffHiddenControl();
    Form_Resize();
}

void frmDialogBox::MoveFocusOffHiddenControl() {
    HWND focus = GetFocus();
    if (focus && IsChild(Hwnd(), focus) && !IsWindowVisible(focus)) SetFocus(Dir1);
}

void frmDialogBox::cmdShortCut_Click(int index) {
    switch (index) {
    case 0:
    case 1: {
        std::wstring p;
        try {
            p = SpecialFolder(index == 0 ? 0 : 2);
        } catch (const VbError& e) {
            Warn(L"「" + std::wstring(ShortcutTip(index)) + L"」を開けませんでした", ReasonText(e.Number()));
            break;
        }
        if (p.empty() || p.back() != L'\\') p += L'\\';
        // Drive and folder follow together, or nothing moves.
        GoToFolder(GetFolderPath(p));
        break;
    }
    case 4: {
        mblnNewFolder = true;
        for (int id : {Drive1, Dir1, File1, fraLink, txtFileName}) SetVisible(id, false);
        SetVisible(cmdCancel, true);
        SetVisible(fraDir, true);
        const RECT panel = ControlRect(fraDir);
        SetControlLeft(fraDir, (DesignWidth() - (panel.right - panel.left)) / 2);
        SetControlTop(fraDir, (DesignHeight() - (panel.bottom - panel.top)) / 2 - 500);
        SetFocus(txtDir);
        break;
    }
    default:
        break;
    }
    if (IsLoaded()) Form_Resize();
}

// Message boxes.

void frmDialogBox::Warn(const std::wstring& message1, const std::wstring& message2) {
    Msg_Warning& box = Msg_Warning::Instance();
    box.SetTimerSet(0);  // the chooser's boxes wait for the user
    box.SetMessage1(message1);
    box.SetMessage2(message2);
    box.ShowModal();
}

bool frmDialogBox::Ask(const std::wstring& message1, const std::wstring& message2) {
    Msg_YesNo& box = Msg_YesNo::Instance();
    box.SetTimerSet(0);
    box.SetMessage1(message1);
    box.SetMessage2(message2);
    box.ShowModal();
    return box.YesNo();
}

std::wstring frmDialogBox::ReasonText(std::int32_t number) {
    // Platform codes, and HRESULTs that wrap them, have the system's own words.
    DWORD code = static_cast<DWORD>(number);
    if (HRESULT_FACILITY(code) == FACILITY_WIN32 && (code & 0x80000000u)) code = HRESULT_CODE(code);
    return LastErrorText(code);
}

}  // namespace tolvane
