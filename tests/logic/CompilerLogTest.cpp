// The compiler's own log and the source header it counts lines after: what
// is shown, which line names a file and a line, and the file's own line.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/CompilerLog.h"
#include "engine/SourceHeader.h"

namespace tolvane {
namespace {

std::string Ansi(const std::wstring& text) { return *SystemAnsiCodec().Encode(text); }

TEST(CompilerLog, KeepsEveryLineButBlankOnesAndTheClosingVerdict) {
    const struct {
        std::wstring bytes;
        std::size_t shown;       // lines kept
        std::wstring errorPath;  // empty: no compile error
        std::int64_t errorLine;
        std::vector<std::wstring> loadLogs;
    } cases[] = {
        {L"\r\nCompile Error in File 'C:\\S\\Module1.bas', Line 4 : Syntax error\r\nBuild of 'App.exe' failed.\r\n", 1,
         L"C:\\S\\Module1.bas", 4, {}},
        // Localized messages, LF or CR alone, a missing file, a control: shown as they stand.
        {L"ファイル 'x.cls' が見つかりません\nFile not found: 'cCommonDialog.cls'\r\r\n  \r\n'C:\\NOPE.OCX' could not be loaded", 3,
         L"", 0, {}},
        // The verdict goes only as the last line; a form log named in any language.
        {L"Errors during load. Refer to 'C:\\S\\Form1.log' for details\r\nBuild of 'X.exe' succeeded.\r\n"
         L"Errores durante la carga. Consulte 'Form2.LOG'\r\n",
         3, L"", 0, {L"C:\\S\\Form1.log", L"Form2.LOG"}},
        // Near misses of the one form name no place; the first real one counts.
        {L"Compile Error in File '', Line 4 : x\r\nCompile Error in File 'a.bas', Line : x\r\n"
         L"Compile Error in File 'a.bas', Line 4: x\r\ncompile error in file 'a.bas', Line 4 : x\r\n"
         L"Compile Error in File 'b.frm', Line 12 : Variable not defined\r\nCompile Error in File 'c.frm', Line 1 : 2\r\n",
         6, L"b.frm", 12, {}},
        {L"", 0, L"", 0, {}},
    };
    for (const auto& c : cases) {
        const CompilerLog log = ReadCompilerLog(Ansi(c.bytes), SystemAnsiCodec());
        EXPECT_EQ(log.lines.size(), c.shown) << c.bytes;
        EXPECT_EQ(log.loadLogs, c.loadLogs) << c.bytes;
        ASSERT_EQ(log.error.has_value(), !c.errorPath.empty()) << c.bytes;
        if (!log.error) continue;
        EXPECT_EQ(log.error->path, c.errorPath);
        EXPECT_EQ(log.error->line, c.errorLine);
    }
    EXPECT_EQ(ReadCompilerLog(Ansi(cases[1].bytes), SystemAnsiCodec()).lines,
              (std::vector<std::wstring>{L"ファイル 'x.cls' が見つかりません", L"File not found: 'cCommonDialog.cls'",
                                         L"'C:\\NOPE.OCX' could not be loaded"}));
    const auto error = ParseCompileError(L"Compile Error in File 'C:\\a b\\M.bas', Line 0 : 型が一致しません。 : 2");
    ASSERT_TRUE(error);
    EXPECT_EQ(error->message, L"型が一致しません。 : 2");
    EXPECT_FALSE(ParseCompileError(L"Compile Error in File 'M.bas', Line 1234567890 : too long"));
}

TEST(SourceHeader, TheFilesOwnLineCountsTheHeaderFromTheFile) {
    const struct {
        const char* name;
        std::string text;
        std::int64_t header;
    } cases[] = {
        {"bas", "Attribute VB_Name = \"Module1\"\r\nOption Explicit\r\nSub Main()\r\n", 1},
        {"cls",
         "VERSION 1.0 CLASS\r\nBEGIN\r\n  MultiUse = -1  'True\r\n  Persistable = 0\r\nEND\r\n"
         "Attribute VB_Name = \"Class1\"\r\nAttribute VB_Exposed = False\r\nOption Explicit\r\nEnd Sub\r\n",
         7},
        {"frm with designer block",
         "VERSION 5.00\r\nObject = \"{831FDD16-0C5C-11D2-A9FC-0000F8754DA1}#2.0#0\"; \"MSCOMCTL.OCX\"\r\n"
         "Begin VB.Form Form1 \r\n   Caption = \"Form1\"\r\n   Begin VB.CommandButton Command1 \r\n"
         "      BeginProperty Font \r\n         Name = \"MS UI Gothic\"\r\n      EndProperty\r\n   End\r\nEnd\r\n"
         "Attribute VB_Name = \"Form1\"\r\nAttribute VB_Creatable = False\r\nPrivate Sub Form_Load()\r\nEnd\r\n",
         12},
        {"no header", "Option Explicit\r\n", 0},
        {"a block never closed", "VERSION 5.00\r\nBegin VB.Form F\r\nSub X()\r\n", 3},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(HeaderLineCount(c.text), c.header) << c.name;
        EXPECT_EQ(FileLineOf(3, c.text), c.header + 4) << c.name;
    }
}

}  // namespace
}  // namespace tolvane
