// The build plan against fake files: what it reads from project files,
// dependency order, skip decisions, readiness for several compilers (cycles
// and failed dependencies: CompileRunTest), and the split into shards.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <numeric>
#include <random>
#include <string>
#include <vector>

#include "FakeProjectFiles.h"
#include "Raised.h"
#include "engine/BuildPlan.h"
#include "engine/PlanText.h"
#include "engine/Shards.h"
#include "engine/VbgGroup.h"
#include "engine/VbpProject.h"
#include "support/PathNames.h"
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
    EXPECT_TRUE(plan.LinksOf(0)[0].item == 1 && plan.LinksOf(0)[0].byName);
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

// What the planner reads from project and group files.
using Paths = std::vector<std::wstring>;

TEST(ProjectFiles, ProjectsNameOutputsByTheCompilersRulesSourcesAndReferencesAndGroupsProjects) {
    const VbpProject p = ParseVbp(
        L"Type=OleDll\r\n"
        L"Reference=*\\G{00020430-0000-0000-C000-000000000046}#2.0#0#..\\..\\Windows\\stdole2.tlb#OLE Automation\r\n"
        L"Reference=*\\A..\\Core\\Core.vbp\r\nReference=*\\G{BAD}#1.0\r\n"
        L"Object={831FDD16-0C5C-11D2-A9FC-0000F8754DA1}#2.0#0; MSCOMCTL.OCX\r\nObject=*\\A..\\Ctl\\Ctl.vbp\r\n"
        L"Form=Main.frm\r\nModule=Tools; ..\\Shared\\Tools.bas\r\nClass=cThing; cThing.cls\r\nClass=Plain=1.cls\r\nUserControl=Grid.ctl\r\n"
        L"Designer=Report.Dsr\r\nPropertyPage=Page.pag\r\nUserDocument=Doc.dob\r\nResFile32=\"App.res\"\r\n"
        L"RelatedDoc=notes.htm\r\nName=\"Lib\"\r\nPath32=\"..\\bin\"\r\nCompatibleMode=\"2\"\r\n"
        L"CompatibleEXE32=\"..\\compat\\Lib.dll\"\r\n\r\n[MS Transaction Server]\r\nForm=NotInTheProject.frm\r\n",
        L"C:\\Src\\Lib\\Lib.vbp", L"");
    EXPECT_EQ(p.name, L"Lib");
    EXPECT_EQ(PathKey(L"C:\\Ｂｉｎ\\App.EXE"), L"c:\\ｂｉｎ\\app.exe");
    EXPECT_EQ(p.output, L"C:\\Src\\bin\\Lib.dll");
    std::wstring sources;  // companions marked with ?
    for (const auto& s : p.sources) sources += s.path.substr(7) + (s.companion ? L"? " : L" ");
    EXPECT_EQ(sources, L"Lib\\Main.frm Lib\\Main.frx? Shared\\Tools.bas Lib\\cThing.cls Lib\\Plain=1.cls Lib\\Grid.ctl Lib\\Grid.ctx? "
                       L"Lib\\Report.Dsr Lib\\Report.dsx? Lib\\Page.pag Lib\\Page.pgx? Lib\\Doc.dob Lib\\Doc.dox? "
                       L"Lib\\App.res ");
    EXPECT_EQ(p.typeLibs, Paths{L"C:\\Windows\\stdole2.tlb"});
    EXPECT_EQ(p.projects, (Paths{L"C:\\Src\\Core\\Core.vbp", L"C:\\Src\\Ctl\\Ctl.vbp"}));
    EXPECT_EQ(p.controls, Paths{L"MSCOMCTL.OCX"});
    EXPECT_EQ(p.compatible, L"C:\\Src\\compat\\Lib.dll");
    const std::tuple<const wchar_t*, const wchar_t*, const wchar_t*> cases[] = {
        {L"Type=Exe\r\nName=\"App\"\r\n", L"", L"C:\\Src\\App.exe"},
        {L"Type=OleExe\r\nName=\"Srv\"\r\n", L"", L"C:\\Src\\Srv.exe"},
        {L"Type=Control\nName=\"Ctl\"\n", L"", L"C:\\Src\\Ctl.ocx"},
        {L"Name=\"App\"\r\nExeName32=\"Tool.exe\"\r\nPath32=\"out\"\r\n", L"", L"C:\\Src\\out\\Tool.exe"},
        {L"Name=\"App\"\r\nPath32=\"..\\bin\"\r\n", L"D:\\Bin\\", L"D:\\Bin\\App.exe"},  // /outdir wins
        {L"", L"", L"C:\\Src\\Project1.exe"},
        {L"Name=\"A=B\"\r\n=x.dll\r\n", L"", L"C:\\Src\\A=B.exe"},  // '=' in a value; a line with no key
        {L"ExeName32=\"../../../x/a.exe\"", L"", L"C:\\x\\a.exe"},  // above the root stays at the root
        {L"ExeName32=\"\\\\srv\\s\\..\\A.EXE\"", L"", L"\\\\srv\\s\\A.EXE"},
        {L"Name=\"A\"\r\nPath32=\"\\:x\\..\"", L"", L"\\A.exe"},  // a rooted path: its colon is no drive
    };
    for (const auto& [text, outFolder, output] : cases) EXPECT_EQ(ParseVbp(text, L"C:\\Src\\App.vbp", outFolder).output, output);
    // Compatibility switched off: the compiler does not read the file.
    EXPECT_EQ(ParseVbp(L"CompatibleMode=\"0\"\r\nCompatibleEXE32=\"x.dll\"\r\n", L"C:\\Src\\App.vbp", L"").compatible, L"");
    EXPECT_EQ(ParseVbg(L"VBGROUP 5.0\r\nProject=Lib\\Lib.vbp\r\nStartupProject=App\\App.vbp\r\n"
                       L"Project=D:\\Other\\Ctl.vbp\nProject=   \r\nproject=..\\Up.vbp\r\n",
                       L"C:\\Src\\All.vbg"),
              (Paths{L"C:\\Src\\Lib\\Lib.vbp", L"C:\\Src\\App\\App.vbp", L"D:\\Other\\Ctl.vbp", L"C:\\Up.vbp"}));
    EXPECT_TRUE(ParseVbg(L"garbage\r\n=\r\n", L"x.vbg").empty());
}

