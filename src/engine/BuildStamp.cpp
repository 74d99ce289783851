#include "engine/BuildStamp.h"

namespace tolvane {

BuildStamp::BuildStamp(ProjectStamper* stamper, std::wstring vbp) : stamper_(stamper), vbp_(std::move(vbp)) {
    if (!stamper_) return;
    refusal_ = stamper_->Stamp(vbp_);
    stamped_ = !refusal_;
}

BuildStamp::~BuildStamp() {
    // An error is ending the run: the file goes back all the same; a reason
    // that cannot be shown is kept for the next start, which gives it back.
    if (stamped_) stamper_->GiveBack(vbp_);
}

void BuildStamp::Finish(clsVbp& entry) {
    if (!stamped_) return;
    stamped_ = false;
    if (const auto reason = stamper_->GiveBack(vbp_)) {
        const std::wstring before = entry.FailureText();
        entry.SetFailure(true);
        entry.SetFailureText(before.empty() ? *reason : before + L"\r\n" + *reason);
        return;
    }
    if (!entry.Failure()) stamper_->Built(vbp_);
}

}  // namespace tolvane
