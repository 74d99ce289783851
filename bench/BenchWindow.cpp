// Measures the main window on large work, driving Tolvane.exe from outside:
//  (d) the search of a tree of 20,000 folders holding 2,000 projects, from
//      the chooser's OK to the list shown, over a bare recursive
//      FindFirstFileW walk of the same tree in the same run;
//  (e) a list of 32,767 entries: opening it until it is shown, checking all,
//      inverting, saving; and the longest the window took to answer a
//      message at any moment in between.
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <atomic>
#include <memory>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "common/ProgramDriver.h"
#include "common/TextFiles.h"
#include "support/win32/Handle.h"
#include "ui/dialogs/MessageBoxBase.h"
#include "ui/main/MainIds.h"

using namespace tolvane;
using namespace tolvane::testing;
namespace ids = tolvane::main_ids;

namespace {

double Now() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) / static_cast<double>(frequency.QuadPart);
}

const char* Verdict(bool pass) { return pass ? "PASS" : "FAIL"; }

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Asks the window something and waits for its answer (-1: no answer in 60 s).
LRESULT Ask(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(window, message, wParam, lParam, SMTO_NORMAL, 60000, &result)) return -1;
    return static_cast<LRESULT>(result);
}

int ItemCount(HWND list) { return static_cast<int>(Ask(list, LVM_GETITEMCOUNT)); }

// Waits until the list shows this many items; the seconds it took from start.
double WaitForItems(HWND list, int count, double start) {
    while (ItemCount(list) != count) Sleep(1);
    Ask(GetAncestor(list, GA_ROOT), WM_NULL);
    return Now() - start;
}

// Sends a harmless message to the window every 10 ms and keeps the longest
// time it took to be answered.
class AnswerWatch {
public:
    explicit AnswerWatch(HWND window) : thread_([this, window] {
        while (!stop_) {
            const double start = Now();
            Ask(window, WM_NULL);
            const double took = Now() - start;
            if (took > longest_) longest_ = took;
            Sleep(10);
        }
    }) {}
    ~AnswerWatch() {
        stop_ = true;
        thread_.join();
    }
    AnswerWatch(const AnswerWatch&) = delete;
    AnswerWatch& operator=(const AnswerWatch&) = delete;
    double Longest() const { return longest_; }

private:
    std::atomic<bool> stop_{false};
    std::atomic<double> longest_{0};
    std::thread thread_;
};

// 50 folders, 20 below each, 19 below each of those: 20,050 folders; two of
// every 19 of the deepest hold one project each: 2,000 projects.
int BuildTree(const std::wstring& root) {
    int projects = 0;
    auto project = [&](const std::wstring& folder, int n) {
        WriteBytes(folder + L"\\P" + std::to_wstring(n) + L".vbp", "Type=Exe\r\n");
        ++projects;
    };
    int counter = 0;
    for (int a = 0; a < 50; ++a) {
        const std::wstring A = root + L"\\A" + std::to_wstring(a);
        CreateDirectoryW(A.c_str(), nullptr);
        for (int b = 0; b < 20; ++b) {
            const std::wstring B = A + L"\\B" + std::to_wstring(b);
            CreateDirectoryW(B.c_str(), nullptr);
            for (int c = 0; c < 19; ++c) {
                const std::wstring C = B + L"\\C" + std::to_wstring(c);
                CreateDirectoryW(C.c_str(), nullptr);
                if (c % 10 == 0) project(C, ++counter);
            }
        }
    }
    return projects;
}

// The bare walk: every folder listed once with the wide search, projects counted.
int Walk(const std::wstring& folder) {
    int found = 0;
    WIN32_FIND_DATAW data;
    const FindHandle search(FindFirstFileW((folder + L"\\*").c_str(), &data));
    if (!search.Valid()) return 0;
    do {
        const std::wstring name = data.cFileName;
        if (name == L"." || name == L"..") continue;
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            found += Walk(folder + L"\\" + name);
        } else if (name.size() > 4 && name.compare(name.size() - 4, 4, L".vbp") == 0) {
            ++found;
        }
    } while (FindNextFileW(search.Get(), &data));
    return found;
}

