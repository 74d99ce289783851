#include "ui/core/Form.h"

#include <commctrl.h>

#include <algorithm>

#include "support/VbError.h"
#include "support/win32/DoEvents.h"
#include "ui/core/Twips.h"

namespace tolvane::ui {
namespace {

constexpr wchar_t kFormProperty[] = L"TolvaneForm";
constexpr wchar_t kContainerClass[] = L"TolvaneContainer";

// Forms shown modally, innermost last, and the window that owns dialogs when
// none of the program's windows is active.
std::vector<HWND> g_modalStack;
HWND g_dialogOwner = nullptr;

Form* FormOf(HWND hwnd) {
    return hwnd ? static_cast<Form*>(GetPropW(hwnd, kFormProperty)) : nullptr;
}

// Frames and panels are real windows, so that disabling one shuts out its
// children; they pass their children's notifications on to the form.
LRESULT CALLBACK ContainerProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_DRAWITEM:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
        return SendMessageW(GetAncestor(hwnd, GA_ROOT), message, wParam, lParam);
    case WM_ERASEBKGND: {
        RECT rc;
        GetClientRect(hwnd, &rc);
        auto brush = reinterpret_cast<HBRUSH>(
            SendMessageW(GetAncestor(hwnd, GA_ROOT), WM_CTLCOLORDLG, wParam, reinterpret_cast<LPARAM>(hwnd)));
        FillRect(reinterpret_cast<HDC>(wParam), &rc, brush ? brush : GetSysColorBrush(COLOR_BTNFACE));
        return 1;
    }
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, &ps);
        // A frame keeps 1 + the top of its line, in pixels; 0 is a plain panel.
        if (const LONG_PTR frame = GetWindowLongPtrW(hwnd, GWLP_USERDATA)) {
            RECT rc;
            GetClientRect(hwnd, &rc);
            rc.top += static_cast<int>(frame) - 1;
            DrawEdge(dc, &rc, EDGE_ETCHED, BF_RECT);
        }
        EndPaint(hwnd, &ps);
        return 0;
    }
    default:
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

void RegisterContainerClass() {
    static bool registered = false;
    if (registered) return;
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = ContainerProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = kContainerClass;
    RegisterClassExW(&wc);
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_STANDARD_CLASSES | ICC_LISTVIEW_CLASSES | ICC_WIN95_CLASSES};
    InitCommonControlsEx(&icc);
    registered = true;
}

struct KindStyle {
    const wchar_t* className;
    DWORD style;
    DWORD exStyle;
};

KindStyle StyleOf(ControlKind kind) {
    constexpr DWORD child = WS_CHILD | WS_VISIBLE;
    switch (kind) {
    case ControlKind::Label: return {L"STATIC", child | SS_NOPREFIX | SS_NOTIFY, 0};
    case ControlKind::TextBox: return {L"EDIT", child | WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE};
    case ControlKind::LogBox:
        return {L"EDIT", child | WS_TABSTOP | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | ES_AUTOHSCROLL |
                             WS_VSCROLL | WS_HSCROLL,
                WS_EX_CLIENTEDGE};
    case ControlKind::Button: return {L"BUTTON", child | WS_TABSTOP | BS_PUSHBUTTON, 0};
    case ControlKind::CheckBox: return {L"BUTTON", child | WS_TABSTOP | BS_AUTOCHECKBOX, 0};
    case ControlKind::Frame:
    case ControlKind::Panel: return {kContainerClass, child | WS_CLIPSIBLINGS, WS_EX_CONTROLPARENT};
    case ControlKind::ListBox:
        return {L"LISTBOX", child | WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT, WS_EX_CLIENTEDGE};
    case ControlKind::CheckList:
        return {WC_LISTVIEWW,
                child | WS_TABSTOP | LVS_REPORT | LVS_NOCOLUMNHEADER | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_OWNERDATA,
                WS_EX_CLIENTEDGE};
    case ControlKind::DropDown: return {L"COMBOBOX", child | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, 0};
    case ControlKind::Picture: return {L"STATIC", child | SS_NOTIFY, 0};
    }
    return {L"STATIC", child, 0};
}

