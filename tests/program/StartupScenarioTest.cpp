// Starting and ending the program: the first start without settings, the
// single instance, the help menu, and the list that reopens at start-up.
#include "ProgramScenario.h"
#include "ui/dialogs/frmAbout.h"
#include "ui/dialogs/frmOption.h"

namespace tolvane::testing {
namespace {

// One value under HKEY_CURRENT_USER set for the test's length. Going removes
// it: Wine then takes its default (96 dpi, 1-pixel borders), as before.
struct UserSetting {
    UserSetting(const wchar_t* key, const wchar_t* name, DWORD type, const void* value, DWORD size)
        : key(key), name(name) {
        RegSetKeyValueW(HKEY_CURRENT_USER, key, name, type, value, size);
    }
    ~UserSetting() { RegDeleteKeyValueW(HKEY_CURRENT_USER, key, name); }
    UserSetting(const UserSetting&) = delete;
    UserSetting& operator=(const UserSetting&) = delete;
    const wchar_t* key;
    const wchar_t* name;
};

struct CutOffSearch {
    RECT client;
    std::vector<int> cut;
};

BOOL CALLBACK NoteCutOff(HWND c, LPARAM param) {
    auto* s = reinterpret_cast<CutOffSearch*>(param);
    wchar_t kind[32] = {};
    GetClassNameW(c, kind, 32);
    RECT r{};
    if (!IsWindowVisible(c) || !GetWindowRect(c, &r)) return TRUE;
    if (lstrcmpW(kind, L"TolvaneContainer") == 0 && GetWindowLongPtrW(c, GWLP_USERDATA) == 0) return TRUE;
    // A drop-down's window includes its closed list.
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    if (lstrcmpiW(kind, L"ComboBox") == 0 && GetComboBoxInfo(c, &info)) r.bottom = r.top + info.rcItem.bottom + info.rcItem.top;
    const RECT& a = s->client;
    if (r.left < a.left || r.top < a.top || r.right > a.right || r.bottom > a.bottom) s->cut.push_back(GetDlgCtrlID(c));
    return TRUE;
}

// The visible controls of a window (at any depth) that reach outside its
// client area. Borderless panels show nothing of their own and are passed over.
std::vector<int> ControlsCutOff(HWND window) {
    CutOffSearch search{};
    GetClientRect(window, &search.client);
    MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&search.client), 2);
    EnumChildWindows(window, NoteCutOff, reinterpret_cast<LPARAM>(&search));
    return search.cut;
}

