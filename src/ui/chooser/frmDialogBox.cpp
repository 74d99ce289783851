#include "ui/chooser/frmDialogBox.h"

#include <commctrl.h>

#include "support/Paths.h"
#include "support/VbError.h"
#include "support/win32/DoEvents.h"
#include "support/win32/Files.h"
#include "support/win32/IniControl.h"
#include "support/win32/Make.h"
#include "ui/core/WindowPlacement.h"
#include "ui/core/Colors.h"
#include "ui/core/Twips.h"
#include "ui/dialogs/MessageBoxes.h"
#include "ui/chooser/SpecialFolder.h"
#include "ui/chooser/rules/ChooserRules.h"

namespace tolvane {
namespace {

// Double-clicks act once the list has finished with its own click.
constexpr UINT kFileDoubleClicked = WM_APP + 1;
constexpr UINT kFolderOpened = WM_APP + 2;
// The focus move a synthesised Tab would make, for a dialog not in front.
constexpr UINT kMoveFocus = WM_APP + 3;

std::wstring DialogBoxIniPath() { return FileBesideProgram(L"DialogBox.ini"); }

std::wstring CurrentFolder() {
    wchar_t buffer[MAX_PATH + 1];
    const DWORD length = GetCurrentDirectoryW(MAX_PATH + 1, buffer);
    return length == 0 || length > MAX_PATH ? std::wstring() : std::wstring(buffer, length);
}

}  // namespace

frmDialogBox& frmDialogBox::Instance() {
    static frmDialogBox instance;
    return instance;
}

// The mode and the user are in place before the window loads: the load
// step refuses a request without a mode and starts from the user's place.
std::optional<std::wstring> frmDialogBox::Choose(const chooser::ChooserRequest& request) {
    mode_ = request.mode;
    user_ = request.user;
    if (request.mask) SetMask(*request.mask);
    Load();
    SetCaption(request.caption);
    ShowModal();
    if (cancel_) return std::nullopt;
    return fullPathName_;
}

void frmDialogBox::SetMask(const std::wstring& mask) {
    mask_ = mask;
    Load();
    files_.SetPattern(mask_);
}

// The window.

// Load and unload.

void frmDialogBox::OnLoad() {
    mblnNewFolder = false;
    if (mode_ == chooser::ChooserMode::None) {
        // The window must not outlive the refusal.
        refusingLoad_ = true;
        Unload();
        refusingLoad_ = false;
        throw TolvaneError(L"frmDialogBox", L"Modeが指定されていません");
    }
    loadSizing_ = true;

    drives_.Attach(Control(Drive1));
    folders_.Attach(Control(Dir1));
    files_.Attach(Control(File1));
    shownDrive_.clear();
    SetVisible(fraDir, false);
    SetVisible(cmdShortCut0 + 2, false);
    SetVisible(cmdShortCut0 + 3, false);
    RECT caption = ControlRect(Label1);
    MoveControl(Label1, caption.left, caption.top, TextWidth(Label1, Text(Label1)) + 30, caption.bottom - caption.top);

    CreateShortcutPictures();
    HWND tips = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                                CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, Hwnd(), nullptr,
                                GetModuleHandleW(nullptr), nullptr);
    const int pictureOf[] = {0, 1, -1, -1, 2};
    for (int i = 0; i < 5; ++i) {
        HWND button = Control(cmdShortCut0 + i);
        if (pictureOf[i] >= 0)
            SendMessageW(button, BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(pictures_[pictureOf[i]]));
        if (tips && ShortcutTip(i)[0]) {
            TOOLINFOW info{};
            info.cbSize = TTTOOLINFOW_V2_SIZE;
            info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
            info.hwnd = Hwnd();
            info.uId = reinterpret_cast<UINT_PTR>(button);
            info.lpszText = const_cast<wchar_t*>(ShortcutTip(i));
            SendMessageW(tips, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
        }
    }

    // The lists start where the process stands.
    drives_.Fill();
    files_.Show(std::wstring(), mask_, {});
    for (const std::wstring& start : {CurrentFolder(), ProgramFolder()}) {
        try {
            SetFolder(start);
            break;
        } catch (const VbError&) {
            // Try the next place.
        }
    }

    SizeForLoad();
    loadSizing_ = false;
    cancel_ = true;
    if (mode_ == chooser::ChooserMode::Folder) {
        SetVisible(File1, false);
        SetVisible(txtFileName, false);
        GiveListsFolderModeWidths();
    }
    CenterForm(Hwnd());

    // Each listing may take a while on a slow drive.
    ServeSentMessages();
    if (TrimSpaces(user_).empty()) user_ = L"USER";
    fullPathName_ = GetIniString(DialogBoxIniPath(), L"COMMON", SettingsKey());
    if (!TrimSpaces(fullPathName_).empty()) {
        // A remembered place that has gone is simply not used.
        try {
            SetDrive(GetDriveRoot(fullPathName_));
        } catch (const VbError&) {
        }
        try {
            SetFolder(GetFolderPath(fullPathName_));
        } catch (const VbError&) {
        }
        SetText(txtFileName, GetFileName(fullPathName_));
    }
    // A remembered name of blanks only is not offered.
    if (TrimSpaces(Text(txtFileName)).empty()) SetText(txtFileName, std::wstring());
    try {
        files_.SetPattern(mask_);
    } catch (const VbError&) {
        // The folder was readable a moment ago; the list keeps what it showed.
    }
    ShowPathLabel();
}

void frmDialogBox::OnUnload() {
    if (refusingLoad_) return;
    if (cancel_) {
        fullPathName_.clear();
    } else {
        try {
            PutIniString(DialogBoxIniPath(), L"COMMON", SettingsKey(), GetFolderPath(fullPathName_));
        } catch (const VbError&) {
            // Remembering the place is a convenience; the choice itself stands.
        }
    }
    mode_ = chooser::ChooserMode::None;
    mask_ = L"*.*";
    user_ = L"USER";
    mblnNewFolder = false;
}

std::wstring frmDialogBox::SettingsKey() const { return L"PREV_" + user_; }

// Messages of the window.

void frmDialogBox::OnButtonClicked(int id) {
    if (id >= cmdShortCut0 && id <= cmdShortCut0 + 4) cmdShortCut_Click(id - cmdShortCut0);
    if (id == cmdOK) cmdOK_Click();
    if (id == cmdCancel) cmdCancel_Click();
}

void frmDialogBox::OnCommand(int id, int notifyCode) {
    switch (id) {
    case txtFileName:
    case txtDir:
        if (notifyCode == EN_SETFOCUS) Control_GotFocus(id);
        if (notifyCode == EN_KILLFOCUS) Control_LostFocus(id);
        break;
    case Drive1:
        if (notifyCode == CBN_SETFOCUS) Control_GotFocus(id);
        if (notifyCode == CBN_KILLFOCUS) Control_LostFocus(id);
        // Moving through the opened list only looks; closing it chooses.
        if ((notifyCode == CBN_SELCHANGE && !drives_.IsDroppedDown()) || notifyCode == CBN_CLOSEUP) {
            const std::wstring root = drives_.Root();
            if (!root.empty() && root != shownDrive_) {
                shownDrive_ = root;
                Drive1_Change();
            }
        }
        break;
    case Dir1:
        if (notifyCode == LBN_SETFOCUS) Control_GotFocus(id);
        if (notifyCode == LBN_KILLFOCUS) Control_LostFocus(id);
        if (notifyCode == LBN_DBLCLK) PostMessageW(Hwnd(), kFolderOpened, 0, 0);
        break;
    case File1:
        if (notifyCode == LBN_SETFOCUS) Control_GotFocus(id);
        if (notifyCode == LBN_KILLFOCUS) Control_LostFocus(id);
        if (notifyCode == LBN_SELCHANGE) File1_Click();
        if (notifyCode == LBN_DBLCLK) PostMessageW(Hwnd(), kFileDoubleClicked, 0, 0);
        break;
    default:
        // Enter and Esc as the dialog manager reports them mean nothing here.
        break;
    }
}

LRESULT frmDialogBox::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) {
    switch (message) {
    case WM_DRAWITEM: {
        auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
        if (item->CtlID != static_cast<UINT>(Dir1)) break;
        folders_.DrawItem(*item);
        handled = true;
        return TRUE;
    }
    case WM_SHOWWINDOW:
        // The arrangement is made when the window is first shown.
        if (wParam) Form_Resize();
        break;
    case kFileDoubleClicked:
        handled = true;
        File1_DblClick();
        return 0;
    case kFolderOpened:
        handled = true;
        Dir1_DblClick();
        return 0;
    case kMoveFocus: {
        handled = true;
        HWND from = reinterpret_cast<HWND>(wParam);
        if (!IsChild(Hwnd(), from)) from = nullptr;
        if (HWND next = GetNextDlgTabItem(Hwnd(), from, FALSE)) ::SetFocus(next);
        return 0;
    }
    default:
        break;
    }
    return 0;
}

