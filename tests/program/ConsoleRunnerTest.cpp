// TolvaneCmd.exe started as a build server starts it: output redirected to a
// file, the exit status read, the list file and the JUnit report checked.
#include <algorithm>
#include <set>

#include "ChildProcess.h"
#include "ProgramScenario.h"
#include "support/Paths.h"

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
        {L"", L"ｺﾝﾊﾟｲﾙﾘｽﾄ(*.clt)を指定してください（TolvaneCmd /? で使い方を表示します）"},
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
    {
        const LockedFile locked(list);
        run = RunCmd(program, quotedList);
    }
    EXPECT_TRUE(run.status == 2 && run.err.rfind(list + L"が開けませんでした: ", 0) == 0) << ToUtf8(run.err);
    program.WriteIni(L"Tolvane.ini", {{L"EXE", StandInExe()}, {L"TimeLimit", L"30分"}});
    run = RunCmd(program, quotedList);
    EXPECT_TRUE(run.status == 2 && run.err.rfind(program.File(L"Tolvane.ini") + L"のTimeLimitが正しくありません", 0) == 0);
    EXPECT_EQ(ReadUtf8Lines(record).size(), 2u);  // none of the refused runs started a build
}

// The build servers' variables for the runs in a scope, put back afterwards
// (the tests may themselves run on such a server).
struct ServerVariables {
    ServerVariables(const std::wstring& github, const std::wstring& workspace, const std::wstring& tfBuild) {
        for (std::size_t i = 0; i < 3; ++i) {
            saved[i].resize(GetEnvironmentVariableW(kNames[i], nullptr, 0));
            GetEnvironmentVariableW(kNames[i], saved[i].data(), static_cast<DWORD>(saved[i].size()));
            const std::wstring& value = i == 0 ? github : i == 1 ? workspace : tfBuild;
            SetEnvironmentVariableW(kNames[i], value.empty() ? nullptr : value.c_str());
        }
    }
    ~ServerVariables() {
        for (std::size_t i = 0; i < 3; ++i) SetEnvironmentVariableW(kNames[i], saved[i].empty() ? nullptr : saved[i].c_str());
    }
    static constexpr const wchar_t* kNames[3] = {L"GITHUB_ACTIONS", L"GITHUB_WORKSPACE", L"TF_BUILD"};
    std::wstring saved[3];
};

// The lines under a project's failure line, up to the empty line.
std::vector<std::wstring> UnderFailure(const std::vector<std::wstring>& out, const Project& project) {
    const std::vector<std::wstring> masked = Masked(out);
    auto it = std::find(masked.begin(), masked.end(), Progress(project, kFailed));
    std::vector<std::wstring> under;
    if (it == masked.end()) return {L"(no failure line)"};
    for (++it; it != masked.end() && !it->empty(); ++it) under.push_back(*it);
    return under;
}

