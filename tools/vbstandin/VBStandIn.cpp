// A stand-in for the Visual Basic 6 compiler, for tests and benchmarks.
//
// Started as VB6 is:  <exe> /make <project> [/outdir <folder>] [/d <constants>]
// It reads the project (ANSI code page), checks that every file it names
// exists, and writes the executable named by ExeName32 into the output folder
// (or the project's folder). The "executable" is a UTF-8 text recording what
// the stand-in was given. A missing file or an unreadable project is reported
// the way VB6 does it: a modal box titled "Microsoft Visual Basic", exit
// status 1 once the box is closed.
//
// Lines that VB6 would ignore steer the stand-in for tests:
//   StandInDelayMs=<ms>     take this long before doing anything
//   StandInHang=1           never end and show nothing
//   StandInBoxDelayMs=<ms>  wait this long before showing the error box
//   StandInStubbornBox=1    the error box is a window that ignores WM_CLOSE
//   StandInChildBox=1       a child copy of the stand-in shows the error box
//                           (=2: and the stand-in ends without waiting for it)
//   StandInExitCode=<n>     exit status of a successful build
//   StandInRecord=<file>    append the received command line to this file
//   StandInBoxStamp=<file>  append QueryPerformanceCounter ticks as the box shows
//
// Started as  <exe> /standinbox [/stamp <file>] [/stubborn] <text>  it only shows the box.
#include <windows.h>

#include <cwchar>
#include <cwctype>
#include <map>
#include <string>
#include <vector>

