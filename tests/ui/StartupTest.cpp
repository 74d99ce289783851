// The start-up windows in the test process: the splash screen and its
// hand-over to the main window, the version window with its contact fields
// and icon, and the credits roll.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <mutex>
#include <thread>

#include "Screenshot.h"
#include "TextFiles.h"
#include "UiDriver.h"
#include "support/VbError.h"
#include "support/win32/DoEvents.h"
#include "support/win32/Files.h"
#include "ui/core/WindowPlacement.h"
#include "ui/core/Globals.h"
#include "ui/core/Twips.h"
#include "ui/dialogs/MessageBoxBase.h"
#include "ui/startup/ProgramVersion.h"
#include "ui/startup/basMain.h"
#include "ui/dialogs/frmAbout.h"
#include "ui/dialogs/frmRoll.h"
#include "ui/startup/frmSplash.h"

using namespace tolvane;
using namespace tolvane::testing;
using namespace std::chrono;

namespace {

// Tolvane.exe is built beside the test program; its resources hold the
// version and the pictures that this test program lacks.
std::wstring TolvaneExe() {
    const std::wstring self = RunningProgramPath();
    return self.substr(0, self.find_last_of(L'\\') + 1) + L"Tolvane.exe";
}

HMODULE TolvaneResources() {
    static HMODULE module = LoadLibraryExW(TolvaneExe().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    return module;
}

// Dispatches this thread's messages as the program's loop does until the
// condition holds; with no condition, only what is queued already.
bool Pump(const std::function<bool()>& condition = nullptr) {
    const auto end = steady_clock::now() + 30s;
    for (;;) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchWindowMessage(msg);
        if (!condition || condition()) return true;
        if (steady_clock::now() > end) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
}

void PostClick(HWND w) {
    PostMessageW(w, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    PostMessageW(w, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
}

// Shows the form modally here while `user` works it from another thread; if
// the window is still open after the script, the test fails and it is closed.
void ShowWithUser(ui::Form& form, const wchar_t* cls, const std::function<void(HWND)>& user) {
    std::thread scripted([&] {
        HWND w = WaitForOfClass(cls);
        if (!w) {
            ADD_FAILURE() << "the window never showed";
            return;
        }
        user(w);
        if (!WaitForWindowGone(w, 180s)) {
            ADD_FAILURE() << "the window is still open";
            PostMessageW(w, WM_CLOSE, 0, 0);
        }
    });
    form.ShowModal();
    scripted.join();
}

// Stands in for the main window, so that the hand-over can be watched
// without the real main window's settings and dialogs.
// The version the program shows of itself (read from Tolvane.exe beside
// the tests), for the pictures people look at; the old text comes back after.
struct ProgramsOwnVersion {
    ProgramsOwnVersion() : saved(gstrVersion) { gstrVersion = ReadVersionText(ProgramBeside(L"Tolvane.exe")); }
    ~ProgramsOwnVersion() { gstrVersion = saved; }
    const std::wstring saved;
};

class StandInMain : public ui::Form {
public:
    int loads = 0;
    bool endOnLoad = false;

protected:
    const wchar_t* ClassName() const override { return L"TolvaneStandInMain"; }
    ui::FormStyle Style() const override {
        ui::FormStyle s;
        s.style = WS_OVERLAPPEDWINDOW;
        s.clientWidth = 4500;
        s.clientHeight = 2000;
        s.caption = L"代わりの主画面";
        s.topLevel = true;  // as the real main window
        return s;
    }
    std::vector<ui::ControlSpec> Layout() const override { return {}; }
    void OnLoad() override {
        ++loads;
        if (endOnLoad) Unload();
    }
};

class StartupWindows : public ::testing::Test {
protected:
    void SetUp() override {
        SetMainFormSource([this]() -> ui::Form& { return main; });
        gstrVersion = L"2.0.2";
    }
    void TearDown() override {
        splash.Unload();
        main.Unload();
        SetMainFormSource({});
        splash.SetPictureModule(nullptr);
        gstrVersion = savedVersion;
    }
    bool MainShown() const { return main.IsLoaded() && IsWindowVisible(main.Hwnd()); }

    frmSplash& splash = frmSplash::Instance();
    StandInMain main;
    const std::wstring savedVersion = gstrVersion;
};

}  // namespace

TEST(ProgramVersion, IsEmptyForAProgramWithoutVersionResourceOrAMissingFile) {
    EXPECT_EQ(ReadVersionText(TolvaneExe()), L"2.0.2") << "Tolvane.exe must be built beside the tests";
    EXPECT_EQ(ReadVersionText(RunningProgramPath()), L"");
    EXPECT_EQ(ReadVersionText(TolvaneExe() + L".missing"), L"");
}

TEST_F(StartupWindows, SplashShowsVersionAndLogoWithoutTitleBarAndKeepsTheVersionInsideItsFrame) {
    splash.SetPictureModule(TolvaneResources());
    splash.Show();
    EXPECT_EQ(splash.Text(frmSplash::kLblVersion), L"ﾊﾞｰｼﾞｮﾝ 2.0.2");
    EXPECT_TRUE(splash.HasLogo());
    EXPECT_NE(GetWindowLongW(splash.Hwnd(), GWL_STYLE) & WS_CAPTION, WS_CAPTION);
    CaptureWindow(splash.Hwnd(), "splash");

    // The label grows rightwards from its left edge (5940) while the text
    // fits inside the frame, less the name's margin; then it moves left.
    const int px = ui::PixelsToTwipsX(1), limit = 7080 - 60;
    for (const std::wstring version : {L"", L"12.345.6789"}) {
        splash.Unload();
        gstrVersion = version;
        splash.Show();
        const RECT r = splash.ControlRect(frmSplash::kLblVersion);
        const int textWidth = splash.TextWidth(frmSplash::kLblVersion, L"ﾊﾞｰｼﾞｮﾝ " + version);
        EXPECT_GE(r.right - r.left, textWidth) << "cut off";
        EXPECT_LE(r.right, limit + px) << "cut off by the frame";
        EXPECT_NEAR(5940 + textWidth <= limit ? r.left : r.right, 5940 + textWidth <= limit ? 5940 : limit, px);
    }
}

TEST_F(StartupWindows, AClickOrAKeyOnTheSplashOpensTheMainWindowAtOnceButAModifierAloneDoesNot) {
    const std::pair<const char*, std::function<void()>> skips[] = {
        {"click on the frame", [&] { PostClick(splash.Control(frmSplash::kFrame1)); }},
        {"click on a label", [&] { PostClick(splash.Control(frmSplash::kLblProductName)); }},
        {"Space", [&] { PostKey(splash.Hwnd(), VK_SPACE); }},
        {"Enter", [&] { PostKey(splash.Hwnd(), VK_RETURN); }},
    };
    int loads = 0;
    for (const auto& [how, skip] : skips) {
        splash.Show();
        PostKey(splash.Hwnd(), VK_SHIFT);
        Pump();
        EXPECT_TRUE(splash.IsLoaded()) << how;
        skip();
        Pump();
        EXPECT_FALSE(splash.IsLoaded()) << how;
        EXPECT_TRUE(MainShown()) << how;
        EXPECT_EQ(main.loads, ++loads) << how << ": loaded once";
        main.Unload();
    }

    // A main window that ends its own loading leaves no window behind.
    main.endOnLoad = true;
    splash.Show();
    PostKey(splash.Hwnd(), VK_RETURN);
    Pump();
    EXPECT_EQ(main.loads, loads + 1);
    EXPECT_FALSE(main.IsLoaded());
    EXPECT_FALSE(splash.IsLoaded());
}

TEST(About, ShowsTheOpenersIconAndWholeAddressesAndHandsAFocusedAddressToTheShellReportingFailures) {
    const ProgramsOwnVersion version;
    frmAbout& about = frmAbout::Instance();
    HICON icon = static_cast<HICON>(LoadImageW(TolvaneResources(), MAKEINTRESOURCEW(1), IMAGE_ICON, 32, 32, 0));
    ASSERT_NE(icon, nullptr);
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
    StandInMain opener;
    opener.Load();
    SendMessageW(opener.Hwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
    about.SetPreForm(opener);

    ShowWithUser(about, L"TolvaneAbout", [&](HWND w) {
        HWND ok = Child(w, frmAbout::kCmdOK), web = Child(w, frmAbout::kText0), mail = Child(w, frmAbout::kText1);
        EXPECT_EQ(reinterpret_cast<HICON>(SendMessageW(w, WM_GETICON, ICON_BIG, 0)), icon);
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
        PostKey(ok, VK_TAB);
        ASSERT_TRUE(WaitUntil([&] { return count() == 1; }));
        EXPECT_EQ(FocusedControl(w), web);
        PostKey(web, VK_TAB);
        ASSERT_TRUE(WaitUntil([&] { return count() == 2; }));
        SetWindowTextTo(web, L"  https://mirror.example.net/tolvane/  ");
        PostKey(mail, VK_TAB);
        ASSERT_TRUE(WaitUntil([&] { return FocusedControl(w) == ok; }));
        PostKey(ok, VK_TAB);
        ASSERT_TRUE(WaitUntil([&] { return count() == 3; }));

        // A failure shows in the warning box; the focus coming back with the
        // window is no new request.
        shellFails = true;
        PostClick(mail);
        HWND box = WaitForOfClass(kWarningBoxClass);
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(WindowText(Child(box, MessageBoxBase::lblMessage1)),
                  L"mailto:support@tolvane.example.orgが実行出来ませんでした");
        PostMessageW(box, WM_CLOSE, 0, 0);
        ASSERT_TRUE(WaitForWindowGone(box));
        ASSERT_TRUE(WaitUntil([&] { return FocusedControl(w) == mail; }));
        EXPECT_TRUE(IsWindowVisible(w));
        Click(ok);
    });
    EXPECT_FALSE(about.IsLoaded());
    EXPECT_EQ(about.IconShown(), icon);
    const std::vector<std::wstring> expected{L"https://tolvane.example.org/", L"mailto:support@tolvane.example.org",
                                             L"https://mirror.example.net/tolvane/",
                                             L"mailto:support@tolvane.example.org"};
    EXPECT_EQ(targets, expected);
    about.SetShellCall({});
    about.SetPreForm(nullptr);
    opener.Unload();
    DestroyIcon(icon);
}

TEST(About, IconOpensTheRollWithTheGivenNamesAndAClickClosesIt) {
    const ProgramsOwnVersion version;
    frmAbout& about = frmAbout::Instance();
    frmRoll& roll = frmRoll::Instance();
    const wchar_t* names[kStaffCount] = {L"発案 太郎", L"図案 花子", L"符号 次郎", L"試験 三郎", L"修正 四郎"};
    for (int i = 0; i < kStaffCount; ++i) about.SetTanto(i, names[i]);
    ShowWithUser(about, L"TolvaneAbout", [&](HWND w) {
        // The roll opens on the press; the release lands on the roll and must not close it.
        PostMessageW(Child(w, frmAbout::kPicIcon), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
        HWND shown = WaitForOfClass(L"TolvaneRoll");
        ASSERT_NE(shown, nullptr);
        PostMessageW(shown, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
        // Timer ticks come only after the posted release has been handled.
        const int top = roll.PictureTop();
        ASSERT_TRUE(WaitUntil([&] { return roll.PictureTop() <= top - 10; }, 60s));
        EXPECT_TRUE(IsWindowVisible(shown));
        CaptureWindow(shown, "credits_roll");
        PostClick(shown);
        ASSERT_TRUE(WaitForWindowGone(shown));
        EXPECT_GT(roll.PictureTop() + roll.PictureHeight(), 0) << "closed by the click, not by passing";
        Click(Child(w, frmAbout::kCmdOK));
    });
    // Which heading each name goes under is the roll's own business.
    const auto& lines = roll.PrintedLines();
    for (const wchar_t* name : names) EXPECT_NE(std::find(lines.begin(), lines.end(), name), lines.end());
    for (int i = 0; i < kStaffCount; ++i) about.SetTanto(i, L"");
}

TEST(Roll, CreditsTheDefaultsTheVersionAndTheMachineThenClosesByItselfOnceThePictureHasPassed) {
    frmRoll& roll = frmRoll::Instance();
    const std::wstring savedVersion = gstrVersion;
    gstrVersion = L"2.0.2";
    for (int i = 0; i < kStaffCount; ++i) roll.SetTanto(i, i == 2 ? L"符号 次郎" : L"");
    roll.SetRollLength(600);
    ShowWithUser(roll, L"TolvaneRoll", [](HWND) {});
    EXPECT_LE(roll.PictureTop() + roll.PictureHeight(), 0);

    const auto& lines = roll.PrintedLines();
    auto after = [&](const wchar_t* heading) {
        auto it = std::find(lines.begin(), lines.end(), heading);
        return it != lines.end() && it + 2 < lines.end() ? *(it + 2) : L"<missing>";
    };
    EXPECT_EQ(lines.front(), L"■■ Tolvane Ver2.0.2■■");
    EXPECT_EQ(after(L"★★ 発案 ★★"), kDefaultStaffName);
    EXPECT_EQ(after(L"★★ コーディング ★★"), L"符号 次郎");
    EXPECT_EQ(after(L"★★ 効果音 ★★"), ComputerName());
    roll.SetRollLength(frmRoll::kDefaultRollLength);
    roll.SetTanto(2, L"");
    gstrVersion = savedVersion;
}
