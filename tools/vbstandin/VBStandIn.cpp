// A stand-in for the Visual Basic 6 compiler, for tests and benchmarks.
//
// Started as VB6 is:  <exe> /make <project> [/outdir <folder>] [/d <constants>] [/out <log>]
// Its arguments are split as a Visual C++ program's are (C runtime rules). It
// reads the project (ANSI code page), checks that every file it names exists,
// and writes the output where VB6 does: into /outdir, else the project's folder
// joined with Path32, named by ExeName32, else by Name and the extension of
// Type. The "executable" is a UTF-8 text recording what the stand-in was given.
// A missing file or an unreadable project is reported the way VB6 does it: a
// modal box titled "Microsoft Visual Basic" (or, with /out, lines appended to
// the log in the ANSI code page), exit status 1; a good build exits 0.
//
// Lines that VB6 would ignore steer the stand-in for tests:
//   StandInDelayMs=<ms>     take this long before doing anything
//   StandInHang=1           never end and show nothing
//   StandInBoxDelayMs=<ms>  wait this long before showing the error box
//   StandInYesNoBox=1       the error box asks Yes/No: no Cancel, so it ignores WM_CLOSE
//   StandInSecondBox=<text> once the error box has closed, show another with this text
//   StandInChildBox=1       a child copy of the stand-in shows the error box
//                           (=2: and the stand-in ends without waiting for it)
//   StandInPrompt=<title>   show a dialog of that title and wait for an answer
//   StandInCrash=1          end at once with 0xC0000005 and show nothing
//   StandInExitCode=<n>     exit status of a successful build
//   StandInRecord=<file>    append the received command line to this file
//   StandInBoxStamp=<file>  append QueryPerformanceCounter ticks as the box shows
//   StandInCompileError=<file>:<line>[:<message>]  a compile error at that line of the
//                           file (its own line, counted from 1); the log gives the line
//                           as the compiler counts it, from 0 after the Attribute lines
//   StandInMissingFile=<name>     report that file of the project as missing
//   StandInControlMissing=<ocx>   a control that cannot be loaded
//   StandInLoadErrors=<form>[:<line>]  the build succeeds after load errors: the
//                           form's .log beside it holds the line
//   StandInBoxWithLog=1     with /out, show the error box as well as writing the log
//   StandInSeen=<file>      append "<project file>\t<line>" for each other line of the
//                           project's main section, as the compiler read it
// As VB6 does, AutoIncrementVer=1 makes a good build raise RevisionVer and
// save the project file (in its own way: CR LF line ends).
//   StandInTimes=<file>     after a good build append "<start> <end> <project>",
//                           QueryPerformanceCounter ticks, to this file
//
// Started as  <exe> /standinbox [/stamp <file>] [/yesno] <text>  it only shows the box.
#include <windows.h>

#include <algorithm>
#include <cwchar>
#include <cwctype>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "StandInFiles.h"
#include "StandInLog.h"

