#pragma once
// The options dialog: names the Visual Basic executable, stored as "EXE" in
// Tolvane.ini and kept in gstrVBExe. Shown modally; no properties.
#include "ui/core/Form.h"

namespace tolvane {

class frmOption : public ui::Form {
public:
    static frmOption& Instance();

    // Control ids.
    static constexpr int cmdGo = 100;
    static constexpr int cmdCancel = 101;
    static constexpr int Frame1 = 102;
    static constexpr int Label4 = 103;
    static constexpr int Label6 = 104;
    static constexpr int txtEXE = 105;
    static constexpr int cmdExe = 106;

private:
    frmOption() = default;
    const wchar_t* ClassName() const override { return L"TolvaneOption"; }
    ui::FormStyle Style() const override;
    std::vector<ui::ControlSpec> Layout() const override;
    void OnLoad() override;
    void OnButtonClicked(int id) override;
    void OnCommand(int id, int notifyCode) override;
    void OnUnhandledError(const std::wstring& description) override;

    void cmdExe_Click();
    void cmdGo_Click();
    void cmdCancel_Click();
    void txtEXE_GotFocus();
    void ClearPath();
    void TrimPath();
};

}  // namespace tolvane
