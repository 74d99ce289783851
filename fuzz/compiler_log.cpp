// The compiler's log and the source header: any bytes give lines without
// line ends or blank ones; a file and a line come only from the one form of
// compile error; the header is a prefix of the file's lines, and any prefix
// of it is a header of its own length.
#include <cstdint>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "WindowsCp932.h"
#include "engine/CompilerLog.h"
#include "engine/SourceHeader.h"

using namespace tolvane;

namespace {

const std::wstring kHead = L"Compile Error in File '";

void CheckLog(const std::string& bytes) {
    const CompilerLog log = ReadCompilerLog(bytes, fuzz::WindowsCp932Codec());
    fuzz::Require(log.lines.size() <= ByteLines(bytes).size(), "no more lines than the bytes hold");
    bool anyOfTheForm = false;
    for (const auto& line : log.lines) {
        fuzz::Require(line.find_first_of(L"\r\n") == std::wstring::npos, "a line holds no line end");
        fuzz::Require(line.find_first_not_of(L" \t\u3000") != std::wstring::npos, "no blank line is kept");
        const auto error = ParseCompileError(line);
        if (!error) continue;
        anyOfTheForm = true;
        fuzz::Require(line.compare(0, kHead.size(), kHead) == 0, "a place comes only from the one form");
        fuzz::Require(!error->path.empty() && line.find(L"', Line ") != std::wstring::npos, "with a file");
        fuzz::Require(error->line >= 0 && error->line < 1000000000, "and a line of at most nine digits");
    }
    fuzz::Require(anyOfTheForm == log.error.has_value(), "the first line of the form gives the place");
}

void CheckHeader(const std::string& bytes) {
    const std::vector<std::string> lines = ByteLines(bytes);
    const std::int64_t header = HeaderLineCount(bytes);
    fuzz::Require(header >= 0 && header <= static_cast<std::int64_t>(lines.size()), "the header is within the file");
    fuzz::Require(FileLineOf(0, bytes) == header + 1, "the compiler's first line follows the header");
    std::string prefix;
    for (std::int64_t i = 0; i < header; ++i) prefix += lines[static_cast<std::size_t>(i)] + "\r\n";
    fuzz::Require(HeaderLineCount(prefix) == header, "the header alone is all header");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    CheckLog(bytes);
    CheckHeader(bytes);
    return 0;
}