// State images 1 and 2 of a check list: an empty and a ticked box. Drawn by
// the form, so that no platform ticks a box by itself: the list holds no
// items, and a tick only counts once the form has recorded it.
HIMAGELIST CheckBoxPictures() {
    const int side = TwipsToPixelsX(240), box = TwipsToPixelsX(195);
    HIMAGELIST pictures = ImageList_Create(side, side, ILC_COLOR32, 2, 0);
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    for (UINT ticked : {0u, static_cast<UINT>(DFCS_CHECKED)}) {
        HBITMAP picture = CreateCompatibleBitmap(screen, side, side);
        HGDIOBJ old = SelectObject(dc, picture);
        RECT all{0, 0, side, side};
        FillRect(dc, &all, GetSysColorBrush(COLOR_WINDOW));
        RECT r{(side - box) / 2, (side - box) / 2, (side - box) / 2 + box, (side - box) / 2 + box};
        DrawFrameControl(dc, &r, DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_FLAT | ticked);
        SelectObject(dc, old);
        ImageList_Add(pictures, picture, nullptr);
        DeleteObject(picture);
    }
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    return pictures;
}

}  // namespace

// Every message this thread dispatches gives the forms' keyboard handling its turn.
Form::Form() { SetMessageFilter(TranslateForForm); }

Form::~Form() {
    if (hwnd_) {
        RemovePropW(hwnd_, kFormProperty);
        DestroyWindow(hwnd_);
    }
    for (HFONT f : fonts_) DeleteObject(f);
    for (auto& [id, c] : controls_)
        if (c.brush) DeleteObject(c.brush);
    if (backBrush_) DeleteObject(backBrush_);
}

void Form::Load() {
    if (hwnd_) return;
    RegisterContainerClass();
    const FormStyle style = Style();
    HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    if (!GetClassInfoExW(instance, ClassName(), &wc)) {
        wc = WNDCLASSEXW{};
        wc.cbSize = sizeof(wc);
        wc.lpfnWndProc = WindowProc;
        wc.hInstance = instance;
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(1));
        wc.lpszClassName = ClassName();
        RegisterClassExW(&wc);
    }
    backColor_ = style.backColor == kDefaultColor ? GetSysColor(COLOR_BTNFACE) : style.backColor;
    if (backBrush_) DeleteObject(backBrush_);
    backBrush_ = CreateSolidBrush(backColor_);

    RECT rc{0, 0, TwipsToPixelsX(style.clientWidth), TwipsToPixelsY(style.clientHeight)};
    AdjustWindowRectEx(&rc, style.style, FALSE, style.exStyle);
    HWND owner = style.topLevel ? nullptr : OwnerForNewWindow();
    CreateWindowExW(style.exStyle, ClassName(), style.caption, style.style, CW_USEDEFAULT, CW_USEDEFAULT,
                    rc.right - rc.left, rc.bottom - rc.top, owner, nullptr, instance, this);
    if (!hwnd_) throw VbError(static_cast<std::int32_t>(GetLastError()), L"Form", L"ウィンドウを作成できませんでした");
    if (style.dialogOwner) g_dialogOwner = hwnd_;
    SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(FontFor(style.font)), FALSE);
    // A form of many controls takes tens of milliseconds to come up under
    // Wine: between the steps, the messages other programs wait on are answered.
    ServeSentMessages();
    CreateControls();
    ServeSentMessages();
    OnLoad();
}

void Form::CreateControls() {
    const FormStyle style = Style();
    HFONT formFont = FontFor(style.font);
    for (const ControlSpec& control : Layout()) {
        KindStyle ks = StyleOf(control.kind);
        HWND parent = control.parent ? Control(control.parent) : hwnd_;
        int height = TwipsToPixelsY(control.height);
        if (control.kind == ControlKind::DropDown) height += 240;  // room for the opened list
        HWND h = CreateWindowExW(ks.exStyle, ks.className, control.text, ks.style | control.style,
                                 TwipsToPixelsX(control.left), TwipsToPixelsY(control.top), TwipsToPixelsX(control.width),
                                 height, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(control.id)),
                                 GetModuleHandleW(nullptr), nullptr);
        ControlState state;
        state.hwnd = h;
        state.parent = control.parent;
        state.button = control.kind == ControlKind::Button || control.kind == ControlKind::CheckBox;
        state.textColor = control.textColor;
        state.backColor = control.backColor;
        state.transparent = control.transparent;
        state.font = control.font ? FontFor(*control.font) : formFont;
        if (control.backColor != kDefaultColor) state.brush = CreateSolidBrush(control.backColor);
        SendMessageW(h, WM_SETFONT, reinterpret_cast<WPARAM>(state.font), FALSE);
        if (control.kind == ControlKind::Frame) SetWindowLongPtrW(h, GWLP_USERDATA, 1);
        if (control.kind == ControlKind::CheckList) {
            ListView_SetExtendedListViewStyle(h, LVS_EX_FULLROWSELECT);
            ListView_SetImageList(h, CheckBoxPictures(), LVSIL_STATE);
            // The marks are the form's: the list asks for each one it draws.
            ListView_SetCallbackMask(h, LVIS_STATEIMAGEMASK);
            LVCOLUMNW column{};
            column.mask = LVCF_WIDTH;
            column.cx = TwipsToPixelsX(control.width) - GetSystemMetrics(SM_CXVSCROLL) - 4;
            ListView_InsertColumn(h, 0, &column);
        }
        controls_[control.id] = state;
    }
}