TEST(StartupScenario, FirstStartAsksForTheCompilerASecondStartIsRefusedHelpAndTheListForgotten) {
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
        EXPECT_EQ(WindowText(Child(options, frmOption::txtEXE)), L"");
        Click(Child(options, frmOption::cmdCancel));
        ASSERT_TRUE(tolvane.WaitForExit());
        EXPECT_FALSE(program.Has(L"Tolvane.ini"));
        EXPECT_FALSE(program.Has(L"DialogBox.ini"));
    }

    // Settings without a compiler still ask for one; the list opens after.
    const Project app = MakeProject(program, {L"ソース", L"App"}, L"");
    const std::wstring list = program.File(L"一覧.clt");
    WriteList(list, {{true, app.path}});
    program.WriteIni(L"Tolvane.ini", {{L"PREV_List", list}});
    const auto iniBefore = program.Bytes(L"Tolvane.ini");

    RunningProgram tolvane(program);
    HWND options = tolvane.WaitForCaption(L"ｵﾌﾟｼｮﾝ");
    ASSERT_NE(options, nullptr);
    EXPECT_EQ(tolvane.FindOfClass(kMainClass), nullptr);
    HWND path = Child(options, frmOption::txtEXE);
    CaptureWindow(options, "option_dialog");
    // What is no compiler is refused; what the settings' code page cannot
    // hold is never reported as set. Neither is written.
    const std::wstring unstorable = program.Folder(L"한국") + L"\\VB6.EXE";
    ASSERT_TRUE(CopyFileW(StandInExe().c_str(), unstorable.c_str(), FALSE));
    const std::pair<std::wstring, std::wstring> refused[] = {
        {program.File(L"VB6.EXE"), L"VB.EXEのパスが間違っています"},
        {program.Path(), L"VB.EXEのパスが間違っています"},
        {L"   ", L"VB.EXEのパスが間違っています"},
        {unstorable, L"Tolvane.iniに書き込めませんでした"},
    };
    for (const auto& [typed, reason] : refused) {
        SetWindowTextTo(path, typed);
        Click(Child(options, frmOption::cmdGo));
        ExpectBox(tolvane, kWarningBoxClass, L"", reason);
    }
    EXPECT_EQ(program.Bytes(L"Tolvane.ini"), iniBefore);
    // Blanks around the path are trimmed before it is checked and written.
    SetWindowTextTo(path, L"  " + compiler + L" ");
    Click(Child(options, frmOption::cmdGo));
    EXPECT_TRUE(LineShows(tolvane.WaitForClass(kWarningBoxClass), 1, kNavyText));
    ExpectBox(tolvane, kWarningBoxClass, L"", L"設定しました");
    EXPECT_EQ(WindowText(path), compiler);
    Click(Child(options, frmOption::cmdCancel));

    HWND main = tolvane.WaitForMain();
    ASSERT_NE(main, nullptr);

    // The build runs the compiler just named, with the arguments of the box.
    SetWindowTextTo(tolvane.Control(ids::txtDimension), L"DEMO = 1 : 版 = 2");
    EXPECT_EQ(RunToTheEnd(tolvane).first, L"");
    auto built = ReadStandInOutput(app.output);
    EXPECT_EQ(built[L"Program"], compiler);
    EXPECT_EQ(built[L"Constants"], L"DEMO=1:版=2");

    // Another compiler through the menu counts for the very next run.
    const std::wstring other = program.Folder(L"別の コンパイラ") + L"\\VB6.EXE";
    ASSERT_TRUE(CopyFileW(StandInExe().c_str(), other.c_str(), FALSE));
    ASSERT_NE(options = Opened(tolvane, ids::mnuEditTool, L"ｵﾌﾟｼｮﾝ"), nullptr);
    path = Child(options, frmOption::txtEXE);
    EXPECT_EQ(WindowText(path), compiler);
    SetWindowTextTo(path, other);
    Click(Child(options, frmOption::cmdGo));
    ExpectBox(tolvane, kWarningBoxClass, L"", L"設定しました");
    ASSERT_TRUE(Answer(options, frmOption::cmdCancel));
    ASSERT_TRUE(WaitUntil([&] { return IsWindowEnabled(main) != FALSE; }, 10s));
    EXPECT_EQ(RunToTheEnd(tolvane).first, L"");
    EXPECT_EQ(ReadStandInOutput(app.output)[L"Program"], other);

    // Started again while another program is in front: refused, and after
    // the warning the running Tolvane comes forward.
    {
        OtherProgramWindow inFront;
        RunningProgram second(program, {L"", false});
        ExpectBox(second, kWarningBoxClass, L"すでにTolvaneは起動しています", L"なお、複数起動は出来ません");
        ASSERT_TRUE(second.WaitForExit());
        EXPECT_EQ(second.FindOfClass(kSplashClass), nullptr);
        EXPECT_TRUE(WaitUntil([&] { return GetForegroundWindow() == main; }, 10s));
    }
    EXPECT_TRUE(IsWindowEnabled(main));
    EXPECT_EQ(tolvane.FindOfClass(kWarningBoxClass), nullptr);
    EXPECT_EQ(tolvane.Items().size(), 1u);

    // The usage text opens in the program for text files, which is closed again.
    tolvane.Command(ids::mnuEditUse);
    const std::wstring editor = L"ReadMe.txt - メモ帳";
    HWND readMe = WaitForTop(0, nullptr, &editor, 60s);
    ASSERT_NE(readMe, nullptr) << "no editor showed ReadMe.txt";
    EXPECT_TRUE(IsWindowEnabled(main));
    PostMessageW(readMe, WM_CLOSE, 0, 0);
    // The usage text is missing beside the program: said in red.
    ASSERT_TRUE(DeleteFileW(program.File(L"ReadMe.txt").c_str()));
    tolvane.Command(ids::mnuEditUse);
    EXPECT_TRUE(LineShows(tolvane.WaitForClass(kWarningBoxClass), 1, kRedText));
    ExpectBox(tolvane, kWarningBoxClass, L"", L"ReadMe.txtが見つかりません");

    // The version window, modal over the main window.
    HWND about = Opened(tolvane, ids::mnuEditVer, L"ﾊﾞｰｼﾞｮﾝ情報");
    ASSERT_NE(about, nullptr);
    EXPECT_EQ(WindowText(Child(about, frmAbout::kLblVersion)), L"Ver 2.0.2");
    EXPECT_FALSE(IsWindowEnabled(main));
    CaptureWindow(about, "about");
    ASSERT_TRUE(Answer(about, frmAbout::kCmdOK));
    ASSERT_TRUE(WaitUntil([&] { return IsWindowEnabled(main) != FALSE; }, 10s));

    // A run without failures leaves the list unchanged: the close box asks
    // nothing. The start-up option turned off, the list is forgotten.
    tolvane.Command(ids::mnuEditInitialize);
    PostMessageW(main, WM_CLOSE, 0, 0);
    ASSERT_TRUE(tolvane.WaitForExit());
    const std::string ini = program.Bytes(L"Tolvane.ini").value_or("");
    EXPECT_EQ(ini.rfind("[COMMON]\r\n", 0), 0u) << ini;  // no byte-order mark before it
    EXPECT_NE(ini.find(Ansi(L"EXE=" + other + L"\r\n")), std::string::npos) << ini;
    EXPECT_NE(ini.find("PREV_List=\r\n"), std::string::npos) << ini;
    EXPECT_NE(ini.find("TimeLimit=30\r\n"), std::string::npos) << ini;  // written out for users to find
    RunningProgram last(program);
    ASSERT_NE(last.WaitForMain(), nullptr);
    EXPECT_TRUE(last.Items().empty());
}

