#pragma once
// The title window shown, without waiting, before the main window exists: the
// product name and the version for two seconds, then the main window.
#include <windows.h>

#include "ui/core/Form.h"

namespace tolvane {

class frmSplash : public ui::Form {
public:
    static frmSplash& Instance();

    // Control ids.
    static constexpr int kFrame1 = 100;
    static constexpr int kImgLogo = 101;
    static constexpr int kLblProductName = 102;
    static constexpr int kLblVersion = 103;

protected:
    ui::FormStyle Style() const override;
    std::vector<ui::ControlSpec> Layout() const override;
    const wchar_t* ClassName() const override { return L"TolvaneSplash"; }
    void OnLoad() override;
    void OnUnload() override;
    void OnTimer(UINT_PTR id) override;
    void OnCommand(int id, int notifyCode) override;
    bool PreTranslate(MSG& msg) override;
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) override;

private:
    void Form_Load();
    void Timer1_Timer();
    void Form_KeyPress();
    void Frame1_Click();
    // Runs the next step (ShowMain or SplashCancel) and unloads the splash,
    // once, whichever of timer, key and click comes first.
    void HandOver(void (*next)());
    void KeepVersionInFrame();
    void LoadLogo();
    void DrawLogo(const DRAWITEMSTRUCT& item) const;

    HBITMAP logo_ = nullptr;
    bool handingOver_ = false;
    bool pressed_ = false;
};

}  // namespace tolvane
