// Whole compile runs through the engine on the real platform: the compiler
// stand-in builds, fails with its real error box, vanishes, or hangs.
#include <gtest/gtest.h>

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
using testing::TempFolder;

bool EndsWith(const std::wstring& text, const std::wstring& tail) {
    return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

// No process started by this test is left running.
bool NoChildLeft() {
    return testing::WaitUntil([] { return DescendantsOf(GetCurrentProcessId()).size() == 1; }, 30s);
}

class CompileRunTest : public ::testing::Test {
protected:
    void SetUp() override {
        engine_.SetVB(standIn_);
        engine_.SetExecutionStartHandler([this] {
            events_.push_back(L"Start " + std::to_wstring(engine_.CurCount()));
            if (onStart_) onStart_();
        });
        engine_.SetExecutionStopHandler([this] {
            events_.push_back(L"Stop " + std::to_wstring(engine_.CurCount()));
            stopMessages_.push_back(engine_.VbpMessage());
        });
    }

    std::wstring Project(const std::wstring& file, const std::function<void(StandInProject&)>& shape) {
        StandInProject p(temp_.Path(), file);
        p.ExeName(file.substr(0, file.size() - 4) + L".exe").Form(L"Form1.frm");
        shape(p);
        return p.Write();
    }

    TempFolder temp_{L"run 実行"};
    std::wstring standIn_ = testing::ProgramBeside(L"VBStandIn.exe");
    Win32RunPlatform platform_;
    clsTolvane engine_{platform_};
    std::vector<std::wstring> events_;
    std::vector<std::wstring> stopMessages_;
    std::function<void()> onStart_;
};

TEST_F(CompileRunTest, OneProjectShowingTheErrorBoxFailsAndTheOthersBuild) {
    std::wstring out = temp_.Folder(L"出力 bin");
    engine_.addVbp(Project(L"First.vbp", [](StandInProject&) {}), true);
    engine_.addVbp(Project(L"Second.vbp", [](StandInProject& p) { p.MissingForm(L"Gone.frm"); }), true);
    engine_.addVbp(Project(L"Third.vbp", [](StandInProject&) {}), true);
    engine_.SetOutFolder(out);
    engine_.SetDimension(L"DEBUG = 1 : TRACE = 0");

    engine_.CompileStart();

    EXPECT_EQ(events_, (std::vector<std::wstring>{L"Start 1", L"Stop 1", L"Start 2", L"Stop 2", L"Start 3", L"Stop 3"}));
    EXPECT_EQ(engine_.CompileCount(), 3);
    EXPECT_EQ(engine_.FailureCount(), 1);
    EXPECT_FALSE(engine_.Entry(1).Failure());
    EXPECT_TRUE(engine_.Entry(2).Failure());
    EXPECT_FALSE(engine_.Entry(3).Failure());
    EXPECT_EQ(engine_.Entry(2).FailureText(), L"'" + temp_.File(L"Gone.frm") + L"' が見つかりません。");
    ASSERT_EQ(stopMessages_.size(), 3u);
    EXPECT_TRUE(EndsWith(stopMessages_[0], L"First.vbp   ｺﾝﾊﾟｲﾙ終了")) << stopMessages_[0];
    EXPECT_TRUE(EndsWith(stopMessages_[1], L"Second.vbp   ｺﾝﾊﾟｲﾙ失敗")) << stopMessages_[1];
    EXPECT_TRUE(EndsWith(stopMessages_[2], L"Third.vbp   ｺﾝﾊﾟｲﾙ終了")) << stopMessages_[2];

    for (const wchar_t* name : {L"First", L"Third"}) {
        auto written = testing::ReadStandInOutput(out + L"\\" + name + L".exe");
        EXPECT_EQ(written[L"Constants"], L"DEBUG=1:TRACE=0") << name;
        EXPECT_EQ(written[L"OutDir"], out) << name;
    }
    EXPECT_TRUE(testing::ReadStandInOutput(out + L"\\Second.exe").empty());
    // The failed compiler was let finish once its box had closed.
    EXPECT_TRUE(NoChildLeft());
}

TEST_F(CompileRunTest, BoxThatWillNotCloseFailsTheBuildAndItsCompilerIsEnded) {
    engine_.addVbp(Project(L"Stuck.vbp", [](StandInProject& p) {
                       p.MissingForm(L"Gone.frm").Set(L"StandInStubbornBox", L"1");
                   }), true);
    engine_.addVbp(Project(L"After.vbp", [](StandInProject&) {}), true);

    engine_.CompileStart();

    EXPECT_TRUE(engine_.Entry(1).Failure());
    // The box's message leads the record of the failure.
    EXPECT_EQ(engine_.Entry(1).FailureText().rfind(L"'" + temp_.File(L"Gone.frm") + L"' が見つかりません。", 0), 0u)
        << engine_.Entry(1).FailureText();
    EXPECT_FALSE(engine_.Entry(2).Failure());
    EXPECT_FALSE(testing::ReadStandInOutput(temp_.File(L"After.exe")).empty());
    EXPECT_TRUE(NoChildLeft());
}

TEST_F(CompileRunTest, CompilerRemovedDuringTheRunStopsItWithTheStartError) {
    std::wstring compiler = temp_.Folder(L"VB98") + L"\\VB6.EXE";
    ASSERT_TRUE(CopyFileW(standIn_.c_str(), compiler.c_str(), FALSE));
    engine_.SetVB(compiler);
    for (const wchar_t* name : {L"One.vbp", L"Two.vbp", L"Three.vbp"})
        engine_.addVbp(Project(name, [](StandInProject&) {}), true);
    onStart_ = [&] {
        if (engine_.CurCount() == 2) {
            ASSERT_TRUE(testing::WaitUntil([&] { return DeleteFileW(compiler.c_str()) != FALSE; }, 30s));
        }
    };

    try {
        engine_.CompileStart();
        FAIL() << "the run should have ended with the start error";
    } catch (const VbError& e) {
        EXPECT_EQ(e.Number(), static_cast<std::int32_t>(ERROR_FILE_NOT_FOUND));
        EXPECT_EQ(e.Source(), L"clsTolvane");
        EXPECT_FALSE(e.Description().empty());
    }
    EXPECT_EQ(events_, (std::vector<std::wstring>{L"Start 1", L"Stop 1", L"Start 2"}));
    EXPECT_EQ(engine_.CurCount(), 2);
    EXPECT_EQ(engine_.CompileCount(), 2);
    EXPECT_FALSE(engine_.Entry(2).Failure());
    EXPECT_TRUE(testing::ReadStandInOutput(temp_.File(L"Three.exe")).empty());
}

// A window of the test's own whose timer asks the engine to abandon the
// build once the hung compiler has really started: the run lets window events
// run while it waits, which is how the user's stop command reaches it.
struct AbortWhenStarted {
    static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
        if (msg == WM_TIMER) {
            auto* self = reinterpret_cast<AbortWhenStarted*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
            if (self->requests == 0 && self->engine->IsBuilding() && !testing::ReadUtf8Lines(self->marker).empty()) {
                self->engine->AbortCurrentBuild();
                ++self->requests;
            }
            return 0;
        }
        return DefWindowProcW(hwnd, msg, wp, lp);
    }

    AbortWhenStarted(clsTolvane& e, std::wstring m) : engine(&e), marker(std::move(m)) {
        WNDCLASSW wc{};
        wc.lpfnWndProc = Proc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"CompileRunTestAbort";
        RegisterClassW(&wc);
        window = CreateWindowExW(0, wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        SetTimer(window, 1, 50, nullptr);
    }
    ~AbortWhenStarted() { DestroyWindow(window); }

    clsTolvane* engine;
    std::wstring marker;
    HWND window = nullptr;
    int requests = 0;
};

TEST_F(CompileRunTest, HungBuildIsAbandonedOnRequestAndTheRunGoesOn) {
    engine_.addVbp(Project(L"Hang.vbp", [](StandInProject& p) {
                       p.Set(L"StandInHang", L"1").Set(L"StandInRecord", L"hang-started.txt");
                   }), true);
    engine_.addVbp(Project(L"Next.vbp", [](StandInProject&) {}), true);
    AbortWhenStarted abort(engine_, temp_.File(L"hang-started.txt"));

    engine_.CompileStart();

    EXPECT_EQ(abort.requests, 1);
    EXPECT_EQ(events_, (std::vector<std::wstring>{L"Start 1", L"Stop 1", L"Start 2", L"Stop 2"}));
    EXPECT_TRUE(engine_.Entry(1).Failure());
    EXPECT_FALSE(engine_.Entry(1).FailureText().empty());
    EXPECT_FALSE(engine_.Entry(2).Failure());
    EXPECT_FALSE(testing::ReadStandInOutput(temp_.File(L"Next.exe")).empty());
    EXPECT_TRUE(NoChildLeft());
}

}  // namespace
}  // namespace tolvane
