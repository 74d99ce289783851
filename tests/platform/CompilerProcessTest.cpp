// The compile run's platform against real processes and windows: the compiler
// stand-in's error boxes found, read and closed where the whole-program runs
// do not reach (late boxes, helpers' boxes, other programs' boxes, status 259).
#include <gtest/gtest.h>

#include <chrono>
#include <optional>

#include "common/ChildProcess.h"
#include "common/StandInProject.h"
#include "common/TempFolder.h"
#include "common/TextFiles.h"
#include "common/UiDriver.h"
#include "engine/win32/JobProcess.h"
#include "engine/win32/Win32RunPlatform.h"
#include "support/win32/Files.h"

namespace tolvane {
namespace {

using namespace std::chrono_literals;
using testing::StandInProject;

const std::wstring kBoxTitle = L"Microsoft Visual Basic";

// The box shown by some process this test started.
HWND OwnBox() {
    for (DWORD pid : DescendantsOf(GetCurrentProcessId()))
        if (pid != GetCurrentProcessId())
            if (HWND box = testing::FindTop(pid, nullptr, &kBoxTitle)) return box;
    return nullptr;
}

struct Outcome {
    bool ended = false;
    std::optional<std::wstring> box;
};

// The engine's wait in miniature: until the compiler ends or its box shows.
Outcome Watch(CompilerProcess& p) {
    const auto deadline = std::chrono::steady_clock::now() + 60s;
    while (std::chrono::steady_clock::now() < deadline) {
        const bool ended = p.HasEnded();
        if (auto box = p.FindErrorBox()) return {ended, box};
        if (ended) return {true, std::nullopt};
        p.WaitStep(15ms);
    }
    return {};
}

// Asks the build's boxes to close until none is left or the limit passes.
bool CloseBoxes(CompilerProcess& p, std::chrono::milliseconds limit) {
    return testing::WaitUntil([&] {
        if (!p.FindErrorBox()) return true;
        p.RequestErrorBoxClose();
        return false;
    }, limit);
}

class CompilerProcessTest : public ::testing::Test {
protected:
    // Starts the stand-in on a project of one form, shaped further by the test.
    std::unique_ptr<CompilerProcess> Start(StandInProject& project) {
        return platform_.StartCompiler(standIn_, standIn_ + L" /make \"" + project.Write() + L"\"");
    }
    StandInProject Project() { return StandInProject(temp_.Path()); }
    std::wstring Missing(const std::wstring& name) { return L"'" + temp_.File(name) + L"' が見つかりません。"; }

    // Finds the build's box, closes it, and sees the compiler end.
    void ExpectBoxClosedAndEnd(CompilerProcess& p, const std::wstring& missing) {
        const Outcome o = Watch(p);
        ASSERT_TRUE(o.box.has_value());
        EXPECT_EQ(*o.box, Missing(missing));
        EXPECT_FALSE(o.ended);  // the box is modal: the compiler waits for it
        EXPECT_TRUE(CloseBoxes(p, 20s));
        EXPECT_FALSE(p.FindErrorBox().has_value());
        EXPECT_TRUE(testing::WaitUntil([&] { return p.HasEnded(); }, 60s));
        EXPECT_EQ(p.ExitCode(), 1u);  // a failed build
    }

