#pragma once
// The window layer every window of the program stands on: one C++ class per
// window, controls built from a layout table in twips, modal showing, colours
// and fonts per control, and no exception ever crossing into the platform.
#include <windows.h>

#include <map>
#include <string>
#include <vector>

namespace tolvane::ui {

enum class ControlKind {
    Label,          // static text
    TextBox,        // one-line edit
    LogBox,         // multi-line read-only edit with both scroll bars
    Button,
    CheckBox,
    Frame,          // real container window with an etched border
    Panel,          // real container window without border
    ListBox,
    CheckList,      // list view with a check box per item, one column, no header; the
                    // form keeps the items and answers for their text and marks
    DropDown,       // drop-down list (combo box)
    Picture,        // static that shows an icon or bitmap and reports clicks
};

struct FontSpec {
    const wchar_t* face = L"ＭＳ ゴシック";
    int tenthsOfPoint = 90;  // 9 point
    bool bold = false;
    bool italic = false;
};

constexpr COLORREF kDefaultColor = CLR_INVALID;

struct ControlSpec {
    int id;
    ControlKind kind;
    int parent;  // 0: the form itself; otherwise the id of a Frame or Panel
    int left, top, width, height;  // twips, relative to the container
    const wchar_t* text = L"";
    DWORD style = 0;    // added to the kind's own style
    const FontSpec* font = nullptr;  // nullptr: the form's font
    COLORREF textColor = kDefaultColor;
    COLORREF backColor = kDefaultColor;
    bool transparent = false;  // labels drawn over their container
};

struct FormStyle {
    DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
    DWORD exStyle = WS_EX_CONTROLPARENT;
    int clientWidth = 0;   // twips
    int clientHeight = 0;  // twips
    const wchar_t* caption = L"";
    FontSpec font{};
    COLORREF backColor = kDefaultColor;  // kDefaultColor: the button-face colour
    // A window with no owner (the main window, the splash screen). Others are
    // owned by the form shown modally last, else by the active window, else
    // by the dialog owner below, so they stay above it even when another
    // program is in front.
    bool topLevel = false;
    // The owner of dialogs that open while no window of the program is active.
    bool dialogOwner = false;
};

class Form {
public:
    Form();
    virtual ~Form();
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    bool IsLoaded() const { return hwnd_ != nullptr; }
    HWND Hwnd() const { return hwnd_; }

    // Creates the window and its controls, then runs OnLoad. Nothing when loaded.
    void Load();
    // Asks OnQueryUnload, then destroys the window (OnUnload runs first).
    // Returns false when the form refused.
    bool Unload();
    // Loads when needed, shows the window and returns once it has been unloaded.
    // Every other window of the thread is disabled meanwhile.
    void ShowModal();
    // Loads when needed and shows the window without waiting.
    void Show();

    HWND Control(int id) const;

    // Window geometry in twips (outer size and position, as the forms use them).
    int Width() const;
    int Height() const;
    void Move(int left, int top);
    void Resize(int width, int height);
    int ClientWidth() const;
    int ClientHeight() const;

    void SetCaption(const std::wstring& caption);

    // Control helpers in twips, relative to the control's container.
    RECT ControlRect(int id) const;  // left, top, right, bottom in twips
    void MoveControl(int id, int left, int top, int width, int height);
    void SetControlLeft(int id, int left);
    void SetControlTop(int id, int top);
    void SetControlWidth(int id, int width);
    std::wstring Text(int id) const;
    void SetText(int id, const std::wstring& text);
    void SetVisible(int id, bool visible);
    bool IsVisible(int id) const;
    void SetEnabled(int id, bool enabled);
    void SetTextColor(int id, COLORREF color);
    void SetBackColor(int id, COLORREF color);
    void SetFocus(int id);
    // A check box's mark, by the box's id.
    bool IsChecked(int id) const;
    void SetChecked(int id, bool checked);
    // Draws a frame's border from this height (twips) down, so that a label
    // there sits on the line as a frame's caption does.
    void SetFrameLineTop(int frameId, int top);
    // Selects the whole text of an edit control.
    void SelectAll(int id);
    // Width in twips that the control's text takes in its font.
    int TextWidth(int id, const std::wstring& text) const;
    HFONT ControlFont(int id) const;

protected:
    virtual FormStyle Style() const = 0;
    virtual std::vector<ControlSpec> Layout() const = 0;
    virtual const wchar_t* ClassName() const = 0;

    virtual void OnLoad() {}
    // False refuses the close (the close box, Alt+F4 and Unload all ask).
    virtual bool OnQueryUnload() { return true; }
    virtual void OnUnload() {}
    // A click of a button or check box of the layout (the mouse, the space
    // bar, or Enter on the default button); every other command goes to OnCommand.
    virtual void OnButtonClicked(int /*id*/) {}
    virtual void OnCommand(int /*id*/, int /*notifyCode*/) {}
    virtual LRESULT OnNotify(NMHDR* /*header*/) { return 0; }
    virtual void OnTimer(UINT_PTR /*id*/) {}
    virtual void OnResize() {}
    // A chance to handle a keyboard message before dialog navigation does.
    // Return true when it has been handled.
    virtual bool PreTranslate(MSG& /*msg*/) { return false; }
    // Any other message; set handled to true to stop default processing.
    virtual LRESULT OnMessage(UINT /*message*/, WPARAM /*wParam*/, LPARAM /*lParam*/, bool& /*handled*/) {
        return 0;
    }
    // Gives the focus to a control now when the form is active, otherwise when
    // it next becomes active, so that a form in the background takes nothing
    // from the program in front.
    void FocusControl(HWND control);
    // True while activation gives the focus back to a control: a handler of
    // that control's focus can tell it from the user moving there.
    bool RestoringFocus() const { return restoringFocus_; }
    // Called when a handler threw; the default shows the description.
    virtual void OnUnhandledError(const std::wstring& description);

private:
    friend bool TranslateForForm(MSG& msg);
    static BOOL CALLBACK DisableOtherWindow(HWND w, LPARAM param);
    static HWND OwnerForNewWindow();
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Colorize(HDC dc, HWND control);
    void CreateControls();
    void DispatchCommand(int id, int notifyCode);
    void ForgetWindow();
    HFONT FontFor(const FontSpec& font);

    struct ControlState {
        HWND hwnd = nullptr;
        int parent = 0;
        bool button = false;  // a Button or CheckBox: its clicks go to OnButtonClicked
        COLORREF textColor = kDefaultColor;
        COLORREF backColor = kDefaultColor;
        bool transparent = false;
        HFONT font = nullptr;
        HBRUSH brush = nullptr;
    };

    HWND hwnd_ = nullptr;
    std::map<int, ControlState> controls_;
    std::vector<HFONT> fonts_;
    HBRUSH backBrush_ = nullptr;
    COLORREF backColor_ = 0;
    bool unloading_ = false;
    HWND lastFocus_ = nullptr;
    bool restoringFocus_ = false;    // the control to give the focus back to
    std::vector<HWND> disabled_;  // windows a modal showing shut out
};

// Dialog navigation and the form's own key handling for one message.
bool TranslateForForm(MSG& msg);

}  // namespace tolvane::ui
