// The start-up windows in the test process: the splash screen and its
// hand-over to the main window, the version window with its contact fields
// and icon, and the credits roll.
#include <gtest/gtest.h>

#include <algorithm>
#include <mutex>
#include <thread>

#include "Screenshot.h"
#include "UiDriver.h"
#include "support/VbError.h"
#include "ui/core/Globals.h"
#include "ui/core/ModalLoop.h"
#include "ui/core/Twips.h"
#include "ui/startup/ProgramVersion.h"
#include "ui/startup/basMain.h"
#include "ui/startup/frmAbout.h"
#include "ui/startup/frmRoll.h"
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

// Dispatches this thread's messages as the program's loop does until the condition holds.
bool PumpUntil(const std::function<bool()>& condition, milliseconds limit = 30s) {
    const auto end = steady_clock::now() + limit;
    for (;;) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) ui::DispatchDialogMessage(msg);
        if (condition()) return true;
        if (steady_clock::now() > end) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
}

// Dispatches what is queued already, without waiting for anything new.
void DispatchPending() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) ui::DispatchDialogMessage(msg);
}

HWND FocusOf(DWORD thread) {
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    return GetGUIThreadInfo(thread, &info) ? info.hwndFocus : nullptr;
}

HWND WaitForClass(const wchar_t* className) {
    HWND found = nullptr;
    WaitUntil([&] {
        found = FindWindowW(className, nullptr);
        return found && IsWindowVisible(found);
    });
    return found;
}

BOOL CALLBACK MatchChildText(HWND child, LPARAM p) {
    auto* search = reinterpret_cast<std::pair<const std::wstring*, bool>*>(p);
    search->second = WindowText(child) == *search->first;
    return !search->second;
}

bool ShowsText(HWND window, const std::wstring& text) {
    std::pair<const std::wstring*, bool> search{&text, false};
    EnumChildWindows(window, MatchChildText, reinterpret_cast<LPARAM>(&search));
    return search.second;
}

void PostClick(HWND w) {
    PostMessageW(w, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    PostMessageW(w, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
}

// Closes the window if a failed script left it open, so the modal showing returns.
struct CloseIfOpen {
    std::function<HWND()> window;
    ~CloseIfOpen() {
        HWND w = window();
        if (w && IsWindow(w)) PostMessageW(w, WM_CLOSE, 0, 0);
    }
};

// Stands in for the main window, so that the hand-over can be watched
// without the real main window's settings and dialogs.
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

class SplashTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetMainFormSource([this]() -> ui::Form& { return main; });
        savedVersion = gstrVersion;
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
    std::wstring savedVersion;
};

}  // namespace

TEST(ProgramVersion, ReadFromTheVersionResourceOfTheProgram) {
    EXPECT_EQ(ReadVersionText(TolvaneExe()), L"2.0.2") << "Tolvane.exe must be built beside the tests";
    // The test program has no version resource; a missing file has none either.
    EXPECT_EQ(ReadVersionText(RunningProgramPath()), L"");
    EXPECT_EQ(ReadVersionText(TolvaneExe() + L".missing"), L"");
}

TEST(SingleInstance, ASecondClaimIsRefusedWhileTheFirstHolds) {
    const std::wstring name = L"Local\\Tolvane.Test." + std::to_wstring(GetCurrentProcessId());
    EXPECT_TRUE(ClaimSingleInstance(name.c_str()));
    EXPECT_FALSE(ClaimSingleInstance(name.c_str()));
    EXPECT_FALSE(ClaimSingleInstance(name.c_str()));  // a refused claim does not release the first
}

TEST_F(SplashTest, ShowsNameVersionAndLogoCentredWithoutTitleBar) {
    gstrVersion = ReadVersionText(TolvaneExe());
    splash.SetPictureModule(TolvaneResources());
    splash.Show();
    EXPECT_EQ(splash.Text(frmSplash::kLblVersion), L"ﾊﾞｰｼﾞｮﾝ 2.0.2");
    EXPECT_EQ(splash.Text(frmSplash::kLblProductName), L"Tolvane");
    EXPECT_TRUE(splash.HasLogo());

    const LONG style = GetWindowLongW(splash.Hwnd(), GWL_STYLE);
    EXPECT_NE(style & WS_CAPTION, WS_CAPTION);
    EXPECT_NEAR(splash.ClientWidth(), 7380, ui::PixelsToTwipsX(1));
    EXPECT_NEAR(splash.ClientHeight(), 4245, ui::PixelsToTwipsY(1));
    RECT r;
    GetWindowRect(splash.Hwnd(), &r);
    EXPECT_NEAR((r.left + r.right) / 2, GetSystemMetrics(SM_CXSCREEN) / 2, 1);
    EXPECT_NEAR((r.top + r.bottom) / 2, GetSystemMetrics(SM_CYSCREEN) / 2, 1);
    CaptureWindow(splash.Hwnd(), "splash");
}