namespace {

using namespace standin;

const wchar_t kBoxTitle[] = L"Microsoft Visual Basic";

std::wstring Lower(std::wstring s) {
    for (auto& c : s) c = static_cast<wchar_t>(std::towlower(c));
    return s;
}

std::wstring Trim(const std::wstring& s) {
    size_t b = s.find_first_not_of(L" \t");
    if (b == std::wstring::npos) return L"";
    size_t e = s.find_last_not_of(L" \t");
    return s.substr(b, e - b + 1);
}

std::wstring Unquote(const std::wstring& s) {
    std::wstring t = Trim(s);
    if (t.size() >= 2 && t.front() == L'"' && t.back() == L'"') return t.substr(1, t.size() - 2);
    return t;
}

std::wstring SelfPath() {
    std::wstring buf(MAX_PATH, L'\0');
    for (;;) {
        DWORD n = GetModuleFileNameW(nullptr, &buf[0], static_cast<DWORD>(buf.size()));
        if (n < buf.size()) return buf.substr(0, n);
        buf.resize(buf.size() * 2);
    }
}

// ---- the error box --------------------------------------------------------

void StampBox(const std::wstring& stampFile) {
    if (stampFile.empty()) return;
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    AppendBytes(stampFile, std::to_string(t.QuadPart) + "\r\n", true);
}

// The message box is stamped as it is being shown, just before it becomes
// visible, so that a watcher's delay is never understated.
std::wstring g_stampFile;
HHOOK g_showHook = nullptr;

LRESULT CALLBACK StampOnShow(int code, WPARAM wp, LPARAM lp) {
    const auto* m = reinterpret_cast<const CWPSTRUCT*>(lp);
    if (code == HC_ACTION && m->message == WM_SHOWWINDOW && m->wParam && !g_stampFile.empty() &&
        GetParent(m->hwnd) == nullptr) {
        StampBox(g_stampFile);
        g_stampFile.clear();
    }
    return CallNextHookEx(g_showHook, code, wp, lp);
}

// On Windows a box without a Cancel button ignores WM_CLOSE; Wine's closes it
// as a Cancel. The box's own procedure is wrapped so that it behaves as on Windows.
HHOOK g_cbtHook = nullptr;
WNDPROC g_boxProc = nullptr;

LRESULT CALLBACK NoCancelProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_CLOSE || (msg == WM_COMMAND && LOWORD(wp) == IDCANCEL)) return 0;
    return CallWindowProcW(g_boxProc, hwnd, msg, wp, lp);
}

LRESULT CALLBACK WrapBoxOnActivate(int code, WPARAM wp, LPARAM lp) {
    if (code == HCBT_ACTIVATE && !g_boxProc)
        g_boxProc = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrW(reinterpret_cast<HWND>(wp), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(NoCancelProc)));
    return CallNextHookEx(g_cbtHook, code, wp, lp);
}

int ShowBox(const std::wstring& text, bool yesNo, const std::wstring& stampFile,
            const wchar_t* title = kBoxTitle) {
    g_stampFile = stampFile;
    if (!stampFile.empty()) g_showHook = SetWindowsHookExW(WH_CALLWNDPROC, StampOnShow, nullptr, GetCurrentThreadId());
    if (yesNo) g_cbtHook = SetWindowsHookExW(WH_CBT, WrapBoxOnActivate, nullptr, GetCurrentThreadId());
    int answer = MessageBoxW(nullptr, text.c_str(), title,
                             yesNo ? MB_YESNO | MB_ICONQUESTION : MB_OK | MB_ICONEXCLAMATION);
    if (g_cbtHook) UnhookWindowsHookEx(g_cbtHook);
    if (g_showHook) UnhookWindowsHookEx(g_showHook);
    g_cbtHook = g_showHook = nullptr;
    g_boxProc = nullptr;
    return answer;
}

// ---- the command line -----------------------------------------------------

// The arguments as a Visual C++ program receives them in argv: the program
// name up to a space (or between quotes), then the C runtime's rules, where
// 2n backslashes before a quote give n and the quote opens or closes a quoted
// part, 2n+1 give n and a literal quote, and other backslashes stand as they are.
std::vector<std::wstring> Arguments() {
    const std::wstring s = GetCommandLineW();
    std::vector<std::wstring> args;
    size_t i = 0;
    if (i < s.size() && s[i] == L'"') {
        size_t close = s.find(L'"', 1);
        if (close == std::wstring::npos) close = s.size();
        args.push_back(s.substr(1, close - 1));
        i = close + 1;
    } else {
        i = std::min(s.find_first_of(L" \t"), s.size());
        args.push_back(s.substr(0, i));
    }
    for (;;) {
        while (i < s.size() && (s[i] == L' ' || s[i] == L'\t')) ++i;
        if (i >= s.size()) return args;
        std::wstring arg;
        bool quoted = false;
        for (; i < s.size() && (quoted || (s[i] != L' ' && s[i] != L'\t')); ++i) {
            size_t slashes = 0;
            while (i < s.size() && s[i] == L'\\') ++slashes, ++i;
            if (i < s.size() && s[i] == L'"') {
                arg.append(slashes / 2, L'\\');
                if (slashes % 2 == 1) {
                    arg += L'"';
                } else if (quoted && i + 1 < s.size() && s[i + 1] == L'"') {
                    arg += L'"';
                    ++i;
                } else {
                    quoted = !quoted;
                }
            } else {
                arg.append(slashes, L'\\');
                if (i >= s.size()) break;
                if (!quoted && (s[i] == L' ' || s[i] == L'\t')) break;
                arg += s[i];
            }
        }
        args.push_back(arg);
    }
}