namespace {

const wchar_t kBoxTitle[] = L"Microsoft Visual Basic";

std::wstring Lower(std::wstring s) {
    for (auto& c : s) c = static_cast<wchar_t>(std::towlower(c));
    return s;
}

bool StartsWithNoCase(const std::wstring& s, size_t at, const std::wstring& prefix) {
    return s.size() >= at + prefix.size() && Lower(s.substr(at, prefix.size())) == Lower(prefix);
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

std::string ToUtf8(const std::wstring& s) {
    if (s.empty()) return {};
    int n = WideCharToMultiByte(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), &out[0], n, nullptr, nullptr);
    return out;
}

bool AppendBytes(const std::wstring& path, const std::string& bytes, bool append) {
    HANDLE f = CreateFileW(path.c_str(), append ? FILE_APPEND_DATA : GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                           nullptr, append ? OPEN_ALWAYS : CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (f == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    BOOL ok = WriteFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(f);
    return ok && written == bytes.size();
}

bool ReadBytes(const std::wstring& path, std::string& bytes) {
    HANDLE f = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (f == INVALID_HANDLE_VALUE) return false;
    bytes.clear();
    char buf[4096];
    DWORD got = 0;
    bool ok = true;
    while ((ok = ReadFile(f, buf, sizeof buf, &got, nullptr) != FALSE) && got > 0) bytes.append(buf, got);
    CloseHandle(f);
    return ok;
}

std::wstring FromAnsi(const std::string& s) {
    if (s.empty()) return {};
    int n = MultiByteToWideChar(CP_ACP, 0, s.data(), static_cast<int>(s.size()), nullptr, 0);
    std::wstring out(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_ACP, 0, s.data(), static_cast<int>(s.size()), &out[0], n);
    return out;
}

bool FileThere(const std::wstring& path) {
    DWORD a = GetFileAttributesW(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

bool IsAbsolute(const std::wstring& p) {
    return (p.size() >= 2 && p[1] == L':') || (!p.empty() && p[0] == L'\\');
}

std::wstring FolderOf(const std::wstring& path) {
    size_t k = path.find_last_of(L'\\');
    return k == std::wstring::npos ? std::wstring() : path.substr(0, k + 1);
}

std::wstring Join(const std::wstring& folder, const std::wstring& name) {
    if (folder.empty() || IsAbsolute(name)) return name;
    return folder.back() == L'\\' ? folder + name : folder + L'\\' + name;
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

LRESULT CALLBACK StubbornProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_CLOSE) return 0;  // the point of this window: close requests do nothing
    return DefWindowProcW(hwnd, msg, wp, lp);
}

// A box of our own that does not close on request, to test the bounded close.
void ShowStubbornBox(const std::wstring& text) {
    HINSTANCE inst = GetModuleHandleW(nullptr);
    WNDCLASSW wc{};
    wc.lpfnWndProc = StubbornProc;
    wc.hInstance = inst;
    wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = L"StandInStubbornBox";
    RegisterClassW(&wc);
    HWND box = CreateWindowExW(WS_EX_DLGMODALFRAME, wc.lpszClassName, kBoxTitle, WS_POPUP | WS_CAPTION | WS_SYSMENU,
                               200, 200, 420, 140, nullptr, nullptr, inst, nullptr);
    CreateWindowExW(0, L"STATIC", text.c_str(), WS_CHILD | WS_VISIBLE | SS_LEFT, 16, 16, 380, 60, box,
                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(0xFFFF)), inst, nullptr);
    ShowWindow(box, SW_SHOWNORMAL);
    MSG m;
    while (GetMessageW(&m, nullptr, 0, 0) > 0) {
        TranslateMessage(&m);
        DispatchMessageW(&m);
    }
}

void ShowBox(const std::wstring& text, bool stubborn, const std::wstring& stampFile) {
    if (stubborn) {
        StampBox(stampFile);
        ShowStubbornBox(text);
        return;
    }
    g_stampFile = stampFile;
    if (!stampFile.empty()) g_showHook = SetWindowsHookExW(WH_CALLWNDPROC, StampOnShow, nullptr, GetCurrentThreadId());
    MessageBoxW(nullptr, text.c_str(), kBoxTitle, MB_OK | MB_ICONEXCLAMATION);
    if (g_showHook) UnhookWindowsHookEx(g_showHook);
}

// ---- the project ----------------------------------------------------------

struct Project {
    std::wstring name;
    std::wstring exeName;
    std::vector<std::wstring> files;  // as written, relative to the project's folder
    std::map<std::wstring, std::wstring> standIn;  // StandIn* keys in lower case
};

bool ReadProject(const std::wstring& path, Project& p) {
    std::string bytes;
    if (!ReadBytes(path, bytes)) return false;
    std::wstring text = FromAnsi(bytes);
    size_t pos = 0;
    while (pos <= text.size()) {
        size_t end = text.find(L'\n', pos);
        if (end == std::wstring::npos) end = text.size();
        std::wstring line = text.substr(pos, end - pos);
        pos = end + 1;
        if (!line.empty() && line.back() == L'\r') line.pop_back();
        size_t eq = line.find(L'=');
        if (eq == std::wstring::npos) continue;
        std::wstring key = Lower(Trim(line.substr(0, eq)));
        std::wstring value = line.substr(eq + 1);
        if (key == L"name") {
            p.name = Unquote(value);
        } else if (key == L"exename32") {
            p.exeName = Unquote(value);
        } else if (key == L"form" || key == L"usercontrol") {
            p.files.push_back(Trim(value));
        } else if (key == L"module" || key == L"class") {
            size_t semi = value.find(L';');
            p.files.push_back(Trim(semi == std::wstring::npos ? value : value.substr(semi + 1)));
        } else if (key.compare(0, 7, L"standin") == 0) {
            p.standIn[key] = Trim(value);
        }
    }
    return true;
}

// ---- the command line -----------------------------------------------------

struct Request {
    std::wstring project, outdir, constants;
    bool make = false;
};

// Reads one argument at i: quoted (quotes removed) or up to the next space.
std::wstring NextArgument(const std::wstring& s, size_t& i) {
    while (i < s.size() && s[i] == L' ') ++i;
    std::wstring arg;
    if (i < s.size() && s[i] == L'"') {
        size_t close = s.find(L'"', i + 1);
        if (close == std::wstring::npos) close = s.size();
        arg = s.substr(i + 1, close - i - 1);
        i = close + 1;
    } else {
        size_t sp = s.find(L' ', i);
        if (sp == std::wstring::npos) sp = s.size();
        arg = s.substr(i, sp - i);
        i = sp;
    }
    return arg;
}

// The compiler path comes first, unquoted and possibly with spaces, so the
// switches are found by their " /make " rather than by splitting the path.
Request ParseCommandLine(const std::wstring& cmd) {
    Request r;
    std::wstring lower = Lower(cmd);
    size_t at = lower.find(L" /make ");
    if (at == std::wstring::npos) return r;
    r.make = true;
    size_t i = at + 7;
    r.project = NextArgument(cmd, i);
    while (i < cmd.size()) {
        while (i < cmd.size() && cmd[i] == L' ') ++i;
        if (StartsWithNoCase(cmd, i, L"/outdir ")) {
            i += 8;
            r.outdir = NextArgument(cmd, i);
        } else if (StartsWithNoCase(cmd, i, L"/d ")) {
            r.constants = cmd.substr(i + 3);  // the rest of the line, as VB6 takes it
            break;
        } else if (i < cmd.size()) {
            NextArgument(cmd, i);  // a switch we do not model
        }
    }
    return r;
}

int ParseInt(const std::map<std::wstring, std::wstring>& m, const wchar_t* key, int otherwise) {
    auto it = m.find(key);
    return it == m.end() || it->second.empty() ? otherwise : static_cast<int>(std::wcstol(it->second.c_str(), nullptr, 10));
}

std::wstring Value(const std::map<std::wstring, std::wstring>& m, const wchar_t* key) {
    auto it = m.find(key);
    return it == m.end() ? std::wstring() : it->second;
}

// Runs a copy of ourselves that shows the box, and waits for it, as a compiler
// whose dialog lives in a helper process would.
int BoxInChild(const std::wstring& text, bool stubborn, const std::wstring& stampFile, bool wait) {
    std::wstring cmd = L"\"" + SelfPath() + L"\" /standinbox " +
                       (stampFile.empty() ? L"" : L"/stamp \"" + stampFile + L"\" ") + (stubborn ? L"/stubborn " : L"") +
                       text;
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

int Compile(const std::wstring& cmd, const Request& req) {
    std::wstring projectPath = req.project;
    Project p;
    if (!ReadProject(projectPath, p)) {
        ShowBox(L"'" + projectPath + L"' を読み込めませんでした。", false, L"");
        return 1;
    }
    const auto& opt = p.standIn;
    std::wstring folder = FolderOf(projectPath);
    std::wstring record = Value(opt, L"standinrecord");
    if (!record.empty()) AppendBytes(Join(folder, record), ToUtf8(cmd) + "\r\n", true);

    if (int delay = ParseInt(opt, L"standindelayms", 0); delay > 0) Sleep(static_cast<DWORD>(delay));
    if (ParseInt(opt, L"standinhang", 0) != 0) {
        for (;;) Sleep(INFINITE);
    }

    std::wstring missing;
    for (const auto& f : p.files) {
        std::wstring full = Join(folder, f);
        if (!FileThere(full)) {
            missing = full;
            break;
        }
    }
    if (!missing.empty()) {
        std::wstring text = L"'" + missing + L"' が見つかりません。";
        bool stubborn = ParseInt(opt, L"standinstubbornbox", 0) != 0;
        if (int delay = ParseInt(opt, L"standinboxdelayms", 0); delay > 0) Sleep(static_cast<DWORD>(delay));
        std::wstring stamp = Value(opt, L"standinboxstamp");
        if (int child = ParseInt(opt, L"standinchildbox", 0); child != 0)
            return BoxInChild(text, stubborn, stamp.empty() ? L"" : Join(folder, stamp), child != 2);
        ShowBox(text, stubborn, stamp.empty() ? L"" : Join(folder, stamp));
        return 1;
    }

    std::wstring exe = !p.exeName.empty() ? p.exeName : (!p.name.empty() ? p.name : L"Project1") + L".exe";
    std::wstring outFolder = req.outdir.empty() ? folder : req.outdir;
    STARTUPINFOW si{};
    si.cb = sizeof si;
    GetStartupInfoW(&si);
    std::wstring show = (si.dwFlags & STARTF_USESHOWWINDOW) ? std::to_wstring(si.wShowWindow) : L"";
    std::wstring out = L"CommandLine=" + cmd + L"\r\nProject=" + projectPath + L"\r\nOutDir=" + req.outdir +
                       L"\r\nConstants=" + req.constants + L"\r\nShowWindow=" + show + L"\r\n";
    if (!AppendBytes(Join(outFolder, exe), ToUtf8(out), false)) {
        ShowBox(L"'" + Join(outFolder, exe) + L"' に書き込めません。", false, L"");
        return 1;
    }
    return ParseInt(opt, L"standinexitcode", 0);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    std::wstring cmd = GetCommandLineW();
    std::wstring lower = Lower(cmd);
    size_t box = lower.find(L" /standinbox ");
    if (box != std::wstring::npos) {
        size_t i = box + 13;
        std::wstring stamp;
        if (StartsWithNoCase(cmd, i, L"/stamp ")) {
            i += 7;
            stamp = NextArgument(cmd, i);
            while (i < cmd.size() && cmd[i] == L' ') ++i;
        }
        bool stubborn = StartsWithNoCase(cmd, i, L"/stubborn ");
        ShowBox(cmd.substr(stubborn ? i + 10 : i), stubborn, stamp);
        return 1;
    }
    Request req = ParseCommandLine(cmd);
    if (!req.make || req.project.empty()) {
        ShowBox(L"コマンド ラインが正しくありません。", false, L"");
        return 1;
    }
    return Compile(cmd, req);
}
