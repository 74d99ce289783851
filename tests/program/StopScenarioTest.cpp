// Stopping a run: between builds with F11, and a compiler that never ends,
// which a second F11 ends; builds that end badly with no one watching.
#include <algorithm>

#include "ProgramScenario.h"

namespace tolvane::testing {
namespace {

size_t CountLines(const std::vector<std::wstring>& lines, const std::wstring& text) {
    return static_cast<size_t>(std::count(lines.begin(), lines.end(), text));
}

bool HasLine(RunningProgram& tolvane, const Project& project, const std::wstring& status) {
    return CountLines(Masked(tolvane.LogLines()), Progress(project, status)) > 0;
}

// The log lines added since the text `before` was shown, their times masked.
std::vector<std::wstring> AddedLines(RunningProgram& tolvane, const std::wstring& before) {
    const std::wstring after = tolvane.LogText();
    EXPECT_EQ(after.rfind(before, 0), 0u);
    return Masked(SplitLines(after.substr(before.size())));
}

const std::wstring kStopping = L"ｺﾝﾊﾟｲﾙを中止しています・・・", kEnding = L"実行中のｺﾝﾊﾟｲﾙを強制終了しています・・・",
                   kStopped = L"ｺﾝﾊﾟｲﾙを中止しました";

TEST(StopScenario, F11StopsBetweenBuildsASecondF11EndsAHungCompilerAndUnattendedFailuresAreNamed) {
    ProgramFolder program;
    const std::wstring record = program.File(L"builds.txt");
    const std::vector<Project> all = {
        // The second long enough that the stop request surely arrives while it builds.
        MakeProject(program, {L"p1", L"First", false, 300}, record),
        MakeProject(program, {L"p2", L"Second", false, 4000}, record),
        MakeProject(program, {L"p3", L"Third"}, record), MakeProject(program, {L"p4", L"Fourth"}, record),
        MakeProject(program, {L"p5", L"Hung", false, 0, true}, record),
        // Built last, each ending without a good build and without a plain box.
        MakeProject(program, {L"p6", L"Crash", false, 0, false, {{L"StandInCrash", L"1"}}}, L""),
        MakeProject(program, {L"p7", L"Exit1", false, 0, false, {{L"StandInExitCode", L"1"}}}, L""),
        MakeProject(program, {L"p8", L"Prompt", false, 0, false, {{L"StandInPrompt", L"File in Use"}}}, L""),
        MakeProject(program, {L"p9", L"YesNo", true, 0, false, {{L"StandInYesNoBox", L"1"}}}, L""),
    };
    const std::vector<Project> projects(all.begin(), all.begin() + 4), bad(all.begin() + 5, all.end());
    const Project& hung = all[4];
    auto entries = AllChecked(all);
    for (size_t i = 4; i < all.size(); ++i) entries[i].first = false;
    ListedAtStart(program, L"stop.clt", entries, {{L"TimeLimit", L"1"}});

    RunningProgram tolvane(program);
    HWND main = tolvane.WaitForMain();
    ASSERT_NE(main, nullptr);
    HWND listControl = tolvane.Control(ids::lstCompileList);
    tolvane.PostKeyToFocus(VK_F12);

    // F11 (the real keyboard) while the second build runs.
    ASSERT_TRUE(WaitUntil([&] { return HasLine(tolvane, projects[1], kStarted); }, 60s));
    ASSERT_TRUE(tolvane.PressKeys(main, {VK_F11}));
    ASSERT_TRUE(WaitUntil([&] { return IsWindowEnabled(listControl); }, 60s));
    EXPECT_EQ(tolvane.FindOfClass(kWarningBoxClass), nullptr);
    EXPECT_EQ(AddedLines(tolvane, L""),
              (std::vector<std::wstring>{L"", Progress(projects[0], kStarted), Progress(projects[0], kEnded), L"",
                                         Progress(projects[1], kStarted), kStopping, Progress(projects[1], kEnded),
                                         L"", kStopped, L"", L""}));
    EXPECT_EQ(tolvane.Text(ids::lblCount), L"2/4");
    EXPECT_EQ(tolvane.Text(ids::lblFailureCount), L"");
    // The interrupted build finished; the later ones never started.
    EXPECT_EQ(ReadUtf8Lines(record).size(), 2u);
    EXPECT_NE(GetFileAttributesW(projects[1].output.c_str()), INVALID_FILE_ATTRIBUTES);
    const auto checked = [&](const std::wstring& marks) {  // + or - for each of the nine, in order
        std::wstring list;
        for (size_t i = 0; i < all.size(); ++i) list += marks.substr(i, 1) + all[i].file + L" ";
        return ListShows(tolvane, list);
    };
    EXPECT_TRUE(checked(L"++++-----")) << ToUtf8(Marks(tolvane.Items()));

    // Inverted, and the last four unchecked: only the hung project is
    // checked; its compiler never ends.
    tolvane.Command(ids::mnuReversalCheck);
    ASSERT_TRUE(checked(L"----+++++"));
    for (int i = 5; i < 9; ++i) ASSERT_TRUE(tolvane.SetItemChecked(i, false)) << i;
    ASSERT_TRUE(checked(L"----+----"));
    const std::wstring before = tolvane.LogText();
    tolvane.PostKeyToFocus(VK_F12);
    ASSERT_TRUE(WaitUntil([&] { return HasLine(tolvane, hung, kStarted); }, 60s));
    ASSERT_TRUE(WaitUntil([&] { return RunningCompilersOf(tolvane.Pid()) == 1; }, 30s));

    // The first F11 waits for the build, as always; the second ends it.
    tolvane.PostKeyToFocus(VK_F11);
    ASSERT_TRUE(WaitUntil([&] { return CountLines(tolvane.LogLines(), kStopping) == 2; }, 30s));
    EXPECT_FALSE(IsWindowEnabled(listControl));
    EXPECT_EQ(RunningCompilersOf(tolvane.Pid()), 1);
    tolvane.PostKeyToFocus(VK_F11);
    ASSERT_TRUE(WaitUntil([&] { return IsWindowEnabled(listControl); }, 60s));
    EXPECT_EQ(tolvane.FindOfClass(kWarningBoxClass), nullptr);
    EXPECT_EQ(RunningCompilersOf(tolvane.Pid()), 0);
    EXPECT_EQ(AddedLines(tolvane, before),
              (std::vector<std::wstring>{L"", Progress(hung, kStarted), kStopping, kEnding, Progress(hung, kFailed),
                                         L"\t中止の指示によりｺﾝﾊﾟｲﾙを強制終了しました", L"", kStopped, L"", L""}));
    EXPECT_EQ(tolvane.Text(ids::lblCount), L"1/1");
    EXPECT_EQ(tolvane.Text(ids::lblFailureCount), L"1");

    // A crash and an exit status of 1 fail with their status; a compiler
    // waiting on a prompt is ended at the one-minute limit of Tolvane.ini, and
    // the prompt is named. While a box that ignores close is being closed the
    // window answers at once, and a second F11 ends that build there.
    for (int i = 0; i < 9; ++i) ASSERT_TRUE(tolvane.SetItemChecked(i, i >= 5)) << i;
    ASSERT_TRUE(checked(L"-----++++"));
    const std::wstring third = tolvane.LogText();
    tolvane.PostKeyToFocus(VK_F12);
    ASSERT_TRUE(WaitUntil([&] { return HasLine(tolvane, bad[3], kStarted); }, 150s));
    const std::wstring title = L"Microsoft Visual Basic";
    ASSERT_NE(WaitForTop(0, nullptr, &title, 30s), nullptr);
    tolvane.PostKeyToFocus(VK_F11);
    EXPECT_TRUE(WaitUntil([&] { return CountLines(tolvane.LogLines(), kStopping) == 3; }, 1s));
    tolvane.PostKeyToFocus(VK_F11);
    EXPECT_TRUE(WaitUntil([&] { return CountLines(tolvane.LogLines(), kEnding) == 2; }, 1s));
    ASSERT_TRUE(WaitUntil([&] { return IsWindowEnabled(listControl); }, 60s));
    EXPECT_EQ(RunningCompilersOf(tolvane.Pid()), 0);

    std::vector<std::wstring> expected = {L""};
    const std::wstring reasons[] = {
        L"\tｺﾝﾊﾟｲﾗが異常終了しました(終了ｺｰﾄﾞ 3221225477 / 0xC0000005)",
        L"\tｺﾝﾊﾟｲﾗが異常終了しました(終了ｺｰﾄﾞ 1 / 0x00000001)",
        L"\t制限時間(1分)を過ぎたため、ｺﾝﾊﾟｲﾙを強制終了しました 応答待ちのｳｨﾝﾄﾞｳ：「File in Use」 続行しますか？",
    };
    for (size_t i = 0; i < 3; ++i)
        expected.insert(expected.end(), {Progress(bad[i], kStarted), Progress(bad[i], kFailed), reasons[i], L""});
    expected.insert(expected.end(), {Progress(bad[3], kStarted), kStopping, kEnding, Progress(bad[3], kFailed),
                                     L"\t" + BoxTextOf(bad[3]) + L" 中止の指示によりｺﾝﾊﾟｲﾙを強制終了しました", L"",
                                     kStopped, L"", L""});
    EXPECT_EQ(AddedLines(tolvane, third), expected);
    EXPECT_EQ(tolvane.Text(ids::lblFailureCount), L"5");  // the hung build's failure stays
}

}  // namespace
}  // namespace tolvane::testing
