#include "engine/CompilerLog.h"

#include "support/PathNames.h"

namespace tolvane {

namespace {

bool IsBlankLine(const std::wstring& line) {
    for (wchar_t c : line)
        if (c != L' ' && c != L'\t' && c != 0x3000) return false;
    return true;
}

bool StartsWith(const std::wstring& text, const std::wstring& prefix) { return text.compare(0, prefix.size(), prefix) == 0; }

bool EndsWithLogName(const std::wstring& quoted) { return quoted.size() > 4 && HasExtension(quoted, L"log"); }

// Compilers of every language put the form log's path in single quotes, and
// a build's output is never a .log: such a quoted path marks a load error.
std::optional<std::wstring> LoadLogNamed(const std::wstring& line) {
    for (std::size_t open = line.find(L'\''); open != std::wstring::npos;) {
        const std::size_t close = line.find(L'\'', open + 1);
        if (close == std::wstring::npos) return std::nullopt;
        const std::wstring quoted = line.substr(open + 1, close - open - 1);
        if (EndsWithLogName(quoted)) return quoted;
        open = line.find(L'\'', close + 1);
    }
    return std::nullopt;
}

}  // namespace

std::vector<std::string> ByteLines(const std::string& bytes) {
    std::vector<std::string> lines;
    std::string line;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (c != '\r' && c != '\n') {
            line += c;
            continue;
        }
        if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
        lines.push_back(std::move(line));
        line.clear();
    }
    if (!line.empty()) lines.push_back(std::move(line));
    return lines;
}

std::vector<std::wstring> TextLines(const std::string& bytes, const AnsiCodec& codec) {
    std::vector<std::wstring> lines;
    for (const auto& raw : ByteLines(bytes)) {
        std::wstring line = codec.Decode(raw);
        if (!IsBlankLine(line)) lines.push_back(std::move(line));
    }
    return lines;
}

CompilerLog ReadCompilerLog(const std::string& bytes, const AnsiCodec& codec) {
    CompilerLog log;
    log.lines = TextLines(bytes, codec);
    // The closing verdict says nothing the run does not show already; in
    // another language it stays.
    if (!log.lines.empty() && StartsWith(log.lines.back(), L"Build of '")) log.lines.pop_back();
    for (const auto& line : log.lines) {
        if (const auto error = ParseCompileError(line)) {
            if (!log.error) log.error = error;
        } else if (const auto named = LoadLogNamed(line)) {
            log.loadLogs.push_back(*named);
        }
    }
    return log;
}

std::optional<SourceError> ParseCompileError(const std::wstring& line) {
    static const std::wstring kHead = L"Compile Error in File '";
    static const std::wstring kLine = L"', Line ";
    static const std::wstring kColon = L" : ";
    if (!StartsWith(line, kHead)) return std::nullopt;
    const std::size_t pathEnd = line.find(kLine, kHead.size());
    if (pathEnd == std::wstring::npos || pathEnd == kHead.size()) return std::nullopt;
    std::size_t i = pathEnd + kLine.size();
    const std::size_t digits = i;
    std::int64_t number = 0;
    while (i < line.size() && line[i] >= L'0' && line[i] <= L'9' && i - digits < 9) number = number * 10 + (line[i++] - L'0');
    if (i == digits || line.compare(i, kColon.size(), kColon) != 0) return std::nullopt;
    SourceError error;
    error.path = line.substr(kHead.size(), pathEnd - kHead.size());
    error.line = number;
    error.message = line.substr(i + kColon.size());
    return error;
}

}  // namespace tolvane
