#pragma once
// The version window: title, version, a one-line description and two contact
// fields that hand their address to the shell when they gain the focus. Its
// icon opens the credits roll.
#include <windows.h>

#include <string>

#include "ui/core/Form.h"
#include "ui/dialogs/rules/StaffRoll.h"

namespace tolvane {

class frmAbout : public ui::Form {
public:
    static frmAbout& Instance();

    // Control ids. Text(0) and Text(1) are the contact fields.
    static constexpr int kCmdOK = 100;
    static constexpr int kText0 = 101;  // web address
    static constexpr int kText1 = 102;  // e-mail address
    static constexpr int kPicIcon = 103;
    static constexpr int kLblTitle = 104;
    static constexpr int kLblVersion = 105;
    static constexpr int kLblMessage = 106;
    static constexpr int kLabel2 = 107;
    static constexpr int kLabel3 = 108;
    static constexpr int kLblNotice0 = 110;  // four red notices, 110 to 113
    static constexpr int kNoticeCount = 4;

    static constexpr const wchar_t* kWebAddress = L"https://tolvane.example.org/";
    static constexpr const wchar_t* kMailAddress = L"support@tolvane.example.org";

    // The opener: its icon becomes this window's icon and picture.
    void SetPreForm(HWND form);
    void SetPreForm(const ui::Form& form);
    // Names credited in the roll (0 idea, 1 design, 2 coding, 3 test,
    // 4 debugging); VbError (subscript out of range) outside 0 to 4.
    void SetTanto(int index, const std::wstring& name);

protected:
    ui::FormStyle Style() const override;
    std::vector<ui::ControlSpec> Layout() const override;
    const wchar_t* ClassName() const override { return L"TolvaneAbout"; }
    void OnLoad() override;
    void OnUnload() override;
    void OnButtonClicked(int id) override;
    void OnCommand(int id, int notifyCode) override;
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) override;

private:
    void Form_Load();
    void Form_Unload();
    void cmdOK_Click();
    void picIcon_Click();
    void Text_GotFocus(int index);
    void AddToolTip(int id, const wchar_t* text);
    void Paint();

    HWND preForm_ = nullptr;
    HICON icon_ = nullptr;
    HWND toolTip_ = nullptr;
    bool reporting_ = false;
    StaffNames tanto_{};
};

}  // namespace tolvane
