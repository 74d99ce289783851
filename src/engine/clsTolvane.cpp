#include "engine/clsTolvane.h"

#include <algorithm>

#include "engine/CommandLine.h"
#include "engine/BuildStamp.h"
#include "engine/BuildWatch.h"
#include "engine/BuildingScope.h"
#include "support/Paths.h"
#include "support/RuntimeError.h"
#include "support/VbError.h"

namespace tolvane {

namespace {

constexpr const wchar_t* kSource = L"clsTolvane";

constexpr const wchar_t* kUnsafePathText =
    L"ﾌﾟﾛｼﾞｪｸﾄのﾊﾟｽに使用できない文字(\" や制御文字)が含まれています";
constexpr const wchar_t* kMissingProjectText = L"が見つかりません";

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
    const std::wstring name = curCount_ >= 1 && curCount_ <= Count() ? Entry(curCount_).Name() : std::wstring();
    return platform_.NowText() + L"\t" + name + L"   " + status_;
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
    if (Count() >= kMaxEntries) RefuseEntries();
    entries_.push_back(NewEntry(path, action));
}

std::shared_ptr<clsVbp> clsTolvane::NewEntry(const std::wstring& path, bool action) {
    auto entry = std::make_shared<clsVbp>();
    entry->SetVbp(TrimSpaces(path));
    entry->SetAction(action);
    return entry;
}

void clsTolvane::ReplaceEntries(EntryList entries) {
    if (entries.size() > static_cast<std::size_t>(kMaxEntries)) RefuseEntries();
    entries_ = std::move(entries);
}

void clsTolvane::RefuseEntries() {
    throw TolvaneError(kSource, L"ｺﾝﾊﾟｲﾙﾘｽﾄに登録できるのは32767件までです");
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

bool clsTolvane::AbortCurrentBuild() {
    if (!building_ || abandonRequested_) return false;
    abandonRequested_ = true;
    return true;
}

void clsTolvane::SetPlanning(const PlanOptions& options, ProjectFiles* files) {
    planning_ = options;
    files_ = files;
}

// Raises ExecutionStart for the entry being visited and readies it for its
// compiler. False when its path must not reach the compiler: the entry has
// then failed and ExecutionStop has been raised.
bool clsTolvane::AnnounceBuild(std::int32_t position, clsVbp& entry) {
    ++compileCount_;
    RaiseExecutionStart(position, entry);
    // A quote or control character would split or corrupt the command line
    // and build some other target.
    if (HasUnsafeCommandLineChar(TrimSpaces(entry.Vbp()))) {
        MarkFailed(entry, kUnsafePathText);
        RaiseExecutionStop(position, entry);
        return false;
    }
    if (failMissingProjects_ && !platform_.PathExists(entry.Vbp())) {
        MarkFailed(entry, entry.Vbp() + kMissingProjectText);
        RaiseExecutionStop(position, entry);
        return false;
    }
    entry.SetFailure(false);
    entry.SetFailureText(std::wstring());
    entry.ClearLog();
    platform_.DoEvents();
    return true;
}

std::unique_ptr<CompilerProcess> clsTolvane::StartCompiler(const std::wstring& commandLine) {
    try {
        // The stored path is the program that runs: a command line alone would
        // let the platform try "C:\Program.exe" for a path with spaces.
        return platform_.StartCompiler(vb_, commandLine);
    } catch (const VbError& e) {
        // The platform's reason alone ("file not found") does not say which
        // file: the compiler may have gone since the run checked it.
        throw VbError(e.Number(), e.Source(), L"「" + vb_ + L"」を起動できませんでした: " + e.Description());
    }
}

// The compiler for the entry, watched; with the compiler's log on, the log
// file goes last on the command line.
std::unique_ptr<BuildWatch> clsTolvane::StartBuild(clsVbp& entry) {
    std::wstring commandLine = BuildCommandLine(vb_, entry.Vbp(), outFolder_, dimension_);
    std::unique_ptr<BuildLogFile> log;
    if (compilerLog_) {
        log = std::make_unique<BuildLogFile>(platform_);
        commandLine += L" /out \"" + log->Path() + L"\"";
    }
    std::unique_ptr<CompilerProcess> process = StartCompiler(commandLine);
    return std::make_unique<BuildWatch>(std::move(process), entry, timeLimit_, kPollInterval, std::move(log));
}

// The status is remembered for VbpMessage only when the event is the latest
// started build's: builds that end meanwhile leave it alone.
void clsTolvane::Raise(const ExecutionHandler& handler, std::int32_t position, const clsVbp& entry,
                       const wchar_t* status) {
    if (position == curCount_) status_ = status;
    if (!handler) return;
    handler(ExecutionEvent{position, entry, status, platform_.NowText() + L"\t" + entry.Name() + L"   " + status,
                           compileCount_, TargetCount(), FailureCount()});
}

void clsTolvane::RaiseExecutionStart(std::int32_t position, const clsVbp& entry) {
    Raise(executionStart_, position, entry, kStatusStart);
}

void clsTolvane::RaiseExecutionStop(std::int32_t position, const clsVbp& entry) {
    Raise(executionStop_, position, entry, entry.Failure() ? kStatusFailed : kStatusEnd);
}

void clsTolvane::MarkFailed(clsVbp& entry, const std::wstring& reason) {
    entry.SetFailure(true);
    entry.SetFailureText(reason);
    entry.ClearLog();
}

// Runs every checked entry in list order. The stop request is looked at before
// each position only; a checked entry with a blank path ends the run; an error
// of the process start reaches the caller with the entry left waiting.
void clsTolvane::CompileStart() {
    if (IsBlank(vb_) || !platform_.FileExists(vb_)) {
        throw TolvaneError(kSource, L"VB.EXEのパスが間違っています\r\nオプションで修正してください");
    }
    compileCount_ = 0;
    if (planning_.Planned()) {
        CompilePlanned();
        return;
    }
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

        if (!AnnounceBuild(i, *entry)) continue;
        BuildStamp stamp(stamper_, TrimSpaces(path));
        if (stamp.Refusal()) {
            MarkFailed(*entry, *stamp.Refusal());
            RaiseExecutionStop(i, *entry);
            continue;
        }
        {
            const std::unique_ptr<BuildWatch> watch = StartBuild(*entry);
            BuildingScope scope(building_);
            abandonRequested_ = false;
            while (const auto wait = watch->Pass(abandonRequested_)) watch->Process().WaitStep(*wait);
        }
        stamp.Finish(*entry);
        RaiseExecutionStop(i, *entry);
    }
}

}  // namespace tolvane
