// The two message boxes, shown modally here and answered by a scripted user
// on another thread: trimmed lines that are never cut off, the widening for
// an over-long line, and every way of answering. Their colours and texts in
// use are checked by the whole-program scenarios.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <thread>

#include "Screenshot.h"
#include "UiDriver.h"
#include "ui/dialogs/MessageBoxes.h"

using namespace tolvane;
using namespace tolvane::testing;

namespace {

using Box = MessageBoxBase;
constexpr int kPixel = 15;          // twips at 96 dpi: the rounding of one pixel
constexpr int kDesignOuter = 5970;  // the box's outer width before any widening

// Shows the box here while `user` acts on it from another thread. The box
// must then go away by itself or by the user's answer; if it does not, the
// test fails and the box is closed so the run goes on.
void ShowAnswered(Box& box, const std::function<void(HWND)>& user) {
    const wchar_t* cls = &box == &Msg_YesNo::Instance() ? kYesNoBoxClass : kWarningBoxClass;
    std::thread scripted([&] {
        HWND w = WaitForOfClass(cls);
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
    try {
        box.ShowModal();
    } catch (const std::exception& e) {
        ADD_FAILURE() << "the box raised: " << e.what();
    }
    scripted.join();
    EXPECT_FALSE(box.IsLoaded());
}

void PressEscape(HWND w) { PostKey(WaitForFocusIn(w), VK_ESCAPE); }

// What a user sees of the box, read while it is open.
struct Seen {
    std::wstring line[2];
    RECT lineRect[2]{};
    int textWidth[2]{};
    RECT buttons{};
    int outerWidth = 0;

    explicit Seen(HWND box = nullptr) {
        if (!box) return;
        for (int i = 0; i < 2; ++i) {
            HWND label = Child(box, Box::lblMessage0 + i);
            line[i] = WindowText(label);
            lineRect[i] = ChildRectTwips(label);
            textWidth[i] = TextWidthTwips(label, line[i]);
        }
        const bool yesNo = Child(box, Box::fraCommandButton) != nullptr;
        buttons = ChildRectTwips(Child(box, yesNo ? Box::fraCommandButton : Box::cmdOK));
        outerWidth = OuterWidthTwips(box);
    }
};

int WidthOf(const RECT& r) { return r.right - r.left; }
int CentredLeft(const RECT& r, int boxWidth) { return (boxWidth - WidthOf(r)) / 2; }

}  // namespace

TEST(MessageBoxes, AnOverLongLineWidensTheBoxAndCentresTheRestUntilTheBoxCloses) {
    // Blanks around a line are not shown, and count for no width.
    const std::wstring longText =
        L"  C:\\Program Files\\Microsoft Visual Studio\\VB98\\VB6.EXEが見つかりません。パスを確認してください ";
    const std::pair<Box*, int> cases[] = {{&Msg_Warning::Instance(), 1}, {&Msg_YesNo::Instance(), 0}};
    for (const auto& [box, longLine] : cases) {
        SCOPED_TRACE(longLine == 1 ? "msg_warning_long" : "msg_yesno_long");
        // The other line is short (or empty): it never widens anything.
        box->SetMessage1(longLine == 0 ? longText : L"");
        box->SetMessage2(longLine == 1 ? longText : L"置き換えますか？");
        Seen seen;
        ShowAnswered(*box, [&](HWND w) {
            seen = Seen(w);
            CaptureWindow(w, longLine == 1 ? "msg_warning_long" : "msg_yesno_long");
            PressEscape(w);
        });
        EXPECT_EQ(seen.line[longLine], longText.substr(2, longText.size() - 3));
        const RECT wide = seen.lineRect[longLine], other = seen.lineRect[1 - longLine];
        ASSERT_GT(WidthOf(wide), kDesignOuter);
        EXPECT_NEAR(WidthOf(wide), seen.textWidth[longLine], kPixel) << "cut off";
        EXPECT_NEAR(seen.outerWidth, WidthOf(wide) + 200, kPixel);
        EXPECT_NEAR(wide.left, CentredLeft(wide, seen.outerWidth), kPixel);
        EXPECT_NEAR(seen.buttons.left, CentredLeft(seen.buttons, seen.outerWidth), kPixel);
        // A line set before the widening was centred with it; line 2, set
        // after, was centred at its design width (4680) and grows from there.
        EXPECT_NEAR(other.left, longLine == 1 ? CentredLeft(other, seen.outerWidth) : (seen.outerWidth - 4680) / 2,
                    2 * kPixel);

        box->SetMessage2(L"短い");
        ShowAnswered(*box, [&](HWND w) {
            seen = Seen(w);
            PressEscape(w);
        });
        EXPECT_NEAR(seen.outerWidth, kDesignOuter, 2 * kPixel) << "the next showing starts at the design width";
    }
}

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
        {"Esc", false, PressEscape},
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
