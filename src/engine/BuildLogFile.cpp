#include "engine/BuildLogFile.h"

#include "engine/CompilerLog.h"
#include "engine/SourceHeader.h"
#include "support/PathNames.h"
#include "support/Paths.h"

namespace tolvane {

namespace {

constexpr const wchar_t* kUnreadSourceNote = L"(ﾌｧｲﾙを読めないため、行番号はｺﾝﾊﾟｲﾗの値のままです)";

}  // namespace

std::wstring LoadErrorText(const std::wstring& formLog) {
    return L"ﾛｰﾄﾞｴﾗｰがあります(" + GetFileName(formLog) + L")";
}

BuildLogFile::BuildLogFile(RunPlatform& platform) : platform_(platform), path_(platform.NewCompilerLogPath()) {
    // The compiler appends: a file left there would mix another build's lines in.
    platform_.RemoveFile(path_);
}

BuildLogFile::~BuildLogFile() { platform_.RemoveFile(path_); }

void BuildLogFile::Collect(clsVbp& entry) {
    const std::optional<std::string> bytes = platform_.ReadFileBytes(path_);
    platform_.RemoveFile(path_);
    if (!bytes) return;
    CompilerLog log = ReadCompilerLog(*bytes, SystemAnsiCodec());
    // Paths in the log may be relative to the project's folder.
    const std::size_t slash = entry.Vbp().rfind(L'\\');
    const std::wstring folder = slash == std::wstring::npos ? std::wstring() : entry.Vbp().substr(0, slash + 1);
    for (auto& formLog : log.loadLogs) formLog = ResolvePath(folder, formLog);
    if (!entry.Failure()) {
        if (!log.loadLogs.empty()) FailForLoadErrors(entry, log.loadLogs, log.lines);
        return;
    }
    entry.SetLogLines(std::move(log.lines));
    if (log.error) entry.SetErrorAt(Placed(*log.error, folder));
}

void BuildLogFile::FailForLoadErrors(clsVbp& entry, const std::vector<std::wstring>& loadLogs,
                                     const std::vector<std::wstring>& lines) {
    std::vector<std::wstring> shown;
    for (std::size_t i = 0; i < loadLogs.size(); ++i) {
        if (i > 0) shown.push_back(LoadErrorText(loadLogs[i]));
        if (const auto formLog = platform_.ReadFileBytes(loadLogs[i])) {
            for (auto& line : TextLines(*formLog, SystemAnsiCodec())) shown.push_back(std::move(line));
        }
    }
    shown.insert(shown.end(), lines.begin(), lines.end());
    entry.SetFailure(true);
    entry.SetFailureText(LoadErrorText(loadLogs.front()));
    entry.SetLogLines(std::move(shown));
}

// The compiler counts from the end of the file's header; the user opens the
// file at its own line, so the header is counted from the file itself.
SourceError BuildLogFile::Placed(SourceError error, const std::wstring& projectFolder) {
    error.path = ResolvePath(projectFolder, error.path);
    if (const auto source = platform_.ReadFileBytes(error.path)) {
        error.line = FileLineOf(error.line, *source);
    } else {
        error.message += kUnreadSourceNote;
    }
    return error;
}

}  // namespace tolvane