    // No space before the test's own folders: the first place a space-split
    // search would try is one of them.
    testing::TempFolder temp_{L"compiler_run"};
    Win32RunPlatform platform_;
    std::wstring standIn_ = FileBesideProgram(L"VBStandIn.exe");
};

TEST_F(CompilerProcessTest, BoxShownLateOrByAHelperProcessIsFoundReadAndClosed) {
    auto late = Project();
    late.Form(L"Form1.frm").MissingForm(L"Late.frm").Set(L"StandInBoxDelayMs", L"1500");
    ExpectBoxClosedAndEnd(*Start(late), L"Late.frm");
    StandInProject child(temp_.Path(), L"Child.vbp");
    child.MissingForm(L"Child.frm").Set(L"StandInChildBox", L"1");
    ExpectBoxClosedAndEnd(*Start(child), L"Child.frm");  // the compiler waited for its helper

    // A helper's box still counts after the compiler has ended.
    StandInProject orphan(temp_.Path(), L"Orphan.vbp");
    orphan.MissingForm(L"Orphan.frm").Set(L"StandInChildBox", L"2");
    auto p = Start(orphan);
    ASSERT_TRUE(testing::WaitUntil([&] { return p->HasEnded(); }, 60s));
    std::optional<std::wstring> box;
    ASSERT_TRUE(testing::WaitUntil([&] { return (box = p->FindErrorBox()).has_value(); }, 60s));
    EXPECT_EQ(*box, Missing(L"Orphan.frm"));
    EXPECT_TRUE(CloseBoxes(*p, 20s));
}

TEST_F(CompilerProcessTest, BoxOfAnotherProgramWithTheSameTitleIsLeftAlone) {
    testing::ChildProcess foreign(L"\"" + standIn_ + L"\" /standinbox Another program's box");
    HWND foreignBox = testing::WaitForTop(foreign.Id(), nullptr, &kBoxTitle, 60s);
    ASSERT_NE(foreignBox, nullptr);

    auto clean = Project();
    clean.Form(L"Form1.frm").Set(L"StandInDelayMs", L"700");
    auto p = Start(clean);
    const Outcome o = Watch(*p);
    EXPECT_TRUE(o.ended);
    EXPECT_FALSE(o.box.has_value());
    EXPECT_TRUE(CloseBoxes(*p, 5s));  // nothing of this build to close

    StandInProject failing(temp_.Path(), L"Mine.vbp");
    failing.MissingForm(L"Mine.frm");
    auto q = Start(failing);
    ExpectBoxClosedAndEnd(*q, L"Mine.frm");

    EXPECT_TRUE(IsWindow(foreignBox) && IsWindowVisible(foreignBox));
    EXPECT_TRUE(foreign.Running());
}

TEST_F(CompilerProcessTest, BoxThatIgnoresCloseIsGivenUpOnAndTerminateEndsEveryProcess) {
    // The box belongs to a helper the compiler started, and asks Yes/No: with
    // no Cancel button it ignores WM_CLOSE.
    auto project = Project();
    project.MissingForm(L"Stuck.frm").Set(L"StandInYesNoBox", L"1").Set(L"StandInChildBox", L"1");
    auto p = Start(project);
    const Outcome o = Watch(*p);
    ASSERT_TRUE(o.box.has_value());
    EXPECT_EQ(*o.box, Missing(L"Stuck.frm"));
    HWND box = OwnBox();
    ASSERT_NE(box, nullptr);

    EXPECT_FALSE(CloseBoxes(*p, 1500ms));
    EXPECT_TRUE(p->FindErrorBox().has_value());
    EXPECT_FALSE(p->FindPrompt().has_value());  // the box is no prompt of another title

    p->Terminate();
    EXPECT_TRUE(p->HasEnded());
    EXPECT_TRUE(testing::WaitForWindowGone(box, 30s));
    EXPECT_FALSE(p->FindErrorBox().has_value());
}

TEST_F(CompilerProcessTest, ExitStatus259IsAnEndAndWakesTheWait) {
    // 259 is STILL_ACTIVE: running-ness must come from the handle, not the code.
    // An hour-long step: only the process's end can finish this loop in time.
    auto project = Project();
    project.Form(L"Form1.frm").Set(L"StandInExitCode", L"259").Set(L"StandInDelayMs", L"300");
    auto p = Start(project);
    for (int steps = 0; !p->HasEnded() && steps < 1000; ++steps) p->WaitStep(std::chrono::hours(1));
    EXPECT_TRUE(p->HasEnded());
    EXPECT_FALSE(p->FindErrorBox().has_value());
    EXPECT_EQ(p->ExitCode(), 259u);
}

}  // namespace
}  // namespace tolvane