struct Request {
    std::wstring project, outdir, constants, log;
    bool make = false;
};

Request ParseArguments(const std::vector<std::wstring>& args) {
    Request r;
    for (size_t i = 1; i < args.size(); ++i) {
        const std::wstring key = Lower(args[i]);
        const std::wstring value = i + 1 < args.size() ? args[i + 1] : L"";
        if (key == L"/make") {
            r.make = true;
            r.project = value;
        } else if (key == L"/outdir") {
            r.outdir = value;
        } else if (key == L"/d") {
            r.constants = value;
        } else if (key == L"/out") {
            r.log = value;
        } else {
            continue;
        }
        ++i;
    }
    return r;
}

// ---- the project ----------------------------------------------------------

struct Project {
    std::wstring name, exeName, path32, type = L"exe";
    std::vector<std::wstring> files;  // as written, relative to the project's folder
    std::map<std::wstring, std::wstring> standIn;  // StandIn* keys in lower case
    std::vector<std::wstring> lines, seen;           // every line; the main section's other lines
    bool autoIncrement = false;
};

bool ReadProject(const std::wstring& path, Project& p) {
    std::string bytes;
    if (!ReadBytes(path, bytes)) return false;
    std::wstring text = FromAnsi(bytes);
    size_t pos = 0;
    bool main = true;
    while (pos <= text.size()) {
        size_t end = text.find(L'\n', pos);
        if (end == std::wstring::npos) end = text.size();
        std::wstring line = text.substr(pos, end - pos);
        pos = end + 1;
        if (!line.empty() && line.back() == L'\r') line.pop_back();
        p.lines.push_back(line);
        if (!line.empty() && line[0] == L'[') main = false;
        if (main && !line.empty() && Lower(line).compare(0, 7, L"standin") != 0) p.seen.push_back(line);
        size_t eq = line.find(L'=');
        if (eq == std::wstring::npos) continue;
        std::wstring key = Lower(Trim(line.substr(0, eq)));
        std::wstring value = line.substr(eq + 1);
        if (key == L"name") {
            p.name = Unquote(value);
        } else if (key == L"exename32") {
            p.exeName = Unquote(value);
        } else if (key == L"path32") {
            p.path32 = Unquote(value);
        } else if (key == L"type") {
            p.type = Lower(Trim(value));
        } else if (key == L"form" || key == L"usercontrol" || key == L"designer" || key == L"propertypage" ||
                   key == L"userdocument" || key == L"resfile32") {
            p.files.push_back(Unquote(value));
        } else if (key == L"module" || key == L"class") {
            size_t semi = value.find(L';');
            p.files.push_back(Trim(semi == std::wstring::npos ? value : value.substr(semi + 1)));
        } else if (key == L"autoincrementver" && main) {
            p.autoIncrement = Trim(value) == L"1";
        } else if (key.compare(0, 7, L"standin") == 0) {
            p.standIn[key] = Trim(value);
        }
    }
    return true;
}

// The output file's name: ExeName32, else Name with the extension of Type.
std::wstring OutputName(const Project& p) {
    if (!p.exeName.empty()) return p.exeName;
    const std::wstring ext = p.type == L"oledll" ? L".dll" : p.type == L"control" ? L".ocx" : L".exe";
    return (p.name.empty() ? L"Project1" : p.name) + ext;
}

int ParseInt(const std::map<std::wstring, std::wstring>& m, const wchar_t* key, int otherwise) {
    auto it = m.find(key);
    return it == m.end() || it->second.empty() ? otherwise : static_cast<int>(std::wcstol(it->second.c_str(), nullptr, 10));
}

std::wstring Value(const std::map<std::wstring, std::wstring>& m, const wchar_t* key) {
    auto it = m.find(key);
    return it == m.end() ? std::wstring() : it->second;
}

