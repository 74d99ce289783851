#pragma once
// One project file of the compile list.
#include <string>

#include "support/Paths.h"

namespace tolvane {

class clsVbp {
public:
    // The file-name part of Vbp, derived on every read.
    std::wstring Name() const { return GetFileName(vbp_); }

    // Stored exactly as assigned; addVbp trims before assigning.
    const std::wstring& Vbp() const { return vbp_; }
    void SetVbp(const std::wstring& value) { vbp_ = value; }

    // Checked: the next run builds it.
    bool Action() const { return action_; }
    void SetAction(bool value) { action_ = value; }

    // The latest build of this entry failed. Written by the run.
    bool Failure() const { return failure_; }
    void SetFailure(bool value) { failure_ = value; }

    // Why the latest build failed: the compiler's error box text or the run's
    // own reason. Lives beside Failure for the log; never saved to list files.
    const std::wstring& FailureText() const { return failureText_; }
    void SetFailureText(const std::wstring& value) { failureText_ = value; }

private:
    std::wstring vbp_;
    bool action_ = false;
    bool failure_ = false;
    std::wstring failureText_;
};

}  // namespace tolvane
