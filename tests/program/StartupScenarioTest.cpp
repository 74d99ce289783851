// Starting and ending the program: the first start without settings, the
// single instance, the help menu, and the list that reopens at start-up.
#include "ProgramScenario.h"

namespace tolvane::testing {
namespace {

constexpr COLORREF kRedText = RGB(255, 0, 0);
constexpr COLORREF kNavyText = RGB(0, 0, 128);
constexpr int kAboutOK = 100;
constexpr int kAboutVersion = 105;

std::string Ansi(const std::wstring& text) {
    const auto bytes = ToAnsi(text);
    return bytes ? *bytes : std::string();
}

// Presses a box's OK after checking its lines.
void ExpectBox(RunningProgram& program, const wchar_t* boxClass, const std::wstring& line1, const std::wstring& line2,
               int answer = box_ids::cmdOK) {
    HWND box = program.WaitForBox(boxClass);
    ASSERT_NE(box, nullptr) << ToUtf8(line1 + L" / " + line2);
    const BoxLines lines = RunningProgram::LinesOf(box);
    EXPECT_EQ(lines.line1, line1);
    EXPECT_EQ(lines.line2, line2);
    ASSERT_TRUE(RunningProgram::Answer(box, answer));
}

TEST(StartupScenario, FirstStartAsksForTheCompilerAndEndsWhenNoneIsGiven) {
    ProgramFolder program;
    // Copied where the path has Japanese and a blank in it.
    const std::wstring compiler = program.Folder(L"コンパイラ 置き場") + L"\\VBStandIn.exe";
    ASSERT_TRUE(CopyFileW(StandInExe().c_str(), compiler.c_str(), FALSE));

    {
        // By the splash screen's own timer this time.
        RunningProgram tolvane(program, {L"", false});
        HWND options = tolvane.WaitForCaption(L"ｵﾌﾟｼｮﾝ");
        ASSERT_NE(options, nullptr);
        EXPECT_EQ(tolvane.FindOfClass(kMainClass), nullptr);
        EXPECT_EQ(FullWindowText(Child(options, option_ids::txtEXE)), L"");
        Click(Child(options, option_ids::cmdCancel));
        ASSERT_TRUE(tolvane.WaitForExit());
        EXPECT_FALSE(program.Has(L"Tolvane.ini"));
        EXPECT_FALSE(program.Has(L"DialogBox.ini"));
    }

    RunningProgram tolvane(program);
    HWND options = tolvane.WaitForCaption(L"ｵﾌﾟｼｮﾝ");
    ASSERT_NE(options, nullptr);
    HWND path = Child(options, option_ids::txtEXE);
    // A wrong path is refused and not written.
    SetWindowTextTo(path, program.File(L"VB6.EXE"));
    Click(Child(options, option_ids::cmdGo));
    ExpectBox(tolvane, kWarningBoxClass, L"", L"VB.EXEのパスが間違っています");
    EXPECT_FALSE(program.Has(L"Tolvane.ini"));
    // Blanks around the path are trimmed before it is checked and written.
    SetWindowTextTo(path, L"  " + compiler + L" ");
    Click(Child(options, option_ids::cmdGo));
    HWND set = tolvane.WaitForBox(kWarningBoxClass);
    ASSERT_NE(set, nullptr);
    EXPECT_EQ(RunningProgram::LinesOf(set).line2, L"設定しました");
    EXPECT_TRUE(WaitUntil([&] { return CountScreenPixels(Child(set, box_ids::lblMessage1), kNavyText) > 0; }, 10s));
    ASSERT_TRUE(RunningProgram::Answer(set, box_ids::cmdOK));
    EXPECT_EQ(FullWindowText(path), compiler);
    Click(Child(options, option_ids::cmdCancel));

    HWND main = tolvane.WaitForMain();
    ASSERT_NE(main, nullptr);
    EXPECT_TRUE(tolvane.Items().empty());
    // A run of nothing uses the compiler just named: it checks the path,
    // builds nothing, and ends with the navy notice.
    tolvane.Command(ids::mnuCompile);
    HWND notice = tolvane.WaitForBox(kWarningBoxClass);
    ASSERT_NE(notice, nullptr);
    EXPECT_EQ(RunningProgram::LinesOf(notice).line2, L"ｺﾝﾊﾟｲﾙが終了しました");
    EXPECT_TRUE(
        WaitUntil([&] { return CountScreenPixels(Child(notice, box_ids::lblMessage1), kNavyText) > 0; }, 10s));
    ASSERT_TRUE(RunningProgram::Answer(notice, box_ids::cmdOK));
    const auto log = tolvane.LogLines();
    ASSERT_EQ(log.size(), 6u);
    EXPECT_EQ(log[0], L"");
    EXPECT_EQ(log[1], kRule);
    EXPECT_EQ(tolvane.Text(ids::lblCount), L"0/0");

    // Nothing changed: closing asks nothing.
    tolvane.Command(ids::mnuEditEnd);
    ASSERT_TRUE(tolvane.WaitForExit());
    const auto ini = program.Bytes(L"Tolvane.ini");
    ASSERT_TRUE(ini.has_value());
    EXPECT_NE(ini->find("[COMMON]\r\n"), std::string::npos);
    EXPECT_NE(ini->find(Ansi(L"EXE=" + compiler + L"\r\n")), std::string::npos) << *ini;
    EXPECT_NE(ini->find("PREV_List=\r\n"), std::string::npos) << *ini;
    EXPECT_EQ(ini->find("\xEF\xBB\xBF"), std::string::npos);
}

TEST(StartupScenario, SecondInstanceIsRefusedHelpAndTheListReopenedAtStart) {
    ProgramFolder program;
    const std::wstring folder = program.Folder(L"一覧 フォルダ");
    const Project app = MakeProject(program, {L"ソース", L"App"}, L"");
    const Project lib = MakeProject(program, {L"ソース\\部品", L"Lib"}, L"");
    const std::wstring list = folder + L"\\前回.clt";
    WriteList(list, {{true, app.path}, {false, lib.path}});
    program.WriteTolvaneIni(StandInExe(), list);

    {
        RunningProgram first(program);
        HWND main = first.WaitForMain();
        ASSERT_NE(main, nullptr);
        auto items = first.Items();
        ASSERT_EQ(items.size(), 2u);
        EXPECT_EQ(items[0].text, L"App.vbp");
        EXPECT_TRUE(items[0].checked);
        EXPECT_EQ(items[1].text, L"Lib.vbp");
        EXPECT_FALSE(items[1].checked);

        {
            RunningProgram second(program, {L"", false});
            ExpectBox(second, kWarningBoxClass, L"すでにTolvaneは起動しています", L"なお、複数起動は出来ません");
            ASSERT_TRUE(second.WaitForExit());
            EXPECT_EQ(second.FindOfClass(kSplashClass), nullptr);
        }
        EXPECT_TRUE(first.Running());
        EXPECT_TRUE(IsWindowEnabled(main));
        EXPECT_EQ(first.FindOfClass(kWarningBoxClass), nullptr);
        EXPECT_EQ(first.Items().size(), 2u);

        // The usage text is missing beside the program.
        ASSERT_TRUE(DeleteFileW(program.File(L"ReadMe.txt").c_str()));
        first.Command(ids::mnuEditUse);
        HWND warning = first.WaitForBox(kWarningBoxClass);
        ASSERT_NE(warning, nullptr);
        const BoxLines lines = RunningProgram::LinesOf(warning);
        EXPECT_EQ(lines.line1, L"");
        EXPECT_EQ(lines.line2, L"ReadMe.txtが見つかりません");
        EXPECT_TRUE(
            WaitUntil([&] { return CountScreenPixels(Child(warning, box_ids::lblMessage1), kRedText) > 0; }, 10s));
        ASSERT_TRUE(RunningProgram::Answer(warning, box_ids::cmdOK));

        // The version window, modal over the main window.
        first.Command(ids::mnuEditVer);
        HWND about = first.WaitForCaption(L"ﾊﾞｰｼﾞｮﾝ情報");
        ASSERT_NE(about, nullptr);
        EXPECT_EQ(FullWindowText(Child(about, kAboutVersion)), L"Ver 2.0.2");
        EXPECT_FALSE(IsWindowEnabled(main));
        Click(Child(about, kAboutOK));
        ASSERT_TRUE(WaitForWindowGone(about));
        ASSERT_TRUE(WaitUntil([&] { return IsWindowEnabled(main) != FALSE; }, 10s));

        // Unchanged since start-up: closing asks nothing.
        PostMessageW(main, WM_CLOSE, 0, 0);
        ASSERT_TRUE(first.WaitForExit());
    }
    // Written back as it was read: a path mangled on its way through the
    // program would differ.
    auto ini = program.Bytes(L"Tolvane.ini");
    ASSERT_TRUE(ini.has_value());
    EXPECT_NE(ini->find(Ansi(L"PREV_List=" + list + L"\r\n")), std::string::npos) << *ini;

    {
        // Reopened again; the start-up option turned off, so it is forgotten.
        RunningProgram again(program);
        ASSERT_NE(again.WaitForMain(), nullptr);
        EXPECT_EQ(again.Items().size(), 2u);
        again.Command(ids::mnuEditInitialize);
        again.Command(ids::mnuEditEnd);
        ASSERT_TRUE(again.WaitForExit());
    }
    ini = program.Bytes(L"Tolvane.ini");
    ASSERT_TRUE(ini.has_value());
    EXPECT_NE(ini->find("PREV_List=\r\n"), std::string::npos) << *ini;

    RunningProgram last(program);
    ASSERT_NE(last.WaitForMain(), nullptr);
    EXPECT_TRUE(last.Items().empty());
}

}  // namespace
}  // namespace tolvane::testing
