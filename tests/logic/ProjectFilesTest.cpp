// What the planner reads from project and group files: outputs where the
// compiler puts them, sources with their binary companions, references.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/VbgGroup.h"
#include "engine/VbpProject.h"
#include "support/PathNames.h"

namespace tolvane {
namespace {

TEST(ProjectFiles, PathsResolveAgainstTheFileFolder) {
    const std::pair<const wchar_t*, const wchar_t*> cases[] = {
        {L"Form1.frm", L"C:\\Src\\App\\Form1.frm"},   {L"..\\Lib\\Lib.vbp", L"C:\\Src\\Lib\\Lib.vbp"},
        {L".\\a\\.\\b.bas", L"C:\\Src\\App\\a\\b.bas"}, {L"../../../../x.tlb", L"C:\\x.tlb"},
        {L"D:\\Bin\\A.dll", L"D:\\Bin\\A.dll"},        {L"\\\\srv\\share\\..\\x.ocx", L"\\\\srv\\share\\x.ocx"},
        {L"\\Windows\\x.tlb", L"\\Windows\\x.tlb"},
    };
    for (const auto& [path, expected] : cases) EXPECT_EQ(ResolvePath(L"C:\\Src\\App\\", path), expected) << path;
    EXPECT_EQ(PathKey(L"C:\\Ｂｉｎ\\App.EXE"), L"c:\\ｂｉｎ\\app.exe");
}

TEST(ProjectFiles, ProjectNamesItsOutputSourcesAndReferences) {
    const std::wstring text =
        L"Type=OleDll\r\n"
        L"Reference=*\\G{00020430-0000-0000-C000-000000000046}#2.0#0#..\\..\\Windows\\stdole2.tlb#OLE Automation\r\n"
        L"Reference=*\\A..\\Core\\Core.vbp\r\n"
        L"Reference=*\\G{BAD}#1.0\r\n"
        L"Object={831FDD16-0C5C-11D2-A9FC-0000F8754DA1}#2.0#0; MSCOMCTL.OCX\r\n"
        L"Object=*\\A..\\Ctl\\Ctl.vbp\r\n"
        L"Form=Main.frm\r\nModule=Tools; ..\\Shared\\Tools.bas\r\nClass=cThing; cThing.cls\r\n"
        L"UserControl=Grid.ctl\r\nDesigner=Report.Dsr\r\nPropertyPage=Page.pag\r\nUserDocument=Doc.dob\r\n"
        L"ResFile32=\"App.res\"\r\nRelatedDoc=notes.htm\r\n"
        L"Name=\"Lib\"\r\nPath32=\"..\\bin\"\r\nCompatibleMode=\"2\"\r\nCompatibleEXE32=\"..\\compat\\Lib.dll\"\r\n"
        L"\r\n[MS Transaction Server]\r\nForm=NotInTheProject.frm\r\n";
    const VbpProject p = ParseVbp(text, L"C:\\Src\\Lib\\Lib.vbp", L"");
    EXPECT_EQ(p.type, VbpType::OleDll);
    EXPECT_EQ(p.name, L"Lib");
    EXPECT_EQ(p.output, L"C:\\Src\\bin\\Lib.dll");
    std::vector<std::wstring> sources;
    for (const auto& s : p.sources) sources.push_back(s.path + (s.companion ? L"?" : L""));
    EXPECT_EQ(sources, (std::vector<std::wstring>{
                           L"C:\\Src\\Lib\\Main.frm", L"C:\\Src\\Lib\\Main.frx?", L"C:\\Src\\Shared\\Tools.bas",
                           L"C:\\Src\\Lib\\cThing.cls", L"C:\\Src\\Lib\\Grid.ctl", L"C:\\Src\\Lib\\Grid.ctx?",
                           L"C:\\Src\\Lib\\Report.Dsr", L"C:\\Src\\Lib\\Report.dsx?", L"C:\\Src\\Lib\\Page.pag",
                           L"C:\\Src\\Lib\\Page.pgx?", L"C:\\Src\\Lib\\Doc.dob", L"C:\\Src\\Lib\\Doc.dox?",
                           L"C:\\Src\\Lib\\App.res"}));
    EXPECT_EQ(p.typeLibs, (std::vector<std::wstring>{L"C:\\Windows\\stdole2.tlb"}));
    EXPECT_EQ(p.projects, (std::vector<std::wstring>{L"C:\\Src\\Core\\Core.vbp", L"C:\\Src\\Ctl\\Ctl.vbp"}));
    EXPECT_EQ(p.controls, (std::vector<std::wstring>{L"MSCOMCTL.OCX"}));
    EXPECT_EQ(p.compatible, L"C:\\Src\\compat\\Lib.dll");
}

TEST(ProjectFiles, OutputFollowsTheCompilersRules) {
    struct Case {
        const wchar_t* text;
        const wchar_t* outFolder;
        const wchar_t* output;
    };
    const Case cases[] = {
        {L"Type=Exe\r\nName=\"App\"\r\n", L"", L"C:\\Src\\App.exe"},
        {L"Type=OleExe\r\nName=\"Srv\"\r\n", L"", L"C:\\Src\\Srv.exe"},
        {L"Type=Control\nName=\"Ctl\"\n", L"", L"C:\\Src\\Ctl.ocx"},
        {L"Name=\"App\"\r\nExeName32=\"Tool.exe\"\r\nPath32=\"out\"\r\n", L"", L"C:\\Src\\out\\Tool.exe"},
        {L"Name=\"App\"\r\nPath32=\"..\\bin\"\r\n", L"D:\\Bin\\", L"D:\\Bin\\App.exe"},  // /outdir wins
        {L"ExeName32=Plain.dll\r\nType=OleDll\r\n", L"", L"C:\\Src\\Plain.dll"},
        {L"", L"", L"C:\\Src\\Project1.exe"},
    };
    for (const auto& c : cases) EXPECT_EQ(ParseVbp(c.text, L"C:\\Src\\App.vbp", c.outFolder).output, c.output) << c.text;
    // Compatibility switched off: the compiler does not read the file.
    EXPECT_EQ(ParseVbp(L"CompatibleMode=\"0\"\r\nCompatibleEXE32=\"x.dll\"\r\n", L"C:\\Src\\App.vbp", L"").compatible, L"");
}

TEST(ProjectFiles, OddInputNeverFails) {
    for (const wchar_t* text : {L"=\r\n==\r\nForm=\r\nModule=OnlyAName\r\nReference=*\\A\r\nObject=;\r\nType",
                                L"\xFFFF=\x0001\r\n[\r\nForm=x.frm", L"Name=\"\r\nExeName32=\"\r\nPath32=..\\..\\..\\..\\.."}) {
        for (const wchar_t* vbp : {L"C:\\a.vbp", L"a.vbp", L""}) {
            const VbpProject p = ParseVbp(text, vbp, L"");
            for (const auto& s : p.sources) EXPECT_FALSE(s.path.empty());
            EXPECT_TRUE(p.projects.empty());
        }
    }
}

TEST(ProjectFiles, GroupListsItsProjectsInOrderWithTheStartupProject) {
    const std::wstring text = L"VBGROUP 5.0\r\nProject=Lib\\Lib.vbp\r\nStartupProject=App\\App.vbp\r\n"
                              L"Project=D:\\Other\\Ctl.vbp\nProject=   \r\nproject=..\\Up.vbp\r\n";
    EXPECT_EQ(ParseVbg(text, L"C:\\Src\\All.vbg"),
              (std::vector<std::wstring>{L"C:\\Src\\Lib\\Lib.vbp", L"C:\\Src\\App\\App.vbp", L"D:\\Other\\Ctl.vbp",
                                         L"C:\\Up.vbp"}));
    EXPECT_TRUE(ParseVbg(L"garbage\r\n=\r\n", L"x.vbg").empty());
}

}  // namespace
}  // namespace tolvane
