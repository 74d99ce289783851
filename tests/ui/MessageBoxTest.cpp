// The question box, shown modally here and answered by a scripted user on
// another thread in every way it can be answered. The boxes' texts and
// colours in use are checked by the whole-program scenarios, their widening
// arithmetic by the logic tests.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <thread>

#include "UiDriver.h"
#include "ui/dialogs/MessageBoxes.h"

using namespace tolvane;
using namespace tolvane::testing;

namespace {

using Box = MessageBoxBase;

// Shows the box here while `user` answers it from another thread. The box
// must then go, by the answer or by its timer; if it does not, the test
// fails and the box is closed so the run goes on.
void ShowAnswered(Box& box, const std::function<void(HWND)>& user) {
    std::thread scripted([&] {
        HWND w = WaitForOfClass(kYesNoBoxClass);
        if (!w) {
            ADD_FAILURE() << "the box never showed";
            return;
        }
        user(w);
        if (!WaitForWindowGone(w)) {
            ADD_FAILURE() << "the box is still open";
            PostMessageW(w, WM_CLOSE, 0, 0);
        }
    });
    box.ShowModal();
    scripted.join();
    EXPECT_FALSE(box.IsLoaded());
}

}  // namespace

TEST(Msg_YesNo, AnswersYesOnlyByOkAndNoByCancelEscapeClosingOrItsTimer) {
    struct Case {
        const char* how;
        bool yes;
        std::function<void(HWND)> user;
        int timer = 0;
    };
    const Case cases[] = {
        {"click OK", true, [](HWND w) { Click(Child(w, Box::cmdOK)); }},
        {"click Cancel", false, [](HWND w) { Click(Child(w, Box::cmdCancel)); }},
        {"Enter on the opening focus", false, [](HWND w) { PostKey(WaitForFocusIn(w), VK_RETURN); }},
        {"Tab to OK, Enter", true,
         [](HWND w) {
             PostKey(WaitForFocusIn(w), VK_TAB);
             ASSERT_TRUE(WaitUntil([&] { return GetDlgCtrlID(FocusedControl(w)) == Box::cmdOK; }));
             PostKey(FocusedControl(w), VK_RETURN);
         }},
        {"Esc", false, [](HWND w) { PostKey(WaitForFocusIn(w), VK_ESCAPE); }},
        {"closed unanswered (Alt+F4)", false, [](HWND w) { PostMessageW(w, WM_CLOSE, 0, 0); }},
        {"nobody answers: the timer closes it", false, [](HWND) {}, 1},
    };
    Msg_YesNo& box = Msg_YesNo::Instance();
    for (const Case& c : cases) {
        box.SetYesNo(!c.yes);  // the answer must change it
        box.SetMessage2(L"続けますか？");
        box.SetTimerSet(c.timer);
        ShowAnswered(box, c.user);
        EXPECT_EQ(box.YesNo(), c.yes) << c.how;
    }
}
