// Whole-program runs with the compiler stand-in: a run with failures and its
// report, rebuilding only what failed, closing while a run goes on, the common
// output folder and the planning settings.
#include <algorithm>
#include <functional>
#include <optional>
#include <regex>

#include "ProgramScenario.h"
#include "UiDriver.h"
#include "ui/dialogs/frmCompileOption.h"

namespace tolvane::testing {
namespace {

// Five projects, two with a missing file: the user runs them, tries to close
// and type meanwhile, reads the notice and the log, supplies the files, runs
// again and closes without saving. Each step is one of the user's actions.
TEST(FiveProjects, TwoFailuresThenOnlyTheFailedAreRebuilt) {
    ProgramFolder program;
    const std::wstring record = program.File(L"builds.txt");
    const std::vector<Project> projects = {
        MakeProject(program, {L"ソース\\Ledger App", L"Ledger", false, 700}, record),
        MakeProject(program, {L"ソース\\Sales Reports", L"Monthly", true, 700}, record),
        MakeProject(program, {L"ソース\\在庫 管理", L"Inventory", false, 700}, record),
        MakeProject(program, {L"ソース\\帳票", L"PrintForms", true, 700}, record),
        MakeProject(program, {L"ソース\\Tools", L"Backup", false, 700}, record),
    };
    const std::wstring failedChecked = L"-Ledger.vbp +Monthly.vbp -Inventory.vbp +PrintForms.vbp -Backup.vbp ";
    const std::wstring list = ListedAtStart(program, L"五件.clt", AllChecked(projects));
    const std::optional<std::string> listBytes = ReadBytes(list);
    RunningProgram tolvane{program};
    HWND main = tolvane.WaitForMain(), notice = nullptr;
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(tolvane.Text(ids::lblCount), L"0/0");
    EXPECT_EQ(tolvane.LogText(), L"");
    // F12 through the real keyboard, while typing in the arguments box.
    HWND arguments = tolvane.Control(ids::txtDimension), tick = tolvane.Control(ids::chkAll);
    ASSERT_TRUE(ClickWithMouse(arguments));
    ASSERT_TRUE(WaitUntil([&] { return FocusedControl(main) == arguments; }));
    ASSERT_TRUE(tolvane.PressKeys(main, {VK_F12}));

    // Progress as it goes: each value seen is the next build or a later one.
    std::vector<std::wstring> progress;
    bool closeTried = false, snapped = false, buildingShown = false;
    std::optional<OtherProgramWindow> other;
    ASSERT_TRUE(WaitUntil(
        [&] {
            const std::wstring count = tolvane.Text(ids::lblCount);
            if (progress.empty() || progress.back() != count) progress.push_back(count);
            if (!closeTried && count != L"0/0" && count != L"5/5") {
                // Neither the close box nor the exit command ends a running
                // program, and the run and edit commands wait for its end.
                PostMessageW(main, WM_CLOSE, 0, 0);
                tolvane.Command(ids::mnuEditEnd);
                tolvane.Command(ids::mnuCompile);
                tolvane.Command(ids::mnuDelAllList);
                // Keys and clicks reach no control of the locked window,
                // whichever had the focus.
                tolvane.PressKeys(main, {'X'});
                tolvane.PressKeys(main, {VK_SPACE});
                ClickWithMouse(tick);
                ClickWithMouse(arguments);
                tolvane.PressKeys(main, {'Y'});
                closeTried = true;
            }
            // The project being built shows in the selection colours, once
            // the list has been repainted after the count.
            if (!buildingShown && count == L"4/5")
                buildingShown = CountScreenPixels(tolvane.Control(ids::lstCompileList), GetSysColor(COLOR_HIGHLIGHT)) > 0;
            if (!snapped && count == L"4/5") {
                CaptureWindow(main, "main_running");
                // The user turns to another program until the run ends.
                other.emplace();
                snapped = true;
            }
            return (notice = tolvane.FindOfClass(kWarningBoxClass)) != nullptr;
        },
        120s));
    EXPECT_TRUE(buildingShown);
    // The notice of a run that ended in the background is owned by the main
    // window: above it, without a taskbar button of its own.
    EXPECT_EQ(GetWindow(notice, GW_OWNER), main);
    other.reset();
    EXPECT_TRUE(closeTried);
    EXPECT_TRUE(tolvane.Running() && IsWindow(main));
    progress.erase(std::remove(progress.begin(), progress.end(), L"0/0"), progress.end());
    ASSERT_FALSE(progress.empty());
    EXPECT_TRUE(std::is_sorted(progress.begin(), progress.end())) << ToUtf8(progress.front());
    EXPECT_EQ(progress.back(), L"5/5");

    // The red notice over the finished run.
    const BoxLines lines = LinesOf(notice);
    EXPECT_EQ(lines.line1, L"2件のｺﾝﾊﾟｲﾙに失敗しています");
    EXPECT_EQ(lines.line2, L"ｺﾝﾊﾟｲﾙが終了しました");
    EXPECT_TRUE(LineShows(notice, 0, kRedText));
    EXPECT_TRUE(LineShows(notice, 1, kRedText));
    CaptureWindow(notice, "notice_failures");
    ASSERT_TRUE(Answer(notice, MessageBoxBase::cmdOK));
    // Nothing typed or clicked during the run took effect; the focus is back.
    EXPECT_EQ(WindowText(arguments), L"");
    EXPECT_EQ(SendMessageW(tick, BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_TRUE(WaitUntil([&] { return FocusedControl(main) == arguments; }));

    // The log: an empty line, then start and end of each build in list order,
    // a failed build's reason under its failure line, then the summary.
    const auto log = tolvane.LogLines();
    std::vector<std::wstring> expected = {L""};
    for (const auto& p : projects) {
        expected.push_back(Progress(p, kStarted));
        if (p.missing.empty()) expected.push_back(Progress(p, kEnded));
        else expected.insert(expected.end(), {Progress(p, kFailed), L"\t" + BoxTextOf(p)});
        expected.push_back(L"");
    }
    expected.insert(expected.end(), {kRule, L"開始時間：T", L"終了時間：T", L"経過時間：T", kRule});
    ASSERT_EQ(Masked(log), expected);
    EXPECT_TRUE(std::regex_match(log[log.size() - 2].substr(5), std::wregex(L"\\d\\d:\\d\\d:\\d\\d")));  // elapsed

    // The failure counter, and exactly the failed projects left checked.
    EXPECT_EQ(tolvane.Text(ids::lblFailureCount), L"失敗 2");
    EXPECT_EQ(Marks(tolvane.Items()), failedChecked);
    for (const auto& p : projects) EXPECT_EQ(ReadBytes(p.output).has_value(), p.missing.empty()) << ToUtf8(p.file);
    EXPECT_EQ(ReadUtf8Lines(record).size(), 5u);  // one command line per build
    CaptureWindow(main, "main_after_failures");

    // The missing files supplied, F12 again (posted to the focused control):
    // only the two failed projects are built, and both now succeed.
    for (const Project* p : {&projects[1], &projects[3]}) ASSERT_TRUE(WriteBytes(p->missing, "VERSION 5.00\r\n"));
    tolvane.PostKeyToFocus(VK_F12);
    EXPECT_TRUE(LineShows(tolvane.WaitForClass(kWarningBoxClass, 120s), 1, kNavyText));
    ExpectBox(tolvane, kWarningBoxClass, L"", L"ｺﾝﾊﾟｲﾙが終了しました");

    // The first run's last rule ends with the new run's first CR LF.
    const auto again = Masked(tolvane.LogLines());
    ASSERT_EQ(again.size(), log.size() + 2 * 3 + 5);
    EXPECT_EQ(std::vector<std::wstring>(again.begin() + log.size(), again.begin() + log.size() + 7),
              (std::vector<std::wstring>{Progress(projects[1], kStarted), Progress(projects[1], kEnded), L"",
                                         Progress(projects[3], kStarted), Progress(projects[3], kEnded), L"", kRule}));
    EXPECT_EQ(tolvane.Text(ids::lblCount), L"2/2");
    EXPECT_EQ(tolvane.Text(ids::lblFailureCount), L"");
    EXPECT_EQ(ReadUtf8Lines(record).size(), 7u);
    EXPECT_EQ(Marks(tolvane.Items()), failedChecked);
    for (const auto& p : projects) EXPECT_TRUE(ReadBytes(p.output).has_value()) << ToUtf8(p.file);

    // The failures re-checked the list, so closing asks to save; Cancel
    // closes without saving, and the list reopens at the next start.
    PostMessageW(main, WM_CLOSE, 0, 0);
    ExpectBox(tolvane, kYesNoBoxClass, L"ｺﾝﾊﾟｲﾙﾘｽﾄが変更されています", L"保存しますか？", MessageBoxBase::cmdCancel);
    ASSERT_TRUE(tolvane.WaitForExit());
    EXPECT_EQ(ReadBytes(list), listBytes);
}

// Two projects, App using Lib. The common output folder: required when ticked,
// chosen with the folder chooser, which asks before creating a missing one (its
// question box says no to everything but OK, however it is answered), and used
// for every build while ticked. Then the planning settings, and four builds at once.
TEST(CompileRunScenario, OutputFolderSettingsOrderSkipAndRunSideBySide) {
    ProgramFolder program;
    const Project lib = MakeProject(program, {L"部品", L"Lib"}, L"");
    const std::wstring reference = L"*\\G{0}#1.0#0#" + lib.output + L"#Lib";
    const Project app = MakeProject(program, {L"本体", L"App", false, 0, false, {{L"Reference", reference}}}, L"");
    ListedAtStart(program, L"二件.clt", {{true, app.path}, {true, lib.path}});
    const std::wstring here = program.Folder(L"出力 先");
    program.WriteIni(L"DialogBox.ini", {{L"PREV_Exe_Out", here + L"\\"}});
    const std::wstring s = L"   ", started = s + kStarted, ended = s + kEnded, skipped = s + L"ｺﾝﾊﾟｲﾙ省略";
    using Run = std::pair<std::wstring, std::vector<std::wstring>>;
    {
        RunningProgram tolvane(program);
        ASSERT_NE(tolvane.WaitForMain(), nullptr);
        HWND tick = tolvane.Control(ids::chkAll), browse = tolvane.Control(ids::cmdFolderPath);
        EXPECT_FALSE(IsWindowEnabled(browse));

        // Ticked with no folder: the run refuses to start, and the window is usable again.
        Click(tick);
        ASSERT_TRUE(WaitUntil([&] { return IsWindowEnabled(browse) != FALSE; }));
        tolvane.Command(ids::mnuCompile);
        ExpectBox(tolvane, kWarningBoxClass, L"指定のディレクトリは存在しません", L"");
        ASSERT_TRUE(WaitUntil([&] { return IsWindowEnabled(tolvane.Control(ids::lstCompileList)) != FALSE; }));
        EXPECT_EQ(tolvane.LogText(), L"\r\n");

        Click(browse);
        HWND d = tolvane.WaitForCaption(L"出力フォルダ指定");
        ASSERT_NE(d, nullptr);
        EXPECT_FALSE(IsWindowVisible(Child(d, frmDialogBox::File1)));
        SetWindowTextTo(Child(d, frmDialogBox::txtFileName), L"new");
        const std::wstring wanted = here + L"\\new\\";
        using Box = MessageBoxBase;
        const std::pair<const char*, std::function<void(HWND)>> noes[] = {
            {"click Cancel", [](HWND box) { Click(Child(box, Box::cmdCancel)); }},
            {"Enter on the opening focus", [](HWND box) { PostKey(WaitForFocusIn(box), VK_RETURN); }},
            {"Esc", [](HWND box) { PostKey(WaitForFocusIn(box), VK_ESCAPE); }},
            {"closed unanswered (Alt+F4)", [](HWND box) { PostMessageW(box, WM_CLOSE, 0, 0); }},
        };
        for (const auto& [how, answer] : noes) {
            Click(Child(d, frmDialogBox::cmdOK));
            HWND box = tolvane.WaitForClass(kYesNoBoxClass);
            ASSERT_NE(box, nullptr) << how;
            EXPECT_EQ(LinesOf(box).line2, L"「" + wanted + L"」を作成しますか？");
            answer(box);
            EXPECT_TRUE(WaitForWindowGone(box)) << how;
            EXPECT_TRUE(IsWindowVisible(d)) << how;
            EXPECT_FALSE(IsFolder(wanted)) << how;
        }
        Click(Child(d, frmDialogBox::cmdOK));
        HWND box = tolvane.WaitForClass(kYesNoBoxClass);
        ASSERT_NE(box, nullptr);
        PostKey(WaitForFocusIn(box), VK_TAB);
        ASSERT_TRUE(WaitUntil([&] { return GetDlgCtrlID(FocusedControl(box)) == Box::cmdOK; }));
        PostKey(FocusedControl(box), VK_RETURN);
        ASSERT_TRUE(WaitForWindowGone(d));
        EXPECT_TRUE(IsFolder(wanted));
        ASSERT_TRUE(WaitUntil([&] { return tolvane.Text(ids::txtFolderPath) == wanted; }));
        EXPECT_NE(program.Bytes(L"DialogBox.ini")->find(Ansi(L"PREV_Exe_Out=" + wanted)), std::string::npos);

        // Every build's output goes there; the folder's final backslash does not
        // swallow the arguments after it.
        SetWindowTextTo(tolvane.Control(ids::txtDimension), L"DEBUG = 1 : 区分 = 2");
        EXPECT_EQ(RunToTheEnd(tolvane).first, L"");
        for (const wchar_t* file : {L"App.exe", L"Lib.exe"}) {
            auto built = ReadStandInOutput(wanted + file);
            EXPECT_EQ(built[L"OutDir"], wanted) << ToUtf8(file);
            EXPECT_EQ(built[L"Constants"], L"DEBUG=1:区分=2") << ToUtf8(file);
        }
        EXPECT_FALSE(ReadBytes(app.output).has_value());

        // Unticked: the browse button goes grey, the folder text stays, and the
        // builds write beside their projects again, in the list's order.
        Click(tick);
        ASSERT_TRUE(WaitUntil([&] { return !IsWindowEnabled(browse); }));
        EXPECT_EQ(tolvane.Text(ids::txtFolderPath), wanted);
        EXPECT_EQ(RunToTheEnd(tolvane), (Run{L"", {L"App.vbp" + started, L"App.vbp" + ended, L"Lib.vbp" + started,
                                                   L"Lib.vbp" + ended}}));
        for (const auto& p : {app, lib}) EXPECT_EQ(ReadStandInOutput(p.output)[L"OutDir"], L"");

        // Order and skip both set in the dialog.
        HWND dialog = Opened(tolvane, ids::mnuCompileOption, L"ｺﾝﾊﾟｲﾙ設定");
        ASSERT_NE(dialog, nullptr);
        Click(Child(dialog, frmCompileOption::chkOrder));
        Click(Child(dialog, frmCompileOption::chkSkip));
        // A time limit that is no whole number of minutes is refused, and nothing is stored.
        for (const wchar_t* limit : {L"1.5", L"45"}) {
            SetWindowTextTo(Child(dialog, frmCompileOption::txtTimeLimit), limit);
            Click(Child(dialog, frmCompileOption::cmdGo));
            EXPECT_EQ(Answered(tolvane).line2,
                      limit[1] == L'.' ? L"制限時間は0から999999999までの分で指定してください" : L"設定しました");
        }
        ASSERT_TRUE(Answer(dialog, frmCompileOption::cmdCancel));
        // Lib first; App, built before Lib last time, is older than what it references.
        EXPECT_EQ(RunToTheEnd(tolvane), (Run{L"", {L"Lib.vbp" + skipped, L"App.vbp" + started, L"App.vbp" + ended}}));
        for (const char* stored : {"Order=1\r\n", "Skip=1\r\n", "TimeLimit=45\r\n"})
            EXPECT_NE(program.Bytes(L"Tolvane.ini")->find(stored), std::string::npos) << stored;
    }

    // Four slow builds at once, two failing at the same moment: every build
    // starts before any ends, and each failure stays with its project.
    std::vector<Project> slow;
    for (int i = 0; i < 4; ++i)
        slow.push_back(MakeProject(program, {L"並行" + std::to_wstring(i), L"P" + std::to_wstring(i), i % 2 == 1, 2000}, L""));
    ListedAtStart(program, L"二件.clt", AllChecked(slow), {{L"Parallel", L"4"}});
    RunningProgram tolvane(program);
    ASSERT_NE(tolvane.WaitForMain(), nullptr);
    const Run run = RunToTheEnd(tolvane);
    EXPECT_EQ(run.first, L"2件のｺﾝﾊﾟｲﾙに失敗しています");
    ASSERT_EQ(run.second.size(), 10u) << "four builds, two failure reasons";
    // Started in the order of their expected times, which a byte of project file can tip.
    std::vector<std::wstring> starts(run.second.begin(), run.second.begin() + 4), expected;
    for (const auto& p : slow) expected.push_back(p.file + started);
    std::sort(starts.begin(), starts.end());
    EXPECT_EQ(starts, expected);
    const std::wstring log = tolvane.LogText();
    for (int i = 0; i < 4; ++i) {
        const std::wstring end = i % 2 ? kFailed + L"\r\n\t" + BoxTextOf(slow[i]) : kEnded;
        EXPECT_NE(log.find(slow[i].file + s + end), std::wstring::npos) << ToUtf8(log);
    }
}

}  // namespace
}  // namespace tolvane::testing