bool frmDialogBox::PreTranslate(MSG& msg) {
    if (msg.message == WM_KEYDOWN && msg.wParam == VK_RETURN) {
        // An opened drive list takes its Enter as the choice.
        if (drives_.IsDroppedDown()) return false;
        // The folder list opens the chosen entry on Enter, as on a double-click.
        if (GetFocus() == Control(Dir1)) Dir1_DblClick();
        if (!IsLoaded()) return true;
        keyTarget_ = msg.hwnd;
        return Form_KeyPress(VK_RETURN);
    }
    if (msg.message == WM_CHAR && msg.wParam == L'\r') {
        keyTarget_ = msg.hwnd;
        return Form_KeyPress(VK_RETURN);
    }
    return false;
}

void frmDialogBox::OnUnhandledError(const std::wstring& description) { Warn(description, L""); }

void frmDialogBox::OnResize() {
    if (!loadSizing_) Form_Resize();
}

// Event handlers.

bool frmDialogBox::Form_KeyPress(int keyAscii) {
    if (keyAscii != 13) return false;
    // Enter moves on to the next control, as Tab does; it never confirms.
    PressKeys({VK_TAB});
    return true;
}

void frmDialogBox::PressKeys(const std::vector<int>& keys) {
    // Synthesised keys reach the window in front. A dialog that is not in
    // front (its Enter was posted to it) gets the same focus move posted.
    if (GetForegroundWindow() != Hwnd()) {
        HWND focus = GetFocus();
        HWND from = focus && IsChild(Hwnd(), focus) ? focus : keyTarget_;
        for (int key : keys)
            if (key == VK_TAB) PostMessageW(Hwnd(), kMoveFocus, reinterpret_cast<WPARAM>(from), 0);
        return;
    }
    for (int key : keys) keybd_event(static_cast<BYTE>(key), 0, 0, 0);
    for (int key : keys) keybd_event(static_cast<BYTE>(key), 0, KEYEVENTF_KEYUP, 0);
}

