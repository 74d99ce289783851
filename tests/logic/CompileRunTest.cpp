#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "FakeRunPlatform.h"
#include "engine/clsTolvane.h"
#include "support/VbError.h"

namespace tolvane {
namespace {

using testing::CompilerScript;
using testing::FakeRunPlatform;

constexpr const wchar_t* kVb = L"C:\\VB98\\VB6.EXE";

// What an event handler saw, for checking order and state together.
struct Seen {
    std::wstring event;
    std::int32_t curCount;
    std::int32_t compileCount;
    std::int32_t targetCount;
    std::int32_t failureCount;
    std::wstring message;
    bool entryFailure;
    bool building;
};

class CompileRun : public ::testing::Test {
protected:
    FakeRunPlatform platform;
    clsTolvane engine{platform};
    std::vector<Seen> seen;

    void SetUp() override {
        platform.files.insert(kVb);
        engine.SetVB(kVb);
        engine.SetExecutionStartHandler([this] { Record(L"Start"); });
        engine.SetExecutionStopHandler([this] { Record(L"Stop"); });
    }

    void Record(const wchar_t* event) {
        seen.push_back(Seen{event, engine.CurCount(), engine.CompileCount(), engine.TargetCount(),
                            engine.FailureCount(), engine.VbpMessage(),
                            engine.Entry(engine.CurCount()).Failure(), engine.IsBuilding()});
    }

    std::vector<std::wstring> Events() const {
        std::vector<std::wstring> out;
        for (const auto& s : seen) out.push_back(s.event + L":" + std::to_wstring(s.curCount));
        return out;
    }

