// The build plan against fake files: dependency order, skip decisions, and
// readiness for several compilers (cycles and failed dependencies: CompileRunTest).
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "FakeProjectFiles.h"
#include "Raised.h"
#include "engine/BuildPlan.h"
#include "engine/PlanText.h"
#include "support/VbError.h"

namespace tolvane {
namespace {

using testing::FakeFiles;

// Projects named by one letter, C:\P\<x>.vbp, output C:\P\<x>.dll; refs is
// the text of their reference lines.
class Plan : public ::testing::Test {
protected:
    FakeFiles files;
    std::vector<PlanEntry> entries;

    void Project(const std::wstring& x, const std::wstring& refs = L"", const std::wstring& output = L"") {
        const std::wstring vbp = L"C:\\P\\" + x + L".vbp";
        files.texts[vbp] = L"Type=OleDll\r\nName=\"" + x + L"\"\r\nForm=" + x + L".frm\r\n" +
                           (output.empty() ? L"" : L"ExeName32=\"" + output + L"\"\r\n") + refs;
        entries.push_back({vbp});
    }
    static std::wstring Ref(const std::wstring& x, const std::wstring& folder = L"C:\\P\\") {
        return L"Reference=*\\G{0}#1.0#0#" + folder + x + L".dll#x\r\n";
    }
    static std::wstring Compatible(const std::wstring& file) {
        return L"CompatibleMode=\"2\"\r\nCompatibleEXE32=\"" + file + L"\"\r\n";
    }
    static PlanOptions Options(bool order, int parallel, bool skip = false) {
        PlanOptions options;
        options.order = order;
        options.parallel = parallel;
        options.skip = skip;
        return options;
    }
    void Times(std::initializer_list<const wchar_t*> names, std::int64_t time) {
        for (const wchar_t* f : names) files.times[std::wstring(L"C:\\P\\") + f] = time;
    }
    std::wstring Cycle() {
        return testing::Raised([&] { BuildPlan(entries, Options(true, 1), files, L""); }).Description();
    }

