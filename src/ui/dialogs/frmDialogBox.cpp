#include "ui/dialogs/frmDialogBox.h"

#include <commctrl.h>

#include "support/Paths.h"
#include "support/VbError.h"
#include "support/win32/Files.h"
#include "support/win32/IniControl.h"
#include "support/win32/Make.h"
#include "support/win32/WindowPlacement.h"
#include "ui/core/Colors.h"
#include "ui/core/Twips.h"
#include "ui/dialogs/MessageBoxes.h"
#include "ui/dialogs/SpecialFolder.h"
#include "ui/dialogs/rules/ChooserLayout.h"
#include "ui/dialogs/rules/ChooserRules.h"

namespace tolvane {
namespace {

const ui::FontSpec kPathFont{L"ＭＳ ゴシック", 98, false};  // 9.75 point

constexpr int kLoadWidth = 6000;
constexpr int kLoadHeight = 4500;
constexpr int kDriveHeight = 300;
constexpr int kDriveDropHeight = 2400;  // room for about ten drives when opened

// Double-clicks act once the list has finished with its own click.
constexpr UINT kFileDoubleClicked = WM_APP + 1;
constexpr UINT kFolderOpened = WM_APP + 2;
// The focus move a synthesised Tab would make, for a dialog not in front.
constexpr UINT kMoveFocus = WM_APP + 3;

const wchar_t* const kShortcutTips[] = {L"ﾃﾞｽｸﾄｯﾌﾟ", L"ﾏｲﾄﾞｷｭﾒﾝﾄ", L"", L"", L"ﾌｫﾙﾀﾞ新規作成"};

std::wstring SettingsFile() { return FileBesideProgram(L"DialogBox.ini"); }

bool FolderExists(const std::wstring& path) {
    const UINT oldMode = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    const DWORD attributes = GetFileAttributesW(path.c_str());
    SetErrorMode(oldMode);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::wstring CurrentFolder() {
    wchar_t buffer[MAX_PATH + 1];
    const DWORD length = GetCurrentDirectoryW(MAX_PATH + 1, buffer);
    return length == 0 || length > MAX_PATH ? std::wstring() : std::wstring(buffer, length);
}

// Counts nested runs of a step so that it cannot chase itself for ever.
class Depth {
public:
    explicit Depth(int& depth) : depth_(depth) { ++depth_; }
    ~Depth() { --depth_; }
    Depth(const Depth&) = delete;
    Depth& operator=(const Depth&) = delete;

private:
    int& depth_;
};

void DrawDesktop(HDC dc) {
    HBRUSH frame = CreateSolidBrush(RGB(64, 64, 64));
    HBRUSH screen = CreateSolidBrush(RGB(0, 128, 192));
    RECT outer{1, 1, 15, 12}, inner{2, 2, 14, 11}, neck{7, 12, 9, 14}, foot{4, 14, 12, 15};
    FillRect(dc, &outer, frame);
    FillRect(dc, &inner, screen);
    FillRect(dc, &neck, frame);
    FillRect(dc, &foot, frame);
    DeleteObject(screen);
    DeleteObject(frame);
}

void DrawDocument(HDC dc) {
    HPEN border = CreatePen(PS_SOLID, 1, RGB(96, 96, 96));
    HPEN line = CreatePen(PS_SOLID, 1, RGB(0, 64, 160));
    HGDIOBJ oldPen = SelectObject(dc, border);
    HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(WHITE_BRUSH));
    const POINT page[] = {{3, 1}, {10, 1}, {13, 4}, {13, 15}, {3, 15}};
    Polygon(dc, page, 5);
    const POINT fold[] = {{10, 1}, {10, 4}, {13, 4}};
    Polyline(dc, fold, 3);
    SelectObject(dc, line);
    for (int y = 6; y <= 12; y += 2) {
        MoveToEx(dc, 5, y, nullptr);
        LineTo(dc, 12, y);
    }
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
    DeleteObject(line);
    DeleteObject(border);
}

void DrawNewFolder(HDC dc) {
    DrawFolderGlyph(dc, 0, 1, false);
    HBRUSH green = CreateSolidBrush(RGB(0, 150, 0));
    RECT across{9, 2, 16, 5}, down{11, 0, 14, 7};
    FillRect(dc, &across, green);
    FillRect(dc, &down, green);
    DeleteObject(green);
}

}  // namespace

frmDialogBox& frmDialogBox::Instance() {
    static frmDialogBox instance;
    return instance;
}

// Properties.

void frmDialogBox::SetUser(const std::wstring& user) { user_ = user; }
void frmDialogBox::SetMode(std::int32_t mode) { mode_ = mode; }
void frmDialogBox::SetPosTop(std::int32_t twips) { posTop_ = twips; }
void frmDialogBox::SetPosLeft(std::int32_t twips) { posLeft_ = twips; }
bool frmDialogBox::Cancel() const { return cancel_; }
void frmDialogBox::SetCancel(bool value) { cancel_ = value; }
const std::wstring& frmDialogBox::FullPathName() const { return fullPathName_; }
void frmDialogBox::SetIniFileName(const std::wstring& name) { iniFileName_ = name; }
void frmDialogBox::SetTimerSet(std::int32_t seconds) { timerSet_ = seconds; }
const std::wstring& frmDialogBox::Mask() const { return mask_; }

void frmDialogBox::SetMask(const std::wstring& mask) {
    mask_ = mask;
    Load();
    files_.SetPattern(mask_);
}

void frmDialogBox::SetDialogCaption(const std::wstring& caption) {
    Load();
    SetCaption(caption);
}

// The window.

ui::FormStyle frmDialogBox::Style() const {
    ui::FormStyle s;
    s.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME;
    s.exStyle = WS_EX_TOOLWINDOW | WS_EX_CONTROLPARENT;
    s.caption = L"DialogBox";
    // The load step sets the outer size; this is about the client area it leaves.
    s.clientWidth = 5880;
    s.clientHeight = 4140;
    return s;
}

std::vector<ui::ControlSpec> frmDialogBox::Layout() const {
    using ui::ControlKind;
    ui::ControlSpec caption{Label1, ControlKind::Label, fraDir, 120, 675, 900, 180, L"フォルダ名"};
    caption.textColor = kNavy;
    caption.transparent = true;
    // The path label reaches down over the caption's top; it must not paint there.
    ui::ControlSpec path{lblFullPath, ControlKind::Label, fraDir, 75, 165, 3825, 405, L"",
                         SS_EDITCONTROL | WS_CLIPSIBLINGS};
    path.font = &kPathFont;
    path.textColor = kNavy;
    path.transparent = true;
    // In tab order; shortcut 4 comes before the hidden shortcut 3.
    return {
        {txtFileName, ControlKind::TextBox, 0, 45, 1935, 3720, 315},
        {Drive1, ControlKind::DropDown, 0, 45, 45, 2220, kDriveHeight},
        {Dir1, ControlKind::ListBox, 0, 45, 405, 2220, 1140, L"", LBS_OWNERDRAWFIXED | LBS_HASSTRINGS},
        {File1, ControlKind::ListBox, 0, 2295, 390, 2220, 1170},
        {cmdOK, ControlKind::Button, 0, 3870, 1575, 750, 315, L"OK"},
        {cmdCancel, ControlKind::Button, 0, 3045, 1575, 750, 315, L"Cancel"},
        {fraDir, ControlKind::Frame, 0, 90, 2730, 3960, 1305},
        caption,
        {txtDir, ControlKind::TextBox, fraDir, 75, 915, 3735, 270, L"新しいフォルダ"},
        path,
        {fraLink, ControlKind::Panel, 0, 2325, 15, 2070, 360},
        {cmdShortCut0 + 0, ControlKind::Button, fraLink, 0, 0, 360, 360, L"", BS_BITMAP},
        {cmdShortCut0 + 1, ControlKind::Button, fraLink, 360, 0, 360, 360, L"", BS_BITMAP},
        {cmdShortCut0 + 2, ControlKind::Button, fraLink, 720, 0, 360, 360, L"", BS_BITMAP},
        {cmdShortCut0 + 4, ControlKind::Button, fraLink, 1440, 0, 360, 360, L"", BS_BITMAP},
        {cmdShortCut0 + 3, ControlKind::Button, fraLink, 1080, 0, 360, 360, L"", BS_BITMAP},
    };
}

void frmDialogBox::CreateShortcutPictures() {
    if (pictures_[0]) return;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    void (*const painters[])(HDC) = {DrawDesktop, DrawDocument, DrawNewFolder};
    for (int i = 0; i < 3; ++i) {
        pictures_[i] = CreateCompatibleBitmap(screen, 16, 16);
        HGDIOBJ old = SelectObject(memory, pictures_[i]);
        RECT all{0, 0, 16, 16};
        FillRect(memory, &all, GetSysColorBrush(COLOR_BTNFACE));
        painters[i](memory);
        SelectObject(memory, old);
    }
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
}

// Load and unload.

void frmDialogBox::OnLoad() {
    mblnNewFolder = false;
    if (mode_ == 0) {
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
        if (tips && kShortcutTips[i][0]) {
            TOOLINFOW info{};
            info.cbSize = TTTOOLINFOW_V2_SIZE;
            info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
            info.hwnd = Hwnd();
            info.uId = reinterpret_cast<UINT_PTR>(button);
            info.lpszText = const_cast<wchar_t*>(kShortcutTips[i]);
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

    Resize(kLoadWidth, kLoadHeight);
    loadSizing_ = false;
    cancel_ = true;
    if (mode_ == 1) {
        SetVisible(File1, false);
        SetVisible(txtFileName, false);
        GiveListsFolderModeWidths();
    }
    if (static_cast<long long>(posTop_) + posLeft_ != 0)
        Move(posLeft_, posTop_);
    else
        CenterForm(Hwnd());

    if (TrimSpaces(user_).empty()) user_ = L"USER";
    fullPathName_ = GetIniString(SettingsFile(), L"COMMON", SettingsKey());
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
    if (TrimSpaces(Text(txtFileName)).empty()) SetText(txtFileName, iniFileName_);
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
            PutIniString(SettingsFile(), L"COMMON", SettingsKey(), GetFolderPath(fullPathName_));
        } catch (const VbError&) {
            // Remembering the place is a convenience; the choice itself stands.
        }
    }
    mode_ = 0;
    iniFileName_.clear();
    mask_ = L"*.*";
    user_ = L"USER";
    timerSet_ = 0;
    mblnNewFolder = false;
}

std::wstring frmDialogBox::SettingsKey() const { return L"PREV_" + user_; }

// Messages of the window.

void frmDialogBox::OnCommand(int id, int notifyCode) {
    if (id >= cmdShortCut0 && id <= cmdShortCut0 + 4) {
        if (notifyCode == BN_CLICKED) cmdShortCut_Click(id - cmdShortCut0);
        return;
    }
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
    case cmdOK:
        if (notifyCode == BN_CLICKED) cmdOK_Click();
        break;
    case cmdCancel:
        if (notifyCode == BN_CLICKED) cmdCancel_Click();
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

void frmDialogBox::Form_Resize() {
    if (!IsLoaded() || loadSizing_) return;
    Depth depth(layoutDepth_);
    int W = Width();
    int H = Height();
    chooser::ChooserLayout l = chooser::ComputeChooserLayout(W, H, mode_);
    if ((l.windowWidth != W || l.windowHeight != H) && layoutDepth_ == 1) {
        // The resize lays the controls out once more from inside; the size it
        // ends at is what counts from here on.
        Resize(l.windowWidth, l.windowHeight);
        W = Width();
        H = Height();
        l = chooser::ComputeChooserLayout(W, H, mode_);
    }
    using chooser::kButtonWidth;
    using chooser::kListLeft;
    // The drop-down's window includes its opened list.
    SetWindowPos(Control(Drive1), nullptr, ui::TwipsToPixelsX(kListLeft), ui::TwipsToPixelsY(45),
                 ui::TwipsToPixelsX(l.driveWidth), ui::TwipsToPixelsY(kDriveHeight + kDriveDropHeight),
                 SWP_NOZORDER | SWP_NOACTIVATE);
    MoveControl(Dir1, kListLeft, 405, l.dirWidth, l.listHeight);
    MoveControl(File1, l.fileLeft, 390, l.fileWidth, l.listHeight);
    MoveControl(txtFileName, kListLeft, l.buttonsTop, l.fileNameWidth, 315);
    MoveControl(cmdOK, l.okLeft, l.buttonsTop, kButtonWidth, 315);
    MoveControl(cmdCancel, l.cancelLeft, l.buttonsTop, kButtonWidth, 315);
    MoveControl(fraDir, l.panelLeft, l.panelTop, l.panelWidth, l.listHeight);
    MoveControl(txtDir, 75, l.nameBoxTop, l.nameBoxWidth, 270);
    MoveControl(lblFullPath, 75, 165, l.pathLabelWidth, l.pathLabelHeight);
    SetControlTop(Label1, l.captionTop);
    MoveControl(fraLink, l.linkLeft, 15, chooser::kLinkBarWidth, 360);
}

void frmDialogBox::GiveListsFolderModeWidths() {
    const int W = Width();
    SetWindowPos(Control(Drive1), nullptr, 0, 0, ui::TwipsToPixelsX(W - chooser::kLinkBarWidth),
                 ui::TwipsToPixelsY(kDriveHeight + kDriveDropHeight), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    SetControlWidth(Dir1, W);
}

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
    Depth depth(driveReactionDepth_);
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
    SetText(lblFullPath, chooser::JoinPath(files_.Path(), name));
    SetText(txtFileName, name);
}

void frmDialogBox::File1_DblClick() {
    if (IsLoaded()) cmdOK_Click();
}

void frmDialogBox::ShowPathLabel() { SetText(lblFullPath, chooser::JoinPath(files_.Path(), L"")); }

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

    const int mode = mode_;
    const chooser::OkStep step = chooser::DecideOk(
        mode, files_.Path(), Text(txtFileName), mask_,
        [mode](const std::wstring& p) { return mode == 1 ? FolderExists(p) : FileExists(p); });
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
    if (mode_ == 1) {
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
            Warn(L"「" + std::wstring(kShortcutTips[index]) + L"」を開けませんでした", ReasonText(e.Number()));
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
        SetControlLeft(fraDir, (Width() - (panel.right - panel.left)) / 2);
        SetControlTop(fraDir, (Height() - (panel.bottom - panel.top)) / 2 - 500);
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
    try {
        box.SetTimerSet(timerSet_);
    } catch (const VbError&) {
        box.SetTimerSet(0);  // a time-out too long to keep: the box waits for the user
    }
    box.SetMessage1(message1);
    box.SetMessage2(message2);
    box.ShowModal();
}

bool frmDialogBox::Ask(const std::wstring& message1, const std::wstring& message2) {
    Msg_YesNo& box = Msg_YesNo::Instance();
    try {
        box.SetTimerSet(timerSet_);
    } catch (const VbError&) {
        box.SetTimerSet(0);
    }
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