    // Message without its time stamp.
    static std::wstring Tail(const std::wstring& message) { return message.substr(message.find(L'\t')); }
};

TEST_F(CompileRun, MissingCompilerIsEngineErrorAndTouchesNothing) {
    engine.addVbp(L"C:\\a.vbp", true);
    engine.CompileStart();
    ASSERT_EQ(engine.CompileCount(), 1);
    seen.clear();
    engine.Vbp()[0]->SetFailure(true);

    for (const wchar_t* vb : {L"C:\\VB98\\Missing.EXE", L""}) {
        engine.SetVB(vb);
        try {
            engine.CompileStart();
            FAIL() << "run started without a compiler";
        } catch (const VbError& e) {
            EXPECT_EQ(e.Number(), kTolvaneErrorNumber);
            EXPECT_EQ(e.Number(), -2147220503);
            EXPECT_EQ(e.Source(), L"clsTolvane");
            EXPECT_EQ(e.Description(), L"VB.EXEのパスが間違っています\r\nオプションで修正してください");
        }
    }
    EXPECT_EQ(engine.CompileCount(), 1);
    EXPECT_TRUE(engine.Vbp()[0]->Failure());
    EXPECT_TRUE(seen.empty());
    EXPECT_EQ(platform.commandLines.size(), 1u);
}

TEST_F(CompileRun, ThreeBuildsWithTheSecondFailing) {
    engine.addVbp(L"C:\\Src\\One.vbp", true);
    engine.addVbp(L"C:\\Src\\Two.vbp", true);
    engine.addVbp(L"C:\\Src\\Three.vbp", true);
    engine.Vbp()[1]->SetFailure(true);  // an old failure, still visible at its start
    platform.scripts[L"Two.vbp"] = CompilerScript{2, 1};
    platform.defaultScript.endsAfterSteps = 3;

    engine.CompileStart();

    EXPECT_EQ(Events(), (std::vector<std::wstring>{L"Start:1", L"Stop:1", L"Start:2", L"Stop:2",
                                                   L"Start:3", L"Stop:3"}));
    EXPECT_EQ(seen[0].compileCount, 1);
    EXPECT_EQ(seen[2].compileCount, 2);
    EXPECT_EQ(seen[4].compileCount, 3);
    for (const auto& s : seen) EXPECT_EQ(s.targetCount, 3);
    EXPECT_EQ(Tail(seen[0].message), L"\tOne.vbp   ｺﾝﾊﾟｲﾙ開始");
    EXPECT_EQ(Tail(seen[1].message), L"\tOne.vbp   ｺﾝﾊﾟｲﾙ終了");
    EXPECT_EQ(Tail(seen[2].message), L"\tTwo.vbp   ｺﾝﾊﾟｲﾙ開始");
    EXPECT_EQ(Tail(seen[3].message), L"\tTwo.vbp   ｺﾝﾊﾟｲﾙ失敗");
    EXPECT_EQ(Tail(seen[5].message), L"\tThree.vbp   ｺﾝﾊﾟｲﾙ終了");
    EXPECT_TRUE(seen[2].entryFailure);   // previous value at its start
    EXPECT_TRUE(seen[3].entryFailure);
    EXPECT_EQ(seen[3].failureCount, 1);
    EXPECT_FALSE(seen[5].entryFailure);

    EXPECT_EQ(engine.CompileCount(), 3);
    EXPECT_EQ(engine.CurCount(), 3);
    EXPECT_EQ(engine.FailureCount(), 1);
    EXPECT_TRUE(engine.Vbp()[1]->Failure());
    EXPECT_EQ(engine.Vbp()[1]->FailureText(), L"コンパイルエラー");
    EXPECT_EQ(engine.Vbp()[0]->FailureText(), L"");
    EXPECT_EQ(platform.Count(L"CloseErrorBox"), 1);
    EXPECT_EQ(platform.Count(L"Terminate"), 0);
    EXPECT_EQ(platform.overlappingStarts, 0);
    // Polling sleeps between looks: one wait step per pass, never a spin.
    EXPECT_EQ(platform.Count(L"WaitStep"), 3 + 1 + 3);
    for (auto interval : platform.waitIntervals) EXPECT_GT(interval.count(), 0);

    engine.ReCompileCheck();
    EXPECT_EQ(engine.TargetCount(), 1);
    EXPECT_TRUE(engine.Vbp()[1]->Action());
}

TEST_F(CompileRun, NothingCheckedRaisesNoEvents) {
    engine.CompileStart();
    EXPECT_EQ(engine.CurCount(), 0);
    EXPECT_EQ(engine.CompileCount(), 0);

    engine.addVbp(L"C:\\a.vbp", false);
    engine.addVbp(L"C:\\b.vbp", false);
    engine.CompileStart();
    EXPECT_TRUE(seen.empty());
    EXPECT_EQ(engine.CurCount(), 2);
    EXPECT_EQ(engine.CompileCount(), 0);
    EXPECT_TRUE(platform.commandLines.empty());
}

TEST_F(CompileRun, UncheckedPositionsAreVisitedButNotBuilt) {
    engine.addVbp(L"C:\\a.vbp", false);
    engine.addVbp(L"C:\\b.vbp", true);
    engine.addVbp(L"C:\\c.vbp", false);
    engine.CompileStart();
    EXPECT_EQ(Events(), (std::vector<std::wstring>{L"Start:2", L"Stop:2"}));
    EXPECT_EQ(engine.CurCount(), 3);
    EXPECT_EQ(engine.CompileCount(), 1);
}

TEST_F(CompileRun, StopDuringABuildLetsItFinish) {
    for (const wchar_t* p : {L"C:\\a.vbp", L"C:\\b.vbp", L"C:\\c.vbp", L"C:\\d.vbp"}) engine.addVbp(p, true);
    platform.defaultScript.endsAfterSteps = 2;
    platform.scripts[L"b.vbp"] = CompilerScript{4};
    platform.scripts[L"b.vbp"].onStep = [this](int step) {
        if (step == 1) engine.SetCompileStop(true);
    };

    engine.CompileStart();

    EXPECT_EQ(Events(), (std::vector<std::wstring>{L"Start:1", L"Stop:1", L"Start:2", L"Stop:2"}));
    EXPECT_EQ(Tail(seen.back().message), L"\tb.vbp   ｺﾝﾊﾟｲﾙ終了");
    EXPECT_EQ(platform.commandLines.size(), 2u);
    EXPECT_EQ(platform.Count(L"Terminate"), 0);
    EXPECT_EQ(engine.CurCount(), 2);
    EXPECT_TRUE(engine.CompileStop());  // the run never clears it
    EXPECT_FALSE(engine.Vbp()[1]->Failure());
}

TEST_F(CompileRun, StopLeftSetEndsRunBeforeFirstEntry) {
    engine.addVbp(L"C:\\a.vbp", true);
    engine.SetCompileStop(true);
    engine.CompileStart();
    EXPECT_TRUE(seen.empty());
    EXPECT_EQ(engine.CurCount(), 0);
    EXPECT_EQ(engine.CompileCount(), 0);
}

TEST_F(CompileRun, BlankPathEndsTheRun) {
    engine.addVbp(L"C:\\a.vbp", true);
    engine.addVbp(L"C:\\b.vbp", true);
    engine.addVbp(L"C:\\c.vbp", true);
    engine.Vbp()[1]->SetVbp(L"   ");
    engine.CompileStart();
    EXPECT_EQ(Events(), (std::vector<std::wstring>{L"Start:1", L"Stop:1"}));
    EXPECT_EQ(engine.CurCount(), 2);
    EXPECT_EQ(engine.CompileCount(), 1);
    EXPECT_EQ(platform.commandLines.size(), 1u);
}

TEST_F(CompileRun, EarlierFailureIsClearedBeforeTheCompilerStarts) {
    engine.addVbp(L"C:\\a.vbp", true);
    auto entry = engine.Vbp()[0];
    entry->SetFailure(true);
    entry->SetFailureText(L"old");
    bool failureAtStart = true;
    std::wstring textAtStart = L"unset";
    platform.onStart = [&](const std::wstring&) {
        failureAtStart = entry->Failure();
        textAtStart = entry->FailureText();
    };
    engine.CompileStart();
    EXPECT_FALSE(failureAtStart);
    EXPECT_EQ(textAtStart, L"");
    EXPECT_FALSE(entry->Failure());
    EXPECT_EQ(engine.FailureCount(), 0);
}

TEST_F(CompileRun, PendingEventsRunOnceBetweenStartEventAndCompiler) {
    engine.addVbp(L"C:\\a.vbp", true);
    engine.CompileStart();
    ASSERT_GE(platform.trace.size(), 2u);
    EXPECT_EQ(platform.trace[0], L"DoEvents");
    EXPECT_EQ(platform.trace[1], L"StartCompiler");
}

TEST_F(CompileRun, OldFailureOfUnbuiltEntryStillCounts) {
    engine.addVbp(L"C:\\a.vbp", false);
    engine.addVbp(L"C:\\b.vbp", true);
    engine.Vbp()[0]->SetFailure(true);
    engine.CompileStart();
    EXPECT_EQ(engine.FailureCount(), 1);
    engine.ReCompileCheck();
    EXPECT_TRUE(engine.Vbp()[0]->Action());
    EXPECT_FALSE(engine.Vbp()[1]->Action());
}

TEST_F(CompileRun, CommandLineCarriesFolderAndArguments) {
    platform.paths.insert(L"D:\\Bin Out");
    engine.SetVB(L"C:\\Program Files\\VB98\\VB6.EXE");
    platform.files.insert(L"C:\\Program Files\\VB98\\VB6.EXE");
    engine.SetOutFolder(L"D:\\Bin Out");
    engine.SetDimension(L"DEBUG = 1 : TRACE = 0");
    engine.addVbp(L"C:\\My Src\\App.vbp", true);
    engine.CompileStart();
    ASSERT_EQ(platform.commandLines.size(), 1u);
    EXPECT_EQ(platform.commandLines[0],
              L"C:\\Program Files\\VB98\\VB6.EXE /make \"C:\\My Src\\App.vbp\" /outdir \"D:\\Bin Out\""
              L" /d DEBUG=1:TRACE=0");
}

class UnsafePath : public CompileRun, public ::testing::WithParamInterface<std::wstring> {};

TEST_P(UnsafePath, IsRefusedAndTheRunGoesOn) {
    engine.addVbp(GetParam(), true);
    engine.addVbp(L"C:\\ok.vbp", true);
    engine.CompileStart();
    EXPECT_EQ(Events(), (std::vector<std::wstring>{L"Start:1", L"Stop:1", L"Start:2", L"Stop:2"}));
    EXPECT_TRUE(seen[1].entryFailure);
    EXPECT_FALSE(seen[1].building);
    const std::wstring failed = L"   ｺﾝﾊﾟｲﾙ失敗";
    ASSERT_GT(seen[1].message.size(), failed.size());
    EXPECT_EQ(seen[1].message.substr(seen[1].message.size() - failed.size()), failed);
    EXPECT_EQ(engine.Vbp()[0]->FailureText(),
              L"ﾌﾟﾛｼﾞｪｸﾄのﾊﾟｽに使用できない文字(\" や制御文字)が含まれています");
    ASSERT_EQ(platform.commandLines.size(), 1u);
    EXPECT_EQ(platform.commandLines[0], std::wstring(kVb) + L" /make C:\\ok.vbp");
    EXPECT_EQ(engine.CompileCount(), 2);
    EXPECT_EQ(engine.FailureCount(), 1);
}

INSTANTIATE_TEST_SUITE_P(CompileRun, UnsafePath,
                         ::testing::Values(std::wstring(L"C:\\a\" /outdir C:\\x.vbp"),
                                           std::wstring(L"C:\\a\tb.vbp"),
                                           std::wstring(L"C:\\a\x7F.vbp"),
                                           std::wstring(L"C:\\a\nb.vbp"),
                                           std::wstring(L"C:\\a\x01.vbp")));

TEST_F(CompileRun, BoxThatWontCloseEndsTheCompiler) {
    engine.addVbp(L"C:\\stuck.vbp", true);
    engine.addVbp(L"C:\\next.vbp", true);
    platform.scripts[L"stuck"] = CompilerScript{-1, 0};
    platform.scripts[L"stuck"].boxWontClose = true;
    platform.scripts[L"stuck"].boxText = L"ｺﾝﾊﾟｲﾙｴﾗｰ";
    engine.CompileStart();
    EXPECT_EQ(Events().size(), 4u);
    EXPECT_TRUE(engine.Vbp()[0]->Failure());
    const std::wstring& text = engine.Vbp()[0]->FailureText();
    EXPECT_EQ(text.rfind(L"ｺﾝﾊﾟｲﾙｴﾗｰ", 0), 0u);
    EXPECT_GT(text.size(), std::wstring(L"ｺﾝﾊﾟｲﾙｴﾗｰ").size());
    EXPECT_TRUE(platform.processes[0]->terminated);
    EXPECT_EQ(platform.overlappingStarts, 0);
    EXPECT_FALSE(engine.Vbp()[1]->Failure());
}

TEST_F(CompileRun, ClosedBoxButLingeringCompilerIsEnded) {
    engine.addVbp(L"C:\\linger.vbp", true);
    engine.addVbp(L"C:\\next.vbp", true);
    platform.scripts[L"linger"] = CompilerScript{-1, 2};
    platform.scripts[L"linger"].exitsAfterBoxClosed = false;
    engine.CompileStart();
    EXPECT_TRUE(engine.Vbp()[0]->Failure());
    EXPECT_EQ(engine.Vbp()[0]->FailureText(), L"コンパイルエラー");
    EXPECT_EQ(platform.Count(L"WaitForExit"), 1);
    EXPECT_TRUE(platform.processes[0]->terminated);
    EXPECT_EQ(platform.overlappingStarts, 0);
}

TEST_F(CompileRun, ClosedBoxWaitsForTheCompilerToEnd) {
    engine.addVbp(L"C:\\bad.vbp", true);
    engine.addVbp(L"C:\\next.vbp", true);
    platform.scripts[L"bad"] = CompilerScript{-1, 1};
    engine.CompileStart();
    EXPECT_TRUE(engine.Vbp()[0]->Failure());
    EXPECT_TRUE(platform.processes[0]->ended);
    EXPECT_FALSE(platform.processes[0]->terminated);
    EXPECT_EQ(platform.overlappingStarts, 0);
}

TEST_F(CompileRun, BoxShownAfterTheCompilerEndedCounts) {
    engine.addVbp(L"C:\\late.vbp", true);
    platform.scripts[L"late"] = CompilerScript{2};
    platform.scripts[L"late"].boxAfterEnd = true;
    engine.CompileStart();
    EXPECT_TRUE(engine.Vbp()[0]->Failure());
    EXPECT_EQ(Tail(seen.back().message), L"\tlate.vbp   ｺﾝﾊﾟｲﾙ失敗");
    EXPECT_EQ(platform.Count(L"CloseErrorBox"), 1);
}

TEST_F(CompileRun, SecondStopAbandonsAHungBuild) {
    for (const wchar_t* p : {L"C:\\hang.vbp", L"C:\\b.vbp"}) engine.addVbp(p, true);
    platform.scripts[L"hang"] = CompilerScript{-1};
    std::vector<bool> buildingSeen;
    platform.scripts[L"hang"].onStep = [&](int step) {
        buildingSeen.push_back(engine.IsBuilding());
        if (step == 3) engine.SetCompileStop(true);
        if (step == 6) engine.AbortCurrentBuild();  // the user asks again
    };
    engine.CompileStart();

    EXPECT_EQ(platform.Count(L"WaitStep"), 6);
    EXPECT_EQ(buildingSeen, std::vector<bool>(6, true));
    EXPECT_TRUE(platform.processes[0]->terminated);
    EXPECT_TRUE(engine.Vbp()[0]->Failure());
    EXPECT_EQ(engine.Vbp()[0]->FailureText(), L"中止の指示によりｺﾝﾊﾟｲﾙを強制終了しました");
    EXPECT_EQ(Events(), (std::vector<std::wstring>{L"Start:1", L"Stop:1"}));
    EXPECT_FALSE(seen.back().building);
    EXPECT_EQ(Tail(seen.back().message), L"\thang.vbp   ｺﾝﾊﾟｲﾙ失敗");
    EXPECT_EQ(platform.commandLines.size(), 1u);
    EXPECT_FALSE(engine.IsBuilding());
}

TEST_F(CompileRun, AbortOutsideABuildIsIgnored) {
    engine.addVbp(L"C:\\a.vbp", true);
    engine.addVbp(L"C:\\b.vbp", true);
    platform.defaultScript.endsAfterSteps = 2;
    engine.SetExecutionStartHandler([this] { engine.AbortCurrentBuild(); });
    engine.SetExecutionStopHandler([this] { engine.AbortCurrentBuild(); });
    engine.AbortCurrentBuild();
    engine.CompileStart();
    EXPECT_EQ(engine.FailureCount(), 0);
    EXPECT_EQ(platform.Count(L"Terminate"), 0);
    EXPECT_EQ(platform.commandLines.size(), 2u);
}

TEST_F(CompileRun, AbortOfOneBuildDoesNotCarryToTheNext) {
    engine.addVbp(L"C:\\hang.vbp", true);
    engine.addVbp(L"C:\\b.vbp", true);
    platform.scripts[L"hang"] = CompilerScript{-1};
    // An abort that arrives while the box is being handled is left over when
    // the wait ends; the next build must not inherit it.
    platform.scripts[L"hang"].boxAtStep = 1;
    platform.scripts[L"hang"].onStep = [this](int) { engine.AbortCurrentBuild(); };
    platform.scripts[L"b.vbp"] = CompilerScript{3};
    engine.CompileStart();
    EXPECT_TRUE(engine.Vbp()[0]->Failure());
    EXPECT_EQ(engine.Vbp()[0]->FailureText(), L"コンパイルエラー");
    EXPECT_FALSE(engine.Vbp()[1]->Failure());
    EXPECT_FALSE(platform.processes[1]->terminated);
}

TEST_F(CompileRun, StartFailureReachesCallerWithEntryWaiting) {
    engine.addVbp(L"C:\\a.vbp", true);
    engine.addVbp(L"C:\\gone.vbp", true);
    engine.addVbp(L"C:\\c.vbp", true);
    engine.Vbp()[1]->SetFailure(true);
    platform.scripts[L"gone"].startThrows = true;
    try {
        engine.CompileStart();
        FAIL() << "start error swallowed";
    } catch (const VbError& e) {
        EXPECT_EQ(e.Number(), 53);
        EXPECT_EQ(e.Source(), L"StartCompiler");
        EXPECT_EQ(e.Description(), L"ファイルが見つかりません。");
    }
    EXPECT_EQ(Events(), (std::vector<std::wstring>{L"Start:1", L"Stop:1", L"Start:2"}));
    EXPECT_FALSE(engine.Vbp()[1]->Failure());
    EXPECT_EQ(Tail(engine.VbpMessage()), L"\tgone.vbp   ｺﾝﾊﾟｲﾙ終了");
    EXPECT_EQ(engine.CurCount(), 2);
    EXPECT_EQ(engine.CompileCount(), 2);
    EXPECT_FALSE(engine.IsBuilding());
}

}  // namespace
}  // namespace tolvane
