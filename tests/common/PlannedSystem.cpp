#include "common/PlannedSystem.h"

#include <windows.h>

#include <algorithm>
#include <map>
#include <random>
#include <stdexcept>

#include "common/StandInProject.h"
#include "common/TextFiles.h"
#include "support/PathNames.h"

namespace tolvane::testing {

namespace {

// A build as the stand-in recorded it, in QueryPerformanceCounter ticks.
struct RecordedBuild {
    long long start = 0, end = 0;
};

struct Node {
    std::wstring name, output;  // the output's file name
    const wchar_t* type;
    int units;
    std::vector<std::size_t> refs;  // earlier nodes whose output it references
    std::size_t variantOf = SIZE_MAX;
};

// 1 to 60, most builds short and a few long.
int Units(std::mt19937& random) {
    const double u = std::uniform_real_distribution<double>(0, 1)(random);
    return 1 + static_cast<int>(59 * u * u * u);
}

std::vector<std::size_t> Pick(std::mt19937& random, std::size_t from, std::size_t to, int count) {
    std::vector<std::size_t> picked;
    if (to <= from) return picked;
    for (int i = 0; i < count; ++i) {
        const std::size_t k = std::uniform_int_distribution<std::size_t>(from, to - 1)(random);
        if (std::find(picked.begin(), picked.end(), k) == picked.end()) picked.push_back(k);
    }
    return picked;
}

}  // namespace

PlannedSystem MakePlannedSystem(const std::wstring& folder, const SystemShape& shape, const std::wstring& timesFile) {
    std::mt19937 random(shape.seed);
    std::vector<Node> nodes;
    const auto add = [&](const std::wstring& prefix, const wchar_t* type, const wchar_t* extension,
                         std::vector<std::size_t> refs) {
        const std::wstring name = prefix + std::to_wstring(nodes.size());
        nodes.push_back({name, name + extension, type, Units(random), std::move(refs)});
    };
    for (int i = 0; i < shape.bases; ++i) add(L"Base", L"OleDll", L".dll", {});
    const std::size_t bases = nodes.size();
    for (int i = 0; i < shape.controls; ++i) add(L"Ctl", L"Control", L".ocx", Pick(random, 0, bases, 1));
    const std::size_t controls = nodes.size();
    // Three layers of DLLs, each referencing bases and the layer below.
    std::size_t below = 0, belowEnd = bases;
    for (int layer = 0; layer < 3; ++layer) {
        const std::size_t start = nodes.size();
        for (int i = 0; i < shape.dlls / 3; ++i) {
            auto refs = Pick(random, 0, bases, 2);
            for (std::size_t r : Pick(random, below, belowEnd, 3)) refs.push_back(r);
            if (i % 4 == 0) refs.push_back(bases + static_cast<std::size_t>(i) % (controls - bases));
            add(L"Dll", L"OleDll", L".dll", refs);
        }
        below = layer == 0 ? start : below;
        belowEnd = nodes.size();
        if (layer == 0) {
            for (int v = 0; v < shape.variantPairs && start + static_cast<std::size_t>(v) < nodes.size(); ++v) {
                Node variant = nodes[start + static_cast<std::size_t>(v)];
                variant.variantOf = start + static_cast<std::size_t>(v);
                variant.name += L"_dbg";
                variant.units = Units(random);
                nodes.push_back(variant);
            }
        }
    }
    const std::size_t dlls = nodes.size();
    for (int i = 0; i < shape.exes; ++i) {
        auto refs = Pick(random, controls, dlls, 4);
        if (i % 3 == 0) refs.push_back(bases + static_cast<std::size_t>(i) % (controls - bases));
        add(L"App", L"Exe", L".exe", refs);
    }

    PlannedSystem system;
    std::map<std::wstring, std::vector<std::size_t>> byOutput;  // node indexes writing each output
    for (std::size_t k = 0; k < nodes.size(); ++k) {
        const std::size_t home = nodes[k].variantOf == SIZE_MAX ? k : nodes[k].variantOf;
        const std::wstring dir = folder + L"\\" + nodes[home].name;
        CreateDirectoryW(dir.c_str(), nullptr);
        byOutput[nodes[k].output].push_back(k);
        StandInProject project(dir, nodes[k].name + L".vbp");
        project.Name(nodes[k].name).ExeName(nodes[k].output).Form(L"Main.frm").Set(L"Type", nodes[k].type);
        int hint = 0;
        for (std::size_t r : nodes[k].refs) {
            const Node& producer = nodes[r];
            const std::wstring& out = producer.output;
            if (std::wstring(producer.type) == L"Control") {
                project.Set(L"Object", L"{" + std::to_wstring(r) + L"}#1.0#0; " + out);
                continue;
            }
            const std::wstring producerDir = producer.variantOf == SIZE_MAX ? producer.name : nodes[producer.variantOf].name;
            const int kind = (++hint + static_cast<int>(k)) % 6;
            const std::wstring path = kind == 0 ? (k % 2 ? L"d:\\Proyectos\\DLL\\" + out : L"..\\..\\" + producerDir + L"\\" + out)
                                                : L"..\\" + producerDir + L"\\" + out;
            project.Set(L"Reference", L"*\\G{" + std::to_wstring(r) + L"}#1.0#0#" + path + L"#" + producer.name);
        }
        if (std::wstring(nodes[k].type) == L"OleDll" && k >= controls && k < dlls) {
            project.Set(L"CompatibleMode", L"\"2\"").Set(L"CompatibleEXE32", L"\"" + nodes[k].output + L"\"");
        }
        const int ms = nodes[k].units * shape.msPerUnit;
        project.Set(L"Module", L"Code; Code.bas").Set(L"StandInDelayMs", std::to_wstring(ms)).Set(L"StandInTimes", timesFile);
        SystemProject made;
        made.path = project.Write();
        made.output = project.OutputPath();
        made.control = std::wstring(nodes[k].type) == L"Control";
        made.units = nodes[k].units;
        // Sources in proportion to the build's time.
        if (!WriteBytes(dir + L"\\Code.bas", std::string(static_cast<std::size_t>(ms) * 50, 'x'))) {
            throw std::runtime_error("cannot write a module");
        }
        system.projects.push_back(made);
    }
    for (std::size_t k = 0; k < nodes.size(); ++k) {
        for (std::size_t r : nodes[k].refs) {
            for (std::size_t w : byOutput[nodes[r].output]) system.projects[k].producers.push_back(w);
        }
    }
    // The list in an order of its own, which the planner has to work out.
    std::vector<std::size_t> order(nodes.size());
    for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
    std::shuffle(order.begin(), order.end(), random);
    std::vector<std::size_t> rank(order.size());
    for (std::size_t i = 0; i < order.size(); ++i) rank[order[i]] = i;
    PlannedSystem listed;
    for (std::size_t i : order) {
        listed.projects.push_back(system.projects[i]);
        for (auto& p : listed.projects.back().producers) p = rank[p];
    }
    return listed;
}

std::vector<std::wstring> RecordFaults(const PlannedSystem& system, const std::wstring& timesFile) {
    std::map<std::wstring, std::vector<RecordedBuild>> builds;
    for (const auto& line : ReadUtf8Lines(timesFile)) {
        const auto a = line.find(L' '), b = line.find(L' ', a + 1);
        if (b == std::wstring::npos) return {L"unreadable record line: " + line};
        builds[PathKey(line.substr(b + 1))].push_back({std::stoll(line.substr(0, a)), std::stoll(line.substr(a + 1, b - a - 1))});
    }
    std::vector<std::wstring> faults;
    std::vector<RecordedBuild> at(system.projects.size());
    for (std::size_t i = 0; i < system.projects.size(); ++i) {
        const auto& found = builds[PathKey(system.projects[i].path)];
        if (found.size() != 1) faults.push_back(system.projects[i].path + L" built " + std::to_wstring(found.size()) + L" times");
        if (!found.empty()) at[i] = found.front();
    }
    const auto overlap = [&](std::size_t i, std::size_t j) { return at[i].start < at[j].end && at[j].start < at[i].end; };
    for (std::size_t i = 0; i < system.projects.size(); ++i) {
        const SystemProject& p = system.projects[i];
        for (std::size_t d : p.producers) {
            if (at[d].end > at[i].start) faults.push_back(p.path + L" started before " + system.projects[d].path + L" ended");
        }
        for (std::size_t j = i + 1; j < system.projects.size(); ++j) {
            const bool variants = PathKey(system.projects[j].output) == PathKey(p.output);
            if ((variants || p.control || system.projects[j].control) && overlap(i, j)) {
                faults.push_back(p.path + L" ran beside " + system.projects[j].path);
            }
        }
    }
    return faults;
}

}  // namespace tolvane::testing
