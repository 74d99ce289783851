#pragma once
// The build planner on a generated system shaped like real ones: the wall
// time over the lower bound with 4 and 8 compilers, for the longest chain
// first and for plain list order, and the time the plan takes to print.
#include <string>

#include "common/TempFolder.h"

bool BenchRealSystem(const std::wstring& standIn, const tolvane::testing::TempFolder& temp);