// Saves the project as VB6 does after a build with AutoIncrementVer=1: the
// revision one higher, every line ended by CR LF.
void RaiseRevision(const std::wstring& path, const Project& p) {
    std::wstring text;
    bool main = true;
    for (size_t i = 0; i < p.lines.size(); ++i) {
        std::wstring line = p.lines[i];
        if (!line.empty() && line[0] == L'[') main = false;
        const size_t eq = line.find(L'=');
        if (main && eq != std::wstring::npos && Lower(Trim(line.substr(0, eq))) == L"revisionver")
            line = L"RevisionVer=" + std::to_wstring(std::wcstol(line.c_str() + eq + 1, nullptr, 10) + 1);
        if (i + 1 < p.lines.size() || !line.empty()) text += line + L"\r\n";
    }
    const int n = WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), &bytes[0], n, nullptr, nullptr);
    AppendBytes(path, bytes, false);
}

// Runs a copy of ourselves that shows the box, and waits for it, as a compiler
// whose dialog lives in a helper process would.
int BoxInChild(const std::wstring& text, bool yesNo, const std::wstring& stampFile, bool wait) {
    std::wstring cmd = L"\"" + SelfPath() + L"\" /standinbox " +
                       (stampFile.empty() ? L"" : L"/stamp \"" + stampFile + L"\" ") + (yesNo ? L"/yesno " : L"") +
                       L"\"" + text + L"\"";
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    std::vector<wchar_t> buf(cmd.begin(), cmd.end());
    buf.push_back(L'\0');
    if (!CreateProcessW(nullptr, buf.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return 2;
    CloseHandle(pi.hThread);
    if (wait) WaitForSingleObject(pi.hProcess, INFINITE);
    CloseHandle(pi.hProcess);
    return 1;
}

// How the failed build is reported: lines in the /out log, else boxes.
int Fail(const Request& req, const Project& p, const std::wstring& folder, const std::wstring& text,
         const std::wstring& logLine) {
    const auto& opt = p.standIn;
    if (!req.log.empty()) {
        AppendBytes(req.log, ToAnsi(L"\r\n" + logLine + L"\r\n"), true);
        if (ParseInt(opt, L"standinboxwithlog", 0) == 0) return 1;
    }
    bool yesNo = ParseInt(opt, L"standinyesnobox", 0) != 0;
    if (int delay = ParseInt(opt, L"standinboxdelayms", 0); delay > 0) Sleep(static_cast<DWORD>(delay));
    std::wstring stamp = Value(opt, L"standinboxstamp");
    if (!stamp.empty()) stamp = Join(folder, stamp);
    if (int child = ParseInt(opt, L"standinchildbox", 0); child != 0) return BoxInChild(text, yesNo, stamp, child != 2);
    ShowBox(text, yesNo, stamp);
    std::wstring second = Value(opt, L"standinsecondbox");
    if (!second.empty()) ShowBox(second, false, L"");
    return 1;
}

long long Ticks() {
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return t.QuadPart;
}

int Compile(const std::wstring& cmd, const Request& req) {
    const long long started = Ticks();
    std::wstring projectPath = req.project;
    Project p;
    if (!ReadProject(projectPath, p)) {
        return Fail(req, p, L"", L"'" + projectPath + L"' を読み込めませんでした。",
                    L"File not found: '" + projectPath + L"'");
    }
    const auto& opt = p.standIn;
    std::wstring folder = FolderOf(projectPath);
    std::wstring record = Value(opt, L"standinrecord");
    if (!record.empty()) AppendBytes(Join(folder, record), ToUtf8(cmd) + "\r\n", true);
    if (std::wstring seen = Value(opt, L"standinseen"); !seen.empty()) {
        std::wstring lines;
        const std::wstring file = projectPath.substr(projectPath.find_last_of(L'\\') + 1);
        for (const auto& line : p.seen) lines += file + L"\t" + line + L"\r\n";
        AppendBytes(Join(folder, seen), ToUtf8(lines), true);
    }

    if (int delay = ParseInt(opt, L"standindelayms", 0); delay > 0) Sleep(static_cast<DWORD>(delay));
    if (ParseInt(opt, L"standinhang", 0) != 0) {
        for (;;) Sleep(INFINITE);
    }
    if (ParseInt(opt, L"standincrash", 0) != 0) ExitProcess(0xC0000005);
    std::wstring prompt = Value(opt, L"standinprompt");
    if (!prompt.empty()) MessageBoxW(nullptr, L"続行しますか？", prompt.c_str(), MB_OKCANCEL | MB_ICONWARNING);

    const std::wstring missing = Value(opt, L"standinmissingfile");
    for (const auto& f : p.files) {
        std::wstring full = Join(folder, f);
        if (!FileThere(full) || Lower(f) == Lower(missing))
            return Fail(req, p, folder, L"'" + full + L"' が見つかりません。", L"File not found: '" + f + L"'");
    }
    if (!missing.empty() && std::find(p.files.begin(), p.files.end(), missing) == p.files.end())
        return Fail(req, p, folder, L"'" + Join(folder, missing) + L"' が見つかりません。", L"File not found: '" + missing + L"'");
    const std::wstring control = Value(opt, L"standincontrolmissing");
    if (!control.empty()) {
        const std::wstring full = Join(folder, control);
        return Fail(req, p, folder, L"'" + full + L"' を読み込めませんでした。", L"'" + full + L"' could not be loaded");
    }

    const std::wstring exe = OutputName(p);
    if (const auto error = CompileErrorAt(Value(opt, L"standincompileerror"), folder)) {
        return Fail(req, p, folder, L"コンパイル エラー:\r\n\r\n" + error->message,
                    L"Compile Error in File '" + error->path + L"', Line " + std::to_wstring(error->line) + L" : " +
                        error->message + L"\r\nBuild of '" + exe + L"' failed.");
    }
    const std::wstring loadErrors = LoadErrors(Value(opt, L"standinloaderrors"), folder, req.log);
    std::wstring outFolder = req.outdir.empty() ? Join(folder, p.path32) : req.outdir;
    STARTUPINFOW si{};
    si.cb = sizeof si;
    GetStartupInfoW(&si);
    std::wstring show = (si.dwFlags & STARTF_USESHOWWINDOW) ? std::to_wstring(si.wShowWindow) : L"";
    std::wstring out = L"CommandLine=" + cmd + L"\r\nProgram=" + SelfPath() + L"\r\nProject=" + projectPath +
                       L"\r\nOutDir=" + req.outdir + L"\r\nConstants=" + req.constants + L"\r\nShowWindow=" + show +
                       L"\r\n";
    if (!AppendBytes(Join(outFolder, exe), ToUtf8(out), false)) {
        return Fail(req, p, folder, L"'" + Join(outFolder, exe) + L"' に書き込めません。",
                    L"Permission denied\r\nBuild of '" + exe + L"' failed.");
    }
    if (!req.log.empty())
        AppendBytes(req.log, ToAnsi(L"\r\n" + loadErrors + L"Build of '" + exe + L"' succeeded.\r\n"), true);
    if (p.autoIncrement) RaiseRevision(projectPath, p);
    if (std::wstring times = Value(opt, L"standintimes"); !times.empty()) {
        AppendBytes(Join(folder, times),
                    std::to_string(started) + " " + std::to_string(Ticks()) + " " + ToUtf8(projectPath) + "\r\n", true);
    }
    return ParseInt(opt, L"standinexitcode", 0);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    std::vector<std::wstring> args = Arguments();
    if (args.size() > 1 && Lower(args[1]) == L"/standinbox") {
        size_t i = 2;
        std::wstring stamp;
        if (i + 1 < args.size() && Lower(args[i]) == L"/stamp") {
            stamp = args[i + 1];
            i += 2;
        }
        bool yesNo = i < args.size() && Lower(args[i]) == L"/yesno";
        if (yesNo) ++i;
        std::wstring text;
        for (; i < args.size(); ++i) text += (text.empty() ? L"" : L" ") + args[i];
        ShowBox(text, yesNo, stamp);
        return 1;
    }
    Request req = ParseArguments(args);
    if (!req.make || req.project.empty()) {
        ShowBox(L"コマンド ラインが正しくありません。", false, L"");
        return 1;
    }
    return Compile(GetCommandLineW(), req);
}
