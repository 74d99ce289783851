// The build plan against fake files: dependency order, skip decisions, and
// readiness for several compilers (cycles and failed dependencies: CompileRunTest).
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "FakeProjectFiles.h"
#include "engine/BuildPlan.h"

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
    static std::wstring Ref(const std::wstring& x) { return L"Reference=*\\G{0}#1.0#0#C:\\P\\" + x + L".dll#x\r\n"; }

    std::wstring Names(const BuildPlan& plan) const {
        std::wstring out;
        for (std::size_t i : plan.Order()) out += entries[i].vbp.substr(5, 1);
        return out;
    }
    // Takes every step that is ready now and names it: "a" build, "a-" skip.
    static std::wstring Steps(BuildPlan& plan, const std::vector<PlanEntry>& entries) {
        std::wstring out;
        while (auto step = plan.Next()) {
            out += entries[step->item].vbp.substr(5, 1);
            if (step->action == BuildPlan::Action::Skip) out += L"-";
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
    PlanOptions ordered;
    ordered.order = true;
    EXPECT_EQ(Names(BuildPlan(entries, ordered, files, L"")), L"bcdeaf");
    // A second listed b.ocx elsewhere: the control's name no longer tells which.
    Project(L"g", L"Path32=\"sub\"\r\n", L"b.ocx");
    EXPECT_EQ(Names(BuildPlan(entries, ordered, files, L"")), L"cdeabfg");
}

TEST_F(Plan, SkipsOnlyWhatIsNewerThanEverythingItIsBuiltFrom) {
    Project(L"a");
    Project(L"b", Ref(L"a"));
    for (const wchar_t* f : {L"a.vbp", L"a.frm", L"b.vbp", L"b.frm"}) files.times[std::wstring(L"C:\\P\\") + f] = 10;
    files.times[L"C:\\P\\a.dll"] = 20;
    files.times[L"C:\\P\\b.dll"] = 30;
    PlanOptions skip;
    skip.skip = true;
    skip.order = true;

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
        EXPECT_EQ(Steps(plan, entries), c.steps) << (c.file ? c.file : L"");
        plan.Ended(0, false);
        if (std::wstring(c.steps) == L"a") {
            EXPECT_EQ(Steps(plan, entries), L"b");
        }
    }
    // A project that failed earlier is built again.
    entries[1].failedBefore = true;
    BuildPlan again(entries, skip, files, L"");
    EXPECT_EQ(Steps(again, entries), L"a-b");
}

TEST_F(Plan, SeveralCompilersStartWhatIsReadyButNeverTheSameOutputTwice) {
    Project(L"a");
    Project(L"b", Ref(L"a"));
    Project(L"c", L"", L"a.dll");  // the same output as a
    Project(L"d");
    Project(L"e");
    entries.push_back(entries[3]);  // d listed twice
    PlanOptions options;
    options.parallel = 3;
    options.order = true;
    BuildPlan plan(entries, options, files, L"");
    EXPECT_EQ(Steps(plan, entries), L"ade");  // b waits for a, c for a's output, the second d for the first
    EXPECT_EQ(plan.Running(), 3u);
    plan.Ended(3, false);
    EXPECT_EQ(Steps(plan, entries), L"d");
    plan.Ended(0, false);
    EXPECT_EQ(Steps(plan, entries), L"c");  // b references a.dll, which c writes too
    plan.Ended(2, false);
    EXPECT_EQ(Steps(plan, entries), L"b");
}

}  // namespace
}  // namespace tolvane
