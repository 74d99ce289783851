// The window layer: a form built from its layout table, shown modally and
// answered by a scripted user on another thread.
#include <gtest/gtest.h>

#include <thread>

#include "UiDriver.h"
#include "ui/core/Form.h"
#include "ui/core/Twips.h"

using namespace tolvane;
using namespace tolvane::testing;

namespace {

class SampleForm : public ui::Form {
public:
    int clicks = 0;
    bool refuseClose = false;
    bool unloaded = false;

protected:
    const wchar_t* ClassName() const override { return L"TolvaneSampleForm"; }
    ui::FormStyle Style() const override {
        ui::FormStyle s;
        s.clientWidth = 3000;
        s.clientHeight = 1500;
        s.caption = L"見本フォーム";
        return s;
    }
    std::vector<ui::ControlSpec> Layout() const override {
        return {
            {100, ui::ControlKind::Frame, 0, 0, 0, 3000, 1000},
            {101, ui::ControlKind::TextBox, 100, 150, 150, 2000, 300, L"初期値"},
            {102, ui::ControlKind::Button, 0, 150, 1050, 1200, 375, L"押す"},
        };
    }
    void OnCommand(int id, int code) override {
        if (id == 102 && code == BN_CLICKED) {
            ++clicks;
            Unload();
        }
    }
    bool OnQueryUnload() override { return !refuseClose; }
    void OnUnload() override { unloaded = true; }
};

}  // namespace

TEST(Form, ControlsArePlacedInTwipsInsideTheirContainer) {
    SampleForm form;
    form.Load();
    RECT r = form.ControlRect(101);
    // One pixel is 15 twips at 96 dpi; allow the rounding of one pixel.
    EXPECT_NEAR(r.left, 150, ui::PixelsToTwipsX(1));
    EXPECT_NEAR(r.right - r.left, 2000, ui::PixelsToTwipsX(1));
    EXPECT_EQ(GetParent(form.Control(101)), form.Control(100));
    EXPECT_EQ(form.Text(101), L"初期値");
    EXPECT_NEAR(form.ClientWidth(), 3000, ui::PixelsToTwipsX(1));
    form.Unload();
    EXPECT_FALSE(form.IsLoaded());
}

TEST(Form, ModalShowingReturnsWhenTheUserAnswers) {
    SampleForm form;
    std::thread user([] {
        HWND w = WaitForTopWindow(L"見本フォーム", GetCurrentProcessId());
        ASSERT_NE(w, nullptr);
        Click(Child(w, 102));
    });
    form.ShowModal();
    user.join();
    EXPECT_EQ(form.clicks, 1);
    EXPECT_TRUE(form.unloaded);
}

TEST(Form, DisablingAContainerShutsOutItsChildrenOnly) {
    SampleForm form;
    form.Load();
    form.SetEnabled(100, false);
    EXPECT_FALSE(IsWindowEnabled(form.Control(100)));
    EXPECT_TRUE(IsWindowEnabled(form.Control(101)));  // keeps its own state
    EXPECT_TRUE(form.IsEnabled(102));
    form.Unload();
}

TEST(Form, RefusedCloseKeepsTheWindow) {
    SampleForm form;
    form.refuseClose = true;
    form.Load();
    SendMessageW(form.Hwnd(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(form.IsLoaded());
    form.refuseClose = false;
    EXPECT_TRUE(form.Unload());
}

TEST(Form, DestroyedWithItsOwnerCountsAsUnloaded) {
    SampleForm owner;
    owner.Load();
    SetActiveWindow(owner.Hwnd());
    SampleForm owned;
    owned.Load();
    ASSERT_EQ(GetWindow(owned.Hwnd(), GW_OWNER), owner.Hwnd());
    owner.Unload();
    EXPECT_FALSE(owned.IsLoaded());
    owned.Load();  // and can be loaded again
    EXPECT_TRUE(owned.IsLoaded());
    owned.Unload();
}