TEST_F(SplashTest, VersionLabelGrowsToTheRightOfItsLeftEdgeButStaysInsideTheFrame) {
    const int px = ui::PixelsToTwipsX(1);
    const int limit = 7080 - 60;  // the frame's width less the margin the name keeps
    int fitting = 0;
    for (const std::wstring version : {L"", L"2", L"2.0.2", L"12.345.6789"}) {
        splash.Unload();
        gstrVersion = version;
        splash.Show();
        const std::wstring label = L"ﾊﾞｰｼﾞｮﾝ " + version;
        ASSERT_EQ(splash.Text(frmSplash::kLblVersion), label);
        const RECT r = splash.ControlRect(frmSplash::kLblVersion);
        const int textWidth = splash.TextWidth(frmSplash::kLblVersion, label);
        EXPECT_GE(r.right - r.left, textWidth) << "cut off: " << r.right - r.left;
        EXPECT_LE(r.right, limit + px) << "cut off by the frame";
        if (5940 + textWidth <= limit) {
            EXPECT_NEAR(r.left, 5940, px) << "left edge kept while the text fits";
            ++fitting;
        } else {
            EXPECT_NEAR(r.right, limit, px) << "moved left only as far as needed";
        }
    }
    EXPECT_GT(fitting, 0) << "no text short enough to show the left edge kept";
}

TEST_F(SplashTest, TimeOutOpensAnIndependentMainWindowThenTheSplashGoes) {
    splash.Show();
    DispatchPending();
    EXPECT_EQ(main.loads, 0) << "the main window waits for the time-out";
    ASSERT_TRUE(PumpUntil([&] { return !splash.IsLoaded(); }));
    EXPECT_EQ(main.loads, 1);
    ASSERT_TRUE(MainShown()) << "destroyed with the splash screen?";
    EXPECT_EQ(GetWindow(main.Hwnd(), GW_OWNER), nullptr);
}

TEST_F(SplashTest, ClickAnywhereOpensTheMainWindowAtOnce) {
    splash.Show();
    PostClick(splash.Control(frmSplash::kFrame1));
    DispatchPending();
    EXPECT_FALSE(splash.IsLoaded());
    EXPECT_TRUE(MainShown());
    EXPECT_EQ(main.loads, 1);

    // On a label as well; the main window is not loaded a second time.
    main.Unload();
    splash.Show();
    PostClick(splash.Control(frmSplash::kLblProductName));
    DispatchPending();
    EXPECT_FALSE(splash.IsLoaded());
    EXPECT_TRUE(MainShown());
    EXPECT_EQ(main.loads, 2);
}

TEST_F(SplashTest, KeyOpensTheMainWindowAtOnceButAModifierAloneDoesNot) {
    splash.Show();
    PostKey(splash.Hwnd(), VK_SHIFT);
    DispatchPending();
    EXPECT_TRUE(splash.IsLoaded());
    EXPECT_EQ(main.loads, 0);

    PostKey(splash.Hwnd(), VK_SPACE);
    DispatchPending();
    EXPECT_FALSE(splash.IsLoaded());
    EXPECT_TRUE(MainShown());
}

TEST_F(SplashTest, MainWindowThatEndsItsOwnLoadLeavesNoWindow) {
    main.endOnLoad = true;
    splash.Show();
    PostKey(splash.Hwnd(), VK_RETURN);
    DispatchPending();
    EXPECT_EQ(main.loads, 1);
    EXPECT_FALSE(main.IsLoaded());
    EXPECT_FALSE(splash.IsLoaded());
}

