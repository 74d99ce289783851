#include "engine/RunFrame.h"

#include "support/Locale.h"

namespace tolvane {

void RunFrame::Run(const std::function<void()>& settle) {
    record_.SetStartTime(LocalNow());
    engine_.SetCompileStop(false);
    engine_.CompileStart();
    if (settle) settle();
    record_.SetStopTime(LocalNow());
}

std::wstring RunFrame::ClosingPiece() const {
    if (Stopped()) return StoppedPiece();
    return SummaryBlock(GeneralDateText(*record_.StartTime()), GeneralDateText(*record_.StopTime()),
                        record_.DiffTime());
}

bool RunFrame::Recheck() {
    if (Failures() == 0) return false;
    engine_.ReCompileCheck();
    return true;
}

}  // namespace tolvane
