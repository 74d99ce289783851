#include "engine/PlanText.h"

#include <algorithm>

#include "support/Paths.h"

namespace tolvane {

namespace {

const wchar_t* KeyOf(PlanLink::Kind kind) {
    switch (kind) {
        case PlanLink::Kind::Reference: return L"Reference";
        case PlanLink::Kind::Compatible: return L"CompatibleEXE32";
        case PlanLink::Kind::Project: return L"*\\A";
        case PlanLink::Kind::Control: return L"Object";
    }
    return L"";
}

std::wstring WhyBuilt(const BuildPlan& plan, const Freshness& f) {
    using Kind = Freshness::Kind;
    switch (f.kind) {
        case Kind::UpToDate: return L"出力が全ての元ﾌｧｲﾙより新しい";
        case Kind::Unread: return f.file + L"を読み込めません";
        case Kind::FailedBefore: return L"前回のｺﾝﾊﾟｲﾙに失敗しています";
        case Kind::NoOutput: return f.file + L"がありません";
        case Kind::Missing: return f.file + L"が見つかりません";
        case Kind::Newer: return f.file + L"が出力より新しい";
        case Kind::DependencyBuilt: return GetFileName(plan.EntryOf(f.dependency).vbp) + L"をｺﾝﾊﾟｲﾙするため";
    }
    return L"";
}

}  // namespace

std::vector<BuildPlan::Step> SimulatedSteps(BuildPlan& plan) {
    struct Running {
        std::int64_t end;
        std::size_t item;
    };
    std::vector<BuildPlan::Step> steps;
    std::vector<Running> running;
    std::int64_t now = 0;
    for (;;) {
        while (auto step = plan.Next(now)) {
            steps.push_back(*step);
            if (step->action == BuildPlan::Action::Build) running.push_back({now + plan.Cost(step->item), step->item});
        }
        if (running.empty()) return steps;
        // The first to end; of two at once, the one started first.
        const auto first = std::min_element(running.begin(), running.end(),
                                            [](const Running& a, const Running& b) { return a.end < b.end; });
        now = first->end;
        plan.Ended(first->item, false);
        running.erase(first);
    }
}

std::vector<std::wstring> PlanLines(BuildPlan& plan) {
    const PlanOptions& options = plan.Options();
    std::vector<std::wstring> lines{L"ｺﾝﾊﾟｲﾙ順の確認"};
    int number = 0;
    for (const auto& step : SimulatedSteps(plan)) {
        const bool skipped = step.action == BuildPlan::Action::Skip;
        std::wstring line = std::to_wstring(++number) + L". " + plan.EntryOf(step.item).vbp + L"   " +
                            (skipped ? L"ｽｷｯﾌﾟ" : L"ｺﾝﾊﾟｲﾙ");
        if (options.skip) line += L": " + WhyBuilt(plan, step.freshness);
        lines.push_back(line);
        if (options.order) {
            for (const auto& link : plan.LinksOf(step.item)) {
                lines.push_back(L"      待ち: " + plan.EntryOf(link.item).vbp + L"   " + KeyOf(link.kind) + L" " +
                                link.written + (link.byName ? L" (ﾌｧｲﾙ名で一致)" : L" (ﾊﾟｽで一致)"));
            }
        }
        if (!skipped && plan.BuildsAlone(step.item)) lines.push_back(L"      ｺﾝﾄﾛｰﾙのため単独でｺﾝﾊﾟｲﾙ");
    }
    lines.push_back(L"同時ｺﾝﾊﾟｲﾙ数: " + std::to_wstring(std::max(options.parallel, 1)));
    return lines;
}

}  // namespace tolvane
