#pragma once
// Project files for the compiler stand-in (VBStandIn.exe): a VB6 project
// with the files it names, plus the stand-in's own steering lines.
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace tolvane::testing {

class StandInProject {
public:
    // The project file will be folder\fileName; the folder must exist.
    StandInProject(std::wstring folder, std::wstring fileName = L"App.vbp")
        : folder_(std::move(folder)), fileName_(std::move(fileName)) {}

    StandInProject& Name(const std::wstring& name) {
        name_ = name;
        return *this;
    }
    // Empty: no ExeName32 line.
    StandInProject& ExeName(const std::wstring& exeName) {
        exeName_ = exeName;
        return *this;
    }
    // Form=<file>; the file is created unless `create` is false.
    StandInProject& Form(const std::wstring& file, bool create = true) {
        if (create) create_.push_back(file);
        return Set(L"Form", file);
    }
    // A form that is not there: the stand-in shows its error box.
    StandInProject& MissingForm(const std::wstring& file) { return Form(file, false); }
    // A steering line key=value (StandInDelayMs, StandInHang, StandInRecord, ...).
    StandInProject& Set(const std::wstring& key, const std::wstring& value) {
        lines_.push_back(key + L"=" + value);
        return *this;
    }

    // Writes the project (ANSI code page, CR LF) and the files it names; returns its path.
    std::wstring Write() const;

    std::wstring Path() const { return folder_ + L"\\" + fileName_; }
    // Where a successful build puts its output: beside the project.
    std::wstring OutputPath() const { return folder_ + L"\\" + exeName_; }

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
