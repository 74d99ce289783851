#pragma once
// The credits roll: a tall picture of centred lines that scrolls up over a
// black window until it has passed, then closes; a click closes it at once.
#include <windows.h>

#include <string>
#include <vector>

#include "ui/core/Form.h"
#include "ui/dialogs/rules/StaffRoll.h"

namespace tolvane {

class frmRoll : public ui::Form {
public:
    static frmRoll& Instance();

    static constexpr int kPicStaffRoll = 100;
    static constexpr int kRollLength = 25000;  // the picture's height, twips

    // Names credited (0 idea, 1 design, 2 coding, 3 test, 4 debugging);
    // VbError (subscript out of range) outside 0 to 4.
    void SetTanto(int index, const std::wstring& name);

protected:
    ui::FormStyle Style() const override;
    std::vector<ui::ControlSpec> Layout() const override;
    const wchar_t* ClassName() const override { return L"TolvaneRoll"; }
    void OnLoad() override;
    void OnUnload() override;
    void OnTimer(UINT_PTR id) override;
    void OnCommand(int id, int notifyCode) override;
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) override;

private:
    void Form_Load();
    void Timer1_Timer();
    void Form_Click();
    void PrintCentred(const std::wstring& text);
    void ReleasePicture();

    StaffNames tanto_{};
    // The picture is drawn once into this bitmap and shown from it.
    HDC pictureDc_ = nullptr;
    HBITMAP picture_ = nullptr;
    HGDIOBJ oldBitmap_ = nullptr;
    HGDIOBJ oldFont_ = nullptr;
    int leftPixels_ = 0;
    int topPixels_ = 0;
    int widthPixels_ = 0;
    int heightPixels_ = 0;
    int currentY_ = 0;
    bool pressed_ = false;
};

}  // namespace tolvane
