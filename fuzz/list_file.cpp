// The list-file reader: any bytes give entries with a path; saved and reopened,
// the entries come back the same, in order, with their marks.
#include <cstdint>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "WindowsCp932.h"
#include "engine/CompileListFile.h"
#include "support/AnsiCodec.h"
#include "support/Paths.h"

using namespace tolvane;

namespace {

// The reader needs no platform; the engine is only asked to hold entries.
class NoPlatform : public RunPlatform {
public:
    bool FileExists(const std::wstring&) override { return false; }
    bool PathExists(const std::wstring&) override { return false; }
    void DoEvents() override {}
    std::wstring NowText() override { return std::wstring(); }
    std::unique_ptr<CompilerProcess> StartCompiler(const std::wstring&, const std::wstring&) override { return nullptr; }
    std::wstring NewCompilerLogPath() override { return std::wstring(); }
    std::optional<std::string> ReadFileBytes(const std::wstring&) override { return std::nullopt; }
    void RemoveFile(const std::wstring&) override {}
};

// What the program reads on Windows: the file decoded as the platform does.
std::vector<ListLine> Read(const std::string& bytes) { return ParseCompileList(bytes, fuzz::WindowsCp932Codec()); }

// Lines split at CR LF, CR or LF and fields at TAB on the raw bytes, each
// field decoded alone: a damaged character then costs its own field only.
std::vector<ListLine> ReadRawFirst(const std::string& bytes) {
    std::vector<ListLine> lines;
    for (std::size_t start = 0; start < bytes.size();) {
        std::size_t end = bytes.find_first_of("\r\n", start);
        if (end == std::string::npos) end = bytes.size();
        const std::string line = bytes.substr(start, end - start);
        start = end + (bytes.compare(end, 2, "\r\n") == 0 ? 2 : 1);
        const std::size_t tab = line.find('\t');
        if (tab == std::string::npos) continue;
        const std::size_t next = line.find('\t', tab + 1);
        ListLine entry;
        entry.path = fuzz::DecodeLikeWindows932(line.substr(tab + 1, next == std::string::npos ? next : next - tab - 1));
        if (IsBlank(entry.path)) continue;
        entry.mark = ParseCheckMark(fuzz::DecodeLikeWindows932(line.substr(0, tab)));
        lines.push_back(entry);
    }
    return lines;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const std::vector<ListLine> lines = Read(bytes);

    NoPlatform platform;
    clsTolvane engine(platform);
    for (const ListLine& line : lines) {
        fuzz::Require(!IsBlank(line.path), "a read entry has a path");
        fuzz::Require(line.path.find_first_of(L"\r\n\t") == std::wstring::npos, "no line end or tab in a path");
        engine.addVbp(line.path, line.mark);
    }

    // Saved as the program saves (it refuses a list the code page cannot hold).
    const auto saved = SystemAnsiCodec().Encode(FormatCompileList(engine) + L"\r\n");
    if (saved) {
        const std::string& file = *saved;
        fuzz::Require(engine.Count() == 0 ? file == "\r\n" : file.size() >= 4 && file.compare(file.size() - 4, 4, "\r\n\r\n") == 0,
                      "a saved list ends in one empty line");
        const std::vector<ListLine> again = Read(file);
        fuzz::Require(again.size() == static_cast<std::size_t>(engine.Count()), "reopened: as many entries");
        for (std::size_t i = 0; i < again.size(); ++i) {
            const clsVbp& entry = engine.Entry(static_cast<std::int32_t>(i + 1));
            fuzz::Require(TrimSpaces(again[i].path) == entry.Vbp(), "reopened: the same path");
            fuzz::Require(again[i].mark == entry.Action(), "reopened: the same mark");
        }
    }

    // Lines and fields are split on the raw bytes: a lone LF ends a line, and a
    // damaged double-byte character cannot swallow the CR or TAB after it.
    const std::vector<ListLine> expected = ReadRawFirst(bytes);
    fuzz::Require(expected.size() == lines.size(), "split on the raw bytes: as many entries");
    for (std::size_t i = 0; i < lines.size(); ++i) {
        fuzz::Require(expected[i].path == lines[i].path && expected[i].mark == lines[i].mark,
                      "split on the raw bytes: the same entries");
    }
    return 0;
}
