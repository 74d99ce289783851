// A compile run through the engine on the real platform whose compiler
// vanishes mid-run: the start error ends the run. (Error boxes through the
// whole program are the scenarios' part.)
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "common/StandInProject.h"
#include "common/TempFolder.h"
#include "common/TextFiles.h"
#include "common/UiDriver.h"
#include "engine/clsTolvane.h"
#include "engine/win32/Win32RunPlatform.h"
#include "support/VbError.h"

namespace tolvane {
namespace {

using namespace std::chrono_literals;
using testing::StandInProject;

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
