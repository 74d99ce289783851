// The compile run's rules against a scripted platform: event order, counters,
// stop and abort, error boxes, and what reaches the compiler.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <tuple>
#include <vector>

#include "FakeProjectFiles.h"
#include "FakeRunPlatform.h"
#include "Raised.h"
#include "engine/RunFrame.h"
#include "engine/clsTolvane.h"
#include "support/VbError.h"

namespace tolvane {
namespace {

using testing::CompilerScript;
using Names = std::vector<std::wstring>;

constexpr const wchar_t* kVb = L"C:\\VB98\\VB6.EXE";

CompilerScript Script(int endsAfterSteps, int boxAtStep = -1) {
    CompilerScript s;
    s.endsAfterSteps = endsAfterSteps;
    s.boxAtStep = boxAtStep;
    return s;
}

// What an event handler saw, for checking order and state together.
struct Seen {
    std::wstring event;  // "Start:2"
    std::int32_t compileCount, targetCount, failureCount;
    std::wstring message;  // VbpMessage without its time stamp
    bool entryFailure, building;
    std::wstring engineMessage;  // the engine's own VbpMessage meanwhile, without its time stamp
};

class CompileRun : public ::testing::Test {
protected:
    testing::FakeRunPlatform platform;
    clsTolvane engine{platform};
    std::vector<Seen> seen;

    void SetUp() override {
        platform.files.insert(kVb);
        engine.SetVB(kVb);
        engine.SetExecutionStartHandler([this](const ExecutionEvent& e) { Record(L"Start", e); });
        engine.SetExecutionStopHandler([this](const ExecutionEvent& e) { Record(L"Stop", e); });
        engine.SetExecutionSkipHandler([this](const ExecutionEvent& e) { Record(L"Skip", e); });
    }

    void Add(std::initializer_list<const wchar_t*> paths) {
        for (const wchar_t* p : paths) engine.addVbp(p, true);
    }

    static std::wstring Untimed(const std::wstring& message) { return message.substr(message.find(L'\t')); }

    void Record(const wchar_t* event, const ExecutionEvent& e) {
        // The event's values are the engine's own at the moment it is raised.
        EXPECT_EQ(&e.entry, &engine.Entry(e.position));
        EXPECT_EQ(e.compileCount, engine.CompileCount());
        EXPECT_EQ(e.failureCount, engine.FailureCount());
        EXPECT_EQ(e.message.substr(e.message.find(L'\t') + 1), e.entry.Name() + L"   " + e.status);
        seen.push_back(Seen{event + (L":" + std::to_wstring(e.position)), e.compileCount, e.targetCount,
                            e.failureCount, Untimed(e.message), e.entry.Failure(), engine.IsBuilding(),
                            Untimed(engine.VbpMessage())});
    }

    std::vector<std::wstring> Events() const {
        std::vector<std::wstring> out;
        for (const auto& s : seen) out.push_back(s.event);
        return out;
    }

