// The project and group file readers: any bytes, decoded as Windows decodes
// them, give absolute paths already in their folded form; the common output
// folder changes the output alone; only the first section counts; the kind
// of line end does not matter. Stamping a run's values into the bytes
// changes the named keys of the first section and nothing else, and the
// record kept of the bytes gives them back exactly, or is refused whole.
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "WindowsCp932.h"
#include "engine/ProjectStamp.h"
#include "engine/StampJournal.h"
#include "engine/VbgGroup.h"
#include "engine/VbpProject.h"
#include "support/PathNames.h"

using namespace tolvane;

namespace {

const std::wstring kVbp = L"C:\\ｿｰｽ\\App\\App.vbp";
const std::wstring kOutFolder = L"D:\\出力 先\\";

// Absolute (drive or backslash root), and resolving it again changes nothing.
bool Folded(const std::wstring& path) {
    return !path.empty() && (path[0] == L'\\' || (path.size() >= 2 && path[1] == L':')) &&
           ResolvePath(L"", path) == path;
}

void RequireFolded(const std::vector<std::wstring>& paths, const char* property) {
    for (const auto& path : paths) fuzz::Require(Folded(path), property);
}

// Everything but the output, as one list of paths in order.
std::vector<std::wstring> Named(const VbpProject& p) {
    std::vector<std::wstring> all;
    for (const auto& source : p.sources) all.push_back((source.companion ? L"?" : L"") + source.path);
    all.insert(all.end(), p.typeLibs.begin(), p.typeLibs.end());
    all.push_back(L"|");
    all.insert(all.end(), p.controls.begin(), p.controls.end());
    all.push_back(L"|");
    all.insert(all.end(), p.projects.begin(), p.projects.end());
    all.push_back(p.compatible + L"|" + p.name + L"|" + std::to_wstring(static_cast<int>(p.type)));
    return all;
}

bool Same(const VbpProject& a, const VbpProject& b) { return a.output == b.output && Named(a) == Named(b); }

void CheckProject(const VbpProject& p) {
    fuzz::Require(Folded(p.output), "the output is an absolute, folded path");
    for (std::size_t i = 0; i < p.sources.size(); ++i) {
        const VbpSource& s = p.sources[i];
        fuzz::Require(Folded(s.path), "every source is an absolute, folded path");
        // A companion follows its form (or control...) and differs from it in the extension only.
        if (s.companion) {
            fuzz::Require(i > 0 && !p.sources[i - 1].companion, "a companion follows the file it belongs to");
            const std::wstring& owner = p.sources[i - 1].path;
            fuzz::Require(WithExtension(owner, s.path.substr(s.path.rfind(L'.') + 1)) == s.path,
                          "a companion is its file with another extension");
        }
    }
    RequireFolded(p.typeLibs, "every type library is an absolute, folded path");
    RequireFolded(p.projects, "every project reference is an absolute, folded path");
    if (!p.compatible.empty()) fuzz::Require(Folded(p.compatible), "the compatible file is an absolute, folded path");
}

void CheckOutFolder(const std::wstring& text, const VbpProject& p) {
    const VbpProject common = ParseVbp(text, kVbp, kOutFolder);
    fuzz::Require(Folded(common.output), "with /outdir the output is an absolute, folded path");
    fuzz::Require(Named(common) == Named(p), "/outdir changes nothing but the output");
}

void CheckSections(const std::wstring& text, const VbpProject& p) {
    fuzz::Require(Same(ParseVbp(text + L"\r\n[Fuzz]\r\nName=Other\r\nForm=Other.frm", kVbp, L""), p),
                  "lines after another section do not count");
}

void CheckGroup(const std::wstring& text) {
    const std::vector<std::wstring> projects = ParseVbg(text, L"C:\\ｿｰｽ\\All.vbg");
    RequireFolded(projects, "every group member is an absolute, folded path");
}

// The text with every line end written as a lone CR.
std::wstring WithCrOnly(std::wstring text) {
    std::wstring out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n') continue;
        out += text[i] == L'\n' ? L'\r' : text[i];
    }
    return out;
}

const std::vector<std::pair<std::string, std::string>> kSettings = {
    {"MajorVer", "2"}, {"MinorVer", "5"}, {"RevisionVer", "1234"}, {"AutoIncrementVer", "0"},
    {"VersionCompanyName", "Tolvane \x8f\xa4\x89\xef"}};