HFONT Form::FontFor(const FontSpec& font) {
    LOGFONTW lf{};
    lf.lfHeight = -MulDiv(font.tenthsOfPoint, ScreenDpiY(), 720);
    lf.lfWeight = font.bold ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = font.italic ? TRUE : FALSE;
    lf.lfCharSet = SHIFTJIS_CHARSET;
    lf.lfQuality = DEFAULT_QUALITY;
    lstrcpynW(lf.lfFaceName, font.face, LF_FACESIZE);
    HFONT handle = CreateFontIndirectW(&lf);
    fonts_.push_back(handle);
    return handle;
}

bool Form::Unload() {
    if (!hwnd_) return true;
    if (!unloading_ && !OnQueryUnload()) return false;
    unloading_ = true;
    try {
        OnUnload();
    } catch (...) {
        unloading_ = false;
        throw;
    }
    HWND h = hwnd_;
    // Give activation back to the windows a modal showing disabled before this
    // one goes, or the platform would activate some other program's window.
    for (HWND w : disabled_) EnableWindow(w, TRUE);
    disabled_.clear();
    ForgetWindow();
    DestroyWindow(h);
    unloading_ = false;
    return true;
}

void Form::ForgetWindow() {
    RemovePropW(hwnd_, kFormProperty);
    if (g_dialogOwner == hwnd_) g_dialogOwner = nullptr;
    hwnd_ = nullptr;
    lastFocus_ = nullptr;
    for (auto& [id, c] : controls_)
        if (c.brush) DeleteObject(c.brush);
    controls_.clear();
    for (HFONT f : fonts_) DeleteObject(f);
    fonts_.clear();
}

void Form::Show() {
    Load();
    ShowWindow(hwnd_, SW_SHOW);
    UpdateWindow(hwnd_);
}

void Form::ShowModal() {
    Load();
    if (!hwnd_) return;  // OnLoad unloaded the form
    HWND self = hwnd_;
    EnumThreadWindows(GetCurrentThreadId(), DisableOtherWindow, reinterpret_cast<LPARAM>(this));
    ShowWindow(self, SW_SHOW);
    SetForegroundWindow(self);
    g_modalStack.push_back(self);
    MSG msg;
    while (hwnd_ == self) {
        BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        if (got < 0) break;
        DispatchWindowMessage(msg);
    }
    for (HWND w : disabled_) EnableWindow(w, TRUE);
    disabled_.clear();
}

HWND Form::OwnerForNewWindow() {
    // The active window is none while another program is in front, the usual
    // case when a long run ends; an unowned box would hide behind the
    // disabled window with a taskbar button of its own.
    for (auto it = g_modalStack.rbegin(); it != g_modalStack.rend(); ++it)
        if (IsWindow(*it)) return *it;
    if (HWND active = GetActiveWindow()) return active;
    return g_dialogOwner && IsWindow(g_dialogOwner) ? g_dialogOwner : nullptr;
}

BOOL CALLBACK Form::DisableOtherWindow(HWND w, LPARAM param) {
    auto* form = reinterpret_cast<Form*>(param);
    if (w != form->hwnd_ && IsWindowVisible(w) && IsWindowEnabled(w)) {
        form->disabled_.push_back(w);
        // Disabling may take the focus from the window's control (Windows
        // does, Wine does not); the window gets it back once active again.
        HWND focus = ::GetFocus();
        Form* other = FormOf(w);
        if (other && focus && IsChild(w, focus)) other->lastFocus_ = focus;
        EnableWindow(w, FALSE);
    }
    return TRUE;
}


void Form::OnUnhandledError(const std::wstring& description) {
    MessageBoxW(hwnd_, description.c_str(), L"Tolvane", MB_OK | MB_ICONERROR);
}

LRESULT Form::Colorize(HDC dc, HWND control) {
    for (auto& [id, c] : controls_) {
        if (c.hwnd != control) continue;
        if (c.textColor != kDefaultColor) ::SetTextColor(dc, c.textColor);
        if (c.transparent) {
            SetBkMode(dc, TRANSPARENT);
            HWND parent = GetParent(control);
            if (parent != hwnd_) return SendMessageW(hwnd_, WM_CTLCOLORDLG, reinterpret_cast<WPARAM>(dc),
                                                     reinterpret_cast<LPARAM>(parent));
            return reinterpret_cast<LRESULT>(backBrush_);
        }
        if (c.brush) {
            SetBkColor(dc, c.backColor);
            return reinterpret_cast<LRESULT>(c.brush);
        }
        return 0;
    }
    return 0;
}

