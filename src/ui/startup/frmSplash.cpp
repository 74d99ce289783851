#include "ui/startup/frmSplash.h"

#include <algorithm>

#include "ui/core/WindowPlacement.h"
#include "ui/core/Globals.h"
#include "ui/core/LabelSize.h"
#include "ui/core/ResourceIds.h"
#include "ui/dialogs/rules/VersionText.h"
#include "ui/startup/basMain.h"

namespace tolvane {
namespace {

constexpr UINT_PTR kTimer1 = 1;
constexpr UINT kTimer1Interval = 2000;
constexpr int kLogoPixels = 172;
constexpr int kFrameWidth = 7080;  // twips
constexpr int kFrameMargin = 60;   // as the product name keeps from the frame's edges
// The logo's corners carry this colour; they take the window's colour at load.
constexpr COLORREF kLogoKey = RGB(255, 0, 255);

const ui::FontSpec kProductNameFont{L"ＭＳ 明朝", 278, true, true};  // 27.75 point
const ui::FontSpec kVersionFont{L"ＭＳ ゴシック", 120, true, false};

bool IsModifierKey(WPARAM key) {
    switch (key) {
    case VK_SHIFT: case VK_CONTROL: case VK_MENU: case VK_LWIN: case VK_RWIN:
    case VK_CAPITAL: case VK_NUMLOCK: case VK_SCROLL:
        return true;
    default:
        return false;
    }
}

}  // namespace

frmSplash& frmSplash::Instance() {
    static frmSplash instance;
    return instance;
}

ui::FormStyle frmSplash::Style() const {
    ui::FormStyle s;
    s.style = WS_POPUP | WS_DLGFRAME;  // no title bar, fixed border
    s.clientWidth = 7380;
    s.clientHeight = 4245;
    s.topLevel = true;
    return s;
}

std::vector<ui::ControlSpec> frmSplash::Layout() const {
    using ui::ControlKind;
    // Siblings overlap (the name's label spans the logo): each clips the ones above it.
    const DWORD clip = WS_CLIPSIBLINGS;
    ui::ControlSpec name{kLblProductName, ControlKind::Label, kFrame1, 60, 915, 6960, 2400, L"",
                         SS_CENTER | clip, &kProductNameFont, 0xFF0000};
    name.transparent = true;
    ui::ControlSpec version{kLblVersion, ControlKind::Label, kFrame1, 5940, 2700, 0, 0, L"",
                            SS_RIGHT | clip, &kVersionFont, 0xFFFF00};
    version.transparent = true;
    return {
        {kFrame1, ControlKind::Frame, 0, 165, 60, kFrameWidth, 4050},
        {kImgLogo, ControlKind::Picture, kFrame1, 345, 930, 1995, 1995, L"", SS_OWNERDRAW | clip},
        name,
        version,
    };
}

void frmSplash::OnLoad() { Form_Load(); }

void frmSplash::Form_Load() {
    handingOver_ = false;
    pressed_ = false;
    LoadLogo();
    // Top to bottom: the logo, the version over the name's label, the name.
    SetWindowPos(Control(kImgLogo), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    SetWindowPos(Control(kLblVersion), Control(kImgLogo), 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    SetWindowPos(Control(kLblProductName), Control(kLblVersion), 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);

    SetTimer(Hwnd(), kTimer1, kTimer1Interval, nullptr);
    SetText(kLblVersion, SplashVersionLabel(gstrVersion));
    AutoSizeLabel(Control(kLblVersion));
    KeepVersionInFrame();
    SetText(kLblProductName, kProductTitle);
    CenterForm(Hwnd());
}

// The label grows to the right of its left edge; a text too long for the
// frame from there is moved left instead of being cut off at the frame.
void frmSplash::KeepVersionInFrame() {
    const RECT label = ControlRect(kLblVersion);
    const int width = label.right - label.left;
    const int limit = kFrameWidth - kFrameMargin;
    if (label.left + width > limit) SetControlLeft(kLblVersion, std::max(0, limit - width));
}

void frmSplash::OnUnload() {
    KillTimer(Hwnd(), kTimer1);
    if (logo_) DeleteObject(logo_);
    logo_ = nullptr;
}

void frmSplash::OnTimer(UINT_PTR id) {
    if (id == kTimer1) Timer1_Timer();
}

void frmSplash::Timer1_Timer() { HandOver(&ShowMain); }

void frmSplash::Form_KeyPress() { HandOver(&SplashCancel); }

void frmSplash::Frame1_Click() { HandOver(&SplashCancel); }

void frmSplash::HandOver(void (*next)()) {
    if (handingOver_) return;
    // The main window's load may wait in a dialog of its own; the splash's
    // timer must not fire again meanwhile.
    handingOver_ = true;
    KillTimer(Hwnd(), kTimer1);
    struct UnloadAfter {
        frmSplash& splash;
        ~UnloadAfter() { splash.Unload(); }
    } unloadAfter{*this};
    next();
}

void frmSplash::OnCommand(int id, int) {
    // Enter and Esc arrive as OK and Cancel when a key gets past PreTranslate.
    if (id == IDOK || id == IDCANCEL) Form_KeyPress();
}

bool frmSplash::PreTranslate(MSG& msg) {
    switch (msg.message) {
    case WM_LBUTTONDOWN:
        pressed_ = true;
        return true;
    case WM_LBUTTONUP:
        // A click anywhere on the splash: on the frame, the labels or the logo.
        if (pressed_) {
            pressed_ = false;
            Frame1_Click();
        }
        return true;
    case WM_KEYDOWN:
        if (IsModifierKey(msg.wParam)) return false;
        Form_KeyPress();
        return true;
    case WM_CHAR:
        return true;
    default:
        return false;
    }
}

LRESULT frmSplash::OnMessage(UINT message, WPARAM, LPARAM lParam, bool& handled) {
    if (message == WM_DRAWITEM) {
        const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (item->CtlID == static_cast<UINT>(kImgLogo)) {
            DrawLogo(*item);
            handled = true;
            return TRUE;
        }
    }
    return 0;
}

void frmSplash::LoadLogo() {
    if (logo_) DeleteObject(logo_);
    // The picture is a resource of the program itself.
    logo_ = static_cast<HBITMAP>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDB_TOLVANE_LOGO), IMAGE_BITMAP,
                                            0, 0, LR_CREATEDIBSECTION));
    if (!logo_) return;  // no picture: the place stays empty
    DIBSECTION dib{};
    if (GetObjectW(logo_, sizeof(dib), &dib) != sizeof(dib) || dib.dsBm.bmBitsPixel != 24 || !dib.dsBm.bmBits)
        return;
    // Corners in the key colour become the frame's colour.
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    auto* bits = static_cast<BYTE*>(dib.dsBm.bmBits);
    for (int y = 0; y < dib.dsBm.bmHeight; ++y) {
        BYTE* row = bits + static_cast<size_t>(y) * dib.dsBm.bmWidthBytes;
        for (int x = 0; x < dib.dsBm.bmWidth; ++x) {
            BYTE* p = row + x * 3;  // blue, green, red
            if (RGB(p[2], p[1], p[0]) == kLogoKey) {
                p[0] = GetBValue(face);
                p[1] = GetGValue(face);
                p[2] = GetRValue(face);
            }
        }
    }
}

void frmSplash::DrawLogo(const DRAWITEMSTRUCT& item) const {
    const RECT& rc = item.rcItem;
    FillRect(item.hDC, &rc, GetSysColorBrush(COLOR_BTNFACE));
    if (!logo_) return;
    HDC memory = CreateCompatibleDC(item.hDC);
    HGDIOBJ old = SelectObject(memory, logo_);
    // The picture is stretched to the control, smoothly.
    SetStretchBltMode(item.hDC, HALFTONE);
    SetBrushOrgEx(item.hDC, 0, 0, nullptr);
    StretchBlt(item.hDC, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, memory, 0, 0, kLogoPixels,
               kLogoPixels, SRCCOPY);
    SelectObject(memory, old);
    DeleteDC(memory);
}

}  // namespace tolvane
