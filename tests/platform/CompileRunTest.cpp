// Whole compile runs through the engine on the real platform: the compiler
// stand-in builds, shows a box that will not close, hangs, or vanishes.
#include <gtest/gtest.h>
#include <windows.h>
#include <tlhelp32.h>

#include <algorithm>
#include <string>
#include <vector>

#include "common/StandInProject.h"
#include "common/TempFolder.h"
#include "common/TextFiles.h"
#include "common/UiDriver.h"
#include "engine/clsTolvane.h"
#include "engine/win32/JobProcess.h"
#include "engine/win32/Win32RunPlatform.h"
#include "support/VbError.h"

namespace tolvane {
namespace {

using namespace std::chrono_literals;
using testing::StandInProject;

// Stand-in processes started from this test program that are still running.
// Matched by name too: under Wine an ended parent's id may already belong to
// a process of another test running beside this one.
int StandInsLeft() {
    int left = 0;
    const std::vector<DWORD> ours = DescendantsOf(GetCurrentProcessId());
    HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32W e{};
    e.dwSize = sizeof e;
    for (BOOL ok = Process32FirstW(snap, &e); ok; ok = Process32NextW(snap, &e))
        if (lstrcmpiW(e.szExeFile, L"VBStandIn.exe") == 0 &&
            std::find(ours.begin(), ours.end(), e.th32ProcessID) != ours.end())
            ++left;
    CloseHandle(snap);
    return left;
}

// A thread timer that, from inside the engine's wait, asks it to abandon the
// build once the hung compiler has written its start marker: window events
// run while the engine waits, which is how the user's stop reaches it.
struct AbortWhenStarted {
    AbortWhenStarted(clsTolvane& e, std::wstring m) : engine(e), marker(std::move(m)) {
        current = this;
        timer = SetTimer(nullptr, 0, 50, Tick);
    }
    ~AbortWhenStarted() {
        KillTimer(nullptr, timer);
        current = nullptr;
    }
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
        AbortWhenStarted* self = current;
        if (self && self->requests == 0 && self->engine.IsBuilding() && !testing::ReadUtf8Lines(self->marker).empty()) {
            self->engine.AbortCurrentBuild();
            ++self->requests;
        }
    }
    static inline AbortWhenStarted* current = nullptr;
    clsTolvane& engine;
    std::wstring marker;
    UINT_PTR timer = 0;
    int requests = 0;
};

class CompileRunTest : public ::testing::Test {
protected:
    void SetUp() override {
        engine_.SetVB(standIn_);
        engine_.SetExecutionStartHandler([this] {
            events_.push_back(L"Start " + std::to_wstring(engine_.CurCount()));
            if (onStart_) onStart_();
        });
        engine_.SetExecutionStopHandler([this] {
            const std::wstring message = engine_.VbpMessage();
            events_.push_back(message.substr(message.find(L'\t') + 1));
        });
    }

    // Adds a checked project of one form, shaped further by the caller.
    StandInProject& Add(const std::wstring& file) {
        projects_.emplace_back(temp_.Path(), file);
        projects_.back().ExeName(file.substr(0, file.size() - 4) + L".exe").Form(L"Form1.frm");
        return projects_.back();
    }
    void Run() {
        for (const auto& p : projects_) engine_.addVbp(p.Write(), true);
        engine_.CompileStart();
    }
    bool Built(const std::wstring& folder, const std::wstring& name) {
        return !testing::ReadStandInOutput(folder + L"\\" + name + L".exe").empty();
    }