    void ExpectFailure(int position, const std::wstring& text) {
        EXPECT_TRUE(engine.Entry(position).Failure()) << position;
        EXPECT_EQ(engine.Entry(position).FailureText(), text) << position;
    }
};

TEST_F(CompileRun, ThreeBuildsWithTheSecondFailing) {
    platform.paths.insert(L"D:\\Bin Out");
    engine.SetOutFolder(L"D:\\Bin Out");
    engine.SetDimension(L"DEBUG = 1 : TRACE = 0");
    Add({L"C:\\My Src\\One.vbp", L"C:\\Src\\Two.vbp", L"C:\\Src\\Three.vbp"});
    engine.Vbp()[1]->SetFailure(true);  // an old failure, still visible at its start
    engine.Vbp()[1]->SetFailureText(L"old");
    platform.scripts[L"Two.vbp"] = Script(2, 1);
    platform.defaultScript.endsAfterSteps = 3;
    std::vector<bool> failureAtCompilerStart;
    platform.onStart = [&] { failureAtCompilerStart.push_back(engine.Entry(engine.CurCount()).Failure()); };

    engine.CompileStart();

    EXPECT_EQ(Events(), (Names{L"Start:1", L"Stop:1", L"Start:2", L"Stop:2", L"Start:3", L"Stop:3"}));
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(std::make_pair(seen[i].compileCount, seen[i].targetCount), std::make_pair(i / 2 + 1, 3)) << i;
    EXPECT_EQ(seen[0].message, L"\tOne.vbp   ｺﾝﾊﾟｲﾙ開始");
    EXPECT_EQ(seen[1].message, L"\tOne.vbp   ｺﾝﾊﾟｲﾙ終了");
    EXPECT_EQ(seen[3].message, L"\tTwo.vbp   ｺﾝﾊﾟｲﾙ失敗");
    EXPECT_TRUE(seen[2].entryFailure);  // the old value, at its start event
    EXPECT_EQ(failureAtCompilerStart, (std::vector<bool>{false, false, false}));  // cleared before the compiler
    EXPECT_EQ(seen[3].failureCount, 1);

    // Pending events run once between the start event and the compiler; the
    // compiler gets the folder and the constants, quoted where spaced.
    EXPECT_EQ(std::vector<std::wstring>(platform.trace.begin(), platform.trace.begin() + 2),
              (std::vector<std::wstring>{L"DoEvents", L"StartCompiler"}));
    EXPECT_EQ(platform.commandLines[0],
              std::wstring(kVb) + L" /make \"C:\\My Src\\One.vbp\" /outdir \"D:\\Bin Out\" /d DEBUG=1:TRACE=0");
    EXPECT_EQ(platform.programs, std::vector<std::wstring>(3, kVb));  // never looked for in the line

    EXPECT_EQ(std::make_tuple(engine.CompileCount(), engine.CurCount(), engine.FailureCount()), std::tuple(3, 3, 1));
    ExpectFailure(2, L"コンパイルエラー");
    EXPECT_EQ(engine.Vbp()[0]->FailureText(), L"");
    const auto& p = platform;
    EXPECT_EQ(std::tuple(p.Count(L"RequestErrorBoxClose"), p.Count(L"Terminate"), p.overlappingStarts), std::tuple(1, 0, 0));
    // Polling sleeps between looks: one wait step per pass, never a spin.
    EXPECT_EQ(platform.Count(L"WaitStep"), 3 + 2 + 3);
    for (auto interval : platform.waitIntervals) EXPECT_GT(interval.count(), 0);

    engine.ReCompileCheck();
    EXPECT_EQ(engine.TargetCount(), 1);
    EXPECT_TRUE(engine.Vbp()[1]->Action());
    // No project above was there, yet each went to the compiler; asked to, a missing one fails at once.
    engine.SetFailMissingProjects(true);
    engine.CompileStart();
    ExpectFailure(2, L"C:\\Src\\Two.vbpが見つかりません");
    EXPECT_EQ(platform.commandLines.size(), 3u);
}

// The frame both programs put around a run: the stop request cleared, the
// summary or the stopped line, and a re-check only after failures.
TEST_F(CompileRun, TheFrameAroundARun) {
    Add({L"C:\\Src\\One.vbp", L"C:\\Src\\Two.vbp"});
    platform.defaultScript.endsAfterSteps = 1;
    RunFrame frame(engine);
    engine.SetCompileStop(true);
    int settled = 0;
    frame.Run([&] { settled = engine.CompileCount(); });
    EXPECT_EQ(settled, 2);
    EXPECT_FALSE(frame.Stopped());
    EXPECT_EQ(frame.ClosingPiece().substr(0, 43), std::wstring(42, L'=') + L"\r");
    EXPECT_NE(frame.ClosingPiece().find(L"経過時間："), std::wstring::npos);
    EXPECT_FALSE(frame.Recheck());  // nothing failed: every entry stays checked
    EXPECT_EQ(engine.TargetCount(), 2);

    platform.scripts[L"Two.vbp"] = Script(2, 1);
    frame.Run();
    EXPECT_TRUE(frame.Recheck());
    EXPECT_EQ(engine.TargetCount(), 1);

    engine.SetExecutionStartHandler([this](const ExecutionEvent&) { engine.SetCompileStop(true); });
    frame.Run();
    EXPECT_TRUE(frame.Stopped());
    EXPECT_EQ(frame.ClosingPiece(), StoppedPiece());
}

// Which positions a run visits and builds. Unchecked entries carry an old
// failure that the run must leave alone.
TEST_F(CompileRun, UncheckedBlankAndStoppedEntries) {
    struct Case {
        const char* name;
        std::vector<std::pair<const wchar_t*, bool>> list;
        bool stopFirst;
        std::vector<std::wstring> events;
        std::int32_t curCount, compileCount;
    } cases[] = {
        {"stop left set ends the run first (the first case: no run before it)", {{L"C:\\a.vbp", true}}, true, {}, 0, 0},
        {"empty list", {}, false, {}, 0, 0},
        {"nothing checked", {{L"C:\\a.vbp", false}, {L"C:\\b.vbp", false}}, false, {}, 2, 0},
        {"unchecked visited, not built",
         {{L"C:\\a.vbp", false}, {L"C:\\b.vbp", true}, {L"C:\\c.vbp", false}}, false, {L"Start:2", L"Stop:2"}, 3, 1},
        {"blank path ends the run",
         {{L"C:\\a.vbp", true}, {L"   ", true}, {L"C:\\c.vbp", true}}, false, {L"Start:1", L"Stop:1"}, 2, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        engine.RemoveTargetAll();
        seen.clear();
        platform.commandLines.clear();
        int oldFailures = 0;
        for (const auto& [path, checked] : c.list) {
            engine.addVbp(path, checked);
            engine.Vbp().back()->SetFailure(!checked);
            oldFailures += checked ? 0 : 1;
        }
        engine.SetCompileStop(c.stopFirst);
        engine.CompileStart();
        EXPECT_EQ(Events(), c.events);
        EXPECT_EQ(engine.CurCount(), c.curCount);
        EXPECT_EQ(engine.CompileCount(), c.compileCount);
        EXPECT_EQ(platform.commandLines.size(), static_cast<size_t>(c.compileCount));
        EXPECT_EQ(engine.FailureCount(), oldFailures);
    }
}

class UnsafePath : public CompileRun, public ::testing::WithParamInterface<std::wstring> {};

TEST_P(UnsafePath, IsRefusedAndTheRunGoesOn) {
    Add({GetParam().c_str(), L"C:\\ok.vbp"});
    engine.CompileStart();
    EXPECT_EQ(Events(), (Names{L"Start:1", L"Stop:1", L"Start:2", L"Stop:2"}));
    EXPECT_TRUE(seen[1].entryFailure && !seen[1].building);
    ExpectFailure(1, L"ﾌﾟﾛｼﾞｪｸﾄのﾊﾟｽに使用できない文字(\" や制御文字)が含まれています");
    EXPECT_EQ(platform.commandLines, std::vector<std::wstring>{std::wstring(kVb) + L" /make C:\\ok.vbp"});
}

INSTANTIATE_TEST_SUITE_P(CompileRun, UnsafePath,
                         ::testing::Values(L"C:\\a\" /outdir C:\\x.vbp", L"C:\\a\tb.vbp", L"C:\\a\x7F.vbp",
                                           L"C:\\a\nb.vbp", L"C:\\a\x1F.vbp"));

// However the boxes behave, the build fails with their texts, its compiler is
// gone before the next one starts, and the next build succeeds.
struct BoxCase {
    const char* name;
    std::function<void(CompilerScript&)> shape;
    bool terminated;
    std::wstring text;
};
void PrintTo(const BoxCase& c, std::ostream* os) { *os << c.name; }

class ErrorBox : public CompileRun, public ::testing::WithParamInterface<BoxCase> {};

TEST_P(ErrorBox, FailsTheBuildAndTheNextOneRuns) {
    Add({L"C:\\bad.vbp", L"C:\\next.vbp"});
    CompilerScript& bad = platform.scripts[L"bad"] = Script(-1, 1);
    bad.exitCode = 1;  // the box, not the status, names the failure
    GetParam().shape(bad);
    engine.CompileStart();

    EXPECT_EQ(Events(), (Names{L"Start:1", L"Stop:1", L"Start:2", L"Stop:2"}));
    EXPECT_EQ(engine.Vbp()[0]->FailureText(), GetParam().text);
    EXPECT_EQ(platform.processes[0]->terminated, GetParam().terminated);
    EXPECT_FALSE(platform.processes[0]->Running());
    EXPECT_EQ(platform.overlappingStarts, 0);
    EXPECT_FALSE(engine.Vbp()[1]->Failure());
}

INSTANTIATE_TEST_SUITE_P(
    CompileRun, ErrorBox,
    ::testing::Values(
        BoxCase{"closed, compiler exits", [](CompilerScript&) {}, false, L"コンパイルエラー"},
        BoxCase{"closed, compiler lingers", [](CompilerScript& s) { s.exitsAfterBoxClosed = false; }, true,
                L"コンパイルエラー"},
        BoxCase{"ignores close", [](CompilerScript& s) { s.boxesThatClose = 0; }, true,
                L"コンパイルエラー\r\nｴﾗｰﾒｯｾｰｼﾞが閉じないため、ｺﾝﾊﾟｲﾙを強制終了しました"},
        BoxCase{"shown after the end", [](CompilerScript& s) { s.endsAfterSteps = 2; s.boxAtStep = -1; s.boxAfterEnd = true; },
                false, L"コンパイルエラー"},
        // No box: the status, in decimal and hex; or the default limit passed.
        BoxCase{"a crash status", [](CompilerScript& s) { s.boxAtStep = -1; s.endsAfterSteps = 2; s.exitCode = 0xC0000005; },
                false, L"ｺﾝﾊﾟｲﾗが異常終了しました(終了ｺｰﾄﾞ 3221225477 / 0xC0000005)"},
        BoxCase{"hung past the time limit", [](CompilerScript& s) { s.boxAtStep = -1; }, true,
                L"制限時間(30分)を過ぎたため、ｺﾝﾊﾟｲﾙを強制終了しました"},
        BoxCase{"read before its text is filled in", [](CompilerScript& s) { s.blankLooks = 2; }, false, L"コンパイルエラー"},
        BoxCase{"follow-up boxes, each closed", [](CompilerScript& s) { s.followUpBoxes = {L"2つ目", L""}; }, false,
                L"コンパイルエラー\r\n2つ目\r\nｺﾝﾊﾟｲﾙｴﾗｰのﾒｯｾｰｼﾞが表示されました"},
        BoxCase{"follow-up box that ignores close",
                [](CompilerScript& s) { s.followUpBoxes = {L"2つ目"}, s.boxesThatClose = 1; },
                true, L"コンパイルエラー\r\n2つ目\r\nｴﾗｰﾒｯｾｰｼﾞが閉じないため、ｺﾝﾊﾟｲﾙを強制終了しました"}));

TEST_F(CompileRun, SecondStopAbandonsAHungBuild) {
    // With no time limit the wait goes on past half an hour (of 25 ms steps).
    engine.SetTimeLimit(std::chrono::minutes(0));
    Add({L"C:\\hang.vbp", L"C:\\b.vbp"});
    int buildingSeen = 0;
    std::vector<bool> abortsTaken;
    platform.scripts[L"hang"] = Script(-1);
    platform.scripts[L"hang"].onStep = [&](int step) {
        buildingSeen += engine.IsBuilding() ? 1 : 0;
        if (step == 3) engine.SetCompileStop(true);
        // The user asks again, then once more: only the first request ends the build.
        if (step == 100000) abortsTaken = {engine.AbortCurrentBuild(), engine.AbortCurrentBuild()};
    };
    engine.CompileStart();

    EXPECT_EQ(std::tuple(buildingSeen, abortsTaken), std::tuple(100000, std::vector<bool>{true, false}));
    EXPECT_TRUE(platform.processes[0]->terminated);
    ExpectFailure(1, L"中止の指示によりｺﾝﾊﾟｲﾙを強制終了しました");
    EXPECT_EQ(Events(), (Names{L"Start:1", L"Stop:1"}));
    EXPECT_EQ(std::tuple(seen.back().building, seen.back().message), std::tuple(false, L"\thang.vbp   ｺﾝﾊﾟｲﾙ失敗"));
    EXPECT_EQ(platform.commandLines.size(), 1u);
}

TEST_F(CompileRun, AbortReachesOnlyTheBuildRunningWhenAsked) {
    // Asked before the run and in the events around each build: no build is
    // ended. Asked while a box that ignores close is being closed: that build
    // is ended at once, without waiting out the close.
    Add({L"C:\\boxed.vbp", L"C:\\b.vbp", L"C:\\c.vbp"});
    CompilerScript& boxed = platform.scripts[L"boxed"] = Script(-1, 1);
    boxed.boxesThatClose = 0;
    boxed.onStep = [this](int step) { if (step == 5) engine.AbortCurrentBuild(); };
    platform.defaultScript.endsAfterSteps = 3;
    engine.SetExecutionStartHandler([this](const ExecutionEvent&) { engine.AbortCurrentBuild(); });
    engine.SetExecutionStopHandler([this](const ExecutionEvent&) { engine.AbortCurrentBuild(); });
    EXPECT_FALSE(engine.AbortCurrentBuild());
    engine.CompileStart();

    ExpectFailure(1, L"コンパイルエラー\r\n中止の指示によりｺﾝﾊﾟｲﾙを強制終了しました");
    EXPECT_EQ(std::tuple(platform.processes[0]->steps, engine.FailureCount(), platform.Count(L"Terminate")),
              std::tuple(5, 1, 1));
    EXPECT_EQ(platform.commandLines.size(), 3u);
}

// The compiler's own log: written where /out says, read into the entry, gone
// afterwards; a stale file under a build's name is never read as its log.
TEST_F(CompileRun, CompilerLogPlacesTheErrorInItsFileAndFailsASuccessWithLoadErrors) {
    Add({L"C:\\S\\bas.vbp", L"C:\\S\\gone.vbp", L"C:\\S\\trap.vbp", L"C:\\S\\ok.vbp"});
    const auto script = [this](const wchar_t* key, std::uint32_t exitCode, const std::wstring& log) {
        (platform.scripts[key] = Script(1)).exitCode = exitCode;
        platform.scripts[key].log = *SystemAnsiCodec().Encode(log);
    };
    script(L"bas.vbp", 1, L"Compile Error in File 'M.bas', Line 2 : 構文エラー\r\nBuild of 'bas.exe' failed.\r\n");
    script(L"gone.vbp", 1, L"Compile Error in File 'C:\\S\\Gone.cls', Line 5 : x\r\n");
    script(L"trap.vbp", 0, L"Errors during load. Refer to 'Form1.log' for details\r\nBuild of 'trap.exe' succeeded.\r\n");
    script(L"ok.vbp", 0, L"Build of 'ok.exe' succeeded.\r\n");
    platform.fileBytes[L"C:\\S\\M.bas"] = "Attribute VB_Name = \"M\"\r\nOption Explicit\r\n\r\nSub X()\r\n";
    platform.fileBytes[L"C:\\S\\Form1.log"] = "Line 8: BogusProperty\r\n\r\n";
    platform.fileBytes[L"C:\\Temp\\Tolvane_1.log"] = "File not found: 'stale.cls'\r\n";
    engine.SetCompilerLog(true);
    engine.CompileStart();

    EXPECT_EQ(platform.commandLines[3], kVb + std::wstring(L" /make C:\\S\\ok.vbp /out \"C:\\Temp\\Tolvane_4.log\""));
    EXPECT_EQ(engine.Entry(1).LogLines(), std::vector<std::wstring>{L"Compile Error in File 'M.bas', Line 2 : 構文エラー"});
    // Relative to the project's folder; the header's one line counted.
    EXPECT_EQ(engine.Entry(1).ErrorAt()->path + std::to_wstring(engine.Entry(1).ErrorAt()->line), L"C:\\S\\M.bas4");
    EXPECT_EQ(engine.Entry(2).ErrorAt()->line, 5);
    EXPECT_EQ(engine.Entry(2).ErrorAt()->message, L"x(ﾌｧｲﾙを読めないため、行番号はｺﾝﾊﾟｲﾗの値のままです)");
    ExpectFailure(3, L"ﾛｰﾄﾞｴﾗｰがあります(Form1.log)");
    EXPECT_EQ(engine.Entry(3).LogLines(), (std::vector<std::wstring>{L"Line 8: BogusProperty",
                                                                     L"Errors during load. Refer to 'Form1.log' for details"}));
    EXPECT_EQ(seen[5].message, L"\ttrap.vbp   ｺﾝﾊﾟｲﾙ失敗");
    EXPECT_FALSE(engine.Entry(4).Failure());
    EXPECT_EQ(platform.fileBytes.size(), 2u);  // every log gone, the source and the form log kept

    // Off again: the designed command line, and no lines left from the last run.
    engine.SetCompilerLog(false);
    engine.CompileStart();
    EXPECT_EQ(platform.commandLines[4], kVb + std::wstring(L" /make C:\\S\\bas.vbp"));
    EXPECT_TRUE(engine.Entry(1).LogLines().empty() && !engine.Entry(1).ErrorAt());
}

// Planned runs: C:\P\<x>.vbp builds C:\P\<x>.dll; refs are extra project lines.
class PlannedRun : public CompileRun {
protected:
    testing::FakeFiles files;
    PlanOptions options;

    void Project(const std::wstring& x, const std::wstring& refs = L"") {
        const std::wstring vbp = L"C:\\P\\" + x + L".vbp";
        files.texts[vbp] = L"Type=OleDll\r\nName=\"" + x + L"\"\r\n" + refs;
        files.times[vbp] = 1;
        engine.addVbp(vbp, true);
    }
    void Run() {
        engine.SetPlanning(options, &files);
        engine.CompileStart();
    }
};

TEST_F(PlannedRun, DependencyOrderSkipsAndFailsDependantsWithoutStartingThem) {
    Project(L"App", L"Reference=*\\G{0}#1.0#0#C:\\P\\Lib.dll#Lib\r\n");
    Project(L"Lib");
    Project(L"Old");
    Project(L"New");
    Project(L"Top", L"Object=*\\AApp.vbp\r\n");  // fails in turn, naming App
    files.times[L"C:\\P\\Old.dll"] = 2;  // newer than its project: up to date
    platform.scripts[L"Lib.vbp"] = Script(2, 1);
    options.order = options.skip = true;
    Run();
    EXPECT_EQ(Events(), (Names{L"Start:2", L"Stop:2", L"Start:1", L"Stop:1", L"Skip:3", L"Start:4", L"Stop:4", L"Start:5",
                               L"Stop:5"}));
    EXPECT_EQ(seen[4].message, L"\tOld.vbp   ｺﾝﾊﾟｲﾙ省略");
    ExpectFailure(1, L"Lib.vbpのｺﾝﾊﾟｲﾙに失敗したため、ｺﾝﾊﾟｲﾙしませんでした");
    ExpectFailure(5, L"App.vbpのｺﾝﾊﾟｲﾙに失敗したため、ｺﾝﾊﾟｲﾙしませんでした");
    EXPECT_EQ(platform.commandLines.size(), 2u);  // Lib and New only
    EXPECT_EQ(engine.FailureCount(), 3);

    // A cycle refuses the run before anything starts, naming its projects.
    files.texts[L"C:\\P\\Lib.vbp"] += L"Reference=*\\A..\\P\\Top.vbp\r\n";
    seen.clear();
    EXPECT_EQ(testing::Raised([&] { Run(); }).Description(),
              L"App.vbp→Lib.vbp→Top.vbp→App.vbpの参照が循環しているためｺﾝﾊﾟｲﾙできません");
    EXPECT_TRUE(seen.empty());
    EXPECT_EQ(engine.CompileCount(), 0);
}

TEST_F(PlannedRun, SeveralCompilersAtOnceEachFailureOnItsOwnBuildAndTheStopRules) {
    for (const wchar_t* x : {L"a", L"b", L"c", L"d", L"e"}) Project(x);
    platform.defaultScript.endsAfterSteps = 3;
    (platform.scripts[L"b.vbp"] = Script(-1, 2)).boxText = L"b の箱";  // b and c show their boxes at once
    platform.scripts[L"c.vbp"] = Script(-1, 2);
    platform.scripts[L"a.vbp"] = Script(5);
    options.parallel = 3;
    // A damaged history does not keep the run from starting, and is replaced.
    struct : BuildTimesStore {
        std::wstring text = L"damaged";
        BuildTimes Load() override { return BuildTimes::FromText(text); }
        void Save(const BuildTimes& times) override { text = times.Text(); }
    } store;
    engine.SetBuildTimes(&store);
    Run();
    EXPECT_EQ(Events(), (Names{L"Start:1", L"Start:2", L"Start:3", L"Stop:2", L"Stop:3", L"Start:4", L"Start:5", L"Stop:1",
                               L"Stop:4", L"Stop:5"}));
    EXPECT_EQ(platform.overlappingStarts, 0 + 1 + 2 + 1 + 2);
    EXPECT_EQ(platform.waitedOn.front(), 3u);  // the wait ends with whichever build ends first
    ExpectFailure(2, L"b の箱");
    ExpectFailure(3, L"コンパイルエラー");
    EXPECT_EQ(engine.CurCount(), 5);  // the most recently started
    // A build that ends meanwhile is told in its event; the engine's reader
    // stays with the latest started build.
    EXPECT_EQ(seen[3].message, L"\tb.vbp   ｺﾝﾊﾟｲﾙ失敗");
    EXPECT_EQ(seen[3].engineMessage, L"\tc.vbp   ｺﾝﾊﾟｲﾙ開始");
    EXPECT_EQ(Untimed(engine.VbpMessage()), L"\te.vbp   ｺﾝﾊﾟｲﾙ終了");
    const BuildTimes kept = BuildTimes::FromText(store.text);
    for (const wchar_t* x : {L"a", L"b", L"c", L"d", L"e"}) {
        EXPECT_EQ(kept.Find(std::wstring(L"C:\\P\\") + x + L".vbp").has_value(), x[0] != L'b' && x[0] != L'c') << x;
    }

    // A stop while three run starts nothing more; a second one ends them all.
    seen.clear();
    platform.defaultScript.endsAfterSteps = -1;
    platform.defaultScript.onStep = [this](int step) {
        if (step == 1) engine.SetCompileStop(true);
        if (step == 2) engine.AbortCurrentBuild();
    };
    platform.scripts.clear();
    engine.SetCompileStop(false);
    Run();
    // b and c failed, so only their estimate is known: longer than the
    // remembered builds, they start first.
    EXPECT_EQ(Events(), (Names{L"Start:2", L"Start:3", L"Start:1", L"Stop:2", L"Stop:3", L"Stop:1"}));
    for (int i = 1; i <= 3; ++i) ExpectFailure(i, L"中止の指示によりｺﾝﾊﾟｲﾙを強制終了しました");
    EXPECT_FALSE(engine.IsBuilding());
}

}  // namespace
}  // namespace tolvane
