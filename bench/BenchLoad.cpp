// A long session under load: Tolvane.exe runs 100 times 20 builds, some of
// them failing, and after each run its memory, handles, open files and
// windows are counted from outside. Memory may grow by what the log holds;
// the counts may not grow at all. Exit status 1 when something grew.
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "common/ProgramDriver.h"
#include "common/StandInProject.h"
#include "common/TextFiles.h"
#include "support/win32/Handle.h"
#include "ui/dialogs/MessageBoxBase.h"
#include "ui/main/MainIds.h"

using namespace tolvane;
using namespace tolvane::testing;

namespace {

constexpr int kRuns = 100;
constexpr int kBuilds = 20;
constexpr int kWarmUp = 10;  // the first runs fill caches and pools once
// The log box keeps its text as UTF-16 plus the edit control's line table.
constexpr SIZE_T kBytesPerLogChar = 4;
constexpr SIZE_T kHeapSlack = 1 << 20;

struct Sample {
    SIZE_T memory = 0;  // private data: the Linux process's VmData, else the private usage
    SIZE_T resident = 0;
    int handles = 0;
    int files = 0;
    int windows = 0;
    std::size_t logChars = 0;
};

// Wine fills the system handle table per process, where GetProcessHandleCount gives 0.
int HandleCount(DWORD pid) {
    struct Entry {
        ULONG ownerPid;
        BYTE objectType, flags;
        USHORT handle;
        PVOID object;
        ACCESS_MASK access;
    };
    using Query = LONG(WINAPI*)(ULONG, PVOID, ULONG, PULONG);
    static const auto query = reinterpret_cast<Query>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQuerySystemInformation")));
    std::vector<BYTE> buffer(1 << 20);
    ULONG needed = 0;
    while (query(16 /* SystemHandleInformation */, buffer.data(), static_cast<ULONG>(buffer.size()), &needed) ==
           static_cast<LONG>(0xC0000004))
        buffer.resize(buffer.size() * 2);
    const ULONG count = *reinterpret_cast<ULONG*>(buffer.data());
    const auto* entries = reinterpret_cast<const Entry*>(buffer.data() + sizeof(ULONG_PTR));
    return static_cast<int>(std::count_if(entries, entries + count, [pid](const Entry& e) { return e.ownerPid == pid; }));
}

// The program's Linux process: the one whose command line names its exe.
std::wstring UnixProcessFolder(const std::wstring& exe) {
    const std::string name = ToUtf8(exe);
    WIN32_FIND_DATAW found;
    const FindHandle find(FindFirstFileW(L"Z:\\proc\\*", &found));
    std::wstring result;
    for (BOOL more = find.Valid(); more && result.empty(); more = FindNextFileW(find.Get(), &found)) {
        if (found.cFileName[0] < L'1' || found.cFileName[0] > L'9') continue;
        const std::wstring folder = std::wstring(L"Z:\\proc\\") + found.cFileName;
        const auto cmdline = ReadBytes(folder + L"\\cmdline");
        if (cmdline && cmdline->compare(0, name.size(), name) == 0) result = folder;
    }
    return result;
}

// A "Name:   1234 kB" line of /proc/<pid>/status, in bytes; 0 when missing.
SIZE_T StatusBytes(const std::wstring& unixFolder, const char* name) {
    const auto status = ReadBytes(unixFolder + L"\\status");
    if (!status) return 0;
    const auto at = status->find(std::string(name) + ":");
    return at == std::string::npos ? 0 : std::strtoul(status->c_str() + at + std::strlen(name) + 1, nullptr, 10) * 1024;
}

int CountEntries(const std::wstring& folder) {
    WIN32_FIND_DATAW found;
    const FindHandle find(FindFirstFileW((folder + L"\\*").c_str(), &found));
    if (!find.Valid()) return -1;
    int n = 0;
    do n += found.cFileName[0] != L'.';
    while (FindNextFileW(find.Get(), &found));
    return n;
}

BOOL CALLBACK CountChild(HWND, LPARAM count) {
    ++*reinterpret_cast<int*>(count);
    return TRUE;
}

struct WindowWalk {
    DWORD pid;
    int count;
};

BOOL CALLBACK CountTop(HWND window, LPARAM p) {
    auto* walk = reinterpret_cast<WindowWalk*>(p);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != walk->pid) return TRUE;
    ++walk->count;
    EnumChildWindows(window, CountChild, reinterpret_cast<LPARAM>(&walk->count));
    return TRUE;
}

int WindowCount(DWORD pid) {
    WindowWalk walk{pid, 0};
    EnumWindows(CountTop, reinterpret_cast<LPARAM>(&walk));
    return walk.count;
}

