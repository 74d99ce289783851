#pragma once
// Project files for the compiler stand-in (VBStandIn.exe): a VB6 project
// with the files it names, plus the stand-in's own steering lines.
#include <map>
#include <string>
#include <vector>

namespace tolvane::testing {

class StandInProject {
public:
    // The project file will be folder\fileName; the folder must exist.
    StandInProject(std::wstring folder, std::wstring fileName = L"App.vbp");

    StandInProject& Name(const std::wstring& name);
    // Empty: no ExeName32 line.
    StandInProject& ExeName(const std::wstring& exeName);
    // Form=<file>; the file is created unless `create` is false.
    StandInProject& Form(const std::wstring& file, bool create = true);
    // A form that is not there: the stand-in shows its error box.
    StandInProject& MissingForm(const std::wstring& file) { return Form(file, false); }
    // A steering line key=value (StandInDelayMs, StandInHang, StandInRecord, ...).
    StandInProject& Set(const std::wstring& key, const std::wstring& value);

    // Writes the project (ANSI code page, CR LF) and the files it names; returns its path.
    std::wstring Write() const;

    std::wstring Path() const;
    // Where a successful build puts its output: beside the project.
    std::wstring OutputPath() const;

private:
    std::wstring folder_, fileName_, name_ = L"Project1", exeName_ = L"Project1.exe";
    std::vector<std::wstring> lines_;
    std::vector<std::wstring> create_;
};

// The stand-in's output file, key by key (CommandLine, Project, OutDir, Constants);
// empty when the file is missing.
std::map<std::wstring, std::wstring> ReadStandInOutput(const std::wstring& path);

// The lines of a UTF-8 text file (the stand-in's StandInRecord file, for one).
std::vector<std::wstring> ReadUtf8Lines(const std::wstring& path);

}  // namespace tolvane::testing
