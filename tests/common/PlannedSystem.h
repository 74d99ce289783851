#pragma once
// A generated system shaped like real VB6 systems, for the compiler stand-in:
// base DLLs referenced by many, layers of DLLs, EXEs on top, a few controls,
// release/debug variant pairs of one DLL, hint paths of which about one in
// six are stale, and build times with a long tail.
#include <cstddef>
#include <string>
#include <vector>

namespace tolvane::testing {

struct SystemShape {
    int bases = 4, controls = 3, dlls = 36, exes = 18, variantPairs = 3;
    int msPerUnit = 10;  // a build takes 1 to 60 units
    unsigned seed = 19;
};

struct SystemProject {
    std::wstring path, output;
    bool control = false;
    int units = 1;
    std::vector<std::size_t> producers;  // the listed projects writing an output it references
};

struct PlannedSystem {
    std::vector<SystemProject> projects;  // in list order
};

// Writes the system below folder; every good build appends its start and end
// to timesFile (the stand-in's StandInTimes).
PlannedSystem MakePlannedSystem(const std::wstring& folder, const SystemShape& shape, const std::wstring& timesFile);

// What the record says against the rules of the planner: a project built not
// exactly once, started before a producer had ended, two variants at once, a
// control beside another build. Empty when none.
std::vector<std::wstring> RecordFaults(const PlannedSystem& system, const std::wstring& timesFile);

}  // namespace tolvane::testing
