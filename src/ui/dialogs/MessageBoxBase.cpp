#include "ui/dialogs/MessageBoxBase.h"

#include "support/DataChange.h"
#include "support/RuntimeError.h"
#include "ui/core/WindowPlacement.h"
#include "ui/core/Twips.h"
#include "ui/dialogs/rules/MessageBoxRules.h"

namespace tolvane {
namespace {

constexpr UINT_PTR kTimer1 = 1;
const ui::FontSpec kLineFont{L"ＭＳ ゴシック", 90, true};
constexpr wchar_t kDesignLine[] = L"○○○○○○○○○○○○○○○○○○○○○○○○";

}  // namespace

const ui::FontSpec MessageBoxBase::kButtonFont{L"ＭＳ ゴシック", 120, true};

MessageBoxBase::MessageBoxBase(COLORREF designColor) : designColor_(designColor) {}

void MessageBoxBase::SetMessage1(const std::wstring& text) { message1_ = text; }
void MessageBoxBase::SetMessage2(const std::wstring& text) { message2_ = text; }
void MessageBoxBase::SetColor(std::uint32_t color) { color_ = color; }

void MessageBoxBase::SetTimerSet(std::int32_t seconds) {
    const auto ms = msgbox::TimerMilliseconds(seconds);
    if (!ms) throw RuntimeError(kErrOverflow, L"TimerSet");
    timerMs_ = *ms;
}

ui::FormStyle MessageBoxBase::Style() const {
    ui::FormStyle s;
    // A fixed border and no title bar.
    s.style = WS_POPUP | WS_DLGFRAME;
    s.clientWidth = 5880;
    s.clientHeight = 1590;
    return s;
}

std::vector<ui::ControlSpec> MessageBoxBase::Layout() const {
    std::vector<ui::ControlSpec> layout;
    for (int i = 0; i < 2; ++i) {
        ui::ControlSpec line{lblMessage0 + i, ui::ControlKind::Label, 0, 600, i == 0 ? 195 : 570, 4680, 180,
                             kDesignLine};
        line.style = SS_CENTER;
        line.font = &kLineFont;
        line.textColor = designColor_;
        line.transparent = true;
        layout.push_back(line);
    }
    for (const auto& button : Buttons()) layout.push_back(button);
    return layout;
}

void MessageBoxBase::SetLine(int index, const std::wstring& text) {
    const int id = lblMessage0 + index;
    HWND label = Control(id);
    HDC dc = GetDC(label);
    HGDIOBJ old = SelectObject(dc, ControlFont(id));
    SIZE size{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    SelectObject(dc, old);
    ReleaseDC(label, dc);
    SetText(id, text);
    // Sized to its text: the left edge stays, the right edge follows the text.
    const RECT r = ControlRect(id);
    MoveControl(id, r.left, r.top, ui::PixelsToTwipsX(size.cx), ui::PixelsToTwipsY(metrics.tmHeight));
    lblMessage_Change(index);
}

void MessageBoxBase::lblMessage_Change(int index) {
    auto width = [this](int id) {
        const RECT r = ControlRect(id);
        return static_cast<int>(r.right - r.left);
    };
    const std::array<int, 2> lines{width(lblMessage0), width(lblMessage1)};
    const auto widened = msgbox::Widen(Width(), lines[index], lines, width(ButtonHolder()));
    if (!widened) return;
    Resize(widened->boxWidth, Height());
    SetControlLeft(lblMessage0, widened->lineLeft[0]);
    SetControlLeft(lblMessage1, widened->lineLeft[1]);
    SetControlLeft(ButtonHolder(), widened->holderLeft);
}

void MessageBoxBase::OnLoad() {
    SetLine(0, NormalizeText(message1_));
    SetLine(1, NormalizeText(message2_));
    const COLORREF color = color_ != 0 ? static_cast<COLORREF>(color_) : designColor_;
    SetTextColor(lblMessage0, color);
    SetTextColor(lblMessage1, color);
    KillTimer(Hwnd(), kTimer1);
    if (timerMs_ > 0) SetTimer(Hwnd(), kTimer1, static_cast<UINT>(timerMs_), nullptr);
    CenterForm(Hwnd());
    AnimateOpen(Hwnd());
    MessageBeep(MB_OK);
}

void MessageBoxBase::OnUnload() {
    KillTimer(Hwnd(), kTimer1);
    message1_.clear();
    message2_.clear();
    color_ = 0;
    timerMs_ = 0;
}

void MessageBoxBase::OnTimer(UINT_PTR id) {
    if (id != kTimer1) return;
    KillTimer(Hwnd(), kTimer1);
    Timer1_Timer();
}

void MessageBoxBase::OnCommand(int id, int) {
    // Enter and Esc reach the box as IDOK and IDCANCEL. Enter answers with the
    // button that has the focus, never with one the user did not pick.
    if (id == IDOK) {
        HWND focus = GetFocus();
        const int focused = focus && IsChild(Hwnd(), focus) ? GetDlgCtrlID(focus) : 0;
        OnButtonClicked(focused == cmdOK || focused == cmdCancel ? focused : EscapeButton());
    } else if (id == IDCANCEL) {
        OnButtonClicked(EscapeButton());
    }
}

}  // namespace tolvane