// Windows 10 and 11 draw 8-pixel resizing borders, and users scale their
// screens: at every density, with such a frame, nothing is cut off.
TEST(StartupScenario, AtEachScreenDensityWithAThickFrameNothingIsCutOff) {
    ProgramFolder program;
    program.WriteTolvaneIni();
    const UserSetting border(L"Control Panel\\Desktop\\WindowMetrics", L"BorderWidth", REG_SZ, L"8", 4);
    for (DWORD dpi : {120u, 144u, 192u}) {
        SCOPED_TRACE(dpi);
        const UserSetting density(L"Control Panel\\Desktop", L"LogPixels", REG_DWORD, &dpi, sizeof dpi);
        RunningProgram tolvane(program);
        HWND main = tolvane.WaitForMain();
        ASSERT_NE(main, nullptr);
        EXPECT_EQ(ControlsCutOff(main), std::vector<int>{});
        HWND chooser = Opened(tolvane, ids::mnuAddList, L"vbp指定");
        ASSERT_NE(chooser, nullptr);
        RECT outer{}, client{};
        GetWindowRect(chooser, &outer);
        GetClientRect(chooser, &client);
        // The frame really is thicker than the layout's 4-pixel borders.
        EXPECT_GE((outer.right - outer.left) - client.right, 16);
        EXPECT_EQ(ControlsCutOff(chooser), std::vector<int>{});
        if (dpi == 144) CaptureWindow(chooser, "chooser_144dpi");
        ASSERT_TRUE(Answer(chooser, frmDialogBox::cmdCancel));
        PostMessageW(main, WM_CLOSE, 0, 0);
        ASSERT_TRUE(tolvane.WaitForExit());
    }
}

}  // namespace
}  // namespace tolvane::testing
