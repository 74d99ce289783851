#pragma once
// Pieces the whole-program scenarios share: stand-in projects in a program
// folder, compile-list files, and what the log's lines look like.
#include <gtest/gtest.h>
#include <windows.h>
// After windows.h, which it needs.
#include <tlhelp32.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "ChildProcess.h"
#include "ProgramDriver.h"
#include "Screenshot.h"
#include "StandInProject.h"
#include "TextFiles.h"
#include "ui/dialogs/MessageBoxBase.h"
#include "ui/chooser/frmDialogBox.h"
#include "ui/main/MainIds.h"

namespace tolvane::testing {

namespace ids = main_ids;

// Line colours of the message boxes as they reach the screen.
constexpr COLORREF kRedText = RGB(255, 0, 0);
constexpr COLORREF kNavyText = RGB(0, 0, 128);

// True once the box's line (0 or 1) shows pixels of this colour on screen.
inline bool LineShows(HWND box, int line, COLORREF colour) {
    BringToFront(box);  // nothing else's window may cover it
    HWND label = Child(box, line == 0 ? MessageBoxBase::lblMessage0 : MessageBoxBase::lblMessage1);
    return WaitUntil([&] { return CountScreenPixels(label, colour) > 0; }, 10s);
}

// The box of this class once shown, its lines, answered (with OK unless told).
inline BoxLines Answered(RunningProgram& program, const wchar_t* boxClass = kWarningBoxClass,
                         int button = MessageBoxBase::cmdOK) {
    HWND box = program.WaitForClass(boxClass);
    if (!box) return {L"(no box)", L""};
    const BoxLines lines = LinesOf(box);
    EXPECT_TRUE(Answer(box, button));
    return lines;
}

inline void ExpectBox(RunningProgram& program, const wchar_t* boxClass, const std::wstring& line1,
                      const std::wstring& line2, int button = MessageBoxBase::cmdOK) {
    const BoxLines lines = Answered(program, boxClass, button);
    EXPECT_EQ(lines.line1, line1);
    EXPECT_EQ(lines.line2, line2);
}

// A window of another program (this test's own), brought to the front so that
// none of Tolvane's windows is active.
struct OtherProgramWindow {
    OtherProgramWindow()
        : hwnd(CreateWindowExW(0, L"STATIC", L"他のプログラム", WS_POPUP | WS_VISIBLE | WS_BORDER, 900, 700, 200, 100,
                               nullptr, nullptr, GetModuleHandleW(nullptr), nullptr)) {
        BringToFront(hwnd);
    }
    ~OtherProgramWindow() { DestroyWindow(hwnd); }
    OtherProgramWindow(const OtherProgramWindow&) = delete;
    OtherProgramWindow& operator=(const OtherProgramWindow&) = delete;
    const HWND hwnd;
};

inline const std::wstring kStarted = L"ｺﾝﾊﾟｲﾙ開始";
inline const std::wstring kEnded = L"ｺﾝﾊﾟｲﾙ終了";
inline const std::wstring kFailed = L"ｺﾝﾊﾟｲﾙ失敗";
inline const std::wstring kRule(42, L'=');

// The list as it shows: each item's name after + when checked, - when not.
inline std::wstring Marks(const std::vector<ListItem>& items) {
    std::wstring out;
    for (const auto& item : items) out += (item.checked ? L"+" : L"-") + item.text + L" ";
    return out;
}

// True once the list shows these marks (as Marks gives them).
inline bool ListShows(const RunningProgram& program, const std::wstring& marks) {
    return WaitUntil([&] { return Marks(program.Items()) == marks; }, 20s);
}

// One stand-in project in its own folder below the program folder.
struct Project {
    std::wstring file;     // the project's file name, as the list shows it
    std::wstring path;     // full path
    std::wstring output;   // what a successful build writes
    std::wstring missing;  // the file whose absence fails the build ("" when none)
};

struct ProjectPlan {
    std::wstring folder;  // below the program folder
    std::wstring name;    // project name; the file is name + ".vbp"
    bool broken = false;  // names a form that is not there
    int delayMs = 0;      // the build takes at least this long
    bool hang = false;    // the build never ends
    std::vector<std::pair<std::wstring, std::wstring>> steer = {};  // further stand-in lines
};

// record: a file every build appends its command line to ("" for none).
inline Project MakeProject(const ProgramFolder& program, const ProjectPlan& plan, const std::wstring& record) {
    const std::wstring folder = program.Folder(plan.folder);
    StandInProject project(folder, plan.name + L".vbp");
    project.Name(plan.name).ExeName(plan.name + L".exe").Form(L"frmMain.frm");
    if (plan.broken) project.MissingForm(L"frmLost.frm");
    if (plan.delayMs > 0) project.Set(L"StandInDelayMs", std::to_wstring(plan.delayMs));
    if (plan.hang) project.Set(L"StandInHang", L"1");
    for (const auto& [key, value] : plan.steer) project.Set(key, value);
    if (!record.empty()) project.Set(L"StandInRecord", record);
    Project made;
    made.file = plan.name + L".vbp";
    made.path = project.Write();
    made.output = project.OutputPath();
    if (plan.broken) made.missing = folder + L"\\frmLost.frm";
    return made;
}

// A compile-list file as the program writes one: mark, tab, path, CR LF each,
// then one empty line; in the ANSI code page.
inline void WriteList(const std::wstring& path, const std::vector<std::pair<bool, std::wstring>>& entries) {
    std::wstring text;
    for (const auto& [checked, project] : entries) text += (checked ? L"True\t" : L"False\t") + project + L"\r\n";
    text += L"\r\n";
    const auto bytes = ToAnsi(text);
    ASSERT_TRUE(bytes.has_value());
    ASSERT_TRUE(WriteBytes(path, *bytes));
}

// Each project's path, every one checked.
inline std::vector<std::pair<bool, std::wstring>> AllChecked(const std::vector<Project>& projects) {
    std::vector<std::pair<bool, std::wstring>> entries;
    for (const auto& p : projects) entries.emplace_back(true, p.path);
    return entries;
}

// A compile list beside the program, and the Tolvane.ini that names the
// stand-in and reopens the list at start, with these further keys. The list's path.
inline std::wstring ListedAtStart(const ProgramFolder& program, const std::wstring& name,
                                  const std::vector<std::pair<bool, std::wstring>>& entries,
                                  std::vector<std::pair<std::wstring, std::wstring>> keys = {}) {
    const std::wstring list = program.File(name);
    WriteList(list, entries);
    keys.insert(keys.begin(), {{L"EXE", StandInExe()}, {L"PREV_List", list}});
    program.WriteIni(L"Tolvane.ini", keys);
    return list;
}

// A menu command and the dialog it opens, found by caption (nullptr when none shows).
inline HWND Opened(const RunningProgram& tolvane, int command, const std::wstring& caption) {
    tolvane.Command(command);
    return tolvane.WaitForCaption(caption);
}

inline bool IsFolder(const std::wstring& path) {
    const DWORD a = GetFileAttributesW(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

// Text in the ANSI code page, as the program writes its files; a marker no
// file holds when the text does not fit.
inline std::string Ansi(const std::wstring& text) {
    const auto bytes = ToAnsi(text);
    return bytes ? *bytes : std::string("\x01unencodable");
}

// Log lines with their times masked: a progress line's time (before its tab)
// and a summary line's time (after its label) become T.
inline std::vector<std::wstring> Masked(std::vector<std::wstring> lines) {
    for (auto& line : lines) {
        const auto tab = line.find(L'\t');
        if (tab != std::wstring::npos && tab > 0) line = L"T" + line.substr(tab);
        if (line.size() > 5 && line[4] == L'：') line = line.substr(0, 5) + L"T";
    }
    return lines;
}

// A progress line as Masked shows it: T, a tab, the project's file name, three blanks, the status.
inline std::wstring Progress(const Project& project, const std::wstring& status) {
    return L"T\t" + project.file + L"   " + status;
}

// The lines under a project's failure line, up to the empty line.
inline std::vector<std::wstring> UnderFailure(const std::vector<std::wstring>& out, const Project& project) {
    const std::vector<std::wstring> masked = Masked(out);
    auto it = std::find(masked.begin(), masked.end(), Progress(project, kFailed));
    std::vector<std::wstring> under;
    if (it == masked.end()) return {L"(no failure line)"};
    for (++it; it != masked.end() && !it->empty(); ++it) under.push_back(*it);
    return under;
}

// Runs with F12's command and answers the closing notice. The first line of
// the notice, and the progress lines the run added to the log ("file status").
inline std::pair<std::wstring, std::vector<std::wstring>> RunToTheEnd(RunningProgram& tolvane) {
    const std::size_t before = tolvane.LogLines().size();
    tolvane.Command(ids::mnuCompile);
    const std::wstring line1 = Answered(tolvane).line1;
    const auto lines = tolvane.LogLines();
    std::vector<std::wstring> progress;
    for (std::size_t i = before; i < lines.size(); ++i) {
        if (lines[i].find(L'\t') != std::wstring::npos) progress.push_back(lines[i].substr(lines[i].find(L'\t') + 1));
    }
    return {line1, progress};
}

// Answers the chooser with this caption; true once it has gone.
inline bool Chosen(const RunningProgram& tolvane, const std::wstring& caption, const std::wstring& name) {
    HWND chooser = tolvane.Choose(caption, name);
    return chooser && WaitForWindowGone(chooser);
}

// Stand-in processes started by the program and still running.
inline int RunningCompilersOf(DWORD parent) {
    const Handle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot.Valid()) return -1;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    int n = 0;
    for (BOOL more = Process32FirstW(snapshot.Get(), &entry); more; more = Process32NextW(snapshot.Get(), &entry))
        if (entry.th32ParentProcessID == parent && lstrcmpiW(entry.szExeFile, L"VBStandIn.exe") == 0) ++n;
    return n;
}

// The program's line separator inside a failure reason becomes one blank.
inline std::wstring BoxTextOf(const Project& project) { return L"'" + project.missing + L"' が見つかりません。"; }

// A project whose one source file has a compile error at `line` of the file:
// a .bas, a .cls or a .frm with its designer block, each with the header the
// compiler leaves out of its count. The error's place is source.
struct ErrorProject {
    Project project;
    std::wstring source;
    int line = 0;
};
inline ErrorProject MakeErrorProject(const ProgramFolder& program, const std::wstring& folder, const std::wstring& name,
                                     const std::wstring& kind, const std::wstring& record,
                                     std::vector<std::pair<std::wstring, std::wstring>> steer = {}) {
    const std::string attribute = "Attribute VB_Name = \"" + ToUtf8(name) + "\"\r\n";
    const std::string code = "Option Explicit\r\nSub X()\r\n    Bogus\r\nEnd Sub\r\n";
    std::string text;
    int line = 0;
    std::wstring key = L"Module";
    if (kind == L"bas") {
        text = attribute + code, line = 4;
    } else if (kind == L"cls") {
        text = "VERSION 1.0 CLASS\r\nBEGIN\r\n  MultiUse = -1  'True\r\nEND\r\n" + attribute +
               "Attribute VB_Exposed = False\r\n" + code;
        line = 9, key = L"Class";
    } else {
        text = "VERSION 5.00\r\nBegin VB.Form " + ToUtf8(name) + " \r\n   Caption = \"x\"\r\n"
               "   Begin VB.CommandButton Command1 \r\n      Caption = \"y\"\r\n   End\r\nEnd\r\n" + attribute + code;
        line = 11, key = L"Form";
    }
    const std::wstring file = name + L"." + kind;
    steer.insert(steer.begin(), {{key, key == L"Form" ? file : name + L"; " + file},
                                 {L"StandInCompileError", file + L":" + std::to_wstring(line) + L":構文エラー"}});
    ErrorProject made{MakeProject(program, {folder, name, false, 0, false, steer}, record),
                      program.Folder(folder) + L"\\" + file, line};
    EXPECT_TRUE(WriteBytes(made.source, text));
    return made;
}

// TolvaneCmd.exe as a build server starts it: output to files, the exit status read.
struct CmdRun {
    DWORD status = 0;
    std::vector<std::wstring> out;  // decoded from the ANSI code page (Shift-JIS)
    std::wstring err;
};
inline std::wstring Quoted(const std::wstring& path) { return L"\"" + path + L"\""; }
inline CmdRun FinishedRun(ChildProcess& cmd, const ProgramFolder& program) {
    EXPECT_TRUE(cmd.WaitForExit(120s));
    return {cmd.ExitCode(), SplitLines(FromAnsi(program.Bytes(L"out.txt").value_or(""))),
            FromAnsi(program.Bytes(L"err.txt").value_or(""))};
}
inline CmdRun RunCmd(const ProgramFolder& program, const std::wstring& args) {
    ChildProcess cmd(Quoted(program.File(L"TolvaneCmd.exe")) + L" " + args, program.File(L"out.txt"), program.File(L"err.txt"));
    return FinishedRun(cmd, program);
}
// Wine 8 delivers no console control event (GenerateConsoleCtrlEvent fails
// without a console or for a new process group, and for group 0 no handler
// runs), so the stop goes in where the runner's control handler puts it: a
// close request to its stop window (the tests run one at a time: one runner).
inline bool StopTheRunner() {
    HWND stopWindow = FindWindowW(L"TolvaneCmdStop", nullptr);
    return stopWindow && PostMessageW(stopWindow, WM_CLOSE, 0, 0);
}

}  // namespace tolvane::testing
