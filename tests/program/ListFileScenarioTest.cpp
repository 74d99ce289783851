// Compile-list files through the program's own chooser: save, new, open, the
// list reopened at the next start, and saving when the program closes.
#include "ProgramScenario.h"

namespace tolvane::testing {
namespace {

TEST(ListFileScenario, SaveNewOpenReopenAtStartAndSaveOnClose) {
    ProgramFolder program;
    const std::wstring source = program.Folder(L"ソース 一式");
    const std::wstring app = StandInProject(source, L"App.vbp").Form(L"frmMain.frm").Write();
    const std::wstring lib = StandInProject(source, L"Lib.vbp").Name(L"Lib").Form(L"frmMain.frm").Write();
    // The chooser opens in the process's folder on first use, and where the
    // settings say for the project chooser.
    const std::wstring lists = program.Folder(L"リスト 置き場");
    program.WriteTolvaneIni();
    program.WriteIni(L"DialogBox.ini", {{L"PREV_Vbp", source + L"\\"}});
    const std::wstring saved = lists + L"\\保存一覧.clt";

    {
        RunningProgram tolvane(program, {lists, true});
        HWND main = tolvane.WaitForMain();
        ASSERT_NE(main, nullptr);

        for (const wchar_t* name : {L"App.vbp", L"Lib.vbp"}) {
            tolvane.Command(ids::mnuAddList);
            ASSERT_TRUE(Chosen(tolvane, L"vbp指定", name));
        }
        ASSERT_TRUE(ListShows(tolvane, L"+App.vbp +Lib.vbp "));
        ASSERT_TRUE(tolvane.SetItemChecked(1, false));

        // Ctrl+S through the real keyboard; the name gets the list extension.
        ASSERT_TRUE(tolvane.PressKeys(main, {VK_CONTROL, 'S'}));
        HWND chooser = tolvane.Choose(L"ｺﾝﾊﾟｲﾙﾘｽﾄ保存", L"保存一覧");
        ASSERT_NE(chooser, nullptr);
        EXPECT_TRUE(LineShows(tolvane.WaitForClass(kWarningBoxClass), 1, kNavyText));
        ExpectBox(tolvane, kWarningBoxClass, L"", L"保存しました");
        EXPECT_FALSE(IsWindow(chooser) && IsWindowVisible(chooser));
        EXPECT_EQ(ReadBytes(saved), Ansi(L"True\t" + app + L"\r\nFalse\t" + lib + L"\r\n\r\n"));
        const std::string chooserIni = program.Bytes(L"DialogBox.ini").value_or("");
        EXPECT_NE(chooserIni.find(Ansi(L"PREV_Tolvane_List=" + lists + L"\\\r\n")), std::string::npos) << chooserIni;
        EXPECT_NE(chooserIni.find(Ansi(L"PREV_Vbp=" + source + L"\\\r\n")), std::string::npos) << chooserIni;

        // A new list, then the saved one opened again, from where it was saved.
        tolvane.Command(ids::mnuDelAllList);
        ASSERT_TRUE(WaitUntil([&] { return tolvane.Items().empty(); }, 20s));
        ASSERT_TRUE(tolvane.PressKeys(main, {VK_CONTROL, 'O'}));
        ASSERT_TRUE(Chosen(tolvane, L"ｺﾝﾊﾟｲﾙﾘｽﾄ選択", L"保存一覧.clt"));
        ASSERT_TRUE(ListShows(tolvane, L"+App.vbp -Lib.vbp ")) << ToUtf8(Marks(tolvane.Items()));

        // Start-up option on; the list was just opened, so closing asks nothing.
        tolvane.Command(ids::mnuEditInitialize);
        tolvane.Command(ids::mnuEditEnd);
        ASSERT_TRUE(tolvane.WaitForExit());
    }
    EXPECT_NE(program.Bytes(L"Tolvane.ini").value_or("").find(Ansi(L"PREV_List=" + saved + L"\r\n")), std::string::npos);

    RunningProgram tolvane(program, {lists, true});
    HWND main = tolvane.WaitForMain();
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(Marks(tolvane.Items()), L"+App.vbp -Lib.vbp ");

    // Changed, then closed: the question, OK, the save chooser, the
    // overwrite question, OK; the window then goes.
    tolvane.Command(ids::mnuReversalCheck);
    ASSERT_TRUE(WaitUntil([&] { return tolvane.Items()[1].checked; }, 20s));
    PostMessageW(main, WM_CLOSE, 0, 0);
    ExpectBox(tolvane, kYesNoBoxClass, L"ｺﾝﾊﾟｲﾙﾘｽﾄが変更されています", L"保存しますか？");
    ASSERT_NE(tolvane.Choose(L"ｺﾝﾊﾟｲﾙﾘｽﾄ保存", L"保存一覧"), nullptr);
    ExpectBox(tolvane, kYesNoBoxClass, L"「保存一覧.clt」は既に存在します", L"既存のファイルを書き換えますか？");
    ExpectBox(tolvane, kWarningBoxClass, L"", L"保存しました");
    ASSERT_TRUE(tolvane.WaitForExit());
    EXPECT_EQ(ReadBytes(saved), Ansi(L"False\t" + app + L"\r\nTrue\t" + lib + L"\r\n\r\n"));
}

}  // namespace
}  // namespace tolvane::testing