Sample Measure(const RunningProgram& tolvane, HANDLE process, const std::wstring& unixFolder) {
    Sample s;
    PROCESS_MEMORY_COUNTERS_EX counters{};
    if (GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters), sizeof counters)) {
        s.memory = counters.PrivateUsage;
        s.resident = counters.WorkingSetSize;
    }
    // Wine leaves the private usage of another process at 0.
    if (!unixFolder.empty()) s.memory = StatusBytes(unixFolder, "VmData");
    s.handles = HandleCount(tolvane.Pid());
    s.files = unixFolder.empty() ? -1 : CountEntries(unixFolder + L"\\fd");
    // A box that has just closed may still be on its way out: the least of a
    // few looks, since a window that leaks stays in every one of them.
    s.windows = WindowCount(tolvane.Pid());
    for (int look = 0; look < 10; ++look) {
        Sleep(50);
        s.windows = std::min(s.windows, WindowCount(tolvane.Pid()));
    }
    s.logChars = tolvane.LogText().size();
    return s;
}

}  // namespace

int wmain() {
    ProgramFolder program(L"Tolvane 負荷");
    const std::wstring folder = program.Folder(L"ソース");
    std::wstring list;
    for (int i = 1; i <= kBuilds; ++i) {
        StandInProject project(program.Folder(L"ソース\\p" + std::to_wstring(i)), L"P" + std::to_wstring(i) + L".vbp");
        project.Name(L"P" + std::to_wstring(i)).ExeName(L"P" + std::to_wstring(i) + L".exe").Form(L"frmMain.frm");
        if (i % 4 == 0) project.MissingForm(L"frmLost.frm");  // a quarter fail
        list += L"True\t" + project.Write() + L"\r\n";
    }
    const auto bytes = ToAnsi(list + L"\r\n");
    if (!bytes || !WriteBytes(program.File(L"負荷.clt"), *bytes)) return 2;
    program.WriteTolvaneIni(StandInExe(), program.File(L"負荷.clt"));

    RunningProgram tolvane(program);
    if (!tolvane.WaitForMain()) {
        std::printf("FAIL: the main window did not show\n");
        return 1;
    }
    const Handle owned(OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, tolvane.Pid()));
    HANDLE process = owned.Get();
    const std::wstring unixFolder = UnixProcessFolder(program.Exe());

    std::vector<Sample> samples;
    std::printf("run  private KiB  resident KiB  handles  files  windows  log chars\n");
    for (int run = 1; run <= kRuns; ++run) {
        tolvane.Command(main_ids::mnuAllCheck);
        tolvane.Command(main_ids::mnuCompile);
        HWND notice = tolvane.WaitForClass(kWarningBoxClass, std::chrono::minutes(5));
        if (!notice || !Answer(notice, MessageBoxBase::cmdOK)) {
            std::printf("FAIL: run %d did not end with its notice\n", run);
            return 1;
        }
        samples.push_back(Measure(tolvane, process, unixFolder));
        const Sample& s = samples.back();
        std::printf("%3d  %11llu  %12llu  %7d  %5d  %7d  %9llu\n", run, static_cast<unsigned long long>(s.memory / 1024),
                    static_cast<unsigned long long>(s.resident / 1024), s.handles, s.files, s.windows,
                    static_cast<unsigned long long>(s.logChars));
        std::fflush(stdout);
    }

    auto most = [&](int from, int to, auto field) {
        int m = 0;
        for (int i = from; i < to; ++i) m = std::max(m, field(samples[static_cast<std::size_t>(i)]));
        return m;
    };
    bool pass = true;
    auto check = [&](const char* what, auto field) {
        const int early = most(1, kWarmUp, field), late = most(kRuns - kWarmUp, kRuns, field);
        std::printf("%-8s runs 2-%d at most %d, runs %d-%d at most %d: %s\n", what, kWarmUp, early,
                    kRuns - kWarmUp + 1, kRuns, late, late <= early ? "PASS" : "FAIL");
        pass &= late <= early;
    };
    check("handles", [](const Sample& s) { return s.handles; });
    check("files", [](const Sample& s) { return s.files; });
    check("windows", [](const Sample& s) { return s.windows; });
    const Sample& first = samples[kWarmUp - 1];
    const Sample& last = samples.back();
    const SIZE_T allowed = (last.logChars - first.logChars) * kBytesPerLogChar + kHeapSlack;
    const SIZE_T grown = last.memory > first.memory ? last.memory - first.memory : 0;
    std::printf("memory   grew %llu KiB from run %d to %d, the log %llu characters: allowed %llu KiB: %s\n",
                static_cast<unsigned long long>(grown / 1024), kWarmUp, kRuns,
                static_cast<unsigned long long>(last.logChars - first.logChars),
                static_cast<unsigned long long>(allowed / 1024), grown <= allowed ? "PASS" : "FAIL");
    pass &= grown <= allowed;
    tolvane.Command(main_ids::mnuEditEnd);
    tolvane.WaitForExit();
    return pass ? 0 : 1;
}
