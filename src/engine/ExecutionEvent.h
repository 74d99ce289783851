#pragma once
// What the engine reports as a build starts, ends or is skipped: everything a
// handler shows, so that it never has to ask the engine back mid-run.
#include <cstdint>
#include <string>

#include "engine/clsVbp.h"

namespace tolvane {

struct ExecutionEvent {
    std::int32_t position;  // 1-based, in the compile list
    const clsVbp& entry;    // its failure, reason and log as they stand now
    std::wstring status;    // one of clsTolvane's kStatus texts
    std::wstring message;   // now, tab, project file name, three spaces, status
    std::int32_t compileCount;
    std::int32_t targetCount;
    std::int32_t failureCount;
};

}  // namespace tolvane
