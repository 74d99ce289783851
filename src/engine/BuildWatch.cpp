#include "engine/BuildWatch.h"

#include "engine/FailureText.h"

namespace tolvane {

namespace {

constexpr const wchar_t* kAbandonedText = L"中止の指示によりｺﾝﾊﾟｲﾙを強制終了しました";
constexpr const wchar_t* kBoxStuckNote = L"ｴﾗｰﾒｯｾｰｼﾞが閉じないため、ｺﾝﾊﾟｲﾙを強制終了しました";
constexpr const wchar_t* kEmptyBoxText = L"ｺﾝﾊﾟｲﾙｴﾗｰのﾒｯｾｰｼﾞが表示されました";

}  // namespace

BuildWatch::BuildWatch(std::unique_ptr<CompilerProcess> process, clsVbp& entry, std::chrono::minutes timeLimit,
                       std::chrono::milliseconds pollInterval, std::unique_ptr<BuildLogFile> log)
    : process_(std::move(process)), entry_(entry), log_(std::move(log)), timeLimit_(timeLimit),
      pollInterval_(pollInterval) {}

std::optional<std::chrono::milliseconds> BuildWatch::Pass(bool abandon) {
    const auto next = Look(abandon);
    if (!next && log_) {
        log_->Collect(entry_);
        log_.reset();
    }
    return next;
}

void BuildWatch::Fail(const std::wstring& note) {
    if (!entry_.Failure()) {
        entry_.SetFailure(true);
        entry_.SetFailureText(note);
        return;
    }
    entry_.SetFailureText(entry_.FailureText() + L"\r\n" + note);
}

// The error box is the first sign of failure: each box shown is recorded and
// closed, and the compiler is then given a while to end. A compiler that ends
// without a box is judged by its exit status. A stop request to abandon, a
// box that will not close and the time limit end the compiler at once.
std::optional<std::chrono::milliseconds> BuildWatch::Look(bool abandon) {
    using std::chrono::milliseconds;
    if (abandon) {
        // A box already shown still tells the user why the build failed.
        if (!boxShown_)
            if (const auto box = process_->FindErrorBox()) Fail(box->empty() ? std::wstring(kEmptyBoxText) : *box);
        process_->Terminate();
        Fail(kAbandonedText);
        return std::nullopt;
    }
    const bool ended = process_->HasEnded();
    const std::optional<std::wstring> box = process_->FindErrorBox();
    const milliseconds now = process_->Elapsed();
    if (box) {
        if (boxShown_ && boxText_.empty() && !box->empty()) {
            // The same box, read while its text was still being filled in:
            // its text takes the place of the note for a box without one.
            const std::wstring& text = entry_.FailureText();
            const std::wstring blank = kEmptyBoxText;
            if (text.size() >= blank.size() && text.compare(text.size() - blank.size(), blank.size(), blank) == 0) {
                entry_.SetFailureText(text.substr(0, text.size() - blank.size()) + *box);
            }
            boxText_ = *box;
        } else if (!boxShown_ || *box != boxText_) {
            // A box after an earlier one, or in its place, is a follow-up:
            // its text counts too.
            boxShown_ = true;
            boxSince_ = now;
            boxText_ = *box;
            Fail(box->empty() ? std::wstring(kEmptyBoxText) : *box);
        } else if (now - boxSince_ >= kBoxCloseLimit) {
            process_->Terminate();
            Fail(kBoxStuckNote);
            return std::nullopt;
        }
        process_->RequestErrorBoxClose();
        return kBoxCloseInterval;
    }
    if (boxShown_) {
        boxShown_ = false;
        // Let the compiler finish before its build counts as over: another
        // build would fight over the same output files and error-box title.
        if (!boxSeen_) exitDeadline_ = now + kExitAfterBoxLimit;
        boxSeen_ = true;
    }
    if (ended) {
        if (!boxSeen_) JudgeEndedBuild();
        return std::nullopt;
    }
    if (boxSeen_ && now >= exitDeadline_) {
        process_->Terminate();
        return std::nullopt;
    }
    if (PassedTimeLimit(now)) {
        const std::optional<ShownWindow> prompt = process_->FindPrompt();
        process_->Terminate();
        Fail(TimeLimitText(timeLimit_, prompt));
        return std::nullopt;
    }
    return pollInterval_;
}

void BuildWatch::JudgeEndedBuild() {
    // The compiler exits with 1 after a failed build; a crash ends it with a
    // status such as 0xC0000005 and shows nothing.
    const std::optional<std::uint32_t> status = process_->ExitCode();
    if (status && *status != 0) Fail(ExitStatusText(*status));
}

bool BuildWatch::PassedTimeLimit(std::chrono::milliseconds elapsed) const {
    // Compared in whole minutes, so no limit is too large to count up to.
    return timeLimit_.count() > 0 && std::chrono::duration_cast<std::chrono::minutes>(elapsed) >= timeLimit_;
}

}  // namespace tolvane
