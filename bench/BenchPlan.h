#pragma once
// The build planner's benchmarks: several compilers at once, dependency
// chains, and a second run where everything is up to date.
#include <string>

#include "common/TempFolder.h"

bool BenchPlanner(const std::wstring& standIn, const tolvane::testing::TempFolder& temp);
