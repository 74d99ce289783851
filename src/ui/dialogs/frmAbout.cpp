#include "ui/dialogs/frmAbout.h"

#include <commctrl.h>

#include <algorithm>

#include "support/Paths.h"
#include "support/VbError.h"
#include "support/win32/RelateExecute.h"
#include "ui/core/WindowPlacement.h"
#include "ui/core/Colors.h"
#include "ui/core/Globals.h"
#include "ui/core/Twips.h"
#include "ui/dialogs/MessageBoxes.h"
#include "ui/core/LabelSize.h"
#include "ui/core/ResourceIds.h"
#include "ui/dialogs/rules/VersionText.h"
#include "ui/dialogs/frmRoll.h"

namespace tolvane {
namespace {

constexpr COLORREF kMagenta = 0xFF00FF;
constexpr COLORREF kWhite = 0xFFFFFF;
constexpr int kContactRight = 3030 + 3285;  // the web field's right edge, twips

const ui::FontSpec kTitleFont{L"ＭＳ 明朝", 203, true, true};  // 20.25 point

const wchar_t* const kNotices[frmAbout::kNoticeCount] = {
    L"本ソフトウェアはフリーソフトウェアです。",
    L"再配布はファイルを改変せずに行ってください。",
    L"最新版は上記のホームページで公開しています。",
    L"ご要望・不具合は上記のE-mailまでどうぞ。",
};

HICON IconOf(HWND form) {
    HICON icon = nullptr;
    if (form && IsWindow(form)) {
        icon = reinterpret_cast<HICON>(SendMessageW(form, WM_GETICON, ICON_BIG, 0));
        if (!icon) icon = reinterpret_cast<HICON>(GetClassLongPtrW(form, GCLP_HICON));
    }
    if (!icon) icon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_TOLVANE));
    return icon;
}

}  // namespace

frmAbout& frmAbout::Instance() {
    static frmAbout instance;
    return instance;
}

void frmAbout::SetPreForm(HWND form) { preForm_ = form; }
void frmAbout::SetPreForm(const ui::Form& form) { preForm_ = form.Hwnd(); }

void frmAbout::SetTanto(int index, const std::wstring& name) {
    if (index < 0 || index >= kStaffCount)
        throw VbError(kErrSubscriptOutOfRange, L"frmAbout", L"インデックスが有効範囲にありません");
    tanto_[static_cast<size_t>(index)] = name;
}

ui::FormStyle frmAbout::Style() const {
    ui::FormStyle s;
    s.style = WS_POPUP | WS_CAPTION | WS_SYSMENU;  // fixed single border
    s.clientWidth = 6645;
    s.clientHeight = 4200;
    s.caption = L"ﾊﾞｰｼﾞｮﾝ情報";
    return s;
}

std::vector<ui::ControlSpec> frmAbout::Layout() const {
    using ui::ControlKind;
    constexpr COLORREF navy = kNavy, red = kRed, blue = kBlue;
    // The table's order is the tab order: OK first, so that opening the
    // window does not put the focus on a contact field.
    std::vector<ui::ControlSpec> layout = {
        {kCmdOK, ControlKind::Button, 0, 4852, 3000, 1467, 345, L"OK", BS_DEFPUSHBUTTON},
        {kText0, ControlKind::TextBox, 0, 3030, 2250, 3285, 180, kWebAddress, ES_READONLY, nullptr, navy},
        {kText1, ControlKind::TextBox, 0, 3030, 2520, 2370, 180, kMailAddress, ES_READONLY, nullptr, navy},
        {kPicIcon, ControlKind::Picture, 0, 307, 180, 480, 480, L"", SS_OWNERDRAW},
        {kLblTitle, ControlKind::Label, 0, 1117, 180, 5205, 480, L"", 0, &kTitleFont, blue},
        {kLblVersion, ControlKind::Label, 0, 1110, 720, 1545, 225, L"", SS_RIGHT, nullptr, kMagenta},
        {kLblMessage, ControlKind::Label, 0, 1110, 1080, 5205, 1095, L"", 0, nullptr, navy},
        {kLabel2, ControlKind::Label, 0, 2565, 2250, 0, 0, L"HP：", SS_RIGHT, nullptr, navy},
        {kLabel3, ControlKind::Label, 0, 2205, 2520, 0, 0, L"E-mail：", 0, nullptr, navy},
    };
    for (int i = 0; i < kNoticeCount; ++i)
        layout.push_back({kLblNotice0 + i, ControlKind::Label, 0, 300, 3000 + i * 285, 4440, 225, kNotices[i], 0,
                          nullptr, red});
    return layout;
}

void frmAbout::OnLoad() { Form_Load(); }

