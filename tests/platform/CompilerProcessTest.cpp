// The compile run's platform against real processes and windows: the compiler
// stand-in started as VB6 would be, its error boxes found, read and closed.
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
#include "support/VbError.h"

namespace tolvane {
namespace {

using namespace std::chrono_literals;
using testing::ChildProcess;
using testing::StandInProject;
using testing::TempFolder;

const wchar_t kBoxTitle[] = L"Microsoft Visual Basic";

std::wstring Quoted(const std::wstring& s) { return s.find(L' ') == std::wstring::npos ? s : L"\"" + s + L"\""; }

std::wstring MakeCommand(const std::wstring& compiler, const std::wstring& project, const std::wstring& outdir = L"",
                         const std::wstring& constants = L"") {
    std::wstring cmd = compiler + L" /make " + Quoted(project);
    if (!outdir.empty()) cmd += L" /outdir " + Quoted(outdir);
    if (!constants.empty()) cmd += L" /d " + constants;
    return cmd;
}

// The box shown by some process this test started (tests may run side by side).
HWND OwnBox() {
    for (DWORD pid : DescendantsOf(GetCurrentProcessId()))
        if (pid != GetCurrentProcessId())
            if (HWND box = testing::FindTopWindow(kBoxTitle, pid)) return box;
    return nullptr;
}

struct Outcome {
    bool ended = false;
    std::optional<std::wstring> box;
};

// The engine's wait in miniature: until the compiler ends or its box shows.
Outcome Watch(CompilerProcess& p, std::chrono::milliseconds limit = 60s) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (std::chrono::steady_clock::now() < deadline) {
        bool ended = p.HasEnded();
        if (auto box = p.FindErrorBox()) return {ended, box};
        if (ended) return {true, std::nullopt};
        p.WaitStep(15ms);
    }
    return {};
}

class CompilerProcessTest : public ::testing::Test {
protected:
    std::wstring MissingMessage(const std::wstring& path) { return L"'" + path + L"' が見つかりません。"; }

