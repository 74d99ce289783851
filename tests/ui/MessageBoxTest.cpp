// The two message boxes, shown modally here and answered by a scripted user
// on another thread: lines, colours, widening, time-out, keys and the reset
// on closing.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <thread>

#include "BoxProbe.h"
#include "Screenshot.h"
#include "UiDriver.h"
#include "support/VbError.h"
#include "ui/dialogs/MessageBoxes.h"

using namespace tolvane;
using namespace tolvane::testing;

namespace {

using Box = MessageBoxBase;
constexpr int kPixel = 15;  // twips at 96 dpi: the rounding of one pixel

// Shows the box here while `user` acts on it from another thread. The box
// must then go away by itself or by the user's answer; if it does not, the
// test fails and the box is closed so the run goes on.
void ShowAnswered(ui::Form& box, const wchar_t* cls, const std::function<void(HWND)>& user) {
    std::thread scripted([&] {
        HWND w = WaitForVisibleOfClass(cls);
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

struct Seen {
    std::wstring line[2];
    RECT lineRect[2]{};
    RECT holderRect{};
    int outerWidth = 0;
    COLORREF color[2]{};
};

Seen Look(HWND box, int holderId) {
    Seen s;
    for (int i = 0; i < 2; ++i) {
        HWND label = Child(box, Box::lblMessage0 + i);
        s.line[i] = WindowText(label);
        s.lineRect[i] = ChildRectTwips(label);
        s.color[i] = PaintedTextColor(label);
    }
    s.holderRect = ChildRectTwips(Child(box, holderId));
    s.outerWidth = OuterWidthTwips(box);
    return s;
}

int WidthOf(const RECT& r) { return r.right - r.left; }

void ExpectCentred(const RECT& r, int boxWidth, const char* what) {
    EXPECT_NEAR(r.left, (boxWidth - WidthOf(r)) / 2, kPixel) << what;
}

}  // namespace

TEST(Msg_Warning, ShowsTrimmedLinesInRedAtTheirDesignPlaceAndClosesOnOk) {
    Msg_Warning& box = Msg_Warning::Instance();
    box.SetMessage1(L"  ｺﾝﾊﾟｲﾙが終了しました  ");
    box.SetMessage2(L"エラー 0件 ");
    Seen seen;
    RECT client{};
    LONG style = 0;
    ShowAnswered(box, kWarningClass, [&](HWND w) {
        seen = Look(w, Box::cmdOK);
        // The line is as wide as its text in its own font: nothing cut off.
        EXPECT_NEAR(WidthOf(seen.lineRect[0]), TextWidthTwips(Child(w, Box::lblMessage0), seen.line[0]), kPixel);
        GetClientRect(w, &client);
        style = GetWindowLongW(w, GWL_STYLE);
        CaptureWindow(w, "msg_warning_short");
        Click(Child(w, Box::cmdOK));
    });
    EXPECT_EQ(seen.line[0], L"ｺﾝﾊﾟｲﾙが終了しました");
    EXPECT_EQ(seen.line[1], L"エラー 0件");
    EXPECT_EQ(seen.color[0], kRed);
    EXPECT_EQ(seen.color[1], kRed);
    EXPECT_NEAR(seen.lineRect[0].left, 600, kPixel);
    EXPECT_NEAR(seen.lineRect[1].left, 600, kPixel);
    EXPECT_NEAR(seen.lineRect[1].top, 570, kPixel);
    EXPECT_NEAR(seen.holderRect.left, 2333, kPixel);
    EXPECT_NEAR(ui::PixelsToTwipsX(client.right), 5880, kPixel);
    EXPECT_NEAR(ui::PixelsToTwipsY(client.bottom), 1590, kPixel);
    EXPECT_NE(style & WS_CAPTION, static_cast<LONG>(WS_CAPTION)) << "no title bar";
}

TEST(Msg_Warning, ColourAppliesToBothLinesAndEverythingIsResetOnClosing) {
    Msg_Warning& box = Msg_Warning::Instance();
    box.SetMessage1(L"一行目");
    box.SetMessage2(L"設定しました");
    box.SetColor(kNavy);
    Seen first, second;
    ShowAnswered(box, kWarningClass, [&](HWND w) {
        first = Look(w, Box::cmdOK);
        PostKey(WaitForFocusIn(w), VK_RETURN);
    });
    EXPECT_EQ(first.color[0], kNavy);
    EXPECT_EQ(first.color[1], kNavy);

    // Nothing set this time: empty lines in the box's own red.
    ShowAnswered(box, kWarningClass, [&](HWND w) {
        second = Look(w, Box::cmdOK);
        PostKey(WaitForFocusIn(w), VK_ESCAPE);
    });
    EXPECT_EQ(second.line[0], L"");
    EXPECT_EQ(second.line[1], L"");
    EXPECT_EQ(second.color[0], kRed);
    EXPECT_EQ(second.color[1], kRed);
    EXPECT_NEAR(second.lineRect[1].left, 600, kPixel);
}

TEST(Msg_Warning, TimerSetClosesTheBoxByItselfAndAnOverflowKeepsTheOldValue) {
    Msg_Warning& box = Msg_Warning::Instance();
    box.SetMessage2(L"自動で閉じます");
    box.SetTimerSet(1);
    for (std::int32_t tooMany : {2147484, -2147484, 2147483647}) {
        try {
            box.SetTimerSet(tooMany);
            ADD_FAILURE() << tooMany << " seconds were accepted";
        } catch (const VbError& e) {
            EXPECT_EQ(e.Number(), kErrOverflow);
        }
    }
    box.SetTimerSet(2147483);  // the largest that fits; replaced below
    box.SetTimerSet(1);
    // Nobody answers: the box must close within the helper's limit.
    ShowAnswered(box, kWarningClass, [](HWND) {});
}

TEST(Msg_Warning, AnOverLongLineWidensTheBoxAndCentresTheLinesAndTheButton) {
    Msg_Warning& box = Msg_Warning::Instance();
    const std::wstring longLine =
        L"C:\\Program Files\\Microsoft Visual Studio\\VB98\\VB6.EXEが見つかりません。パスを確認してください";
    box.SetMessage2(longLine);
    Seen seen;
    ShowAnswered(box, kWarningClass, [&](HWND w) {
        seen = Look(w, Box::cmdOK);
        EXPECT_NEAR(WidthOf(seen.lineRect[1]), TextWidthTwips(Child(w, Box::lblMessage1), longLine), kPixel);
        CaptureWindow(w, "msg_warning_long");
        Click(Child(w, Box::cmdOK));
    });
    ASSERT_GT(WidthOf(seen.lineRect[1]), 5970);
    EXPECT_NEAR(seen.outerWidth, WidthOf(seen.lineRect[1]) + 200, kPixel);
    ExpectCentred(seen.lineRect[0], seen.outerWidth, "line 1");
    ExpectCentred(seen.lineRect[1], seen.outerWidth, "line 2");
    ExpectCentred(seen.holderRect, seen.outerWidth, "OK");
    EXPECT_NEAR(WidthOf(seen.holderRect), 1215, kPixel);
}

TEST(Msg_YesNo, OpensOnCancelInBlueAndAnswersByClick) {
    Msg_YesNo& box = Msg_YesNo::Instance();
    box.SetYesNo(true);
    box.SetMessage1(L"ｺﾝﾊﾟｲﾙﾘｽﾄが変更されています");
    box.SetMessage2(L"保存しますか？");
    EXPECT_EQ(box.Message2(), L"保存しますか？");
    Seen seen;
    int focused = 0;
    ShowAnswered(box, kYesNoClass, [&](HWND w) {
        seen = Look(w, Box::fraCommandButton);
        focused = GetDlgCtrlID(WaitForFocusIn(w));
        CaptureWindow(w, "msg_yesno_short");
        Click(Child(w, Box::cmdCancel));
    });
    EXPECT_FALSE(box.YesNo());
    EXPECT_EQ(focused, Box::cmdCancel);
    EXPECT_EQ(seen.color[0], kBlue);
    EXPECT_EQ(seen.color[1], kBlue);
    EXPECT_NEAR(seen.lineRect[1].left, 600, kPixel);
    EXPECT_NEAR(seen.holderRect.left, 1613, kPixel);
    // Closing forgets the texts.
    EXPECT_EQ(box.Message1(), L"");
    EXPECT_EQ(box.Message2(), L"");

    box.SetMessage2(L"削除しますか？");
    ShowAnswered(box, kYesNoClass, [](HWND w) { Click(Child(w, Box::cmdOK)); });
    EXPECT_TRUE(box.YesNo());
}

TEST(Msg_YesNo, KeysAnswerWithTheFocusedButtonAndEscapeMeansNo) {
    Msg_YesNo& box = Msg_YesNo::Instance();
    // Enter on the opening focus (Cancel) is "no".
    box.SetYesNo(true);
    box.SetMessage2(L"Enterで答えます");
    ShowAnswered(box, kYesNoClass, [](HWND w) { PostKey(WaitForFocusIn(w), VK_RETURN); });
    EXPECT_FALSE(box.YesNo());

    // Tab moves to OK; Enter there is "yes".
    box.SetMessage2(L"Tabで移ります");
    ShowAnswered(box, kYesNoClass, [](HWND w) {
        PostKey(WaitForFocusIn(w), VK_TAB);
        ASSERT_TRUE(WaitUntil([&] { return GetDlgCtrlID(FocusOf(w)) == Box::cmdOK; }));
        PostKey(FocusOf(w), VK_RETURN);
    });
    EXPECT_TRUE(box.YesNo());

    box.SetMessage2(L"Escで答えます");
    ShowAnswered(box, kYesNoClass, [](HWND w) { PostKey(WaitForFocusIn(w), VK_ESCAPE); });
    EXPECT_FALSE(box.YesNo());
}

TEST(Msg_YesNo, ATimeOutOrAClosedBoxAnswersNoWhateverTheLastAnswerWas) {
    Msg_YesNo& box = Msg_YesNo::Instance();
    box.SetMessage2(L"続けますか？");
    ShowAnswered(box, kYesNoClass, [](HWND w) { Click(Child(w, Box::cmdOK)); });
    ASSERT_TRUE(box.YesNo());

    box.SetMessage2(L"続けますか？");
    box.SetTimerSet(1);
    ShowAnswered(box, kYesNoClass, [](HWND) {});
    EXPECT_FALSE(box.YesNo());

    // Closed by the system (Alt+F4) without an answer: never a "yes".
    box.SetYesNo(true);
    box.SetMessage2(L"続けますか？");
    ShowAnswered(box, kYesNoClass, [](HWND w) { PostMessageW(w, WM_CLOSE, 0, 0); });
    EXPECT_FALSE(box.YesNo());
}

TEST(Msg_YesNo, ALongFirstLineWidensTheBoxWhileAShortSecondLineKeepsItsLeftEdge) {
    Msg_YesNo& box = Msg_YesNo::Instance();
    const std::wstring longLine = L"D:\\開発\\業務システム\\受注管理\\受注管理クライアント.vbp はコンパイルリストにあります";
    box.SetMessage1(longLine);
    box.SetMessage2(L"置き換えますか？");
    Seen seen;
    ShowAnswered(box, kYesNoClass, [&](HWND w) {
        seen = Look(w, Box::fraCommandButton);
        CaptureWindow(w, "msg_yesno_long");
        Click(Child(w, Box::cmdCancel));
    });
    ASSERT_GT(WidthOf(seen.lineRect[0]), 5970);
    EXPECT_NEAR(seen.outerWidth, WidthOf(seen.lineRect[0]) + 200, kPixel);
    ExpectCentred(seen.lineRect[0], seen.outerWidth, "line 1");
    ExpectCentred(seen.holderRect, seen.outerWidth, "buttons");
    EXPECT_NEAR(WidthOf(seen.holderRect), 2655, kPixel);
    // Line 2 was centred while it still had its design width (4680), then
    // took its short text growing from that left edge.
    EXPECT_NEAR(seen.lineRect[1].left, (seen.outerWidth - 4680) / 2, 2 * kPixel);
    EXPECT_EQ(seen.line[1], L"置き換えますか？");
}
