#include "ui/dialogs/frmRoll.h"

#include "support/VbError.h"
#include "ui/core/WindowPlacement.h"
#include "ui/core/Globals.h"
#include "ui/core/Twips.h"

namespace tolvane {
namespace {

constexpr UINT_PTR kTimer1 = 1;
constexpr UINT kTimer1Interval = 20;
constexpr int kStepPixels = 2;
constexpr COLORREF kBlack = 0x000000;
constexpr COLORREF kWhite = 0xFFFFFF;

const ui::FontSpec kRollFont{L"ＭＳ ゴシック", 203, false, true};  // 20.25 point

}  // namespace

frmRoll& frmRoll::Instance() {
    static frmRoll instance;
    return instance;
}

void frmRoll::SetTanto(int index, const std::wstring& name) {
    if (index < 0 || index >= kStaffCount)
        throw VbError(kErrSubscriptOutOfRange, L"frmRoll", L"インデックスが有効範囲にありません");
    tanto_[static_cast<size_t>(index)] = name;
}

ui::FormStyle frmRoll::Style() const {
    ui::FormStyle s;
    s.style = WS_POPUP | WS_BORDER;  // fixed border, no title bar; sized at load
    s.backColor = kBlack;
    return s;
}

std::vector<ui::ControlSpec> frmRoll::Layout() const {
    ui::ControlSpec picture{kPicStaffRoll, ui::ControlKind::Picture, 0, 0, 0, 0, 0, L"", SS_OWNERDRAW, &kRollFont,
                            kWhite, kBlack};
    return {picture};
}

void frmRoll::OnLoad() { Form_Load(); }

void frmRoll::Form_Load() {
    pressed_ = false;
    FillDefaultStaff(tanto_);
    const int screenWidth = ui::ScreenWidthTwips();
    Resize(screenWidth * 2 / 3, ui::ScreenHeightTwips() * 2 / 3);
    CenterForm(Hwnd());

    // The picture starts just below the visible area.
    const int width = screenWidth / 2;
    MoveControl(kPicStaffRoll, (Width() - width) / 2, Height(), width, kRollLength);
    RECT place{};
    HWND control = Control(kPicStaffRoll);
    GetWindowRect(control, &place);
    MapWindowPoints(nullptr, Hwnd(), reinterpret_cast<POINT*>(&place), 2);
    leftPixels_ = place.left;
    topPixels_ = place.top;
    widthPixels_ = place.right - place.left;
    heightPixels_ = place.bottom - place.top;

    ReleasePicture();
    HDC screen = GetDC(nullptr);
    pictureDc_ = CreateCompatibleDC(screen);
    picture_ = CreateCompatibleBitmap(screen, widthPixels_, heightPixels_);
    ReleaseDC(nullptr, screen);
    oldBitmap_ = SelectObject(pictureDc_, picture_);
    oldFont_ = SelectObject(pictureDc_, ControlFont(kPicStaffRoll));
    RECT all{0, 0, widthPixels_, heightPixels_};
    HBRUSH black = CreateSolidBrush(kBlack);
    FillRect(pictureDc_, &all, black);
    DeleteObject(black);
    SetBkMode(pictureDc_, TRANSPARENT);
    ::SetTextColor(pictureDc_, kWhite);

    currentY_ = 0;
    for (const std::wstring& line : StaffRollLines(tanto_, ComputerName(), gstrVersion)) PrintCentred(line);

    SetTimer(Hwnd(), kTimer1, kTimer1Interval, nullptr);
}

void frmRoll::PrintCentred(const std::wstring& text) {
    SIZE size{};
    GetTextExtentPoint32W(pictureDc_, text.c_str(), static_cast<int>(text.size()), &size);
    TEXTMETRICW metrics{};
    GetTextMetricsW(pictureDc_, &metrics);
    TextOutW(pictureDc_, (widthPixels_ - size.cx) / 2, currentY_, text.c_str(), static_cast<int>(text.size()));
    currentY_ += metrics.tmHeight;  // the next line starts below this one
}

void frmRoll::OnTimer(UINT_PTR id) {
    if (id == kTimer1) Timer1_Timer();
}

void frmRoll::Timer1_Timer() {
    if (heightPixels_ + topPixels_ > 0) {
        topPixels_ -= kStepPixels;
        SetWindowPos(Control(kPicStaffRoll), nullptr, leftPixels_, topPixels_, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    } else {
        Unload();  // the picture has passed the top edge
    }
}

void frmRoll::Form_Click() { Unload(); }

void frmRoll::OnCommand(int id, int notifyCode) {
    // A click on the picture counts as a click on the window; Enter and Esc close it too.
    if ((id == kPicStaffRoll && notifyCode == STN_CLICKED) || id == IDOK || id == IDCANCEL) Form_Click();
}

LRESULT frmRoll::OnMessage(UINT message, WPARAM, LPARAM lParam, bool& handled) {
    switch (message) {
    case WM_LBUTTONDOWN:
        pressed_ = true;
        handled = true;
        return 0;
    case WM_LBUTTONUP:
        // Only a click that began here: the button press that opened the
        // roll is released over it.
        if (pressed_) Form_Click();
        handled = true;
        return 0;
    case WM_DRAWITEM: {
        const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (item->CtlID != static_cast<UINT>(kPicStaffRoll) || !pictureDc_) return 0;
        BitBlt(item->hDC, 0, 0, widthPixels_, heightPixels_, pictureDc_, 0, 0, SRCCOPY);
        handled = true;
        return TRUE;
    }
    default:
        return 0;
    }
}

void frmRoll::OnUnload() {
    KillTimer(Hwnd(), kTimer1);
    ReleasePicture();
}

void frmRoll::ReleasePicture() {
    if (!pictureDc_) return;
    SelectObject(pictureDc_, oldFont_);
    SelectObject(pictureDc_, oldBitmap_);
    DeleteObject(picture_);
    DeleteDC(pictureDc_);
    pictureDc_ = nullptr;
    picture_ = nullptr;
}

}  // namespace tolvane