namespace {

class AboutTest : public ::testing::Test {
protected:
    void SetUp() override {
        savedVersion = gstrVersion;
        gstrVersion = L"2.0.2";
        about.SetShellCall([this](const std::wstring& target) {
            {
                std::lock_guard<std::mutex> lock(mutex);
                targets.push_back(target);
            }
            if (shellFails) throw TolvaneError(L"StringExecute", target + L"が実行出来ませんでした");
        });
        opener.Load();
        icon = static_cast<HICON>(LoadImageW(TolvaneResources(), MAKEINTRESOURCEW(1), IMAGE_ICON, 32, 32, 0));
        SendMessageW(opener.Hwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
        about.SetPreForm(opener);
        mainThread = GetCurrentThreadId();
    }
    void TearDown() override {
        about.Unload();
        about.SetShellCall({});
        about.SetPreForm(nullptr);
        for (int i = 0; i < kStaffCount; ++i) about.SetTanto(i, L"");
        opener.Unload();
        if (icon) DestroyIcon(icon);
        gstrVersion = savedVersion;
    }
    std::vector<std::wstring> Targets() {
        std::lock_guard<std::mutex> lock(mutex);
        return targets;
    }
    size_t TargetCount() { return Targets().size(); }
    // Runs the scripted user on another thread while the window is shown modally here.
    void ShowWithUser(const std::function<void(HWND)>& script) {
        std::thread user([&] {
            HWND w = WaitForTopWindow(L"ﾊﾞｰｼﾞｮﾝ情報", GetCurrentProcessId());
            CloseIfOpen guard{[w] { return w; }};
            ASSERT_NE(w, nullptr);
            script(w);
        });
        about.ShowModal();
        user.join();
    }

    frmAbout& about = frmAbout::Instance();
    StandInMain opener;
    HICON icon = nullptr;
    DWORD mainThread = 0;
    std::mutex mutex;
    std::vector<std::wstring> targets;
    bool shellFails = false;
    std::wstring savedVersion;
};

}  // namespace

TEST_F(AboutTest, ShowsTitleVersionMessageContactsAndTheOpenersIcon) {
    ASSERT_NE(icon, nullptr);
    ShowWithUser([&](HWND w) {
        EXPECT_EQ(WindowText(Child(w, frmAbout::kLblTitle)), L"Tolvane");
        EXPECT_EQ(WindowText(Child(w, frmAbout::kLblVersion)), L"Ver 2.0.2");
        EXPECT_EQ(WindowText(Child(w, frmAbout::kLblMessage)), L"ＶＢプロジェクトの一括コンパイルを行うことが出来る");
        EXPECT_EQ(WindowText(Child(w, frmAbout::kLabel2)), L"HP：");
        EXPECT_EQ(WindowText(Child(w, frmAbout::kLabel3)), L"E-mail：");
        EXPECT_EQ(WindowText(Child(w, frmAbout::kText0)), L"https://tolvane.example.org/");
        EXPECT_EQ(WindowText(Child(w, frmAbout::kText1)), L"support@tolvane.example.org");
        for (int id : {frmAbout::kText0, frmAbout::kText1}) {
            HWND field = Child(w, id);
            RECT r;
            GetClientRect(field, &r);
            const LRESULT margins = SendMessageW(field, EM_GETMARGINS, 0, 0);
            EXPECT_GE(r.right - LOWORD(margins) - HIWORD(margins),
                      ui::TwipsToPixelsX(about.TextWidth(id, WindowText(field))))
                << "address cut off in field " << id;
        }
        for (int i = 0; i < frmAbout::kNoticeCount; ++i)
            EXPECT_FALSE(WindowText(Child(w, frmAbout::kLblNotice0 + i)).empty());
        EXPECT_EQ(about.ToolTipText(frmAbout::kLblTitle), L"ｱﾌﾟﾘｹｰｼｮﾝ ﾀｲﾄﾙ");
        EXPECT_EQ(about.ToolTipText(frmAbout::kLblVersion), L"ﾊﾞｰｼﾞｮﾝ");
        EXPECT_EQ(about.ToolTipText(frmAbout::kCmdOK), L"OK");
        EXPECT_EQ(reinterpret_cast<HICON>(SendMessageW(w, WM_GETICON, ICON_BIG, 0)), icon);

        // Opening puts the focus on OK, not on a contact field.
        EXPECT_TRUE(WaitUntil([&] { return FocusOf(mainThread) == Child(w, frmAbout::kCmdOK); }));
        EXPECT_EQ(TargetCount(), 0u);
        CaptureWindow(w, "about");
        Click(Child(w, frmAbout::kCmdOK));
        EXPECT_TRUE(WaitForWindowGone(w));
    });
    EXPECT_FALSE(about.IsLoaded());
    EXPECT_EQ(about.IconShown(), icon);
    EXPECT_EQ(TargetCount(), 0u);
}

TEST_F(AboutTest, EachFocusOnAContactFieldHandsItsTrimmedTargetToTheShell) {
    ShowWithUser([&](HWND w) {
        HWND ok = Child(w, frmAbout::kCmdOK);
        HWND web = Child(w, frmAbout::kText0);
        HWND mail = Child(w, frmAbout::kText1);
        ASSERT_TRUE(WaitUntil([&] { return FocusOf(mainThread) == ok; }));
        PostKey(ok, VK_TAB);
        ASSERT_TRUE(WaitUntil([&] { return TargetCount() == 1; }));
        EXPECT_EQ(FocusOf(mainThread), web);
        PostKey(web, VK_TAB);
        ASSERT_TRUE(WaitUntil([&] { return TargetCount() == 2; }));

        // Round again to the web field, now with blanks around its text.
        SetWindowTextTo(web, L"  https://mirror.example.net/tolvane/  ");
        PostKey(mail, VK_TAB);
        ASSERT_TRUE(WaitUntil([&] { return FocusOf(mainThread) == ok; }));
        PostKey(ok, VK_TAB);
        ASSERT_TRUE(WaitUntil([&] { return TargetCount() == 3; }));
        Click(ok);
    });
    const std::vector<std::wstring> expected{L"https://tolvane.example.org/", L"mailto:support@tolvane.example.org",
                                             L"https://mirror.example.net/tolvane/"};
    EXPECT_EQ(Targets(), expected);
}

TEST_F(AboutTest, ShellFailureIsShownInTheWarningBoxOnce) {
    shellFails = true;
    const std::wstring description = L"mailto:support@tolvane.example.orgが実行出来ませんでした";
    ShowWithUser([&](HWND w) {
        HWND mail = Child(w, frmAbout::kText1);
        PostMessageW(mail, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
        PostMessageW(mail, WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
        HWND box = WaitForClass(L"TolvaneMsgWarning");
        ASSERT_NE(box, nullptr);
        EXPECT_TRUE(ShowsText(box, description));
        PostMessageW(box, WM_CLOSE, 0, 0);
        ASSERT_TRUE(WaitForWindowGone(box));
        // The focus comes back to the field with the window; that is no new request.
        ASSERT_TRUE(WaitUntil([&] { return FocusOf(mainThread) == mail; }));
        EXPECT_TRUE(IsWindowVisible(w));
        Click(Child(w, frmAbout::kCmdOK));
    });
    EXPECT_EQ(TargetCount(), 1u);
}

TEST_F(AboutTest, IconOpensTheRollWithTheNamesGivenToTheVersionWindow) {
    const wchar_t* names[kStaffCount] = {L"発案 太郎", L"図案 花子", L"符号 次郎", L"試験 三郎", L"修正 四郎"};
    for (int i = 0; i < kStaffCount; ++i) about.SetTanto(i, names[i]);
    ShowWithUser([&](HWND w) {
        // The roll opens on the press; the release lands on the roll and must not close it.
        PostMessageW(Child(w, frmAbout::kPicIcon), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
        HWND roll = WaitForClass(L"TolvaneRoll");
        ASSERT_NE(roll, nullptr);
        PostMessageW(roll, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
        // Timer ticks come only after the posted release has been handled.
        const int top = frmRoll::Instance().PictureTop();
        ASSERT_TRUE(WaitUntil([&] { return frmRoll::Instance().PictureTop() <= top - 10; }, 60s));
        EXPECT_TRUE(IsWindowVisible(roll));
        // Scrolled until the first lines are well inside the window, then a click ends it.
        RECT client;
        GetClientRect(roll, &client);
        ASSERT_TRUE(WaitUntil([&] { return frmRoll::Instance().PictureTop() < client.bottom / 3; }, 120s));
        CaptureWindow(roll, "credits_roll");
        PostClick(roll);
        ASSERT_TRUE(WaitForWindowGone(roll));
        EXPECT_GT(frmRoll::Instance().PictureTop() + frmRoll::Instance().PictureHeight(), 0)
            << "closed by the click, not by passing";
        Click(Child(w, frmAbout::kCmdOK));
    });
    const auto& lines = frmRoll::Instance().PrintedLines();
    const wchar_t* headings[kStaffCount] = {L"★★ 発案 ★★", L"★★ デザイン ★★", L"★★ コーディング ★★",
                                            L"★★ テスト ★★", L"★★ デバッグ ★★"};
    for (int i = 0; i < kStaffCount; ++i) {
        auto heading = std::find(lines.begin(), lines.end(), headings[i]);
        ASSERT_LT(heading + 2, lines.end()) << i;
        EXPECT_EQ(*(heading + 2), names[i]);
    }
}

namespace {

class RollTest : public ::testing::Test {
protected:
    void SetUp() override {
        savedVersion = gstrVersion;
        gstrVersion = L"2.0.2";
        for (int i = 0; i < kStaffCount; ++i) roll.SetTanto(i, L"");
    }
    void TearDown() override {
        roll.Unload();
        roll.SetRollLength(frmRoll::kDefaultRollLength);
        gstrVersion = savedVersion;
    }
    std::wstring LineAfter(const std::wstring& heading) const {
        const auto& lines = roll.PrintedLines();
        auto it = std::find(lines.begin(), lines.end(), heading);
        return it != lines.end() && it + 2 < lines.end() ? *(it + 2) : L"<missing>";
    }

    frmRoll& roll = frmRoll::Instance();
    std::wstring savedVersion;
};

std::wstring MachineName() {
    wchar_t name[MAX_COMPUTERNAME_LENGTH + 1];
    DWORD size = MAX_COMPUTERNAME_LENGTH + 1;
    return GetComputerNameW(name, &size) ? std::wstring(name, size) : L"????????";
}

}  // namespace

TEST_F(RollTest, DefaultNamesAndTheMachineNameAreCredited) {
    roll.Load();
    EXPECT_EQ(roll.PrintedLines().front(), L"■■ Tolvane Ver2.0.2■■");
    for (const wchar_t* heading : {L"★★ 発案 ★★", L"★★ デザイン ★★", L"★★ コーディング ★★", L"★★ テスト ★★",
                                   L"★★ デバッグ ★★"})
        EXPECT_EQ(LineAfter(heading), kDefaultStaffName) << heading;
    EXPECT_EQ(LineAfter(L"★★ 効果音 ★★"), MachineName());
    EXPECT_EQ(roll.PrintedLines().back(), L"Ostrevia");
    roll.Unload();

    // The defaults stay filled in; a name given later replaces one.
    roll.SetTanto(2, L"符号 次郎");
    roll.Load();
    EXPECT_EQ(LineAfter(L"★★ コーディング ★★"), L"符号 次郎");
    EXPECT_EQ(LineAfter(L"★★ 発案 ★★"), kDefaultStaffName);
}

TEST_F(RollTest, WindowTakesTwoThirdsOfTheScreenAndThePictureStartsBelowIt) {
    roll.Load();
    const int screenW = GetSystemMetrics(SM_CXSCREEN), screenH = GetSystemMetrics(SM_CYSCREEN);
    RECT w;
    GetWindowRect(roll.Hwnd(), &w);
    EXPECT_NEAR(w.right - w.left, screenW * 2 / 3, 1);
    EXPECT_NEAR(w.bottom - w.top, screenH * 2 / 3, 1);
    EXPECT_NEAR((w.left + w.right) / 2, screenW / 2, 1);
    EXPECT_EQ(GetWindowLongW(roll.Hwnd(), GWL_STYLE) & WS_CAPTION, static_cast<LONG>(WS_BORDER));

    RECT p;
    GetWindowRect(roll.Control(frmRoll::kPicStaffRoll), &p);
    EXPECT_NEAR(p.right - p.left, screenW / 2, 1);
    EXPECT_NEAR((p.left + p.right) / 2, (w.left + w.right) / 2, 2);
    EXPECT_EQ(roll.PictureTop(), w.bottom - w.top) << "just below the visible area";
    EXPECT_NEAR(roll.PictureHeight(), ui::TwipsToPixelsY(25000), 1);
}

TEST_F(RollTest, ClosesByItselfOnceThePictureHasPassed) {
    roll.SetRollLength(600);
    std::thread user([&] {
        HWND w = WaitForClass(L"TolvaneRoll");
        CloseIfOpen guard{[w] { return w; }};
        ASSERT_NE(w, nullptr);
        EXPECT_TRUE(WaitForWindowGone(w, 180s)) << "still scrolling";
    });
    roll.ShowModal();
    user.join();
    EXPECT_LE(roll.PictureTop() + roll.PictureHeight(), 0);
}

TEST(Tanto, IndexOutsideZeroToFourIsRefused) {
    for (int index : {-1, 5, 100}) {
        for (auto set : {+[](int i) { frmAbout::Instance().SetTanto(i, L"x"); },
                         +[](int i) { frmRoll::Instance().SetTanto(i, L"x"); }}) {
            try {
                set(index);
                ADD_FAILURE() << "index " << index << " accepted";
            } catch (const VbError& e) {
                EXPECT_EQ(e.Number(), kErrSubscriptOutOfRange);
            }
        }
    }
    EXPECT_NO_THROW(frmAbout::Instance().SetTanto(4, L""));
    EXPECT_NO_THROW(frmRoll::Instance().SetTanto(0, L""));
}
