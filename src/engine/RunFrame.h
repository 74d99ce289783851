#pragma once
// What both programs put around the engine's compile run: the time record,
// the log's closing piece (the summary block, or the stopped line), the
// notice that closes the run, and the failed entries checked again.
#include <cstdint>
#include <functional>
#include <string>

#include "engine/RunLog.h"
#include "engine/clsTime.h"
#include "engine/clsTolvane.h"

namespace tolvane {

class RunFrame {
public:
    explicit RunFrame(clsTolvane& engine) : engine_(engine) {}

    // Records the start, runs the engine from a cleared stop request, then
    // calls settle (a program serves what came with the last build's end
    // there) and records the stop. Engine errors reach the caller.
    void Run(const std::function<void()>& settle = {});

    const DateTime& Started() const { return *record_.StartTime(); }
    bool Stopped() const { return engine_.CompileStop(); }
    // The stopped line after a stop request; otherwise the summary block,
    // whose last rule has no line end.
    std::wstring ClosingPiece() const;
    std::int32_t Failures() const { return engine_.FailureCount(); }
    ClosingNotice Notice() const { return ClosingNoticeFor(Failures()); }
    // Leaves exactly the failed entries checked; false (list unchanged)
    // when none failed.
    bool Recheck();

private:
    clsTolvane& engine_;
    clsTime record_;
};

}  // namespace tolvane