    testing::TempFolder temp_{L"run 実行"};
    std::wstring standIn_ = testing::ProgramBeside(L"VBStandIn.exe");
    Win32RunPlatform platform_;
    clsTolvane engine_{platform_};
    std::vector<StandInProject> projects_;
    std::vector<std::wstring> events_;
    std::function<void()> onStart_;
};

TEST_F(CompileRunTest, BoxesThatFollowOrWillNotCloseAndAHungBuildFailAndTheRunGoesOnWithNothingLeftRunning) {
    const std::wstring out = temp_.Folder(L"出力 bin");
    engine_.SetOutFolder(out + L"\\");
    engine_.SetDimension(L"DEBUG = 1 : TRACE = 0");
    Add(L"First.vbp");
    Add(L"Twice.vbp").MissingForm(L"Once.frm").Set(L"StandInSecondBox", L"続きのｴﾗｰ");
    Add(L"Stuck.vbp").MissingForm(L"Gone.frm").Set(L"StandInYesNoBox", L"1");
    Add(L"Hang.vbp").Set(L"StandInHang", L"1").Set(L"StandInRecord", L"hang-started.txt");
    Add(L"Last.vbp");
    AbortWhenStarted abort(engine_, temp_.File(L"hang-started.txt"));

    Run();

    EXPECT_EQ(abort.requests, 1);
    EXPECT_EQ(events_, (std::vector<std::wstring>{L"Start 1", L"First.vbp   ｺﾝﾊﾟｲﾙ終了", L"Start 2",
                                                  L"Twice.vbp   ｺﾝﾊﾟｲﾙ失敗", L"Start 3", L"Stuck.vbp   ｺﾝﾊﾟｲﾙ失敗",
                                                  L"Start 4", L"Hang.vbp   ｺﾝﾊﾟｲﾙ失敗", L"Start 5",
                                                  L"Last.vbp   ｺﾝﾊﾟｲﾙ終了"}));
    EXPECT_EQ(engine_.FailureCount(), 3);
    // Each box's message is recorded, a follow-up's too.
    EXPECT_EQ(engine_.Entry(2).FailureText(),
              L"'" + temp_.File(L"Once.frm") + L"' が見つかりません。\r\n続きのｴﾗｰ");
    EXPECT_EQ(engine_.Entry(3).FailureText().rfind(L"'" + temp_.File(L"Gone.frm") + L"' が見つかりません。\r\n", 0), 0u)
        << testing::ToUtf8(engine_.Entry(3).FailureText());
    EXPECT_FALSE(engine_.Entry(4).FailureText().empty());
    for (const wchar_t* name : {L"First", L"Last"}) {
        auto written = testing::ReadStandInOutput(out + L"\\" + name + L".exe");
        EXPECT_EQ(written[L"Constants"], L"DEBUG=1:TRACE=0") << name;
        EXPECT_EQ(written[L"OutDir"], out + L"\\") << name;
    }
    EXPECT_TRUE(testing::WaitUntil([] { return StandInsLeft() == 0; }, 30s));
}

TEST_F(CompileRunTest, CompilerRemovedDuringTheRunStopsItWithTheStartError) {
    const std::wstring compiler = temp_.Folder(L"VB98") + L"\\VB6.EXE";
    ASSERT_TRUE(CopyFileW(standIn_.c_str(), compiler.c_str(), FALSE));
    engine_.SetVB(compiler);
    for (const wchar_t* name : {L"One.vbp", L"Two.vbp", L"Three.vbp"}) Add(name);
    onStart_ = [&] {
        if (engine_.CurCount() == 2) {
            ASSERT_TRUE(testing::WaitUntil([&] { return DeleteFileW(compiler.c_str()) != FALSE; }, 30s));
        }
    };

    try {
        Run();
        FAIL() << "the run should have ended with the start error";
    } catch (const VbError& e) {
        EXPECT_EQ(e.Number(), static_cast<std::int32_t>(ERROR_FILE_NOT_FOUND));
        EXPECT_EQ(e.Source(), L"clsTolvane");
        EXPECT_FALSE(e.Description().empty());
        EXPECT_EQ(e.Description().find_last_of(L"\r\n"), std::wstring::npos) << "trimmed";
    }
    EXPECT_EQ(events_, (std::vector<std::wstring>{L"Start 1", L"One.vbp   ｺﾝﾊﾟｲﾙ終了", L"Start 2"}));
    EXPECT_EQ(engine_.CompileCount(), 2);
    EXPECT_FALSE(engine_.Entry(2).Failure());
    EXPECT_TRUE(Built(temp_.Path(), L"One"));
    EXPECT_FALSE(Built(temp_.Path(), L"Three"));
}

}  // namespace
}  // namespace tolvane
