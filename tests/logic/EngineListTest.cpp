#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "FakeRunPlatform.h"
#include "engine/clsTolvane.h"
#include "support/VbError.h"

namespace tolvane {
namespace {

using testing::FakeRunPlatform;

class EngineList : public ::testing::Test {
protected:
    FakeRunPlatform platform;
    clsTolvane engine{platform};

    // Entries named by letters, with their check marks.
    void Add(const std::vector<std::pair<const wchar_t*, bool>>& entries) {
        for (const auto& [path, action] : entries) engine.addVbp(path, action);
    }

    std::vector<std::wstring> Paths() const {
        std::vector<std::wstring> out;
        for (const auto& e : engine.Vbp()) out.push_back(e->Vbp());
        return out;
    }
};

TEST_F(EngineList, EmptyListHasZeroCountsAndOperationsDoNothing) {
    EXPECT_EQ(engine.Count(), 0);
    EXPECT_EQ(engine.TargetCount(), 0);
    EXPECT_EQ(engine.FailureCount(), 0);
    EXPECT_NO_THROW(engine.RemoveTargetAll());
    EXPECT_NO_THROW(engine.RemoveNoCheck());
    EXPECT_NO_THROW(engine.ReCompileCheck());
    EXPECT_EQ(engine.Count(), 0);
}

TEST_F(EngineList, AddVbpTrimsSpacesAndChecksNothingElse) {
    engine.addVbp(L"  C:\\Src\\App.vbp  ", true);
    engine.addVbp(L"C:\\Src\\App.vbp", false);
    engine.addVbp(L"   ", true);
    engine.addVbp(L"\tC:\\Tab.vbp", false);
    ASSERT_EQ(engine.Count(), 4);
    EXPECT_EQ(engine.Vbp()[0]->Vbp(), L"C:\\Src\\App.vbp");
    EXPECT_EQ(engine.Vbp()[0]->Name(), L"App.vbp");
    EXPECT_TRUE(engine.Vbp()[0]->Action());
    EXPECT_FALSE(engine.Vbp()[0]->Failure());
    EXPECT_EQ(engine.Vbp()[1]->Vbp(), L"C:\\Src\\App.vbp");  // duplicates allowed
    EXPECT_EQ(engine.Vbp()[2]->Vbp(), L"");
    EXPECT_EQ(engine.Vbp()[3]->Vbp(), L"\tC:\\Tab.vbp");  // only spaces are trimmed
    EXPECT_EQ(engine.TargetCount(), 2);
}

TEST_F(EngineList, VbpIsTheLiveListAndEntryIsOneBased) {
    Add({{L"C:\\a.vbp", false}, {L"C:\\b.vbp", false}});
    engine.Vbp()[1]->SetAction(true);
    EXPECT_EQ(engine.TargetCount(), 1);
    EXPECT_TRUE(engine.Entry(2).Action());
    EXPECT_EQ(engine.Entry(1).Vbp(), L"C:\\a.vbp");
    for (int bad : {0, 3, -1}) {
        try {
            engine.Entry(bad);
            ADD_FAILURE() << bad;
        } catch (const VbError& e) {
            EXPECT_EQ(e.Number(), kErrSubscriptOutOfRange);
        }
    }
}

TEST_F(EngineList, AddVbpRefusesBeyondLimitKeepingTheList) {
    for (int i = 0; i < clsTolvane::kMaxEntries; ++i) engine.addVbp(L"C:\\p.vbp", i % 2 == 0);
    ASSERT_EQ(engine.Count(), 32767);
    try {
        engine.addVbp(L"C:\\last.vbp", true);
        FAIL() << "entry 32768 accepted";
    } catch (const VbError& e) {
        EXPECT_EQ(e.Number(), kTolvaneErrorNumber);
        EXPECT_EQ(e.Source(), L"clsTolvane");
        EXPECT_EQ(e.Description(), L"ｺﾝﾊﾟｲﾙﾘｽﾄに登録できるのは32767件までです");
    }
    EXPECT_EQ(engine.Count(), 32767);
    EXPECT_EQ(engine.Vbp().back()->Vbp(), L"C:\\p.vbp");
    // A full list still works end to end.
    engine.RemoveTarget(32767);
    engine.RemoveNoCheck();
    EXPECT_EQ(engine.Count(), 16383);
    EXPECT_NO_THROW(engine.addVbp(L"C:\\again.vbp", true));
}

TEST_F(EngineList, RemoveTargetMovesLaterEntriesUp) {
    Add({{L"a", true}, {L"b", true}, {L"a", true}});
    engine.RemoveTarget(1);
    EXPECT_EQ(Paths(), (std::vector<std::wstring>{L"b", L"a"}));
    engine.RemoveTarget(2);
    EXPECT_EQ(Paths(), (std::vector<std::wstring>{L"b"}));
}

struct BadPosition {
    std::int32_t position;
    std::int32_t error;
};
void PrintTo(const BadPosition& c, std::ostream* os) { *os << c.position; }

class RemoveTargetBounds : public EngineList, public ::testing::WithParamInterface<BadPosition> {};

TEST_P(RemoveTargetBounds, RejectsAndLeavesListUnchanged) {
    Add({{L"a", true}, {L"b", false}, {L"c", true}});
    try {
        engine.RemoveTarget(GetParam().position);
        FAIL() << "position " << GetParam().position << " accepted";
    } catch (const VbError& e) {
        EXPECT_EQ(e.Number(), GetParam().error);
    }
    EXPECT_EQ(Paths(), (std::vector<std::wstring>{L"a", L"b", L"c"}));
}

INSTANTIATE_TEST_SUITE_P(EngineList, RemoveTargetBounds,
                         ::testing::Values(BadPosition{0, kErrInvalidArgument},
                                           BadPosition{-1, kErrInvalidArgument},
                                           BadPosition{4, kErrInvalidArgument},
                                           BadPosition{32767, kErrInvalidArgument},
                                           BadPosition{-32768, kErrInvalidArgument},
                                           BadPosition{32768, kErrOverflow},
                                           BadPosition{-32769, kErrOverflow}));

struct NoCheckCase {
    std::vector<std::pair<const wchar_t*, bool>> list;
    std::vector<std::wstring> kept;
};
void PrintTo(const NoCheckCase& c, std::ostream* os) {
    for (const auto& [path, action] : c.list) *os << (action ? "+" : "-");
}

class RemoveNoCheckTest : public EngineList, public ::testing::WithParamInterface<NoCheckCase> {};

TEST_P(RemoveNoCheckTest, KeepsCheckedEntriesInOrder) {
    Add(GetParam().list);
    engine.RemoveNoCheck();
    EXPECT_EQ(Paths(), GetParam().kept);
}

INSTANTIATE_TEST_SUITE_P(
    EngineList, RemoveNoCheckTest,
    ::testing::Values(NoCheckCase{{{L"a", false}, {L"b", false}}, {}},
                      NoCheckCase{{{L"a", true}, {L"b", false}, {L"c", true}}, {L"a", L"c"}},
                      NoCheckCase{{{L"a", false}, {L"b", false}, {L"c", true}, {L"d", false},
                                   {L"e", true}, {L"f", false}},
                                  {L"c", L"e"}},
                      NoCheckCase{{{L"a", true}, {L"a", true}}, {L"a", L"a"}}));

TEST_F(EngineList, RemoveTargetAllEmptiesAndKeepsHeldEntriesAlive) {
    Add({{L"a", true}, {L"b", false}});
    const auto held = engine.Vbp()[1];
    engine.RemoveTargetAll();
    EXPECT_EQ(engine.Count(), 0);
    EXPECT_EQ(held->Vbp(), L"b");
}

TEST_F(EngineList, ReCompileCheckCopiesFailureIntoAction) {
    Add({{L"a", true}, {L"b", true}, {L"c", false}, {L"d", false}});
    engine.Vbp()[1]->SetFailure(true);
    engine.Vbp()[2]->SetFailure(true);  // failed in an earlier run, unchecked since
    EXPECT_EQ(engine.FailureCount(), 2);
    engine.ReCompileCheck();
    std::vector<bool> actions;
    for (const auto& e : engine.Vbp()) actions.push_back(e->Action());
    EXPECT_EQ(actions, (std::vector<bool>{false, true, true, false}));
    EXPECT_EQ(engine.TargetCount(), 2);
}

TEST_F(EngineList, VbAndDimensionAreTrimmedOnWrite) {
    engine.SetVB(L"  C:\\VB98\\VB6.EXE ");
    engine.SetDimension(L" DEBUG = 1 ");
    EXPECT_EQ(engine.VB(), L"C:\\VB98\\VB6.EXE");
    EXPECT_EQ(engine.Dimension(), L"DEBUG = 1");
}

TEST_F(EngineList, OutFolderRules) {
    platform.paths = {L" C:\\Out ", L"C:\\File.txt"};

    engine.SetOutFolder(L" C:\\Out ");
    EXPECT_EQ(engine.OutFolder(), L"C:\\Out");
    EXPECT_EQ(platform.pathLookups.back(), L" C:\\Out ");  // looked up untrimmed

    // Blank: error, folder kept, nothing looked up.
    const auto lookups = platform.pathLookups.size();
    try {
        engine.SetOutFolder(L"   ");
        FAIL() << "blank folder accepted";
    } catch (const VbError& e) {
        EXPECT_EQ(e.Number(), kTolvaneErrorNumber);
        EXPECT_EQ(e.Source(), L"clsTolvane");
        EXPECT_EQ(e.Description(), L"指定のディレクトリは存在しません");
    }
    EXPECT_EQ(engine.OutFolder(), L"C:\\Out");
    EXPECT_EQ(platform.pathLookups.size(), lookups);

    // An existing file passes the lookup as well.
    engine.SetOutFolder(L"C:\\File.txt");
    EXPECT_EQ(engine.OutFolder(), L"C:\\File.txt");

    // Missing: cleared, then the same error.
    try {
        engine.SetOutFolder(L"C:\\Missing");
        FAIL() << "missing folder accepted";
    } catch (const VbError& e) {
        EXPECT_EQ(e.Description(), L"指定のディレクトリは存在しません");
    }
    EXPECT_EQ(engine.OutFolder(), L"");

    engine.SetOutFolder(L"C:\\File.txt");
    engine.ClearOutFolder();
    EXPECT_EQ(engine.OutFolder(), L"");
}

TEST_F(EngineList, VbpMessageTakesTimeAtEachRead) {
    // Before any run: time, tab, empty name, three spaces, empty status.
    EXPECT_EQ(engine.VbpMessage(), L"T1\t   ");
    EXPECT_EQ(engine.VbpMessage(), L"T2\t   ");
}

}  // namespace
}  // namespace tolvane
