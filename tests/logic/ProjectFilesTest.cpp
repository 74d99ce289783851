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

using Paths = std::vector<std::wstring>;

TEST(ProjectFiles, ProjectNamesItsOutputSourcesAndReferences) {
    const VbpProject p = ParseVbp(
        L"Type=OleDll\r\n"
        L"Reference=*\\G{00020430-0000-0000-C000-000000000046}#2.0#0#..\\..\\Windows\\stdole2.tlb#OLE Automation\r\n"
        L"Reference=*\\A..\\Core\\Core.vbp\r\nReference=*\\G{BAD}#1.0\r\n"
        L"Object={831FDD16-0C5C-11D2-A9FC-0000F8754DA1}#2.0#0; MSCOMCTL.OCX\r\nObject=*\\A..\\Ctl\\Ctl.vbp\r\n"
        L"Form=Main.frm\r\nModule=Tools; ..\\Shared\\Tools.bas\r\nClass=cThing; cThing.cls\r\nClass=Plain=1.cls\r\nUserControl=Grid.ctl\r\n"
        L"Designer=Report.Dsr\r\nPropertyPage=Page.pag\r\nUserDocument=Doc.dob\r\nResFile32=\"App.res\"\r\n"
        L"RelatedDoc=notes.htm\r\nName=\"Lib\"\r\nPath32=\"..\\bin\"\r\nCompatibleMode=\"2\"\r\n"
        L"CompatibleEXE32=\"..\\compat\\Lib.dll\"\r\n\r\n[MS Transaction Server]\r\nForm=NotInTheProject.frm\r\n",
        L"C:\\Src\\Lib\\Lib.vbp", L"");
    EXPECT_EQ(p.name, L"Lib");
    EXPECT_EQ(PathKey(L"C:\\Ｂｉｎ\\App.EXE"), L"c:\\ｂｉｎ\\app.exe");
    EXPECT_EQ(p.output, L"C:\\Src\\bin\\Lib.dll");
    std::wstring sources;  // companions marked with ?
    for (const auto& s : p.sources) sources += s.path.substr(7) + (s.companion ? L"? " : L" ");
    EXPECT_EQ(sources, L"Lib\\Main.frm Lib\\Main.frx? Shared\\Tools.bas Lib\\cThing.cls Lib\\Plain=1.cls Lib\\Grid.ctl Lib\\Grid.ctx? "
                       L"Lib\\Report.Dsr Lib\\Report.dsx? Lib\\Page.pag Lib\\Page.pgx? Lib\\Doc.dob Lib\\Doc.dox? "
                       L"Lib\\App.res ");
    EXPECT_EQ(p.typeLibs, Paths{L"C:\\Windows\\stdole2.tlb"});
    EXPECT_EQ(p.projects, (Paths{L"C:\\Src\\Core\\Core.vbp", L"C:\\Src\\Ctl\\Ctl.vbp"}));
    EXPECT_EQ(p.controls, Paths{L"MSCOMCTL.OCX"});
    EXPECT_EQ(p.compatible, L"C:\\Src\\compat\\Lib.dll");
}

TEST(ProjectFiles, OutputFollowsTheCompilersRules) {
    const std::tuple<const wchar_t*, const wchar_t*, const wchar_t*> cases[] = {
        {L"Type=Exe\r\nName=\"App\"\r\n", L"", L"C:\\Src\\App.exe"},
        {L"Type=OleExe\r\nName=\"Srv\"\r\n", L"", L"C:\\Src\\Srv.exe"},
        {L"Type=Control\nName=\"Ctl\"\n", L"", L"C:\\Src\\Ctl.ocx"},
        {L"Name=\"App\"\r\nExeName32=\"Tool.exe\"\r\nPath32=\"out\"\r\n", L"", L"C:\\Src\\out\\Tool.exe"},
        {L"Name=\"App\"\r\nPath32=\"..\\bin\"\r\n", L"D:\\Bin\\", L"D:\\Bin\\App.exe"},  // /outdir wins
        {L"", L"", L"C:\\Src\\Project1.exe"},
        {L"Name=\"A=B\"\r\n=x.dll\r\n", L"", L"C:\\Src\\A=B.exe"},  // '=' in a value; a line with no key
        {L"ExeName32=\"../../../x/a.exe\"", L"", L"C:\\x\\a.exe"},  // above the root stays at the root
        {L"ExeName32=\"\\\\srv\\s\\..\\A.EXE\"", L"", L"\\\\srv\\s\\A.EXE"},
        {L"Name=\"A\"\r\nPath32=\"\\:x\\..\"", L"", L"\\A.exe"},  // a rooted path: its colon is no drive
    };
    for (const auto& [text, outFolder, output] : cases) EXPECT_EQ(ParseVbp(text, L"C:\\Src\\App.vbp", outFolder).output, output);
    // Compatibility switched off: the compiler does not read the file.
    EXPECT_EQ(ParseVbp(L"CompatibleMode=\"0\"\r\nCompatibleEXE32=\"x.dll\"\r\n", L"C:\\Src\\App.vbp", L"").compatible, L"");
}

TEST(ProjectFiles, GroupListsItsProjectsInOrderWithTheStartupProject) {
    EXPECT_EQ(ParseVbg(L"VBGROUP 5.0\r\nProject=Lib\\Lib.vbp\r\nStartupProject=App\\App.vbp\r\n"
                       L"Project=D:\\Other\\Ctl.vbp\nProject=   \r\nproject=..\\Up.vbp\r\n",
                       L"C:\\Src\\All.vbg"),
              (Paths{L"C:\\Src\\Lib\\Lib.vbp", L"C:\\Src\\App\\App.vbp", L"D:\\Other\\Ctl.vbp", L"C:\\Up.vbp"}));
    EXPECT_TRUE(ParseVbg(L"garbage\r\n=\r\n", L"x.vbg").empty());
}

}  // namespace
}  // namespace tolvane
