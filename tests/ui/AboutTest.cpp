// The version window in the test process: its contact fields handed to the
// shell, and the credits roll it opens. The splash screen and the window
// itself are driven through the whole program in tests/program.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <mutex>

#include "Screenshot.h"
#include "TextFiles.h"
#include "UiDriver.h"
#include "support/VbError.h"
#include "support/win32/Files.h"
#include "ui/core/Globals.h"
#include "ui/core/Twips.h"
#include "ui/dialogs/MessageBoxBase.h"
#include "ui/startup/ProgramVersion.h"
#include "ui/startup/frmAbout.h"
#include "ui/startup/frmRoll.h"

using namespace tolvane;
using namespace tolvane::testing;
using namespace std::chrono;

namespace {

void PostClick(HWND w) {
    PostMessageW(w, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    PostMessageW(w, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
}

// The version the program shows of itself (read from Tolvane.exe beside
// the tests), for the pictures people look at; the old text comes back after.
struct ProgramsOwnVersion {
    ProgramsOwnVersion() : saved(gstrVersion) { gstrVersion = ReadVersionText(ProgramBeside(L"Tolvane.exe")); }
    ~ProgramsOwnVersion() { gstrVersion = saved; }
    const std::wstring saved;
};

}  // namespace

TEST(About, HandsAFocusedAddressToTheShellReportingFailuresAndItsIconOpensTheRollWithTheGivenNames) {
    const ProgramsOwnVersion version;
    frmAbout& about = frmAbout::Instance();
    frmRoll& roll = frmRoll::Instance();
    const wchar_t* names[kStaffCount] = {L"発案 太郎", L"図案 花子", L"符号 次郎", L"試験 三郎", L"修正 四郎"};
    for (int i = 0; i < kStaffCount; ++i) about.SetTanto(i, names[i]);
    std::mutex mutex;
    std::vector<std::wstring> targets;
    std::atomic<bool> shellFails{false};
    auto count = [&] {
        std::lock_guard<std::mutex> lock(mutex);
        return targets.size();
    };
    about.SetShellCall([&](const std::wstring& target) {
        {
            std::lock_guard<std::mutex> lock(mutex);
            targets.push_back(target);
        }
        if (shellFails) throw TolvaneError(L"StringExecute", target + L"が実行出来ませんでした");
    });

    ShowWithUser(about, L"TolvaneAbout", [&](HWND w) {
        HWND ok = Child(w, frmAbout::kCmdOK), web = Child(w, frmAbout::kText0), mail = Child(w, frmAbout::kText1);
        for (HWND field : {web, mail}) {
            RECT r;
            GetClientRect(field, &r);
            const LRESULT margins = SendMessageW(field, EM_GETMARGINS, 0, 0);
            EXPECT_GE(r.right - LOWORD(margins) - HIWORD(margins),
                      ui::TwipsToPixelsX(about.TextWidth(GetDlgCtrlID(field), WindowText(field))))
                << "address cut off: " << ToUtf8(WindowText(field));
        }
        // Opening puts the focus on OK, not on a contact field.
        EXPECT_EQ(WaitForFocusIn(w), ok);
        EXPECT_EQ(count(), 0u);
        CaptureWindow(w, "about");

        // Each focus on a field hands its trimmed target to the shell.
        SetWindowTextTo(web, L"  https://mirror.example.net/tolvane/  ");
        PostKey(ok, VK_TAB);
        ASSERT_TRUE(WaitUntil([&] { return count() == 1; }));
        EXPECT_EQ(FocusedControl(w), web);
        PostKey(web, VK_TAB);
        ASSERT_TRUE(WaitUntil([&] { return count() == 2; }));

        // A failure shows in the warning box; the focus coming back with the
        // window is no new request.
        shellFails = true;
        PostKey(mail, VK_TAB);
        ASSERT_TRUE(WaitUntil([&] { return FocusedControl(w) == ok; }));
        PostClick(mail);
        HWND box = WaitForOfClass(kWarningBoxClass);
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(WindowText(Child(box, MessageBoxBase::lblMessage1)),
                  L"mailto:support@tolvane.example.orgが実行出来ませんでした");
        PostMessageW(box, WM_CLOSE, 0, 0);
        ASSERT_TRUE(WaitForWindowGone(box));
        ASSERT_TRUE(WaitUntil([&] { return FocusedControl(w) == mail; }));
        PostKey(mail, VK_TAB);  // on OK again, which the roll gives back the focus to
        ASSERT_TRUE(WaitUntil([&] { return FocusedControl(w) == ok; }));

        // The roll opens on the press; the release lands on the roll and must not close it.
        PostMessageW(Child(w, frmAbout::kPicIcon), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
        HWND shown = WaitForOfClass(L"TolvaneRoll");
        ASSERT_NE(shown, nullptr);
        PostMessageW(shown, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
        // Timer ticks come only after the posted release has been handled.
        const int top = roll.PictureTop();
        ASSERT_TRUE(WaitUntil([&] { return roll.PictureTop() <= top - 10; }, 60s));
        CaptureWindow(shown, "credits_roll");
        PostClick(shown);
        ASSERT_TRUE(WaitForWindowGone(shown));
        EXPECT_GT(roll.PictureTop() + roll.PictureHeight(), 0) << "closed by the click, not by passing";
        Click(ok);
    });
    EXPECT_FALSE(about.IsLoaded());
    const std::vector<std::wstring> expected{L"https://mirror.example.net/tolvane/", L"mailto:support@tolvane.example.org",
                                             L"mailto:support@tolvane.example.org"};
    EXPECT_EQ(targets, expected);
    const auto& lines = roll.PrintedLines();
    for (const wchar_t* name : names) EXPECT_NE(std::find(lines.begin(), lines.end(), name), lines.end());
    about.SetShellCall({});
    for (int i = 0; i < kStaffCount; ++i) about.SetTanto(i, L"");
}
