#pragma once
// What a VB6 project file (.vbp) says about its build: its type and name,
// where the compiler puts its output, which files it compiles and what it
// references. The caller decodes the file's ANSI bytes.
#include <string>
#include <vector>

namespace tolvane {

enum class VbpType { Exe, OleDll, OleExe, Control };

struct VbpSource {
    std::wstring path;      // absolute
    bool companion = false; // a binary file beside a form or control: may be absent
};

struct VbpProject {
    VbpType type = VbpType::Exe;
    std::wstring name;
    std::wstring output;                  // absolute
    std::vector<VbpSource> sources;       // the project file itself not included
    std::vector<std::wstring> typeLibs;   // Reference= paths, absolute
    std::vector<std::wstring> controls;   // Object= control file names, as written
    std::vector<std::wstring> projects;   // *\A project references, absolute
    std::wstring compatible;              // CompatibleEXE32 when compatibility is on, absolute
};

// Reads the main section of a project file's text. vbpPath is the project
// file's full path; outFolder the common output folder (empty when none).
// Never fails: lines it does not know or cannot read are left out.
VbpProject ParseVbp(const std::wstring& text, const std::wstring& vbpPath, const std::wstring& outFolder);

}  // namespace tolvane
