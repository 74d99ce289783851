// The build planner on a generated system with stale hints, variants and
// controls: a run of TolvaneCmd with several compilers, checked against the
// stand-in's record of every build's start and end, then the plan printed by
// TolvaneCmd /plan and by the window's "ｺﾝﾊﾟｲﾙ順の確認", starting no compiler.
#include "PlannedSystem.h"
#include "ProgramScenario.h"

namespace tolvane::testing {
namespace {

// The plan's numbered project lines, as their paths in build order.
std::vector<std::wstring> PlannedPaths(const std::vector<std::wstring>& lines) {
    std::vector<std::wstring> paths;
    for (const auto& line : lines) {
        const auto dot = line.find(L". ");
        const auto end = line.rfind(L"   ");
        if (dot == std::wstring::npos || end == std::wstring::npos || line[0] == L' ') continue;
        paths.push_back(line.substr(dot + 2, end - dot - 2));
    }
    return paths;
}

TEST(PlannerScenario, ProducersEndBeforeConsumersVariantsNeverOverlapControlsRunAlone) {
    ProgramFolder program;
    const std::wstring times = program.File(L"times.txt");
    SystemShape shape;
    shape.bases = 3, shape.controls = 2, shape.dlls = 9, shape.exes = 5, shape.variantPairs = 2, shape.msPerUnit = 4;
    const PlannedSystem system = MakePlannedSystem(program.Folder(L"system"), shape, times);
    std::vector<std::pair<bool, std::wstring>> entries;
    for (const auto& p : system.projects) entries.emplace_back(true, p.path);
    const std::wstring list = ListedAtStart(program, L"all.clt", entries, {{L"Order", L"1"}, {L"Parallel", L"4"}});

    EXPECT_EQ(RunCmd(program, Quoted(list) + L" /order /parallel 4").status, 0u);
    EXPECT_EQ(RecordFaults(system, times), std::vector<std::wstring>{});
    EXPECT_EQ(program.Bytes(L"TolvaneTimes.txt").value_or("").rfind("Tolvane build times 1\r\n", 0), 0u);

    const std::size_t built = ReadUtf8Lines(times).size();
    const CmdRun planned = RunCmd(program, Quoted(list) + L" /order /parallel 4 /plan");
    EXPECT_EQ(planned.status, 0u);
    const std::vector<std::wstring>& plan = planned.out;
    ASSERT_GE(plan.size(), 3u);
    EXPECT_EQ(plan.front(), L"ｺﾝﾊﾟｲﾙ順の確認");
    EXPECT_EQ(plan[plan.size() - 2], L"同時ｺﾝﾊﾟｲﾙ数: 4");
    const auto paths = PlannedPaths(plan);
    ASSERT_EQ(paths.size(), system.projects.size());
    for (const auto& p : system.projects) {
        const auto at = std::find(paths.begin(), paths.end(), p.path);
        for (std::size_t d : p.producers) {
            EXPECT_LT(std::find(paths.begin(), paths.end(), system.projects[d].path), at) << ToUtf8(p.path);
        }
    }
    EXPECT_NE(std::find_if(plan.begin(), plan.end(),
                           [](const std::wstring& l) { return l.find(L"(ﾌｧｲﾙ名で一致)") != std::wstring::npos; }),
              plan.end());

    // The window writes the same lines into its log.
    RunningProgram tolvane(program);
    ASSERT_NE(tolvane.WaitForMain(), nullptr);
    tolvane.Command(ids::mnuCompilePlan);
    ASSERT_TRUE(WaitUntil([&] { return tolvane.LogText().find(L"同時ｺﾝﾊﾟｲﾙ数: 4") != std::wstring::npos; }, 30s));
    CaptureWindow(tolvane.Main(), "plan-command");
    auto logged = tolvane.LogLines();
    const auto first = std::find(logged.begin(), logged.end(), L"ｺﾝﾊﾟｲﾙ順の確認");
    ASSERT_NE(first, logged.end());
    EXPECT_EQ(std::vector<std::wstring>(first, first + static_cast<long>(plan.size() - 1)),
              std::vector<std::wstring>(plan.begin(), plan.end() - 1));
    EXPECT_EQ(ReadUtf8Lines(times).size(), built);  // neither plan started a compiler
}

}  // namespace
}  // namespace tolvane::testing