void frmDialogBox::Control_GotFocus(int id) {
    SetBackColor(id, kLightYellow);
    if (id == txtFileName || id == txtDir) SelectAll(id);
}

void frmDialogBox::Control_LostFocus(int id) { SetBackColor(id, GetSysColor(COLOR_WINDOW)); }

bool frmDialogBox::SetDrive(const std::wstring& path) {
    if (!drives_.Select(path)) return false;
    const std::wstring root = drives_.Root();
    if (root != shownDrive_) {
        shownDrive_ = root;
        Drive1_Change();
    }
    return true;
}

void frmDialogBox::SyncDrive() {
    if (drives_.Select(folders_.Path())) shownDrive_ = drives_.Root();
}

void frmDialogBox::Drive1_Change() {
    NestingDepth depth(driveReactionDepth_);
    if (driveReactionDepth_ > 2) return;
    const std::wstring root = drives_.Root();
    try {
        CheckDriveReady(root);
    } catch (const VbError&) {
        Warn(L"", L"ドライブの準備が出来ていません");
        if (!IsLoaded()) return;
        if (!SetDrive(GetDriveRoot(ProgramFolder()))) SyncDrive();
        return;
    }
    try {
        try {
            SetFolder(CurrentFolderOfDrive(root));
        } catch (const VbError&) {
            // The folder last used on that drive may have gone; its root is still there.
            SetFolder(root);
        }
    } catch (const VbError& e) {
        Warn(e.Description(), ReasonText(e.Number()));
        if (IsLoaded()) SyncDrive();
        return;
    }
    ShowPathLabel();
    Form_Resize();
}

void frmDialogBox::SetFolder(const std::wstring& folder) {
    const std::wstring full = FullFolderPath(folder);
    // Both lists are read before either changes, so a folder that cannot be
    // shown leaves them on the last one that could.
    std::vector<std::wstring> subfolders = ReadSubfolders(full);
    const std::vector<std::wstring> files = ReadFiles(full, files_.Pattern());
    folders_.Show(full, std::move(subfolders));
    SyncDrive();
    Dir1_Change(files);
}

bool frmDialogBox::GoToFolder(const std::wstring& folder) {
    try {
        SetFolder(folder);
        return true;
    } catch (const VbError& e) {
        Warn(e.Description(), ReasonText(e.Number()));
        return false;
    }
}

void frmDialogBox::Dir1_Change(const std::vector<std::wstring>& files) {
    files_.Show(folders_.Path(), files_.Pattern(), files);
    ShowPathLabel();
    Form_Resize();
}

void frmDialogBox::Dir1_DblClick() {
    if (!IsLoaded()) return;
    const std::wstring target = folders_.EntryPath(folders_.Selected());
    if (target.empty() || target == folders_.Path()) return;
    if (!GoToFolder(target) && IsLoaded()) folders_.SelectCurrent();
}

void frmDialogBox::File1_Click() {
    const std::wstring name = files_.FileName(files_.Selected());
    if (name.empty()) return;
    SetText(lblFullPath, JoinFolderAndName(files_.Path(), name));
    SetText(txtFileName, name);
}

void frmDialogBox::File1_DblClick() {
    if (IsLoaded()) cmdOK_Click();
}

void frmDialogBox::ShowPathLabel() { SetText(lblFullPath, JoinFolderAndName(files_.Path(), L"")); }

}  // namespace tolvane
