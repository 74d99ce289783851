#pragma once
// The program's own two message boxes: Msg_Warning (a notice with OK) and
// Msg_YesNo (a question). Each is one shared instance: a caller sets what it
// needs, calls ShowModal(), and reads YesNo() afterwards. Closing resets
// everything but YesNo.
#include <cstdint>
#include <string>

#include "ui/core/Colors.h"
#include "ui/dialogs/MessageBoxBase.h"

namespace tolvane {

class Msg_Warning : public MessageBoxBase {
public:
    static Msg_Warning& Instance();

    // SetMessage1, SetMessage2, SetColor (0 keeps the design colour) and
    // SetTimerSet (seconds until the box closes by itself; 0 never; throws
    // VbError (overflow) when the milliseconds do not fit in 32 bits, keeping
    // the old value) come from MessageBoxBase; ShowModal() from ui::Form.

private:
    Msg_Warning();
    const wchar_t* ClassName() const override { return L"TolvaneMsgWarning"; }
    std::vector<ui::ControlSpec> Buttons() const override;
    int ButtonHolder() const override { return cmdOK; }
    int EscapeButton() const override { return cmdOK; }
    void OnButtonClicked(int id) override;
    void Timer1_Timer() override;
    void cmdOK_Click();
};

// Shows Msg_Warning modally with these lines; color 0 keeps the design colour.
void ShowWarning(const std::wstring& message1, const std::wstring& message2, std::uint32_t color = 0);

class Msg_YesNo : public MessageBoxBase {
public:
    static Msg_YesNo& Instance();

    // True after OK, false after Cancel or a time-out; kept between showings.
    bool YesNo() const { return yesNo_; }
    void SetYesNo(bool value) { yesNo_ = value; }
    using MessageBoxBase::Message1;
    using MessageBoxBase::Message2;
    // SetMessage1, SetMessage2, SetColor and SetTimerSet: as Msg_Warning.

private:
    Msg_YesNo();
    const wchar_t* ClassName() const override { return L"TolvaneMsgYesNo"; }
    std::vector<ui::ControlSpec> Buttons() const override;
    int ButtonHolder() const override { return fraCommandButton; }
    int EscapeButton() const override { return cmdCancel; }
    void OnButtonClicked(int id) override;
    void Timer1_Timer() override;
    bool OnQueryUnload() override;
    void cmdOK_Click();
    void cmdCancel_Click();
    void Answer(bool yes);

    bool yesNo_ = false;
    bool answering_ = false;
};

}  // namespace tolvane
