#pragma once
// What the two message boxes share: two coloured lines that widen the box
// when they do not fit, an optional time-out, the beep and the opening
// animation, and the reset on closing. Each box adds its buttons and answers.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "ui/core/Form.h"

namespace tolvane {

class MessageBoxBase : public ui::Form {
public:
    // Control ids, shared by both boxes (a box uses the ones it has).
    static constexpr int lblMessage0 = 100;
    static constexpr int lblMessage1 = 101;
    static constexpr int cmdOK = 102;
    static constexpr int cmdCancel = 103;
    static constexpr int fraCommandButton = 104;

    void SetMessage1(const std::wstring& text);
    void SetMessage2(const std::wstring& text);
    // 0 keeps the box's own colour.
    void SetColor(std::uint32_t color);
    // Seconds until the box closes by itself; 0 never. Throws VbError
    // (overflow) when the milliseconds do not fit in 32 bits, keeping the old value.
    void SetTimerSet(std::int32_t seconds);

protected:
    explicit MessageBoxBase(COLORREF designColor);

    const std::wstring& Message1() const { return message1_; }
    const std::wstring& Message2() const { return message2_; }

    // The buttons, after the two lines in the layout.
    virtual std::vector<ui::ControlSpec> Buttons() const = 0;
    // The control that is centred with the lines when the box widens.
    virtual int ButtonHolder() const = 0;
    // What running out of time means: OK for a notice, Cancel for a question.
    virtual void Timer1_Timer() = 0;
    // Each box answers its buttons in OnButtonClicked: a click, Enter while
    // one has the focus, and Esc all arrive there.
    // The button Esc presses.
    virtual int EscapeButton() const = 0;

    static const ui::FontSpec kButtonFont;

private:
    ui::FormStyle Style() const override;
    std::vector<ui::ControlSpec> Layout() const override;
    void OnLoad() override;
    void OnUnload() override;
    void OnTimer(UINT_PTR id) override;
    void OnCommand(int id, int notifyCode) override;

    // Sets a line's text, sizes the label to it (keeping its left edge) and
    // widens the box when the line does not fit.
    void SetLine(int index, const std::wstring& text);
    void lblMessage_Change(int index);

    COLORREF designColor_;
    std::wstring message1_;
    std::wstring message2_;
    std::uint32_t color_ = 0;
    std::int32_t timerMs_ = 0;
};

}  // namespace tolvane