std::string LowerTrimmed(const std::string& text) {
    const auto b = text.find_first_not_of(" \t");
    std::string t = b == std::string::npos ? std::string() : text.substr(b, text.find_last_not_of(" \t") - b + 1);
    for (auto& c : t) c = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    return t;
}

// The text without the first section's lines of the settings' keys (a last
// line without a line end takes the line end before it along), and the
// values those lines hold.
std::string WithoutSettings(const std::string& text, std::map<std::string, std::set<std::string>>& values) {
    std::set<std::string> keys;
    for (const auto& [key, value] : kSettings) keys.insert(LowerTrimmed(key));
    std::string out;
    bool main = true;
    for (std::size_t at = 0; at < text.size();) {
        std::size_t end = text.find_first_of("\r\n", at);
        if (end == std::string::npos) end = text.size();
        std::size_t next = end;
        if (next < text.size()) next += (text[next] == '\r' && next + 1 < text.size() && text[next + 1] == '\n') ? 2 : 1;
        const std::string content = text.substr(at, end - at);
        if (!content.empty() && content[0] == '[') main = false;
        const auto eq = content.find('=');
        const std::string key = main && eq != std::string::npos ? LowerTrimmed(content.substr(0, eq)) : std::string();
        if (!keys.count(key)) {
            out += text.substr(at, next - at);
        } else {
            values[key].insert(content.substr(eq + 1));
            if (next == end && !out.empty() && out.back() == '\n') out.pop_back();
            if (next == end && !out.empty() && out.back() == '\r') out.pop_back();
        }
        at = next;
    }
    return out;
}

void CheckStamp(const std::string& bytes) {
    const std::string stamped = StampText(bytes, kSettings);
    std::map<std::string, std::set<std::string>> before, after;
    fuzz::Require(WithoutSettings(stamped, after) == WithoutSettings(bytes, before),
                  "stamping changes the lines of the named keys and nothing else");
    for (const auto& [key, value] : kSettings) {
        const std::string written = IsStringKey(std::wstring(key.begin(), key.end())) ? "\"" + value + "\"" : value;
        // Quoted where the compiler quotes the key, or where the line's old value was quoted.
        const auto& seen = after[LowerTrimmed(key)];
        fuzz::Require(!seen.empty(), "every named key is there");
        for (const auto& v : seen) {
            fuzz::Require(v == written || v == "\"" + value + "\"", "every named key holds the value given");
        }
    }
    fuzz::Require(StampText(stamped, kSettings) == stamped, "stamping twice changes nothing");

    // The record of the bytes gives them back; cut short or changed, it is refused.
    StampJournal kept{"C:\\\x83\x5c\\App.vbp", bytes.size() * 0x9E3779B97F4A7C15ull,
                      static_cast<std::uint32_t>(bytes.size()), bytes};
    const std::string record = EncodeJournal(kept);
    const auto back = DecodeJournal(record);
    fuzz::Require(back && back->original == bytes && back->project == kept.project && back->writeTime == kept.writeTime &&
                      back->attributes == kept.attributes,
                  "the record gives the bytes back");
    fuzz::Require(!DecodeJournal(record.substr(0, record.size() - 1 - bytes.size() % record.size())),
                  "a record cut short is refused");
    std::string damaged = record;
    damaged[bytes.size() % damaged.size()] ^= static_cast<char>(1 + bytes.size() % 255);
    fuzz::Require(!DecodeJournal(damaged), "a record with a byte changed is refused");
    DecodeJournal(bytes);  // any bytes read as a record: refused or read, never a fault
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // The planner reads both files as the system decodes ANSI bytes.
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    CheckStamp(bytes);
    const std::wstring text = fuzz::DecodeLikeWindows932(bytes);
    const VbpProject project = ParseVbp(text, kVbp, L"");
    CheckProject(project);
    CheckGroup(text);
    // Each input is read once more, for one of the relations (chosen by its
    // length): reading it for all of them would halve the inputs tried.
    switch (size % 3) {
    case 0: CheckOutFolder(text, project); break;
    case 1: CheckSections(text, project); break;
    default: {
        const std::wstring crOnly = WithCrOnly(text);
        fuzz::Require(Same(ParseVbp(crOnly, kVbp, L""), project), "CR, LF and CR LF end lines alike");
        fuzz::Require(ParseVbg(crOnly, L"C:\\a.vbg") == ParseVbg(text, L"C:\\a.vbg"), "and so they do in a group");
    }
    }
    return 0;
}
