#include "console/ConsoleShard.h"

#include "support/Paths.h"

namespace tolvane {

std::vector<std::wstring> KeepOnlyShard(clsTolvane& engine, const Shard& shard, const PlanOptions& planning,
                                        ProjectFiles& files) {
    std::vector<std::int32_t> positions;
    std::vector<PlanEntry> entries;
    for (std::int32_t i = 1; i <= engine.Count(); ++i) {
        const clsVbp& entry = engine.Entry(i);
        if (!entry.Action()) continue;
        if (IsBlank(entry.Vbp())) break;  // where the run ends
        positions.push_back(i);
        entries.push_back({entry.Vbp()});
    }
    const BuildPlan plan(std::move(entries), planning, files, engine.OutFolder());
    const std::vector<int> parts = SplitIntoShards(plan, shard.parts);
    std::vector<std::wstring> projects;
    for (std::size_t i = 0; i < positions.size(); ++i) {
        clsVbp& entry = engine.Entry(positions[i]);
        if (parts[i] == shard.part - 1) {
            projects.push_back(entry.Vbp());
        } else {
            entry.SetAction(false);
        }
    }
    return projects;
}

std::vector<std::wstring> ShardLines(const Shard& shard, const std::vector<std::wstring>& projects) {
    const std::wstring head = L"分割 " + ShardText(shard) + L": ";
    if (projects.empty()) return {head + L"ｺﾝﾊﾟｲﾙするﾌﾟﾛｼﾞｪｸﾄはありません"};
    std::vector<std::wstring> lines{head + std::to_wstring(projects.size()) + L"件のﾌﾟﾛｼﾞｪｸﾄ"};
    for (const auto& project : projects) lines.push_back(L"\t" + project);
    return lines;
}

}  // namespace tolvane
