// TolvaneCmd.exe started as a build server starts it: output redirected to a
// file, the exit status read, the list file and the JUnit report checked.
#include "ChildProcess.h"
#include "ProgramScenario.h"

namespace tolvane::testing {
namespace {

struct CmdRun {
    DWORD status = 0;
    std::vector<std::wstring> out;  // decoded from the ANSI code page (Shift-JIS)
    std::wstring err;
};

constexpr wchar_t kCmd[] = L"TolvaneCmd.exe";

CmdRun FinishedRun(ChildProcess& cmd, const ProgramFolder& program) {
    CmdRun run;
    EXPECT_TRUE(cmd.WaitForExit(120s));
    run.status = cmd.ExitCode();
    run.out = SplitLines(FromAnsi(program.Bytes(L"out.txt").value_or("")));
    run.err = FromAnsi(program.Bytes(L"err.txt").value_or(""));
    return run;
}

CmdRun RunCmd(const ProgramFolder& program, const std::wstring& args) {
    ChildProcess cmd(L"\"" + program.File(kCmd) + L"\" " + args, program.File(L"out.txt"), program.File(L"err.txt"));
    return FinishedRun(cmd, program);
}

TEST(ConsoleRunner, RunWithAFailureLogsLikeTheWindowRechecksTheListAndWritesTheReport) {
    ProgramFolder program;
    program.WriteTolvaneIni();
    const std::wstring record = program.File(L"builds.txt");
    const Project first = MakeProject(program, {L"A&B 試験\\p1", L"First"}, record);
    // No file can have this name: the box text carries markup.
    const Project broken =
        MakeProject(program, {L"A&B 試験\\p2", L"壊れた", false, 0, false, {{L"Form", L"frm<失>.frm"}}}, record);
    const std::wstring boxText = L"'" + program.Path() + L"\\A&B 試験\\p2\\frm<失>.frm' が見つかりません。";
    const Project skipped = MakeProject(program, {L"p3", L"Skipped"}, record);
    const Project last = MakeProject(program, {L"p4", L"Last"}, record);
    const std::wstring list = program.File(L"nightly.clt");
    WriteList(list, {{true, first.path}, {true, broken.path}, {false, skipped.path}, {true, last.path}});
    const std::wstring report = program.File(L"reports\\junit.xml");

    const CmdRun run = RunCmd(program, L"\"" + list + L"\" /RECHECK /junit \"" + report + L"\"");
    EXPECT_EQ(run.status, 1u);
    EXPECT_EQ(run.err, L"");
    // Redirected, the lines come in Shift-JIS, half-width katakana and all.
    EXPECT_EQ(Masked(run.out),
              (std::vector<std::wstring>{Progress(first, kStarted), Progress(first, kEnded), L"", Progress(broken, kStarted),
                                         Progress(broken, kFailed), L"\t" + boxText, L"", Progress(last, kStarted),
                                         Progress(last, kEnded), L"", kRule, L"開始時間：T", L"終了時間：T",
                                         L"経過時間：T", kRule, L"1件のｺﾝﾊﾟｲﾙに失敗しています",
                                         L"ｺﾝﾊﾟｲﾙが終了しました", L""}));

    // The list as the window program would save it: only the failed entry checked.
    EXPECT_EQ(program.Bytes(L"nightly.clt"), Ansi(L"False\t" + first.path + L"\r\nTrue\t" + broken.path +
                                                  L"\r\nFalse\t" + skipped.path + L"\r\nFalse\t" + last.path +
                                                  L"\r\n\r\n"));
    // The report names the suite's counts and the failed build with its folder.
    const std::string xml = ReadBytes(report).value_or("");
    for (const std::wstring& part : {std::wstring(L"tests=\"3\" failures=\"1\""), L"<testcase name=\"壊れた.vbp\" classname=\"" +
                                         program.Path() + L"\\A&amp;B 試験\\p2\""})
        EXPECT_NE(xml.find(ToUtf8(part)), std::string::npos) << ToUtf8(part) << "\n" << xml;
    EXPECT_EQ(ReadUtf8Lines(record).size(), 3u);
}

TEST(ConsoleRunner, SucceedsWithZeroOrRefusesToStartWithTwoAndOneReasonLine) {
    ProgramFolder program;
    const std::wstring record = program.File(L"builds.txt");
    const Project one = MakeProject(program, {L"p1", L"One"}, record);
    const Project two = MakeProject(program, {L"p2", L"Two"}, record);
    const std::wstring list = program.File(L"all.clt");
    WriteList(list, {{true, one.path}, {false, two.path}});
    const std::wstring out = program.Folder(L"出力 先");
    const std::wstring quotedList = L"\"" + list + L"\"";

    // No Tolvane.ini: /vb names the compiler; /all builds the unchecked entry too.
    CmdRun run = RunCmd(program, quotedList + L" /all /Outdir \"" + out + L"\" /d \"A = 1\" /limit 5 /vb \"" +
                                     StandInExe() + L"\"");
    EXPECT_EQ(run.status, 0u) << ToUtf8(run.err);
    EXPECT_EQ(run.out[run.out.size() - 2], L"ｺﾝﾊﾟｲﾙが終了しました");
    EXPECT_EQ(ReadStandInOutput(out + L"\\Two.exe")[L"Constants"], L"A=1");
    EXPECT_EQ(program.Bytes(L"all.clt"), Ansi(L"True\t" + one.path + L"\r\nFalse\t" + two.path + L"\r\n\r\n"));
    // Nothing changed since: /skip (then Skip=1 in Tolvane.ini) starts no compiler.
    const std::wstring again = quotedList + L" /all /outdir \"" + out + L"\" /vb \"" + StandInExe() + L"\"";
    for (const std::wstring& planning : {std::wstring(L" /skip /order /parallel 2"), std::wstring()}) {
        if (planning.empty()) program.WriteIni(L"Tolvane.ini", {{L"Skip", L"1"}});
        run = RunCmd(program, again + planning);
        EXPECT_EQ(Masked(run.out).at(0), Progress(one, L"ｺﾝﾊﾟｲﾙ省略"));
        EXPECT_EQ(Masked(run.out).at(2), Progress(two, L"ｺﾝﾊﾟｲﾙ省略"));
    }

    const struct {
        std::wstring args;
        std::wstring reason;
    } refusals[] = {
        {L"", L"ｺﾝﾊﾟｲﾙﾘｽﾄ(*.clt)、vbg、vbpかﾌｫﾙﾀﾞを指定してください（TolvaneCmd /? で使い方を表示します）"},
        {L"\"" + program.File(L"none.clt") + L"\"", program.File(L"none.clt") + L"が見つかりません"},
        {quotedList, L"VB6.EXEのﾊﾟｽが指定されていません: /vb か " + program.File(L"Tolvane.ini") +
                         L" のEXEで指定してください"},
        {quotedList + L" /vb \"" + program.File(L"VB6.EXE") + L"\"", program.File(L"VB6.EXE") + L"が見つかりません"},
        {quotedList + L" /outdir nowhere /vb \"" + StandInExe() + L"\"",
         L"指定のディレクトリは存在しません: nowhere"},
    };
    for (const auto& refusal : refusals) {
        run = RunCmd(program, refusal.args);
        EXPECT_EQ(run.status, 2u) << ToUtf8(refusal.args);
        EXPECT_EQ(run.err, refusal.reason + L"\r\n");
        EXPECT_EQ(run.out, std::vector<std::wstring>{L""});
    }
    // A list held open by another program, then a time limit in Tolvane.ini that is no number of minutes.
    HANDLE locked = CreateFileW(list.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    run = RunCmd(program, quotedList);
    CloseHandle(locked);
    EXPECT_TRUE(run.status == 2 && run.err.rfind(list + L"が開けませんでした: ", 0) == 0) << ToUtf8(run.err);
    program.WriteIni(L"Tolvane.ini", {{L"EXE", StandInExe()}, {L"TimeLimit", L"30分"}});
    run = RunCmd(program, quotedList);
    EXPECT_TRUE(run.status == 2 && run.err.rfind(program.File(L"Tolvane.ini") + L"のTimeLimitが正しくありません", 0) == 0);
    EXPECT_EQ(ReadUtf8Lines(record).size(), 2u);  // none of the refused runs started a build
}

TEST(ConsoleRunner, StopEndsTheHungCompilerAndEverythingItStartedAndExitsWithThree) {
    ProgramFolder program;
    program.WriteTolvaneIni();
    const std::wstring record = program.File(L"builds.txt");
    const Project hung = MakeProject(program, {L"p1", L"Hung", false, 0, true}, record);
    const Project after = MakeProject(program, {L"p2", L"After"}, record);
    const std::wstring list = program.File(L"stop.clt");
    WriteList(list, {{true, hung.path}, {true, after.path}});

    ChildProcess cmd(L"\"" + program.File(kCmd) + L"\" \"" + list + L"\"", program.File(L"out.txt"),
                     program.File(L"err.txt"));
    // Stopped once the hung build has recorded its start, so that its line is
    // always there and a second line can only come from the next build.
    ASSERT_TRUE(WaitUntil([&] { return ReadUtf8Lines(record).size() == 1; }, 60s));
    ASSERT_EQ(RunningCompilersOf(cmd.Id()), 1);
    // Wine 8 delivers no console control event (GenerateConsoleCtrlEvent fails
    // without a console or for a new process group, and for group 0 no handler
    // runs), so the stop goes in where the runner's control handler puts it: a
    // close request to its stop window (the tests run one at a time: one runner).
    HWND stopWindow = FindWindowW(L"TolvaneCmdStop", nullptr);
    ASSERT_NE(stopWindow, nullptr);
    PostMessageW(stopWindow, WM_CLOSE, 0, 0);

    const CmdRun run = FinishedRun(cmd, program);
    EXPECT_EQ(run.status, 3u);
    EXPECT_EQ(RunningCompilersOf(cmd.Id()), 0);
    EXPECT_EQ(Masked(run.out), (std::vector<std::wstring>{Progress(hung, kStarted), L"ｺﾝﾊﾟｲﾙを中止しています・・・",
                                                          L"実行中のｺﾝﾊﾟｲﾙを強制終了しています・・・",
                                                          Progress(hung, kFailed),
                                                          L"\t中止の指示によりｺﾝﾊﾟｲﾙを強制終了しました", L"",
                                                          L"ｺﾝﾊﾟｲﾙを中止しました", L"", L""}));
    // The next build never started.
    EXPECT_EQ(ReadUtf8Lines(record).size(), 1u);
}

}  // namespace
}  // namespace tolvane::testing
