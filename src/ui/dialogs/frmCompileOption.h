#pragma once
// The compile settings dialog: dependency order, skipping up-to-date
// projects, compilers at once, the time limit of one build, reading the
// compiler's own log and the version every project is built with, all kept
// in Tolvane.ini (COMMON). Shown modally; no properties.
#include "ui/core/Form.h"

namespace tolvane {

class frmCompileOption : public ui::Form {
public:
    static frmCompileOption& Instance();

    // Control ids.
    static constexpr int cmdGo = 100;
    static constexpr int cmdCancel = 101;
    static constexpr int Frame1 = 102;
    static constexpr int Label4 = 103;
    static constexpr int chkOrder = 104;
    static constexpr int chkSkip = 105;
    static constexpr int lblParallel = 106;
    static constexpr int cboParallel = 107;
    static constexpr int lblTimeLimit = 108;
    static constexpr int txtTimeLimit = 109;
    static constexpr int lblTimeLimitNote = 110;
    static constexpr int chkCompilerLog = 111;
    static constexpr int lblVersion = 120;
    static constexpr int txtVersion = 121;
    static constexpr int lblVersionNote = 122;

private:
    frmCompileOption() = default;
    const wchar_t* ClassName() const override { return L"TolvaneCompileOption"; }
    ui::FormStyle Style() const override;
    std::vector<ui::ControlSpec> Layout() const override;
    void OnLoad() override;
    void OnButtonClicked(int id) override;
    void OnCommand(int id, int notifyCode) override;
    void OnUnhandledError(const std::wstring& description) override;

    void cmdGo_Click();
    void cmdCancel_Click();
};

}  // namespace tolvane
