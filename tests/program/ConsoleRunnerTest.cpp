// TolvaneCmd.exe started as a build server starts it: output redirected to a
// file, the exit status read, the list file and the JUnit report checked.
#include <algorithm>
#include <set>

#include "ProgramScenario.h"
#include "support/Paths.h"

namespace tolvane::testing {
namespace {

TEST(ConsoleRunner, SucceedsWithZeroRefusesToStartWithTwoAndOneReasonLineFailsWithOneAndRechecksTheList) {
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

    const std::pair<std::wstring, std::wstring> refusals[] = {  // arguments, the one line on standard error
        {L"", L"ｺﾝﾊﾟｲﾙﾘｽﾄ(*.clt)、vbg、vbpかﾌｫﾙﾀﾞを指定してください（TolvaneCmd /? で使い方を表示します）"},
        {L"\"" + program.File(L"none.clt") + L"\"", program.File(L"none.clt") + L"が見つかりません"},
        {quotedList, L"VB6.EXEのﾊﾟｽが指定されていません: /vb か " + program.File(L"Tolvane.ini") +
                         L" のEXEで指定してください"},
        {quotedList + L" /vb \"" + program.File(L"VB6.EXE") + L"\"", program.File(L"VB6.EXE") + L"が見つかりません"},
        {quotedList + L" /outdir nowhere /vb \"" + StandInExe() + L"\"",
         L"指定のディレクトリは存在しません: nowhere"},
        // One input of several not there refuses the whole run.
        {quotedList + L" " + Quoted(program.File(L"nowhere")), program.File(L"nowhere") + L"が見つかりません"},
        {quotedList + L" /version 1.0.0 /set RevisionVer=2",
         L"RevisionVerは/versionと同時に/setで指定できません（TolvaneCmd /? で使い方を表示します）"},
    };
    for (const auto& [args, reason] : refusals) {
        run = RunCmd(program, args);
        EXPECT_EQ(run.status, 2u) << ToUtf8(args);
        EXPECT_EQ(run.err, reason + L"\r\n");
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

    // Exit status 1: a failure, logged as the window logs it; /RECHECK leaves only
    // the failed entry checked, and the report names it.
    program.WriteTolvaneIni();
    const Project first = MakeProject(program, {L"A&B 試験\\p1", L"First"}, record);
    // No file can have this name: the box text carries markup.
    const Project broken =
        MakeProject(program, {L"A&B 試験\\p2", L"壊れた", false, 0, false, {{L"Form", L"frm<失>.frm"}}}, record);
    const std::wstring boxText = L"'" + program.Path() + L"\\A&B 試験\\p2\\frm<失>.frm' が見つかりません。";
    const Project skipped = MakeProject(program, {L"p3", L"Skipped"}, record);
    const Project last = MakeProject(program, {L"p4", L"Last"}, record);
    const std::wstring nightly = program.File(L"nightly.clt");
    WriteList(nightly, {{true, first.path}, {true, broken.path}, {false, skipped.path}, {true, last.path}});
    const std::wstring report = program.File(L"reports\\junit.xml");
    run = RunCmd(program, Quoted(nightly) + L" /RECHECK /junit \"" + report + L"\"");
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
    EXPECT_EQ(ReadUtf8Lines(record).size(), 2u + 3u);
}

// A run with the build servers' variables as given ("" for unset; the workspace
// is the program folder), put back afterwards (the tests may run on such a server).
CmdRun RunOnServer(const ProgramFolder& program, const std::wstring& args, const std::wstring& github,
                   const std::wstring& tfBuild) {
    const wchar_t* names[3] = {L"GITHUB_ACTIONS", L"GITHUB_WORKSPACE", L"TF_BUILD"};
    const std::wstring values[3] = {github, github.empty() ? L"" : program.Path(), tfBuild};
    std::wstring saved[3];
    for (std::size_t i = 0; i < 3; ++i) {
        saved[i].resize(GetEnvironmentVariableW(names[i], nullptr, 0));
        GetEnvironmentVariableW(names[i], saved[i].data(), static_cast<DWORD>(saved[i].size()));
        SetEnvironmentVariableW(names[i], values[i].empty() ? nullptr : values[i].c_str());
    }
    CmdRun run = RunCmd(program, args);
    for (std::size_t i = 0; i < 3; ++i) SetEnvironmentVariableW(names[i], saved[i].empty() ? nullptr : saved[i].c_str());
    return run;
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
    WriteList(list, AllChecked({bas.project, cls.project, frm.project, boxed.project, gone, ocx, trap}));
    const std::wstring report = program.File(L"junit.xml");
    const std::wstring exit1 = L"\tｺﾝﾊﾟｲﾗが異常終了しました(終了ｺｰﾄﾞ 1 / 0x00000001)";
    // The compiler counts from the end of the header (2 in each file); the file's own line is given.
    const auto errorLines = [](const ErrorProject& e, const std::wstring& first) {
        return std::vector<std::wstring>{first, L"\tCompile Error in File '" + e.source + L"', Line 2 : 構文エラー",
                                         L"\t" + e.source + L"(" + std::to_wstring(e.line) + L"行目): 構文エラー"};
    };
    CmdRun run = RunOnServer(program, Quoted(list) + L" /compilerlog /junit " + Quoted(report), L"true", L"");
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
    EXPECT_EQ(std::count(run.out.begin(), run.out.end(), L"::error file=src/標準/Module1.bas,line=4,title=Module1.vbp::構文エラー"), 1);
    EXPECT_EQ(std::count(run.out.begin(), run.out.end(), L"::error file=src/画面/Form1.frm,line=11,title=Form1.vbp::構文エラー"), 1);
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

    run = RunOnServer(program, Quoted(list) + L" /compilerlog", L"", L"True");
    EXPECT_EQ(std::count(run.out.begin(), run.out.end(),
                         L"##vso[task.logissue type=error;sourcepath=" + frm.source + L";linenumber=11]Form1.vbp: 構文エラー"), 1);
    EXPECT_EQ(annotations(run, L"##vso["), 4);
    EXPECT_EQ(annotations(run, L"::"), 0);
    run = RunOnServer(program, Quoted(list) + L" /compilerlog", L"", L"");
    EXPECT_EQ(annotations(run, L"##vso[") + annotations(run, L"::"), 0);
    // Off: the designed command line, and only what the run knew without the log.
    const std::size_t before = ReadUtf8Lines(record).size();
    run = RunOnServer(program, Quoted(list), L"", L"");
    const auto lines = ReadUtf8Lines(record);
    ASSERT_EQ(lines.size(), before + 7);
    EXPECT_EQ(lines[before], StandInExe() + L" /make " + QuoteIfSpaced(bas.project.path));
    EXPECT_EQ(UnderFailure(run.out, bas.project), std::vector<std::wstring>{L"\tコンパイル エラー: 構文エラー"});
    EXPECT_EQ(UnderFailure(run.out, trap), std::vector<std::wstring>{L"(no failure line)"});
}

// The projects a run started, in order, from the stand-in's record of command lines.
std::vector<std::wstring> Started(const std::vector<std::wstring>& record, std::size_t from,
                                  const std::vector<Project>& projects) {
    std::vector<std::wstring> started;
    for (std::size_t i = from; i < record.size(); ++i)
        for (const Project& p : projects)
            if (record[i].find(Quoted(p.path)) != std::wstring::npos) started.push_back(p.file);
    return started;
}

TEST(ConsoleRunner, AGroupAFolderAListAndShardsOfAGroupBuildEachProjectOnceInTheOrderGivenOrDependencyOrder) {
    ProgramFolder program;
    program.WriteTolvaneIni();
    const std::wstring record = program.File(L"builds.txt");
    const Project app = MakeProject(program, {L"grp\\App", L"App"}, record);
    const Project lib = MakeProject(program, {L"grp\\Lib", L"Lib"}, record);
    // As VB6 saves a group: relative paths, the start-up project where it
    // stands, and here one project that is long gone.
    const std::wstring group = program.File(L"grp\\App.vbg");
    ASSERT_TRUE(WriteBytes(group, Ansi(L"VBGROUP 5.0\r\nProject=Lib\\Lib.vbp\r\nStartupProject=App\\App.vbp\r\n"
                                       L"Project=..\\old\\Gone.vbp\r\n")));
    const std::wstring report = program.File(L"app.xml");
    CmdRun run = RunCmd(program, Quoted(group) + L" /junit " + Quoted(report));
    EXPECT_EQ(run.status, 1u) << ToUtf8(run.err);
    const Project gone{L"Gone.vbp", program.Path() + L"\\old\\Gone.vbp", L"", L""};
    run.out.resize(std::min<std::size_t>(run.out.size(), 9));
    EXPECT_EQ(Masked(run.out), (std::vector<std::wstring>{Progress(lib, kStarted), Progress(lib, kEnded), L"",
                                                          Progress(app, kStarted), Progress(app, kEnded), L"",
                                                          Progress(gone, kStarted), Progress(gone, kFailed),
                                                          L"\t" + gone.path + L"が見つかりません"}));
    EXPECT_NE(ReadBytes(report).value_or("").find("<testsuite name=\"App.vbg\" tests=\"3\" failures=\"1\""), std::string::npos);
    EXPECT_EQ(ReadUtf8Lines(record).size(), 2u);  // the missing project started no compiler

    // A folder: its projects level by level, as the window's add-all command finds them.
    const Project deeper = MakeProject(program, {L"tree\\Sub\\Sub2", L"Deeper"}, record);
    const Project deep = MakeProject(program, {L"tree\\Sub", L"Deep"}, record);
    const Project top = MakeProject(program, {L"tree", L"Top"}, record);
    const std::vector<std::wstring> levels{L"Top.vbp", L"Deep.vbp", L"Deeper.vbp"};
    EXPECT_EQ(RunCmd(program, Quoted(program.Path() + L"\\tree")).status, 0u);
    EXPECT_EQ(Started(ReadUtf8Lines(record), 2, {top, deep, deeper}), levels);

    // A list's marks count; a project named again later is built once, at its
    // first place, and checked there when it is checked anywhere.
    const std::wstring list = program.File(L"three.clt");
    WriteList(list, {{true, top.path}, {false, deep.path}, {true, deeper.path}});
    EXPECT_EQ(RunCmd(program, Quoted(list) + L" " + Quoted(deep.path) + L" " + Quoted(top.path)).status, 0u);
    EXPECT_EQ(Started(ReadUtf8Lines(record), 5, {top, deep, deeper}), levels);

    // Three build agents, each given one part of a group.
    const std::wstring shardRecord = program.File(L"shards.txt");
    const auto uses = [](const Project& p) { return std::pair<std::wstring, std::wstring>(L"Reference", L"*\\G{0}#1.0#0#" + p.output + L"#X"); };
    const auto make = [&](const wchar_t* name, std::vector<std::pair<std::wstring, std::wstring>> steer = {}) {
        return MakeProject(program, {std::wstring(L"sys\\") + name, name, false, 0, false, steer}, shardRecord);
    };
    // Groups {L1 A1 A2}, {L2 B1}, {C1 C2}, {D}, {E}, listed dependants first.
    const Project l1 = make(L"L1"), a1 = make(L"A1", {uses(l1)}), a2 = make(L"A2", {uses(a1), uses(l1)});
    const Project l2 = make(L"L2"), b1 = make(L"B1", {uses(l2)}), c1 = make(L"C1"), c2 = make(L"C2", {uses(c1)});
    const Project d = make(L"D"), e = make(L"E");
    const std::vector<Project> all{a2, a1, l1, b1, c2, d, l2, c1, e};
    const std::vector<std::pair<Project, Project>> uses_{{a1, l1}, {a2, a1}, {a2, l1}, {b1, l2}, {c2, c1}};
    std::wstring text = L"VBGROUP 5.0\r\n";
    for (const Project& p : all) text += L"Project=" + p.path + L"\r\n";
    const std::wstring sys = program.File(L"sys\\all.vbg");
    ASSERT_TRUE(WriteBytes(sys, Ansi(text)));

    // The plan of one part names only its projects and builds nothing.
    run = RunCmd(program, Quoted(sys) + L" /order /plan /shard 1/3");
    std::wstring planned;
    for (const auto& line : run.out) planned += line + L"\n";
    EXPECT_TRUE(run.status == 0 && ReadUtf8Lines(shardRecord).empty()) << ToUtf8(run.err);

    std::vector<std::wstring> builtOnce;
    for (int k = 1; k <= 3; ++k) {
        const std::size_t before = ReadUtf8Lines(shardRecord).size();
        const std::wstring report = program.File(L"part" + std::to_wstring(k) + L".xml");
        run = RunCmd(program, Quoted(sys) + L" /order /shard " + std::to_wstring(k) + L"/3 /junit " + Quoted(report));
        EXPECT_EQ(run.status, 0u) << ToUtf8(run.err);
        const std::vector<std::wstring> started = Started(ReadUtf8Lines(shardRecord), before, all);
        // The part says what it holds before it builds.
        EXPECT_EQ(run.out.at(0), L"分割 " + std::to_wstring(k) + L"/3: " + std::to_wstring(started.size()) + L"件のﾌﾟﾛｼﾞｪｸﾄ");
        const auto at = [&](const Project& p) { return std::find(started.begin(), started.end(), p.file); };
        for (const Project& p : all) {
            const bool here = at(p) != started.end(), listed = std::count(run.out.begin(), run.out.end(), L"\t" + p.path);
            EXPECT_TRUE(here == listed && (k != 1 || here == (planned.find(p.file) != std::wstring::npos))) << ToUtf8(p.file);
        }
        // A project after what it uses: both in this part, or neither.
        for (const auto& [user, used] : uses_) {
            EXPECT_EQ(at(user) == started.end(), at(used) == started.end()) << ToUtf8(user.file);
            EXPECT_TRUE(at(user) == started.end() || at(used) < at(user)) << ToUtf8(user.file);
        }
        EXPECT_NE(ReadBytes(report).value_or("").find("<property name=\"shard\" value=\"" + std::to_string(k) + "/3\"/>"),
                  std::string::npos);
        builtOnce.insert(builtOnce.end(), started.begin(), started.end());
    }
    // Together: each project once.
    EXPECT_EQ(builtOnce.size(), all.size());
    for (const Project& p : all) EXPECT_EQ(std::count(builtOnce.begin(), builtOnce.end(), p.file), 1) << ToUtf8(p.file);

    // Five groups in six parts: one part is empty, and that is a success.
    run = RunCmd(program, Quoted(sys) + L" /shard 6/6 /junit " + Quoted(program.File(L"part6.xml")));
    EXPECT_EQ(run.status, 0u);
    EXPECT_EQ(run.out, (std::vector<std::wstring>{L"分割 6/6: ｺﾝﾊﾟｲﾙするﾌﾟﾛｼﾞｪｸﾄはありません", L""}));
    EXPECT_NE(ReadBytes(program.File(L"part6.xml")).value_or("").find("tests=\"0\""), std::string::npos);
    EXPECT_EQ(ReadUtf8Lines(shardRecord).size(), all.size());
}

}  // namespace
}  // namespace tolvane::testing
