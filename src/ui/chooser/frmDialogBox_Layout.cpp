// The chooser's window: its style, its controls, their pictures, and where
// they go for the window's size.
#include "ui/chooser/frmDialogBox.h"

#include "ui/core/Colors.h"
#include "ui/core/Twips.h"
#include "ui/chooser/FolderList.h"
#include "ui/chooser/rules/ChooserLayout.h"

namespace tolvane {
namespace {

const ui::FontSpec kPathFont{L"ＭＳ ゴシック", 98, false};  // 9.75 point

constexpr int kLoadWidth = 6000;
constexpr int kLoadHeight = 4500;
// The layout's outer sizes were drawn for a frame of 4-pixel borders and a
// small caption. The layout works from the client area plus that frame, and
// a thicker real frame (Windows 10 and 11, scaled screens) grows the window
// instead of cutting off the bottom row.
constexpr int kDesignFrameWidth = 120;
constexpr int kDesignFrameHeight = 360;
constexpr int kDriveHeight = 300;
constexpr int kDriveDropHeight = 2400;  // room for about ten drives when opened

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

void frmDialogBox::Form_Resize() {
    if (!IsLoaded() || loadSizing_) return;
    NestingDepth depth(layoutDepth_);
    int W = DesignWidth();
    int H = DesignHeight();
    chooser::ChooserLayout l = chooser::ComputeChooserLayout(W, H, mode_);
    if ((l.windowWidth != W || l.windowHeight != H) && layoutDepth_ == 1) {
        // The resize lays the controls out once more from inside; the size it
        // ends at is what counts from here on.
        ResizeDesign(l.windowWidth, l.windowHeight);
        W = DesignWidth();
        H = DesignHeight();
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

int frmDialogBox::DesignWidth() const { return ClientWidth() + kDesignFrameWidth; }

int frmDialogBox::DesignHeight() const { return ClientHeight() + kDesignFrameHeight; }

void frmDialogBox::ResizeDesign(int width, int height) {
    Resize(width + (Width() - ClientWidth()) - kDesignFrameWidth, height + (Height() - ClientHeight()) - kDesignFrameHeight);
}

void frmDialogBox::GiveListsFolderModeWidths() {
    const int W = DesignWidth();
    SetWindowPos(Control(Drive1), nullptr, 0, 0, ui::TwipsToPixelsX(W - chooser::kLinkBarWidth),
                 ui::TwipsToPixelsY(kDriveHeight + kDriveDropHeight), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    SetControlWidth(Dir1, W);
}

const wchar_t* frmDialogBox::ShortcutTip(int index) {
    static const wchar_t* const tips[] = {L"ﾃﾞｽｸﾄｯﾌﾟ", L"ﾏｲﾄﾞｷｭﾒﾝﾄ", L"", L"", L"ﾌｫﾙﾀﾞ新規作成"};
    return index >= 0 && index < 5 ? tips[index] : L"";
}

void frmDialogBox::SizeForLoad() { ResizeDesign(kLoadWidth, kLoadHeight); }

}  // namespace tolvane