    TempFolder temp_{L"compiler run"};
    Win32RunPlatform platform_;
    std::wstring standIn_ = testing::ProgramBeside(L"VBStandIn.exe");
};

TEST_F(CompilerProcessTest, SuccessfulBuildWritesItsOutputAndEnds) {
    std::wstring out = temp_.Folder(L"bin");
    StandInProject project(temp_.Path());
    project.ExeName(L"Tool.exe").Form(L"Form1.frm").Module(L"Module1", L"Module1.bas").Class(L"Class1", L"Class1.cls");
    std::wstring cmd = MakeCommand(standIn_, project.Write(), out, L"DEBUG=1:TRACE=0");

    auto p = platform_.StartCompiler(cmd);
    Outcome o = Watch(*p);
    EXPECT_TRUE(o.ended);
    EXPECT_FALSE(o.box.has_value());

    auto written = testing::ReadStandInOutput(project.OutputPath(out));
    EXPECT_EQ(written[L"CommandLine"], cmd);
    EXPECT_EQ(written[L"Project"], project.Path());
    EXPECT_EQ(written[L"OutDir"], out);
    EXPECT_EQ(written[L"Constants"], L"DEBUG=1:TRACE=0");
    // Started in a normal window that takes the focus.
    EXPECT_EQ(written[L"ShowWindow"], L"1");
}

TEST_F(CompilerProcessTest, WithoutOutputFolderTheBuildLandsBesideTheProject) {
    StandInProject project(temp_.Path());
    project.Form(L"Form1.frm");
    auto p = platform_.StartCompiler(MakeCommand(standIn_, project.Write()));
    ASSERT_TRUE(p->WaitForExit(60s));
    EXPECT_EQ(testing::ReadStandInOutput(project.OutputPath())[L"OutDir"], L"");
    EXPECT_FALSE(testing::ReadStandInOutput(project.OutputPath()).empty());
}

TEST_F(CompilerProcessTest, PathsWithSpacesAndJapaneseReachTheCompilerUnchanged) {
    // The compiler path itself holds a space and stays unquoted, as the run passes it.
    std::wstring toolFolder = temp_.Folder(L"VB 98 ツール");
    std::wstring compiler = toolFolder + L"\\VB6.EXE";
    ASSERT_TRUE(CopyFileW(standIn_.c_str(), compiler.c_str(), FALSE));
    std::wstring src = temp_.Folder(L"ソース フォルダ");
    std::wstring out = temp_.Folder(L"出力 先");
    StandInProject project(src, L"業務 アプリ.vbp");
    project.ExeName(L"業務.exe").Form(L"フォーム1.frm").Module(L"標準1", L"標準 モジュール.bas");
    std::wstring cmd = MakeCommand(compiler, project.Write(), out, L"区分=1");

    auto p = platform_.StartCompiler(cmd);
    Outcome o = Watch(*p);
    ASSERT_TRUE(o.ended);
    ASSERT_FALSE(o.box.has_value()) << *o.box;
    auto written = testing::ReadStandInOutput(project.OutputPath(out));
    // Wine puts quotes around an unquoted program path that holds a space;
    // Windows hands the line over as given. Everything after it is exact.
    std::wstring received = written[L"CommandLine"];
    std::wstring switches = cmd.substr(compiler.size());
    ASSERT_GE(received.size(), switches.size());
    EXPECT_EQ(received.substr(received.size() - switches.size()), switches);
    std::wstring program = received.substr(0, received.size() - switches.size());
    EXPECT_TRUE(program == compiler || program == L"\"" + compiler + L"\"") << program;
    EXPECT_EQ(written[L"Project"], project.Path());
    EXPECT_EQ(written[L"OutDir"], out);
    EXPECT_EQ(written[L"Constants"], L"区分=1");
}

TEST_F(CompilerProcessTest, ErrorBoxIsFoundReadAndClosedAndTheCompilerEnds) {
    StandInProject project(temp_.Path());
    project.Form(L"Form1.frm").MissingForm(L"Form2.frm");
    auto p = platform_.StartCompiler(MakeCommand(standIn_, project.Write()));

    Outcome o = Watch(*p);
    ASSERT_TRUE(o.box.has_value());
    EXPECT_EQ(*o.box, MissingMessage(temp_.File(L"Form2.frm")));
    EXPECT_FALSE(o.ended);  // the box is modal: the compiler waits for it

    EXPECT_TRUE(p->CloseErrorBox(20s));
    EXPECT_FALSE(p->FindErrorBox().has_value());
    EXPECT_TRUE(p->WaitForExit(60s));
}

TEST_F(CompilerProcessTest, MissingModuleAndClassFilesAreReportedByTheirPath) {
    StandInProject project(temp_.Path());
    project.Form(L"Form1.frm").Module(L"Module1", L"Module1.bas").Class(L"Class1", L"Lib\\Class1.cls", false);
    auto p = platform_.StartCompiler(MakeCommand(standIn_, project.Write()));
    Outcome o = Watch(*p);
    ASSERT_TRUE(o.box.has_value());
    EXPECT_EQ(*o.box, MissingMessage(temp_.File(L"Lib\\Class1.cls")));
    EXPECT_TRUE(p->CloseErrorBox(20s));
}

TEST_F(CompilerProcessTest, UnreadableProjectShowsTheBoxToo) {
    auto p = platform_.StartCompiler(MakeCommand(standIn_, temp_.File(L"NoSuch.vbp")));
    Outcome o = Watch(*p);
    ASSERT_TRUE(o.box.has_value());
    EXPECT_NE(o.box->find(temp_.File(L"NoSuch.vbp")), std::wstring::npos) << *o.box;
    EXPECT_TRUE(p->CloseErrorBox(20s));
    EXPECT_TRUE(p->WaitForExit(60s));
}

TEST_F(CompilerProcessTest, BoxThatShowsLateIsStillFound) {
    StandInProject project(temp_.Path());
    project.MissingForm(L"Late.frm").Set(L"StandInBoxDelayMs", L"1500");
    auto p = platform_.StartCompiler(MakeCommand(standIn_, project.Write()));
    Outcome o = Watch(*p);
    ASSERT_TRUE(o.box.has_value());
    EXPECT_EQ(*o.box, MissingMessage(temp_.File(L"Late.frm")));
    EXPECT_TRUE(p->CloseErrorBox(20s));
    EXPECT_TRUE(p->WaitForExit(60s));
}

TEST_F(CompilerProcessTest, BoxOfAProcessTheCompilerStartedCounts) {
    StandInProject project(temp_.Path());
    project.MissingForm(L"Child.frm").Set(L"StandInChildBox", L"1");
    auto p = platform_.StartCompiler(MakeCommand(standIn_, project.Write()));
    Outcome o = Watch(*p);
    ASSERT_TRUE(o.box.has_value());
    EXPECT_EQ(*o.box, MissingMessage(temp_.File(L"Child.frm")));
    EXPECT_TRUE(p->CloseErrorBox(20s));
    // The compiler was waiting for its helper; with the box closed both end.
    EXPECT_TRUE(p->WaitForExit(60s));
}

TEST_F(CompilerProcessTest, BoxOfAHelperStillCountsAfterTheCompilerHasEnded) {
    StandInProject project(temp_.Path());
    project.MissingForm(L"Orphan.frm").Set(L"StandInChildBox", L"2");
    auto p = platform_.StartCompiler(MakeCommand(standIn_, project.Write()));
    ASSERT_TRUE(p->WaitForExit(60s));
    ASSERT_TRUE(p->HasEnded());
    std::optional<std::wstring> box;
    ASSERT_TRUE(testing::WaitUntil([&] { return (box = p->FindErrorBox()).has_value(); }, 60s));
    EXPECT_EQ(*box, MissingMessage(temp_.File(L"Orphan.frm")));
    EXPECT_TRUE(p->CloseErrorBox(20s));
}

class ForeignBoxTest : public CompilerProcessTest {
protected:
    void SetUp() override {
        foreign_ = std::make_unique<ChildProcess>(Quoted(standIn_) + L" /standinbox Another program's box");
        foreignBox_ = testing::WaitForTopWindow(kBoxTitle, foreign_->Id(), 60s);
        ASSERT_NE(foreignBox_, nullptr);
    }
    void TearDown() override {
        // Still there: nothing of the run touched it.
        EXPECT_TRUE(IsWindow(foreignBox_) && IsWindowVisible(foreignBox_));
        EXPECT_TRUE(foreign_->Running());
    }
    std::unique_ptr<ChildProcess> foreign_;
    HWND foreignBox_ = nullptr;
};

TEST_F(ForeignBoxTest, BoxOfAnotherProgramIsNotTheBuildsFailure) {
    StandInProject project(temp_.Path());
    project.Form(L"Form1.frm").Set(L"StandInDelayMs", L"700");
    auto p = platform_.StartCompiler(MakeCommand(standIn_, project.Write()));
    Outcome o = Watch(*p);
    EXPECT_TRUE(o.ended);
    EXPECT_FALSE(o.box.has_value());
    EXPECT_TRUE(p->CloseErrorBox(5s));  // nothing of this build to close
}

TEST_F(ForeignBoxTest, OnlyTheBuildsOwnBoxIsReadAndClosed) {
    StandInProject project(temp_.Path());
    project.MissingForm(L"Mine.frm");
    auto p = platform_.StartCompiler(MakeCommand(standIn_, project.Write()));
    Outcome o = Watch(*p);
    ASSERT_TRUE(o.box.has_value());
    EXPECT_EQ(*o.box, MissingMessage(temp_.File(L"Mine.frm")));
    EXPECT_TRUE(p->CloseErrorBox(20s));
    EXPECT_TRUE(p->WaitForExit(60s));
}

TEST_F(CompilerProcessTest, BoxThatIgnoresCloseRequestsIsReportedAndEndedWithTheCompiler) {
    StandInProject project(temp_.Path());
    project.MissingForm(L"Stuck.frm").Set(L"StandInStubbornBox", L"1");
    auto p = platform_.StartCompiler(MakeCommand(standIn_, project.Write()));
    Outcome o = Watch(*p);
    ASSERT_TRUE(o.box.has_value());
    EXPECT_EQ(*o.box, MissingMessage(temp_.File(L"Stuck.frm")));
    HWND box = OwnBox();
    ASSERT_NE(box, nullptr);

    EXPECT_FALSE(p->CloseErrorBox(1500ms));
    EXPECT_TRUE(p->FindErrorBox().has_value());

    p->Terminate();
    EXPECT_TRUE(p->HasEnded());
    EXPECT_TRUE(testing::WaitForWindowGone(box, 30s));
    EXPECT_FALSE(p->FindErrorBox().has_value());
}

TEST_F(CompilerProcessTest, TerminateEndsEveryProcessTheCompilerStarted) {
    StandInProject project(temp_.Path());
    project.MissingForm(L"Stuck.frm").Set(L"StandInStubbornBox", L"1").Set(L"StandInChildBox", L"1");
    auto p = platform_.StartCompiler(MakeCommand(standIn_, project.Write()));
    Outcome o = Watch(*p);
    ASSERT_TRUE(o.box.has_value());
    // The box belongs to the helper process, not to the compiler.
    HWND box = OwnBox();
    ASSERT_NE(box, nullptr);
    EXPECT_FALSE(p->CloseErrorBox(1s));

    p->Terminate();
    EXPECT_TRUE(p->HasEnded());
    EXPECT_TRUE(testing::WaitForWindowGone(box, 30s));
}

TEST_F(CompilerProcessTest, ReleasingABuildEndsWhatIsLeftOfIt) {
    StandInProject project(temp_.Path());
    project.Form(L"Form1.frm").Set(L"StandInHang", L"1").Set(L"StandInRecord", L"started.txt");
    HANDLE compiler = nullptr;
    {
        auto p = platform_.StartCompiler(MakeCommand(standIn_, project.Write()));
        ASSERT_TRUE(testing::WaitUntil([&] { return !testing::ReadUtf8Lines(temp_.File(L"started.txt")).empty(); }, 60s));
        // This test starts no other process: our one descendant is the compiler.
        std::vector<DWORD> ours = DescendantsOf(GetCurrentProcessId());
        ASSERT_EQ(ours.size(), 2u);
        compiler = OpenProcess(SYNCHRONIZE, FALSE, ours[1]);
        ASSERT_NE(compiler, nullptr);
        EXPECT_FALSE(p->HasEnded());
    }
    EXPECT_EQ(WaitForSingleObject(compiler, 30000), WAIT_OBJECT_0);
    CloseHandle(compiler);
}

TEST_F(CompilerProcessTest, HungCompilerIsEndedByTerminate) {
    StandInProject project(temp_.Path());
    project.Form(L"Form1.frm").Set(L"StandInHang", L"1");
    auto p = platform_.StartCompiler(MakeCommand(standIn_, project.Write()));
    EXPECT_FALSE(p->WaitForExit(500ms));
    EXPECT_FALSE(p->HasEnded());
    p->Terminate();
    EXPECT_TRUE(p->HasEnded());
    EXPECT_TRUE(p->WaitForExit(0ms));
}

TEST_F(CompilerProcessTest, ExitStatus259IsAnEndLikeAnyOther) {
    StandInProject project(temp_.Path());
    project.Form(L"Form1.frm").Set(L"StandInExitCode", L"259");
    auto p = platform_.StartCompiler(MakeCommand(standIn_, project.Write()));
    Outcome o = Watch(*p);
    EXPECT_TRUE(o.ended);
    EXPECT_FALSE(o.box.has_value());
    EXPECT_TRUE(p->HasEnded());
}

TEST_F(CompilerProcessTest, WaitStepReturnsWhenTheCompilerEnds) {
    StandInProject project(temp_.Path());
    project.Form(L"Form1.frm").Set(L"StandInDelayMs", L"300");
    auto p = platform_.StartCompiler(MakeCommand(standIn_, project.Write()));
    // An interval far beyond the test's time limit: only the process's end can finish this loop in time.
    int steps = 0;
    while (!p->HasEnded() && steps < 1000) {
        p->WaitStep(std::chrono::hours(1));
        ++steps;
    }
    EXPECT_TRUE(p->HasEnded());
}

LRESULT CALLBACK CountingProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_APP) {
        ++*reinterpret_cast<int*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

TEST_F(CompilerProcessTest, WaitingLetsPendingWindowEventsRun) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = CountingProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"CompilerProcessTestCounter";
    RegisterClassW(&wc);
    HWND w = CreateWindowExW(0, wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
    ASSERT_NE(w, nullptr);
    int handled = 0;
    SetWindowLongPtrW(w, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&handled));

    StandInProject project(temp_.Path());
    project.Form(L"Form1.frm").Set(L"StandInHang", L"1");
    auto p = platform_.StartCompiler(MakeCommand(standIn_, project.Write()));
    PostMessageW(w, WM_APP, 0, 0);
    p->WaitStep(std::chrono::hours(1));
    EXPECT_EQ(handled, 1);
    PostMessageW(w, WM_APP, 0, 0);
    EXPECT_FALSE(p->WaitForExit(300ms));
    EXPECT_EQ(handled, 2);
    p->Terminate();
    DestroyWindow(w);
}

