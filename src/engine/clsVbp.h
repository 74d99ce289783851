#pragma once
// One project file of the compile list.
#include <optional>
#include <string>
#include <vector>

#include "engine/CompilerLog.h"
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

    // What the compiler's own log said of the latest failed build: its lines
    // to show under the failure, and where the compile error is.
    const std::vector<std::wstring>& LogLines() const { return logLines_; }
    void SetLogLines(std::vector<std::wstring> lines) { logLines_ = std::move(lines); }
    const std::optional<SourceError>& ErrorAt() const { return errorAt_; }
    void SetErrorAt(std::optional<SourceError> at) { errorAt_ = std::move(at); }
    void ClearLog() {
        logLines_.clear();
        errorAt_.reset();
    }

private:
    std::wstring vbp_;
    bool action_ = false;
    bool failure_ = false;
    std::wstring failureText_;
    std::vector<std::wstring> logLines_;
    std::optional<SourceError> errorAt_;
};

}  // namespace tolvane