TEST(ConsoleRunner, CompilerLogUnderEachFailureWithTheFilesOwnLineAndTheServersAnnotation) {
    ProgramFolder program;
    program.WriteTolvaneIni();
    const std::wstring record = program.File(L"builds.txt");
    const ErrorProject bas = MakeErrorProject(program, L"src\\標準", L"Module1", L"bas", record);
    const ErrorProject cls = MakeErrorProject(program, L"src\\ｸﾗｽ", L"Class1", L"cls", record);
    const ErrorProject frm = MakeErrorProject(program, L"src\\画面", L"Form1", L"frm", record);
    const ErrorProject boxed = MakeErrorProject(program, L"box", L"Boxed", L"bas", record, {{L"StandInBoxWithLog", L"1"}});
    const Project gone = MakeProject(program, {L"gone", L"Gone", false, 0, false, {{L"StandInMissingFile", L"Lost.cls"}}}, record);
    const Project ocx = MakeProject(program, {L"ocx", L"Ocx", false, 0, false, {{L"StandInControlMissing", L"NOPE.OCX"}}}, record);
    const Project trap = MakeProject(program, {L"trap", L"Trap", false, 0, false, {{L"StandInLoadErrors", L"frmMain.frm"}}}, record);
    const std::wstring list = program.File(L"log.clt");
    WriteList(list, {{true, bas.project.path}, {true, cls.project.path}, {true, frm.project.path}, {true, boxed.project.path},
                     {true, gone.path}, {true, ocx.path}, {true, trap.path}});
    const std::wstring report = program.File(L"junit.xml");
    const std::wstring exit1 = L"\tｺﾝﾊﾟｲﾗが異常終了しました(終了ｺｰﾄﾞ 1 / 0x00000001)";
    // The compiler counts from the end of the header (2 in each file); the file's own line is given.
    const auto errorLines = [](const ErrorProject& e, const std::wstring& first) {
        return std::vector<std::wstring>{first, L"\tCompile Error in File '" + e.source + L"', Line 2 : 構文エラー",
                                         L"\t" + e.source + L"(" + std::to_wstring(e.line) + L"行目): 構文エラー"};
    };
    CmdRun run;
    {
        ServerVariables github(L"true", program.Path(), L"");
        run = RunCmd(program, L"\"" + list + L"\" /compilerlog /junit \"" + report + L"\"");
    }
    EXPECT_EQ(run.status, 1u) << ToUtf8(run.err);
    for (const ErrorProject* e : {&bas, &cls, &frm}) EXPECT_EQ(UnderFailure(run.out, e->project), errorLines(*e, exit1));
    // The box's text first, then the log's.
    EXPECT_EQ(UnderFailure(run.out, boxed.project), errorLines(boxed, L"\tコンパイル エラー: 構文エラー"));
    EXPECT_EQ(UnderFailure(run.out, gone), (std::vector<std::wstring>{exit1, L"\tFile not found: 'Lost.cls'"}));
    EXPECT_EQ(UnderFailure(run.out, ocx),
              (std::vector<std::wstring>{exit1, L"\t'" + program.Folder(L"ocx") + L"\\NOPE.OCX' could not be loaded"}));
    // Built, and still a failure: the form log's lines under it.
    EXPECT_EQ(UnderFailure(run.out, trap),
              (std::vector<std::wstring>{L"\tﾛｰﾄﾞｴﾗｰがあります(frmMain.log)", L"\tLine 8: The property name BogusProperty is invalid.",
                                         L"\tErrors during load. Refer to '" + program.Folder(L"trap") +
                                             L"\\frmMain.log' for details"}));
    const auto has = [](const CmdRun& r, const std::wstring& line) {
        return std::find(r.out.begin(), r.out.end(), line) != r.out.end();
    };
    EXPECT_TRUE(has(run, L"::error file=src/標準/Module1.bas,line=4,title=Module1.vbp::構文エラー"));
    EXPECT_TRUE(has(run, L"::error file=src/画面/Form1.frm,line=11,title=Form1.vbp::構文エラー"));
    const auto annotations = [](const CmdRun& r, const wchar_t* head) {
        return std::count_if(r.out.begin(), r.out.end(), [&](const std::wstring& l) { return l.rfind(head, 0) == 0; });
    };
    EXPECT_EQ(annotations(run, L"::error "), 4);
    // The report's case carries the file and the line.
    const std::string xml = ReadBytes(report).value_or("");
    EXPECT_NE(xml.find(ToUtf8(L"file=\"" + cls.source + L"\" line=\"9\">")), std::string::npos) << xml;
    EXPECT_NE(xml.find(ToUtf8(L"ﾛｰﾄﾞｴﾗｰがあります(frmMain.log)\nLine 8: The property name BogusProperty is invalid.")),
              std::string::npos);

    // Each build its own log in the temporary folder, gone afterwards.
    std::vector<std::wstring> logs;
    for (const auto& line : ReadUtf8Lines(record)) {
        const auto out = line.find(L" /out \"");
        ASSERT_NE(out, std::wstring::npos) << ToUtf8(line);
        logs.push_back(line.substr(out + 7, line.size() - out - 8));
        EXPECT_EQ(GetFileAttributesW(logs.back().c_str()), INVALID_FILE_ATTRIBUTES) << ToUtf8(logs.back());
    }
    ASSERT_EQ(logs.size(), 7u);
    EXPECT_EQ(std::set<std::wstring>(logs.begin(), logs.end()).size(), 7u);

    {
        ServerVariables azure(L"", L"", L"True");
        run = RunCmd(program, L"\"" + list + L"\" /compilerlog");
    }
    EXPECT_TRUE(has(run, L"##vso[task.logissue type=error;sourcepath=" + frm.source + L";linenumber=11]Form1.vbp: 構文エラー"));
    EXPECT_EQ(annotations(run, L"##vso["), 4);
    EXPECT_EQ(annotations(run, L"::"), 0);
    {
        ServerVariables neither(L"", L"", L"");
        run = RunCmd(program, L"\"" + list + L"\" /compilerlog");
        EXPECT_EQ(annotations(run, L"##vso[") + annotations(run, L"::"), 0);
        // Off: the designed command line, and only what the run knew without the log.
        const std::size_t before = ReadUtf8Lines(record).size();
        run = RunCmd(program, L"\"" + list + L"\"");
        const auto lines = ReadUtf8Lines(record);
        ASSERT_EQ(lines.size(), before + 7);
        EXPECT_EQ(lines[before], StandInExe() + L" /make " + QuoteIfSpaced(bas.project.path));
        EXPECT_EQ(UnderFailure(run.out, bas.project), std::vector<std::wstring>{L"\tコンパイル エラー: 構文エラー"});
        EXPECT_EQ(UnderFailure(run.out, trap), std::vector<std::wstring>{L"(no failure line)"});
    }
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
