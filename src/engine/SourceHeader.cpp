#include "engine/SourceHeader.h"

#include <vector>

#include "engine/CompilerLog.h"

namespace tolvane {

namespace {

std::string Trimmed(const std::string& line) {
    const std::size_t b = line.find_first_not_of(" \t");
    if (b == std::string::npos) return std::string();
    return line.substr(b, line.find_last_not_of(" \t") - b + 1);
}

// The keywords are ASCII in every language's files; letter case varies
// (a class writes BEGIN and END).
bool IsWord(const std::string& line, const char* word) {
    std::size_t i = 0;
    for (; word[i]; ++i) {
        if (i >= line.size()) return false;
        char c = line[i];
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
        if (c != word[i]) return false;
    }
    return i == line.size() || line[i] == ' ' || line[i] == '\t' || line[i] == '=';
}

}  // namespace

std::int64_t HeaderLineCount(const std::string& bytes) {
    const std::vector<std::string> lines = ByteLines(bytes);
    std::int64_t count = 0;
    int depth = 0;
    for (const auto& raw : lines) {
        const std::string line = Trimmed(raw);
        if (IsWord(line, "BEGIN")) {
            ++depth;
        } else if (depth > 0) {
            if (IsWord(line, "END") && line.size() == 3) --depth;
        } else if (!IsWord(line, "VERSION") && !IsWord(line, "OBJECT") && !IsWord(line, "ATTRIBUTE")) {
            break;
        }
        ++count;
    }
    return count;
}

std::int64_t FileLineOf(std::int64_t compilerLine, const std::string& bytes) {
    return HeaderLineCount(bytes) + compilerLine + 1;
}

}  // namespace tolvane