bool SearchBench() {
    ProgramFolder program(L"Tolvane bench");
    program.WriteTolvaneIni();
    const std::wstring root = program.Folder(L"tree");
    const int projects = BuildTree(root);

    RunningProgram tolvane(program, {root, true});
    HWND main = tolvane.WaitForMain();
    if (!main) {
        std::printf("search: the main window did not show\n");
        return false;
    }
    HWND list = tolvane.Control(ids::lstCompileList);
    std::vector<double> bare, search;
    double longest = 0;
    for (int round = 0; round < 5; ++round) {
        const double walkStart = Now();
        const int walked = Walk(root);
        bare.push_back(Now() - walkStart);
        if (walked != projects) std::printf("search: the walk found %d of %d projects\n", walked, projects);

        tolvane.Command(ids::mnuAddAllList);
        if (!tolvane.Choose(L"検索フォルダ指定", L"")) return false;
        const double start = Now();
        {
            AnswerWatch watch(main);
            search.push_back(WaitForItems(list, projects, start));
            longest = std::max(longest, watch.Longest());
        }
        Ask(main, WM_COMMAND, ids::mnuDelAllList);
    }
    const double ratio = Median(search) / Median(bare);
    std::printf("(d) folder search, %d projects in 20,050 folders: %.3f s against a bare walk of %.3f s: "
                "ratio %.2f (target <= 1.3) %s; longest answer meanwhile %.0f ms\n",
                projects, Median(search), Median(bare), ratio, Verdict(ratio <= 1.3), longest * 1000);
    return ratio <= 1.3;
}

bool ListBench() {
    ProgramFolder program(L"Tolvane bench");
    program.WriteTolvaneIni();
    std::string bytes;
    const int entries = 32767;
    for (int i = 0; i < entries; ++i) {
        const std::string n = std::to_string(i);
        bytes += std::string(i % 3 ? "True" : "False") + "\tC:\\Src\\Project" + n + "\\Project" + n + ".vbp\r\n";
    }
    bytes += "\r\n";
    WriteBytes(program.File(L"big.clt"), bytes);

    RunningProgram tolvane(program);
    HWND main = tolvane.WaitForMain();
    if (!main) {
        std::printf("list: the main window did not show\n");
        return false;
    }
    HWND list = tolvane.Control(ids::lstCompileList);
    double open = 0, check = 0, invert = 0, save = 0;
    std::vector<double> longest;  // while choosing, opening, checking, inverting, choosing, saving
    {
        auto watch = std::make_unique<AnswerWatch>(main);
        auto next = [&] {
            longest.push_back(watch->Longest());
            watch = std::make_unique<AnswerWatch>(main);
        };
        tolvane.Command(ids::mnuReadList);
        if (!tolvane.Choose(L"ｺﾝﾊﾟｲﾙﾘｽﾄ選択", L"big.clt")) return false;
        next();
        open = WaitForItems(list, entries, Now());
        next();

        double start = Now();
        Ask(main, WM_COMMAND, ids::mnuAllCheck);
        check = Now() - start;
        next();
        start = Now();
        Ask(main, WM_COMMAND, ids::mnuReversalCheck);
        invert = Now() - start;
        next();

        tolvane.Command(ids::mnuWriteList);
        if (!tolvane.Choose(L"ｺﾝﾊﾟｲﾙﾘｽﾄ保存", L"saved.clt")) return false;
        next();
        start = Now();
        HWND notice = tolvane.WaitForClass(kWarningBoxClass);
        save = Now() - start;
        next();
        if (notice) Answer(notice, MessageBoxBase::cmdOK);
    }
    const double worst = *std::max_element(longest.begin(), longest.end());
    const bool pass = open < 0.5 && check < 0.5 && invert < 0.5 && save < 0.5 && worst < 0.1;
    std::printf("(e) list of %d entries: open %.3f s, check all %.3f s, invert %.3f s, save %.3f s (each target < 0.5 s); "
                "longest answer %.0f ms (target < 100 ms; choosing %.0f, opening %.0f, checking %.0f, inverting %.0f, "
                "choosing %.0f, saving %.0f) %s\n",
                entries, open, check, invert, save, worst * 1000, longest[0] * 1000, longest[1] * 1000,
                longest[2] * 1000, longest[3] * 1000, longest[4] * 1000, longest[5] * 1000, Verdict(pass));
    return pass;
}

}  // namespace

int wmain() {
    const bool search = SearchBench();
    const bool list = ListBench();
    return search && list ? 0 : 1;
}