LRESULT CALLBACK Form::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Form* form = FormOf(hwnd);
    if (message == WM_NCCREATE) {
        form = static_cast<Form*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        form->hwnd_ = hwnd;
        SetPropW(hwnd, kFormProperty, form);
    }
    if (!form || form->hwnd_ != hwnd) return DefWindowProcW(hwnd, message, wParam, lParam);
    // No exception may cross into the platform's code.
    try {
        return form->HandleMessage(message, wParam, lParam);
    } catch (const VbError& e) {
        form->OnUnhandledError(e.Description());
    } catch (const std::exception&) {
        form->OnUnhandledError(L"予期しないエラーが発生しました");
    }
    return 0;
}

void Form::DispatchCommand(int id, int notifyCode) {
    const auto it = controls_.find(id);
    if (notifyCode == BN_CLICKED && it != controls_.end() && it->second.button)
        OnButtonClicked(id);
    else
        OnCommand(id, notifyCode);
}

LRESULT Form::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    bool handled = false;
    LRESULT result = OnMessage(message, wParam, lParam, handled);
    if (handled) return result;
    switch (message) {
    case WM_COMMAND:
        DispatchCommand(LOWORD(wParam), HIWORD(wParam));
        return 0;
    case WM_NOTIFY:
        return OnNotify(reinterpret_cast<NMHDR*>(lParam));
    case WM_TIMER:
        OnTimer(wParam);
        return 0;
    case WM_SIZE:
        if (!controls_.empty()) OnResize();
        return 0;
    case WM_CLOSE:
        Unload();
        return 0;
    case WM_NCDESTROY: {
        // Destroyed from outside (with its owner, say) rather than unloaded:
        // the form must know it is no longer loaded.
        HWND h = hwnd_;
        ForgetWindow();
        return DefWindowProcW(h, message, wParam, lParam);
    }
    case WM_ACTIVATE: {
        // As a dialog does: on activation the focus goes back to the control
        // that had it, or to the first in the tab order, not to the bare window.
        if (LOWORD(wParam) == WA_INACTIVE) {
            HWND focus = ::GetFocus();
            if (focus && IsChild(hwnd_, focus)) lastFocus_ = focus;
            break;
        }
        if (HIWORD(wParam)) break;  // minimised
        HWND focus = ::GetFocus();
        if (focus && IsChild(hwnd_, focus)) return 0;
        HWND target = lastFocus_ && IsChild(hwnd_, lastFocus_) && IsWindowVisible(lastFocus_) &&
                              IsWindowEnabled(lastFocus_)
                          ? lastFocus_
                          : GetNextDlgTabItem(hwnd_, nullptr, FALSE);
        if (!target) break;
        restoringFocus_ = true;
        ::SetFocus(target);
        restoringFocus_ = false;
        return 0;
    }
    case WM_CTLCOLORDLG: {
        // Containers ask for their background here.
        HWND container = reinterpret_cast<HWND>(lParam);
        for (auto& [id, c] : controls_)
            if (c.hwnd == container && c.brush) return reinterpret_cast<LRESULT>(c.brush);
        return reinterpret_cast<LRESULT>(backBrush_);
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN: {
        LRESULT brush = Colorize(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
        if (brush) return brush;
        SetBkColor(reinterpret_cast<HDC>(wParam), backColor_);
        return reinterpret_cast<LRESULT>(backBrush_);
    }
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX: {
        LRESULT brush = Colorize(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
        if (brush) return brush;
        break;
    }
    case WM_ERASEBKGND: {
        RECT rc;
        GetClientRect(hwnd_, &rc);
        FillRect(reinterpret_cast<HDC>(wParam), &rc, backBrush_);
        return 1;
    }
    default:
        break;
    }
    return DefWindowProcW(hwnd_, message, wParam, lParam);
}

bool TranslateForForm(MSG& msg) {
    HWND root = msg.hwnd ? GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
    Form* form = FormOf(root);
    if (!form) return false;
    try {
        if (form->PreTranslate(msg)) return true;
    } catch (const VbError& e) {
        form->OnUnhandledError(e.Description());
        return true;
    } catch (const std::exception&) {
        form->OnUnhandledError(L"予期しないエラーが発生しました");
        return true;
    }
    return IsDialogMessageW(root, &msg) != FALSE;
}

}  // namespace tolvane::ui
