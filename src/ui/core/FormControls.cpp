// The form's geometry and its controls' text, state, colours and fonts, in twips.
#include "ui/core/Form.h"

#include "ui/core/Twips.h"

namespace tolvane::ui {
namespace {

RECT ToTwips(const RECT& px) {
    return {PixelsToTwipsX(px.left), PixelsToTwipsY(px.top), PixelsToTwipsX(px.right), PixelsToTwipsY(px.bottom)};
}

}  // namespace

HWND Form::Control(int id) const {
    auto it = controls_.find(id);
    return it == controls_.end() ? nullptr : it->second.hwnd;
}

int Form::Width() const { RECT r; GetWindowRect(hwnd_, &r); return PixelsToTwipsX(r.right - r.left); }
int Form::Height() const { RECT r; GetWindowRect(hwnd_, &r); return PixelsToTwipsY(r.bottom - r.top); }
int Form::ClientWidth() const { RECT r; GetClientRect(hwnd_, &r); return PixelsToTwipsX(r.right); }
int Form::ClientHeight() const { RECT r; GetClientRect(hwnd_, &r); return PixelsToTwipsY(r.bottom); }

void Form::Move(int left, int top) {
    SetWindowPos(hwnd_, nullptr, TwipsToPixelsX(left), TwipsToPixelsY(top), 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Form::Resize(int width, int height) {
    SetWindowPos(hwnd_, nullptr, 0, 0, TwipsToPixelsX(width), TwipsToPixelsY(height),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Form::SetCaption(const std::wstring& caption) { SetWindowTextW(hwnd_, caption.c_str()); }

RECT Form::ControlRect(int id) const {
    HWND h = Control(id);
    RECT r{};
    GetWindowRect(h, &r);
    MapWindowPoints(nullptr, GetParent(h), reinterpret_cast<POINT*>(&r), 2);
    return ToTwips(r);
}

void Form::MoveControl(int id, int left, int top, int width, int height) {
    MoveWindow(Control(id), TwipsToPixelsX(left), TwipsToPixelsY(top), TwipsToPixelsX(width),
               TwipsToPixelsY(height), TRUE);
}

void Form::SetControlLeft(int id, int left) {
    RECT r = ControlRect(id);
    MoveControl(id, left, r.top, r.right - r.left, r.bottom - r.top);
}
void Form::SetControlTop(int id, int top) {
    RECT r = ControlRect(id);
    MoveControl(id, r.left, top, r.right - r.left, r.bottom - r.top);
}
void Form::SetControlWidth(int id, int width) {
    RECT r = ControlRect(id);
    MoveControl(id, r.left, r.top, width, r.bottom - r.top);
}

std::wstring Form::Text(int id) const {
    HWND h = Control(id);
    int n = GetWindowTextLengthW(h);
    std::wstring text(static_cast<size_t>(n) + 1, L'\0');
    GetWindowTextW(h, text.data(), n + 1);
    text.resize(static_cast<size_t>(n));
    return text;
}

void Form::SetText(int id, const std::wstring& text) { SetWindowTextW(Control(id), text.c_str()); }
void Form::SetVisible(int id, bool visible) { ShowWindow(Control(id), visible ? SW_SHOWNA : SW_HIDE); }
bool Form::IsVisible(int id) const { return (GetWindowLongW(Control(id), GWL_STYLE) & WS_VISIBLE) != 0; }
void Form::SetEnabled(int id, bool enabled) { EnableWindow(Control(id), enabled ? TRUE : FALSE); }

void Form::SetTextColor(int id, COLORREF color) {
    auto it = controls_.find(id);
    if (it == controls_.end()) return;
    it->second.textColor = color;
    InvalidateRect(it->second.hwnd, nullptr, TRUE);
}

void Form::SetBackColor(int id, COLORREF color) {
    auto it = controls_.find(id);
    if (it == controls_.end()) return;
    if (it->second.brush) DeleteObject(it->second.brush);
    it->second.backColor = color;
    it->second.brush = color == kDefaultColor ? nullptr : CreateSolidBrush(color);
    InvalidateRect(it->second.hwnd, nullptr, TRUE);
}

void Form::SetFrameLineTop(int frameId, int top) {
    HWND frame = Control(frameId);
    SetWindowLongPtrW(frame, GWLP_USERDATA, 1 + TwipsToPixelsY(top));
    InvalidateRect(frame, nullptr, TRUE);
}

void Form::SetFocus(int id) { ::SetFocus(Control(id)); }

void Form::FocusControl(HWND control) {
    if (GetActiveWindow() == hwnd_) {
        ::SetFocus(control);
    } else {
        lastFocus_ = control;
    }
}

bool Form::IsChecked(int id) const { return SendMessageW(Control(id), BM_GETCHECK, 0, 0) == BST_CHECKED; }

void Form::SetChecked(int id, bool checked) {
    SendMessageW(Control(id), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void Form::SelectAll(int id) { SendMessageW(Control(id), EM_SETSEL, 0, -1); }

HFONT Form::ControlFont(int id) const {
    auto it = controls_.find(id);
    return it == controls_.end() ? nullptr : it->second.font;
}

int Form::TextWidth(int id, const std::wstring& text) const {
    HWND h = Control(id);
    HDC dc = GetDC(h);
    HGDIOBJ old = SelectObject(dc, ControlFont(id));
    SIZE size{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    SelectObject(dc, old);
    ReleaseDC(h, dc);
    return PixelsToTwipsX(size.cx);
}

}  // namespace tolvane::ui