    std::wstring Names(const BuildPlan& plan) const {
        std::wstring out;
        for (std::size_t i : plan.Order()) out += entries[i].vbp.substr(5, 1);
        return out;
    }
    // Takes every step that is ready now and names it: "a" build, "a-" skip.
    std::wstring Steps(BuildPlan& plan) const {
        std::wstring out;
        while (auto step = plan.Next()) {
            out += entries[step->item].vbp.substr(5, 1);
            if (step->action == BuildPlan::Action::Skip) out += L"-";
        }
        return out;
    }
    // The ready steps, then after each listed build ends successfully "|" and the steps it frees.
    std::wstring Walk(BuildPlan& plan, std::initializer_list<std::size_t> ended = {}) const {
        std::wstring out = Steps(plan);
        for (std::size_t e : ended) {
            plan.Ended(e, false);
            out += L"|" + Steps(plan);
        }
        return out;
    }
};

TEST_F(Plan, OrderPutsDependenciesFirstAndKeepsListOrderOtherwise) {
    Project(L"e", Ref(L"d"));                                          // by type library path
    Project(L"a");
    Project(L"d", L"Object=*\\A..\\P\\c.vbp\r\n");                       // by project reference
    Project(L"c", L"Object={1}#1.0#0; B.OCX\r\nObject={2}#1.0#0; z.ocx\r\n");  // by control file name
    Project(L"b", L"", L"b.ocx");
    Project(L"f", L"CompatibleMode=\"2\"\r\nCompatibleEXE32=\"f.dll\"\r\n");  // its own output: no dependency
    EXPECT_EQ(Names(BuildPlan(entries, PlanOptions{}, files, L"")), L"eadcbf");
    const PlanOptions ordered = Options(true, 1);
    EXPECT_EQ(Names(BuildPlan(entries, ordered, files, L"")), L"bcdeaf");
    // A second listed b.ocx elsewhere: the control's name no longer tells which.
    Project(L"g", L"Path32=\"sub\"\r\n", L"b.ocx");
    EXPECT_EQ(Names(BuildPlan(entries, ordered, files, L"")), L"cdeabfg");
}

TEST_F(Plan, StaleHintPathsAreMatchedByTheOneListedOutputOfThatName) {
    Project(L"e", Ref(L"d", L"d:\\Proyectos\\DLL\\"));  // absolute, from another machine
    Project(L"d", Ref(L"c", L"..\\..\\"));                // a wrong depth
    Project(L"c", Compatible(L"..\\Old\\b.dll"));          // compatibility on a stale copy
    Project(L"b", Ref(L"x", L"d:\\"));                     // x is listed twice under that name
    Project(L"x");
    Project(L"y", L"Path32=\"sub\"\r\n", L"x.dll");
    BuildPlan plan(entries, Options(true, 1), files, L"");
    EXPECT_EQ(Names(plan), L"bcdexy");
    ASSERT_EQ(plan.LinksOf(0).size(), 1u);
    EXPECT_EQ(plan.LinksOf(0)[0].item, 1u);
    EXPECT_TRUE(plan.LinksOf(0)[0].byName);
    EXPECT_EQ(plan.LinksOf(2)[0].kind, PlanLink::Kind::Compatible);
    EXPECT_TRUE(plan.DependenciesOf(3).empty());
    // The path first: a hint naming x's own output exactly still counts.
    entries.clear();
    Project(L"b", Ref(L"x"));
    Project(L"x");
    Project(L"y", L"Path32=\"sub\"\r\n", L"x.dll");
    BuildPlan exact(entries, Options(true, 1), files, L"");
    EXPECT_EQ(exact.DependenciesOf(0), std::vector<std::size_t>{1});
    EXPECT_FALSE(exact.LinksOf(0)[0].byName);
}

// A release and a debug project of one DLL, each with binary compatibility
// on it, and a consumer listed first: no cycle, list order among the
// variants, never both at once; a real cycle is still refused by name.
TEST_F(Plan, VariantsOfOneOutputAreNoCycleAndNeverBuildAtOnce) {
    Project(L"u", Ref(L"a"));
    Project(L"a", Compatible(L"a.dll"));
    Project(L"b", Compatible(L"..\\P\\a.dll") + L"Object=*\\A..\\P\\w.vbp\r\n", L"a.dll");
    Project(L"w");
    BuildPlan plan(entries, Options(true, 4), files, L"");
    EXPECT_EQ(Names(plan), L"awbu");
    EXPECT_EQ(plan.DependenciesOf(2), std::vector<std::size_t>{3});
    // b waits for a, which writes its output too; u references the output both write.
    EXPECT_EQ(Walk(plan, {3, 1, 2}), L"aw||b|u");

    Project(L"v", Ref(L"u", L"D:\\Bin\\"));
    files.texts[L"C:\\P\\w.vbp"] += Ref(L"v");
    EXPECT_EQ(Cycle(), L"u.vbp→b.vbp→w.vbp→v.vbp→u.vbpの参照が循環しているためｺﾝﾊﾟｲﾙできません");
    // A later variant that an earlier one waits for (through w) goes first.
    entries.clear();
    Project(L"a", L"Object=*\\A..\\P\\w.vbp\r\n");
    Project(L"b", L"", L"a.dll");
    Project(L"w", L"Object=*\\A..\\P\\b.vbp\r\n");
    EXPECT_EQ(Names(BuildPlan(entries, Options(true, 1), files, L"")), L"bwa");
}

// With several compilers a control starts only when nothing runs (first
// when all are idle) and nothing starts beside it; the ready build with the
// longest chain of work behind it starts first, and with one compiler the
// list order stays.
TEST_F(Plan, ControlsBuildAloneAndTheLongestChainStartsFirst) {
    Project(L"a");                  // alone, 1 s
    Project(L"b");                  // a chain of 1 + 5 s
    Project(L"c", Ref(L"b"));
    Project(L"d");                  // 3 s
    Project(L"k", L"Type=Control\r\n");
    files.sizes[L"C:\\P\\c.frm"] = 5 * 50000;
    files.sizes[L"C:\\P\\d.frm"] = 2 * 50000;
    BuildPlan plan(entries, Options(true, 2), files, L"");
    EXPECT_EQ(plan.Cost(0), 1000);
    EXPECT_EQ(plan.Chain(1), 7000);
    EXPECT_TRUE(plan.BuildsAlone(4));
    EXPECT_EQ(Walk(plan, {4, 1, 3}), L"k|bd|c|a");

    // Remembered times come before estimates; one compiler keeps the list order.
    BuildTimes times;
    times.Record(L"c:\\p\\A.vbp", 9000);
    BuildPlan remembered(entries, Options(true, 2), files, L"", &times);
    EXPECT_EQ(remembered.Cost(0), 9000);
    remembered.Ended(4, false);
    EXPECT_EQ(Walk(remembered, {4}), L"k|ab");
    BuildPlan single(entries, Options(true, 1), files, L"", &times);
    EXPECT_FALSE(single.BuildsAlone(4));
    EXPECT_EQ(Steps(single), L"a");
    // Started as each is ready, a control still waits for the running builds.
    PlanOptions asReady = Options(true, 2);
    asReady.firstReady = true;
    BuildPlan first(entries, asReady, files, L"", &times);
    EXPECT_EQ(Walk(first, {0}), L"ab|d");
    first.Ended(1, false);
    first.Ended(3, false);
    EXPECT_EQ(Steps(first), L"c");
}

// While the running builds are let end for a control, an idle compiler
// takes only a build expected to end before they do.
TEST_F(Plan, BeforeAControlOnlyBuildsThatEndInTimeFillIdleCompilers) {
    Project(L"a");
    Project(L"b");
    Project(L"k", L"Type=Control\r\n" + Ref(L"a"));
    Project(L"x", L"Object={0}#1.0#0; k.ocx\r\n");
    Project(L"c");
    Project(L"d");
    files.sizes[L"C:\\P\\b.frm"] = 5 * 50000;  // 6 s; d 5 s; the others 1 s
    files.sizes[L"C:\\P\\d.frm"] = 4 * 50000;
    BuildPlan plan(entries, Options(true, 3), files, L"");
    std::wstring started;
    for (std::size_t i = 0; i < 3; ++i) started += entries[plan.Next(0)->item].vbp.substr(5, 1);
    EXPECT_EQ(started, L"bda");
    plan.Ended(0, false);
    EXPECT_FALSE(plan.Next(5500));  // c would end after b
    const auto filler = plan.Next(1000);
    ASSERT_TRUE(filler);
    EXPECT_EQ(filler->item, 4u);
}

// A history that is damaged in any way is none, and is written anew; it
// keeps the most recent entries only.
TEST(BuildTimesText, DamageIsIgnoredAndTheNewestEntriesAreKept) {
    BuildTimes times;
    times.Record(L"C:\\A.vbp", 1500);
    times.Record(L"C:\\B.vbp", 20);
    times.Record(L"c:\\a.VBP", 700);
    const BuildTimes back = BuildTimes::FromText(times.Text());
    EXPECT_FALSE(back.Changed());
    EXPECT_EQ(back.Find(L"C:\\A.vbp"), 700);
    EXPECT_EQ(back.Find(L"C:\\B.vbp"), 20);
    EXPECT_EQ(back.Text(), times.Text());
    const std::wstring good = times.Text();
    for (const std::wstring& damaged :
         {good.substr(1), good + L"\r\nx\tC:\\C.vbp", good + L"\r\n-5\tC:\\C.vbp", good + L"\r\n5\t",
          good + L"\r\n99999999999\tC:\\C.vbp", good + L"\r\n5\tC:\\B.vbp", good + L"\r\n5\tC:\\C\r.vbp", std::wstring(L"\x00ff\x00fe"),
          std::wstring()}) {
        const BuildTimes read = BuildTimes::FromText(damaged);
        EXPECT_TRUE(read.Changed()) << damaged;
        EXPECT_FALSE(read.Find(L"C:\\B.vbp")) << damaged;
    }
    EXPECT_FALSE(BuildTimes::FromText(good + L"\r\n").Changed());
    BuildTimes many;
    for (std::size_t i = 0; i <= kMaxBuildTimes; ++i) many.Record(L"C:\\" + std::to_wstring(i) + L".vbp", 1);
    EXPECT_FALSE(many.Find(L"C:\\0.vbp"));
    EXPECT_TRUE(many.Find(L"C:\\1.vbp"));
    EXPECT_FALSE(BuildTimes::FromText(many.Text()).Changed());
}

TEST_F(Plan, SkipsOnlyWhatIsNewerThanEverythingItIsBuiltFrom) {
    Project(L"a");
    Project(L"b", Ref(L"a", L"d:\\Old\\"));  // a stale hint: matched by name
    Times({L"a.vbp", L"a.frm", L"b.vbp", L"b.frm"}, 10);
    Times({L"a.dll"}, 20);
    Times({L"b.dll"}, 30);
    const PlanOptions skip = Options(true, 1, true);

    const struct {
        const wchar_t* file;
        std::int64_t time;  // -1: file removed
        const wchar_t* steps;
    } cases[] = {
        {nullptr, 0, L"a-b-"},
        {L"C:\\P\\a.frx", 15, L"a-b-"},  // a companion older than the output
        {L"C:\\P\\b.frx", 30, L"a-b"},   // a companion as new as the output
        {L"C:\\P\\b.frm", -1, L"a-b"},   // a source missing
        {L"C:\\P\\b.vbp", 31, L"a-b"},   // the project file touched
        {L"C:\\P\\a.dll", 30, L"a-b"},   // the dependency's output as new
        {L"C:\\P\\b.dll", -1, L"a-b"},   // no output yet
        {L"C:\\P\\a.frm", 25, L"a"},     // a rebuilt: b waits, then is rebuilt
    };
    for (const auto& c : cases) {
        FakeFiles changed = files;
        if (c.file && c.time < 0) changed.times.erase(c.file);
        if (c.file && c.time >= 0) changed.times[c.file] = c.time;
        BuildPlan plan(entries, skip, changed, L"");
        const bool waits = std::wstring(c.steps) == L"a";  // then b is rebuilt after a
        EXPECT_EQ(Walk(plan, {0}), c.steps + std::wstring(waits ? L"|b" : L"|")) << (c.file ? c.file : L"");
    }
    // A project that failed earlier is built again.
    entries[1].failedBefore = true;
    BuildPlan again(entries, skip, files, L"");
    EXPECT_EQ(Steps(again), L"a-b");
}

TEST_F(Plan, SeveralCompilersStartWhatIsReadyButNeverTheSameOutputTwice) {
    Project(L"a");
    Project(L"b", Ref(L"a"));
    Project(L"c", L"", L"a.dll");  // the same output as a
    Project(L"d");
    Project(L"e");
    entries.push_back(entries[3]);  // d listed twice
    BuildPlan plan(entries, Options(true, 3), files, L"");
    EXPECT_EQ(Steps(plan), L"ade");  // b waits for a, c for a's output, the second d for the first
    EXPECT_EQ(plan.Running(), 3u);
    EXPECT_EQ(Walk(plan, {3, 0, 2}), L"|d|c|b");  // b references a.dll, which c writes too
}

// Each rule looks at every dependency, not the first; a cycle is named from
// where it closes; unread projects share no output; another project's
// output as the compatibility file is a dependency.
TEST_F(Plan, EveryDependencyCountsAndUnreadProjectsRunSideBySide) {
    Project(L"a");
    Project(L"b");
    Project(L"c", Ref(L"a") + Ref(L"b"));
    Times({L"a.vbp", L"a.frm", L"b.vbp", L"b.frm", L"c.vbp", L"c.frm"}, 10);
    Times({L"a.dll"}, 20);  // older than c's output; b's is newer
    Times({L"c.dll"}, 30);
    Times({L"b.dll"}, 40);
    BuildPlan fresh(entries, Options(true, 1, true), files, L"");
    EXPECT_EQ(Steps(fresh), L"a-b-c");
    BuildPlan plan(entries, Options(true, 1), files, L"");
    EXPECT_EQ(plan.Chain(1), plan.Cost(1) + plan.Cost(2));
    EXPECT_EQ(Walk(plan, {0}), L"a|b");
    plan.Ended(1, true);
    const auto failed = plan.Next();
    EXPECT_TRUE(failed && failed->action == BuildPlan::Action::DependencyFailed && failed->dependency == 1);

    entries.clear();
    Project(L"k", Compatible(L"C:\\P\\j.dll"));
    Project(L"j");
    entries.push_back({L"C:\\P\\m.vbp"});
    entries.push_back({L"C:\\P\\n.vbp"});
    BuildPlan side(entries, Options(true, 3), files, L"");
    EXPECT_EQ(side.DependenciesOf(0), std::vector<std::size_t>{1});
    EXPECT_EQ(Steps(side), L"jmn");
    Project(L"x", Ref(L"p"));
    Project(L"p", Ref(L"q"));
    Project(L"q", Ref(L"p"));
    EXPECT_EQ(Cycle(), L"p.vbp→q.vbp→p.vbpの参照が循環しているためｺﾝﾊﾟｲﾙできません");
}

// The plan as read: build order, the waits with their lines, why each is
// built or skipped, the control alone, the compilers at once.
TEST_F(Plan, LinesNameEveryWaitAndReason) {
    Project(L"b", Ref(L"a", L"d:\\Old\\") + L"Object=*\\A..\\P\\k.vbp\r\n");
    Project(L"a");
    Project(L"k", L"Type=Control\r\n");
    Times({L"a.vbp", L"a.frm", L"b.vbp", L"k.vbp", L"k.frm"}, 10);
    Times({L"a.dll", L"b.dll"}, 20);
    Times({L"b.frm"}, 30);
    BuildPlan plan(entries, Options(true, 3, true), files, L"");
    EXPECT_EQ(PlanLines(plan), (std::vector<std::wstring>{
                                   L"ｺﾝﾊﾟｲﾙ順の確認",
                                   L"1. C:\\P\\a.vbp   ｽｷｯﾌﾟ: 出力が全ての元ﾌｧｲﾙより新しい",
                                   L"2. C:\\P\\k.vbp   ｺﾝﾊﾟｲﾙ: C:\\P\\k.ocxがありません",
                                   L"      ｺﾝﾄﾛｰﾙのため単独でｺﾝﾊﾟｲﾙ",
                                   L"3. C:\\P\\b.vbp   ｺﾝﾊﾟｲﾙ: C:\\P\\b.frmが出力より新しい",
                                   L"      待ち: C:\\P\\a.vbp   Reference d:\\Old\\a.dll (ﾌｧｲﾙ名で一致)",
                                   L"      待ち: C:\\P\\k.vbp   *\\A C:\\P\\k.vbp (ﾊﾟｽで一致)",
                                   L"同時ｺﾝﾊﾟｲﾙ数: 3",
                               }));
}

}  // namespace
}  // namespace tolvane