TEST_F(CompilerProcessTest, MissingCompilerRaisesThePlatformsStartError) {
    StandInProject project(temp_.Path());
    project.Form(L"Form1.frm");
    try {
        platform_.StartCompiler(MakeCommand(temp_.File(L"VB6.EXE"), project.Write()));
        FAIL() << "the start should have failed";
    } catch (const VbError& e) {
        EXPECT_EQ(e.Number(), static_cast<std::int32_t>(ERROR_FILE_NOT_FOUND));
        EXPECT_EQ(e.Source(), L"clsTolvane");
        EXPECT_FALSE(e.Description().empty());
        EXPECT_EQ(e.Description().find_last_of(L"\r\n"), std::wstring::npos) << "trimmed";
    }
}

TEST_F(CompilerProcessTest, PathExistsSeesFoldersAndFilesOfAnyKind) {
    std::wstring hidden = temp_.File(L"hidden.txt");
    ASSERT_TRUE(testing::WriteBytes(hidden, "x"));
    SetFileAttributesW(hidden.c_str(), FILE_ATTRIBUTE_HIDDEN);
    EXPECT_TRUE(platform_.PathExists(temp_.Path()));
    EXPECT_TRUE(platform_.PathExists(hidden));
    EXPECT_FALSE(platform_.FileExists(hidden));
    EXPECT_FALSE(platform_.PathExists(temp_.File(L"none")));
    EXPECT_FALSE(platform_.PathExists(L""));
}

}  // namespace
}  // namespace tolvane
