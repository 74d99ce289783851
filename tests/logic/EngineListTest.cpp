// The engine's project list, its settings and its list file, without running a build.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "FakeRunPlatform.h"
#include "Raised.h"
#include "engine/CompileListFile.h"
#include "engine/clsTolvane.h"
#include "support/AnsiCodec.h"
#include "support/VbError.h"

namespace tolvane {
namespace {

using testing::Raised;

class EngineList : public ::testing::Test {
protected:
    testing::FakeRunPlatform platform;
    clsTolvane engine{platform};

    void Add(const std::vector<std::pair<const wchar_t*, bool>>& entries) {
        for (const auto& [path, action] : entries) engine.addVbp(path, action);
    }
    std::vector<std::wstring> Paths() const {
        std::vector<std::wstring> out;
        for (const auto& e : engine.Vbp()) out.push_back(e->Vbp());
        return out;
    }
};

TEST_F(EngineList, AddVbpTrimsSpacesEntryIsOneBasedAndTheLimitKeepsTheList) {
    Add({{L"  C:\\Src\\App.vbp  ", true}, {L"C:\\Src\\App.vbp", false}, {L"   ", true}, {L"\tC:\\Tab.vbp", false}});
    EXPECT_EQ(Paths(), (std::vector<std::wstring>{L"C:\\Src\\App.vbp", L"C:\\Src\\App.vbp", L"", L"\tC:\\Tab.vbp"}));
    EXPECT_TRUE(engine.Entry(1).Name() == L"App.vbp" && engine.Entry(1).Action() && !engine.Entry(1).Failure());
    EXPECT_EQ(engine.TargetCount(), 2);
    engine.Vbp()[1]->SetAction(true);  // Vbp() is the live list
    EXPECT_EQ(engine.TargetCount(), 3);
    for (int bad : {0, 5, -1}) EXPECT_EQ(Raised([&] { engine.Entry(bad); }).Number(), kErrSubscriptOutOfRange);

    engine.RemoveTargetAll();
    for (int i = 0; i < clsTolvane::kMaxEntries; ++i) engine.addVbp(L"C:\\p.vbp", i % 2 == 0);
    ASSERT_EQ(engine.Count(), 32767);
    EXPECT_EQ(Raised([&] { engine.addVbp(L"C:\\last.vbp", true); }).Description(),
              L"ｺﾝﾊﾟｲﾙﾘｽﾄに登録できるのは32767件までです");
    EXPECT_EQ(engine.Count(), 32767);
    EXPECT_EQ(engine.Vbp().back()->Vbp(), L"C:\\p.vbp");
    engine.RemoveTarget(32767);  // the last position is reachable
    engine.RemoveNoCheck();
    EXPECT_EQ(engine.Count(), 16383);
    EXPECT_NO_THROW(engine.addVbp(L"C:\\again.vbp", true));
}

// Recheck copies failure into the check mark; removing the unchecked keeps
// the rest in order; removing all empties the list, and an empty one stays so;
// removing one moves the later entries up.
TEST_F(EngineList, RecheckAndRemoveUncheckedAllAndOneRejectingBadPositions) {
    Add({{L"a", true}, {L"b", true}, {L"c", false}, {L"d", false}, {L"e", true}, {L"f", false}});
    engine.Vbp()[1]->SetFailure(true);
    engine.Vbp()[2]->SetFailure(true);  // failed in an earlier run, unchecked since
    engine.Vbp()[4]->SetFailure(true);
    EXPECT_EQ(engine.FailureCount(), 3);
    engine.ReCompileCheck();
    std::vector<bool> actions;
    for (const auto& e : engine.Vbp()) actions.push_back(e->Action());
    EXPECT_EQ(actions, (std::vector<bool>{false, true, true, false, true, false}));
    engine.RemoveNoCheck();
    EXPECT_EQ(Paths(), (std::vector<std::wstring>{L"b", L"c", L"e"}));
    engine.RemoveTargetAll();
    EXPECT_EQ(engine.Count(), 0);
    engine.RemoveNoCheck();
    engine.ReCompileCheck();
    EXPECT_EQ(engine.TargetCount() + engine.FailureCount(), 0);

    Add({{L"a", true}, {L"b", false}, {L"a", true}});
    const std::pair<std::int32_t, std::int32_t> bad[] = {{0, kErrInvalidArgument},      {-1, kErrInvalidArgument},
                                                         {4, kErrInvalidArgument},      {-32768, kErrInvalidArgument},
                                                         {32768, kErrOverflow},         {-32769, kErrOverflow}};
    for (auto [position, error] : bad)
        EXPECT_EQ(Raised([&, p = position] { engine.RemoveTarget(p); }).Number(), error) << position;
    EXPECT_EQ(Paths(), (std::vector<std::wstring>{L"a", L"b", L"a"}));
    engine.RemoveTarget(1);
    EXPECT_EQ(Paths(), (std::vector<std::wstring>{L"b", L"a"}));
    engine.RemoveTarget(2);
    EXPECT_EQ(Paths(), (std::vector<std::wstring>{L"b"}));
}

TEST_F(EngineList, SettingsAreTrimmedAndTheOutputFolderMustExist) {
    engine.SetVB(L"  C:\\VB98\\VB6.EXE ");
    engine.SetDimension(L" DEBUG = 1 ");
    EXPECT_EQ(engine.VB(), L"C:\\VB98\\VB6.EXE");
    EXPECT_EQ(engine.Dimension(), L"DEBUG = 1");

    platform.paths = {L" C:\\Out ", L"C:\\File.txt"};
    engine.SetOutFolder(L" C:\\Out ");
    EXPECT_EQ(engine.OutFolder(), L"C:\\Out");
    EXPECT_EQ(platform.pathLookups, std::vector<std::wstring>{L" C:\\Out "});  // looked up untrimmed

    const wchar_t* missing = L"指定のディレクトリは存在しません";
    EXPECT_EQ(Raised([&] { engine.SetOutFolder(L"   "); }).Description(), missing);
    EXPECT_EQ(engine.OutFolder(), L"C:\\Out");  // blank: kept, nothing looked up
    EXPECT_EQ(platform.pathLookups.size(), 1u);

    engine.SetOutFolder(L"C:\\File.txt");  // anything of that name passes
    EXPECT_EQ(engine.OutFolder(), L"C:\\File.txt");
    EXPECT_EQ(Raised([&] { engine.SetOutFolder(L"C:\\Missing"); }).Number(), kTolvaneErrorNumber);
    EXPECT_EQ(engine.OutFolder(), L"");  // missing: cleared
}

// The list file: one "mark TAB path" line per entry, read back with VB's rules for the mark.
using Entries = std::vector<std::pair<bool, std::wstring>>;

Entries Lines(const std::string& bytes) {
    Entries out;
    for (const auto& l : ParseCompileList(bytes, SystemAnsiCodec())) out.emplace_back(l.mark, l.path);
    return out;
}

TEST_F(EngineList, ListFileFormatsOneLinePerEntryAndReadsBackPathsAndMarksButNotFailures) {
    EXPECT_EQ(FormatCompileList(engine), L"");
    engine.addVbp(L"C:\\Src\\App\\App.vbp", true);
    engine.addVbp(L"C:\\b b\\Lib.vbp", false);
    engine.addVbp(L"C:\\Src\\App\\App.vbp", true);
    engine.Vbp()[1]->SetFailure(true);  // not saved
    const std::wstring text = FormatCompileList(engine);
    EXPECT_EQ(text, L"True\tC:\\Src\\App\\App.vbp\r\nFalse\tC:\\b b\\Lib.vbp\r\nTrue\tC:\\Src\\App\\App.vbp\r\n");

    // What the file holds: the text and the writer's closing CR LF.
    EXPECT_EQ(Lines(*SystemAnsiCodec().Encode(text + L"\r\n")),
              (Entries{{true, L"C:\\Src\\App\\App.vbp"}, {false, L"C:\\b b\\Lib.vbp"}, {true, L"C:\\Src\\App\\App.vbp"}}));
}

TEST(CompileListFile, ParsingSplitsLinesSkipsThoseWithoutAPathAndReadsMarksAsWordsOrNumbers) {
    for (const char* empty : {"", "\r\n", "\r\n\r\n\r", "\n\n"}) EXPECT_TRUE(Lines(empty).empty());
    // CR LF, a lone CR and a lone LF all end a line (lists edited elsewhere).
    EXPECT_EQ(Lines("True\ta.vbp\rFalse\tb.vbp\r\nTrue\tc.vbp\nTrue\td.vbp\n\r\nFalse\te.vbp"),
              (Entries{{true, L"a.vbp"}, {false, L"b.vbp"}, {true, L"c.vbp"}, {true, L"d.vbp"}, {false, L"e.vbp"}}));
    // A damaged double-byte character (a lead byte alone) before a line end or
    // a tab costs only its own field, never the line end or the next entry.
    const Entries damaged = Lines("True\tC:\\A\x83\r\nTrue\x83\tC:\\B\nTrue\tC:\\C\x83\tx\nTrue\tC:\\D");
    ASSERT_EQ(damaged.size(), 4u);
    EXPECT_EQ(damaged[0].second.substr(0, 4), L"C:\\A");
    EXPECT_EQ(damaged[1].second, L"C:\\B");
    EXPECT_EQ(damaged[2].second.substr(0, 4), L"C:\\C");
    EXPECT_EQ(damaged[3], (std::pair<bool, std::wstring>{true, L"C:\\D"}));
    // No tab, a blank or empty second field: skipped. Fields after the second
    // are ignored; an unreadable mark adds the path unchecked; the path keeps
    // its spaces (the engine trims them).
    EXPECT_EQ(Lines("C:\\no-tab.vbp\r\nTrue\t   \r\nTrue\t\r\nTrue\t\tC:\\third.vbp\r\n\r\n"
                    "True\t  C:\\padded.vbp  \r\n1\tC:\\a.vbp\tFalse\textra\r\nyes\tC:\\b.vbp\r\n\tC:\\c.vbp"),
              (Entries{{true, L"  C:\\padded.vbp  "}, {true, L"C:\\a.vbp"}, {false, L"C:\\b.vbp"}, {false, L"C:\\c.vbp"}}));
    const std::pair<const wchar_t*, bool> cases[] = {
        {L"True", true},   {L"tRuE", true}, {L" True ", true}, {L"FALSE", false}, {L"1", true},
        {L"-1", true},     {L"0", false},   {L"+0", false},    {L"0.0", false},   {L"0.5", true},
        {L".5", true},     {L"5.", true},   {L"1e3", true},    {L"0E5", false},   {L" 2 ", true},
        {L"", false},      {L"   ", false}, {L".", false},     {L"-", false},     {L"1e", false},
        {L"1x", false},    {L"Truee", false}, {L"Tru", false}, {L"1 2", false},   {L"\t1", false},
    };
    for (const auto& [field, mark] : cases) {
        EXPECT_EQ(ParseCheckMark(field), mark) << ::testing::PrintToString(std::wstring(field));
    }
}

}  // namespace
}  // namespace tolvane