void frmAbout::Form_Load() {
    reporting_ = false;
    SetText(kLblTitle, kProductTitle);
    SetText(kLblVersion, AboutVersionLabel(gstrVersion));
    SetText(kLblMessage, L"ＶＢプロジェクトの一括コンパイルを行うことが出来る");
    AutoSizeLabel(Control(kLabel2));
    AutoSizeLabel(Control(kLabel3));
    // The contact fields read as text on the window, without an edit's border,
    // and are widened when their address would be cut off (up to the web
    // field's right edge).
    for (int id : {kText0, kText1}) {
        HWND field = Control(id);
        SetWindowLongPtrW(field, GWL_EXSTYLE, GetWindowLongPtrW(field, GWL_EXSTYLE) & ~WS_EX_CLIENTEDGE);
        SetWindowPos(field, nullptr, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
        const RECT place = ControlRect(id);
        const LRESULT margins = SendMessageW(field, EM_GETMARGINS, 0, 0);
        const int needed = TextWidth(id, Text(id)) + ui::PixelsToTwipsX(LOWORD(margins) + HIWORD(margins) + 2);
        const int widest = kContactRight - place.left;
        if (place.right - place.left < needed) SetControlWidth(id, std::min(needed, widest));
    }

    icon_ = IconOf(preForm_);
    SendMessageW(Hwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_));
    SendMessageW(Hwnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon_));

    toolTip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, Hwnd(), nullptr,
                               GetModuleHandleW(nullptr), nullptr);
    AddToolTip(kLblTitle, L"ｱﾌﾟﾘｹｰｼｮﾝ ﾀｲﾄﾙ");
    AddToolTip(kLblVersion, L"ﾊﾞｰｼﾞｮﾝ");
    AddToolTip(kCmdOK, L"OK");

    CenterForm(Hwnd());
    AnimateOpen(Hwnd());
}

void frmAbout::AddToolTip(int id, const wchar_t* text) {
    if (!toolTip_) return;
    TOOLINFOW tool{};
    tool.cbSize = sizeof(tool);
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = Hwnd();
    tool.uId = reinterpret_cast<UINT_PTR>(Control(id));
    tool.lpszText = const_cast<wchar_t*>(text);
    SendMessageW(toolTip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

void frmAbout::OnUnload() { Form_Unload(); }

void frmAbout::Form_Unload() {
    SetCursor(LoadCursorW(nullptr, IDC_ARROW));
    AnimateClose(Hwnd());
    toolTip_ = nullptr;  // owned by the window: destroyed with it
}

void frmAbout::OnButtonClicked(int id) {
    if (id == kCmdOK) cmdOK_Click();
}

void frmAbout::OnCommand(int id, int notifyCode) {
    switch (id) {
    case IDOK:
    case IDCANCEL:
        cmdOK_Click();
        break;
    case kPicIcon:
        if (notifyCode == STN_CLICKED) picIcon_Click();
        break;
    case kText0:
    case kText1:
        if (notifyCode == EN_SETFOCUS) Text_GotFocus(id == kText0 ? 0 : 1);
        break;
    default:
        break;
    }
}

void frmAbout::cmdOK_Click() { Unload(); }

void frmAbout::picIcon_Click() {
    frmRoll& roll = frmRoll::Instance();
    for (int i = 0; i < kStaffCount; ++i) roll.SetTanto(i, tanto_[static_cast<size_t>(i)]);
    roll.ShowModal();
}

void frmAbout::Text_GotFocus(int index) {
    // The focus coming back with the window (after a switch to the browser or
    // the warning below) is no new request.
    if (RestoringFocus() || reporting_) return;
    const int id = index == 1 ? kText1 : kText0;
    SelectAll(id);
    const std::wstring text = TrimSpaces(Text(id));
    const std::wstring target = index == 1 ? L"mailto:" + text : text;
    try {
        StringExecute(target);
    } catch (const VbError& e) {
        reporting_ = true;
        struct Done {
            bool& flag;
            ~Done() { flag = false; }
        } done{reporting_};
        Msg_Warning& box = Msg_Warning::Instance();
        box.SetMessage2(e.Description());
        box.ShowModal();
    }
}

LRESULT frmAbout::OnMessage(UINT message, WPARAM, LPARAM lParam, bool& handled) {
    switch (message) {
    case WM_PAINT:
        Paint();
        handled = true;
        return 0;
    case WM_DRAWITEM: {
        const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (item->CtlID != static_cast<UINT>(kPicIcon)) return 0;
        FillRect(item->hDC, &item->rcItem, GetSysColorBrush(COLOR_BTNFACE));
        if (icon_)
            DrawIconEx(item->hDC, item->rcItem.left, item->rcItem.top, icon_, item->rcItem.right - item->rcItem.left,
                       item->rcItem.bottom - item->rcItem.top, 0, nullptr, DI_NORMAL);
        handled = true;
        return TRUE;
    }
    default:
        return 0;
    }
}

// Line1: the white separator between the contact fields and the notices.
void frmAbout::Paint() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(Hwnd(), &ps);
    HPEN pen = CreatePen(PS_SOLID, 1, kWhite);
    HGDIOBJ old = SelectObject(dc, pen);
    const int y = ui::TwipsToPixelsY(2895);
    MoveToEx(dc, ui::TwipsToPixelsX(300), y, nullptr);
    LineTo(dc, ui::TwipsToPixelsX(6310), y);
    SelectObject(dc, old);
    DeleteObject(pen);
    EndPaint(Hwnd(), &ps);
}

}  // namespace tolvane
