#include "engine/clsTolvane.h"

#include <algorithm>

#include "engine/CommandLine.h"
#include "engine/FailureText.h"
#include "support/Paths.h"
#include "support/RuntimeError.h"

namespace tolvane {

namespace {

constexpr const wchar_t* kSource = L"clsTolvane";

constexpr const wchar_t* kUnsafePathText =
    L"ﾌﾟﾛｼﾞｪｸﾄのﾊﾟｽに使用できない文字(\" や制御文字)が含まれています";
constexpr const wchar_t* kAbandonedText = L"中止の指示によりｺﾝﾊﾟｲﾙを強制終了しました";
constexpr const wchar_t* kBoxStuckNote = L"ｴﾗｰﾒｯｾｰｼﾞが閉じないため、ｺﾝﾊﾟｲﾙを強制終了しました";
constexpr const wchar_t* kEmptyBoxText = L"ｺﾝﾊﾟｲﾙｴﾗｰのﾒｯｾｰｼﾞが表示されました";

// Clears the building mark however the wait is left, an exception included.
class BuildingScope {
public:
    explicit BuildingScope(bool& flag) : flag_(flag) { flag_ = true; }
    ~BuildingScope() { flag_ = false; }
    BuildingScope(const BuildingScope&) = delete;
    BuildingScope& operator=(const BuildingScope&) = delete;

private:
    bool& flag_;
};

}  // namespace

clsTolvane::clsTolvane(RunPlatform& platform) : platform_(platform) {}

void clsTolvane::SetVB(const std::wstring& value) { vb_ = TrimSpaces(value); }

void clsTolvane::SetOutFolder(const std::wstring& value) {
    if (IsBlank(value)) throw TolvaneError(kSource, L"指定のディレクトリは存在しません");
    if (!platform_.PathExists(value)) {
        outFolder_.clear();
        throw TolvaneError(kSource, L"指定のディレクトリは存在しません");
    }
    outFolder_ = TrimSpaces(value);
}

void clsTolvane::SetDimension(const std::wstring& value) { dimension_ = TrimSpaces(value); }

void clsTolvane::SetTimeLimit(std::chrono::minutes value) { timeLimit_ = std::max(value, std::chrono::minutes{0}); }

clsVbp& clsTolvane::Entry(std::int32_t position) const {
    if (position < 1 || position > Count()) throw RuntimeError(kErrSubscriptOutOfRange, kSource);
    return *entries_[static_cast<std::size_t>(position - 1)];
}

std::wstring clsTolvane::VbpMessage() const {
    return platform_.NowText() + L"\t" + projectName_ + L"   " + status_;
}

std::int32_t clsTolvane::TargetCount() const {
    return static_cast<std::int32_t>(std::count_if(
        entries_.begin(), entries_.end(), [](const auto& e) { return e->Action(); }));
}

std::int32_t clsTolvane::FailureCount() const {
    return static_cast<std::int32_t>(std::count_if(
        entries_.begin(), entries_.end(), [](const auto& e) { return e->Failure(); }));
}

void clsTolvane::addVbp(const std::wstring& path, bool action) {
    // The list never grows past what 16-bit positions can address, so the
    // removal and re-check operations never meet an unaddressable entry.
    if (Count() >= kMaxEntries) {
        throw TolvaneError(kSource, L"ｺﾝﾊﾟｲﾙﾘｽﾄに登録できるのは32767件までです");
    }
    auto entry = std::make_shared<clsVbp>();
    entry->SetVbp(TrimSpaces(path));
    entry->SetAction(action);
    entries_.push_back(std::move(entry));
}

void clsTolvane::RemoveTargetAll() { entries_.clear(); }

void clsTolvane::RemoveTarget(std::int32_t position) {
    if (position < -32768 || position > 32767) throw RuntimeError(kErrOverflow, kSource);
    if (position < 1 || position > Count()) throw RuntimeError(kErrInvalidArgument, kSource);
    entries_.erase(entries_.begin() + (position - 1));
}

void clsTolvane::RemoveNoCheck() {
    // One stable pass: the same survivors in the same order as removing the
    // first unchecked entry again and again.
    entries_.erase(std::remove_if(entries_.begin(), entries_.end(),
                                  [](const auto& e) { return !e->Action(); }),
                   entries_.end());
}

void clsTolvane::ReCompileCheck() {
    for (auto& entry : entries_) entry->SetAction(entry->Failure());
}

void clsTolvane::AbortCurrentBuild() {
    if (building_) abandonRequested_ = true;
}

void clsTolvane::RaiseExecutionStart() {
    if (executionStart_) executionStart_();
}

void clsTolvane::RaiseExecutionStop() {
    if (executionStop_) executionStop_();
}

void clsTolvane::MarkFailed(clsVbp& entry, const std::wstring& reason) {
    entry.SetFailure(true);
    entry.SetFailureText(reason);
    status_ = kStatusFailed;
}

void clsTolvane::AddFailureNote(clsVbp& entry, const std::wstring& note) {
    if (!entry.Failure()) {
        MarkFailed(entry, note);
        return;
    }
    entry.SetFailureText(entry.FailureText() + L"\r\n" + note);
}

// Runs every checked entry in list order. The stop request is looked at before
// each position only; a checked entry with a blank path ends the run; an error
// of the process start reaches the caller with the entry left waiting.
void clsTolvane::CompileStart() {
    if (IsBlank(vb_) || !platform_.FileExists(vb_)) {
        throw TolvaneError(kSource, L"VB.EXEのパスが間違っています\r\nオプションで修正してください");
    }
    compileCount_ = 0;
    const std::int32_t n = Count();
    for (std::int32_t i = 1; i <= n; ++i) {
        if (compileStop_) return;
        // The window keeps the list unchanged during a run; should a handler
        // shorten it anyway, end rather than read past it.
        if (i > Count()) return;
        curCount_ = i;
        const std::shared_ptr<clsVbp> entry = entries_[static_cast<std::size_t>(i - 1)];
        if (!entry->Action()) continue;
        const std::wstring path = entry->Vbp();
        if (IsBlank(path)) return;

        projectName_ = GetFileName(path);
        const std::wstring commandLine = BuildCommandLine(vb_, path, outFolder_, dimension_);
        status_ = kStatusStart;
        ++compileCount_;
        RaiseExecutionStart();

        // A quote or control character would split or corrupt the command
        // line and build some other target; such a path never reaches the compiler.
        if (HasUnsafeCommandLineChar(TrimSpaces(path))) {
            MarkFailed(*entry, kUnsafePathText);
            RaiseExecutionStop();
            continue;
        }

        status_ = kStatusEnd;
        entry->SetFailure(false);
        entry->SetFailureText(std::wstring());
        platform_.DoEvents();

        {
            std::unique_ptr<CompilerProcess> process = StartBuild(commandLine);
            BuildingScope scope(building_);
            abandonRequested_ = false;
            WaitForBuild(*process, *entry);
        }
        RaiseExecutionStop();
    }
}

// The platform's reason alone ("file not found") does not say which file:
// the compiler may have gone since the run checked it.
std::unique_ptr<CompilerProcess> clsTolvane::StartBuild(const std::wstring& commandLine) {
    try {
        // The stored path is the program that runs: a command line alone
        // would let the platform try "C:\Program.exe" for a path with spaces.
        return platform_.StartCompiler(vb_, commandLine);
    } catch (const VbError& e) {
        throw VbError(e.Number(), e.Source(), L"「" + vb_ + L"」を起動できませんでした: " + e.Description());
    }
}

// Waits for the compiler, letting window events run on every pass. Its error
// box is the first sign of failure: each box shown is recorded and closed, and
// the compiler is then given a while to end. A compiler that ends without a box
// is judged by its exit status. A second stop request, a box that will not
// close and the time limit end the compiler at once.
void clsTolvane::WaitForBuild(CompilerProcess& process, clsVbp& entry) {
    using std::chrono::milliseconds;
    bool boxShown = false;
    bool boxSeen = false;
    std::wstring boxText;
    milliseconds boxSince{0};
    milliseconds exitDeadline{0};
    for (;;) {
        if (abandonRequested_) {
            process.Terminate();
            AddFailureNote(entry, kAbandonedText);
            return;
        }
        const bool ended = process.HasEnded();
        const std::optional<std::wstring> box = process.FindErrorBox();
        const milliseconds now = process.Elapsed();
        if (box) {
            if (!boxShown || *box != boxText) {
                // A box after an earlier one, or in its place, is a follow-up:
                // its text counts too.
                boxShown = true;
                boxSince = now;
                boxText = *box;
                AddFailureNote(entry, box->empty() ? std::wstring(kEmptyBoxText) : *box);
            } else if (now - boxSince >= kBoxCloseLimit) {
                process.Terminate();
                AddFailureNote(entry, kBoxStuckNote);
                return;
            }
            process.RequestErrorBoxClose();
            process.WaitStep(kBoxCloseInterval);
            continue;
        }
        if (boxShown) {
            boxShown = false;
            // Let the compiler finish before the next one starts: two at once
            // would fight over the same output files and error-box title.
            if (!boxSeen) exitDeadline = now + kExitAfterBoxLimit;
            boxSeen = true;
        }
        if (ended) {
            if (!boxSeen) JudgeEndedBuild(process, entry);
            return;
        }
        if (boxSeen && now >= exitDeadline) {
            process.Terminate();
            return;
        }
        if (PassedTimeLimit(now)) {
            const std::optional<ShownWindow> prompt = process.FindPrompt();
            process.Terminate();
            AddFailureNote(entry, TimeLimitText(timeLimit_, prompt));
            return;
        }
        process.WaitStep(kPollInterval);
    }
}

void clsTolvane::JudgeEndedBuild(CompilerProcess& process, clsVbp& entry) {
    // The compiler exits with 1 after a failed build; a crash ends it with a
    // status such as 0xC0000005 and shows nothing.
    const std::optional<std::uint32_t> status = process.ExitCode();
    if (status && *status != 0) MarkFailed(entry, ExitStatusText(*status));
}

bool clsTolvane::PassedTimeLimit(std::chrono::milliseconds elapsed) const {
    // Compared in whole minutes, so no limit is too large to count up to.
    return timeLimit_.count() > 0 && std::chrono::duration_cast<std::chrono::minutes>(elapsed) >= timeLimit_;
}

}  // namespace tolvane
