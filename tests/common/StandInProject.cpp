#include "common/StandInProject.h"

#include <stdexcept>

#include "common/TextFiles.h"

namespace tolvane::testing {

std::wstring StandInProject::Write() const {
    std::wstring text = L"Type=Exe\r\nReference=*\\G{00020430-0000-0000-C000-000000000046}#2.0#0#stdole2.tlb#OLE Automation\r\n";
    for (const auto& line : lines_) text += line + L"\r\n";
    text += L"Startup=\"Form1\"\r\nName=\"" + name_ + L"\"\r\n";
    if (!exeName_.empty()) text += L"ExeName32=\"" + exeName_ + L"\"\r\n";
    auto ansi = ToAnsi(text);
    if (!ansi) throw std::runtime_error("project text does not fit the ANSI code page");
    if (!WriteBytes(Path(), *ansi)) throw std::runtime_error("cannot write the project file");
    for (const auto& file : create_)
        if (!WriteBytes(folder_ + L"\\" + file, "VERSION 5.00\r\n")) throw std::runtime_error("cannot write a source file");
    return Path();
}

std::vector<std::wstring> ReadUtf8Lines(const std::wstring& path) {
    auto lines = SplitLines(FromUtf8(ReadBytes(path).value_or("")));
    if (lines.back().empty()) lines.pop_back();  // nothing after the last line end
    return lines;
}

std::map<std::wstring, std::wstring> ReadStandInOutput(const std::wstring& path) {
    std::map<std::wstring, std::wstring> out;
    for (const auto& line : ReadUtf8Lines(path)) {
        size_t eq = line.find(L'=');
        if (eq != std::wstring::npos) out[line.substr(0, eq)] = line.substr(eq + 1);
    }
    return out;
}

}  // namespace tolvane::testing
