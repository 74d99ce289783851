#include "ui/dialogs/MessageBoxes.h"

namespace tolvane {

// ---- Msg_Warning ----

Msg_Warning& Msg_Warning::Instance() {
    static Msg_Warning instance;
    return instance;
}

Msg_Warning::Msg_Warning() : MessageBoxBase(kRed) {}

std::vector<ui::ControlSpec> Msg_Warning::Buttons() const {
    ui::ControlSpec ok{cmdOK, ui::ControlKind::Button, 0, 2333, 975, 1215, 495, L"OK"};
    ok.font = &kButtonFont;
    return {ok};
}

void Msg_Warning::OnButtonClicked(int id) {
    if (id == cmdOK) cmdOK_Click();
}

void Msg_Warning::Timer1_Timer() { cmdOK_Click(); }

void Msg_Warning::cmdOK_Click() {
    SetVisible(cmdOK, false);
    Unload();
}

// ---- Msg_YesNo ----

void ShowWarning(const std::wstring& message1, const std::wstring& message2, std::uint32_t color) {
    Msg_Warning& box = Msg_Warning::Instance();
    box.SetMessage1(message1);
    box.SetMessage2(message2);
    box.SetColor(color);
    box.ShowModal();
}

Msg_YesNo& Msg_YesNo::Instance() {
    static Msg_YesNo instance;
    return instance;
}

Msg_YesNo::Msg_YesNo() : MessageBoxBase(kBlue) {}

std::vector<ui::ControlSpec> Msg_YesNo::Buttons() const {
    ui::ControlSpec frame{fraCommandButton, ui::ControlKind::Panel, 0, 1613, 825, 2655, 720};
    // Cancel comes first in the tab order, so a question opens on "no".
    ui::ControlSpec cancel{cmdCancel, ui::ControlKind::Button, fraCommandButton, 1395, 165, 1215, 495, L"Cancel"};
    ui::ControlSpec ok{cmdOK, ui::ControlKind::Button, fraCommandButton, 45, 165, 1215, 495, L"OK"};
    cancel.font = &kButtonFont;
    ok.font = &kButtonFont;
    return {frame, cancel, ok};
}

void Msg_YesNo::OnButtonClicked(int id) {
    if (id == cmdOK) cmdOK_Click();
    else if (id == cmdCancel) cmdCancel_Click();
}

// An unanswered question counts as "no".
void Msg_YesNo::Timer1_Timer() { cmdCancel_Click(); }

void Msg_YesNo::cmdOK_Click() { Answer(true); }
void Msg_YesNo::cmdCancel_Click() { Answer(false); }

void Msg_YesNo::Answer(bool yes) {
    SetVisible(cmdOK, false);
    SetVisible(cmdCancel, false);
    yesNo_ = yes;
    answering_ = true;
    Unload();
    answering_ = false;
}

// Closed by the system (Alt+F4) without an answer: an earlier "yes" must not
// stand for this question.
bool Msg_YesNo::OnQueryUnload() {
    if (!answering_) yesNo_ = false;
    return true;
}

}  // namespace tolvane