// Splitting one system into parts for several build agents, over generated systems.
TEST(Shards, EveryProjectInOnePartGroupsWholeBalancedTheSameEveryTimeAndPartsAsTyped) {
    for (unsigned seed = 1; seed <= 12; ++seed) {
        // Clusters of projects, each referencing up to two earlier ones of its
        // cluster; 1 to 60 s a build with a long tail.
        std::mt19937 random(seed);
        const std::size_t projects = 10 + seed * 25, clusters = projects / 5;
        std::vector<std::int64_t> costs;
        std::vector<std::vector<std::size_t>> deps(projects);
        std::vector<std::size_t> clusterOf;
        for (std::size_t i = 0; i < projects; ++i) {
            const double tail = std::exponential_distribution<double>(0.25)(random);
            costs.push_back(1000 * std::min<std::int64_t>(60, 1 + static_cast<std::int64_t>(tail * tail)));
            clusterOf.push_back(random() % clusters);
            for (std::size_t j = 0; j < i && deps[i].size() < 2; ++j)
                if (clusterOf[j] == clusterOf[i] && random() % 3 == 0) deps[i].push_back(j);
        }
        const std::int64_t total = std::accumulate(costs.begin(), costs.end(), std::int64_t{0});
        std::int64_t largest = 0;  // with a part for each project, each group stands alone
        const std::vector<int> alone = SplitIntoShards(costs, deps, static_cast<int>(projects));
        for (std::size_t p = 0; p < projects; ++p) {
            std::int64_t load = 0;
            for (std::size_t i = 0; i < projects; ++i) load += alone[i] == static_cast<int>(p) ? costs[i] : 0;
            largest = std::max(largest, load);
        }
        for (int n = 1; n <= 8; ++n) {
            const std::vector<int> part = SplitIntoShards(costs, deps, n);
            ASSERT_EQ(part.size(), projects);
            std::vector<std::int64_t> load(n, 0);
            for (std::size_t i = 0; i < projects; ++i) {
                ASSERT_TRUE(part[i] >= 0 && part[i] < n) << seed << " " << n;
                load[part[i]] += costs[i];
                for (std::size_t d : deps[i]) EXPECT_EQ(part[i], part[d]) << "group split, seed " << seed;
            }
            // Within the largest group's time of the even share, both ways.
            for (std::int64_t l : load) EXPECT_LE(std::abs(l * n - total), largest * n) << seed << " " << n;
            // A second run, and the references read in another order, give the same parts.
            EXPECT_EQ(SplitIntoShards(costs, deps, n), part);
            auto reversed = deps;
            for (auto& d : reversed) std::reverse(d.begin(), d.end());
            EXPECT_EQ(SplitIntoShards(costs, reversed, n), part);
        }
    }
    EXPECT_EQ(SplitIntoShards({50, 50, 50, 10, 10, 10}, {{}, {0}, {1}, {}, {}, {}}, 2), (std::vector<int>{0, 0, 0, 1, 1, 1}));
    // A later project used by an earlier one joins them too.
    EXPECT_EQ(SplitIntoShards({5, 5, 5, 5}, {{3}, {}, {}, {}}, 2), (std::vector<int>{0, 1, 1, 0}));
    // Times of 0 (or negative, from a clock step) still spread the projects out.
    EXPECT_EQ(SplitIntoShards({0, 0, -5, 0}, {{}, {}, {}, {}}, 4), (std::vector<int>{0, 1, 2, 3}));
    EXPECT_EQ(SplitIntoShards({7, 7}, {{1}, {}}, 64), (std::vector<int>{0, 0}));
    const auto shard = ParseShard(L" 02/64 ");
    EXPECT_TRUE(shard && shard->part == 2 && shard->parts == 64 && ShardText(*shard) == L"2/64");
    for (const wchar_t* bad : {L"0/3", L"4/3", L"1/65", L"3", L"1/2/3", L"/3", L"1/", L"-1/3", L"1 / 3", L"１/3", L"0001/2"})
        EXPECT_FALSE(ParseShard(bad)) << bad;
}

}  // namespace
}  // namespace tolvane
