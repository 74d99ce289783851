// The program's chooser where the other scenarios, which always answer it
// with a good name, never take it: its refusals, questions and reports, the
// chooser staying.
#include <algorithm>

#include "ProgramScenario.h"

namespace tolvane::testing {
namespace {

using Dlg = frmDialogBox;

std::vector<std::wstring> ListItems(HWND list) {
    std::vector<std::wstring> items;
    for (LRESULT i = 0, count = Ask(list, LB_GETCOUNT); i < count; ++i) {
        wchar_t text[MAX_PATH + 1] = {};
        Ask(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
        items.push_back(text);
    }
    return items;
}

int IndexOf(HWND list, const std::wstring& text) {
    const auto items = ListItems(list);
    const auto at = std::find(items.begin(), items.end(), text);
    return at == items.end() ? -1 : static_cast<int>(at - items.begin());
}

// Presses the mouse on a list line, as a user's click (or double-click) would.
void ClickLine(HWND list, int index, bool twice = false) {
    RECT r{};
    Ask(list, LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&r));
    const LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    PostMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageW(list, WM_LBUTTONUP, 0, at);
    if (twice) {
        PostMessageW(list, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
        PostMessageW(list, WM_LBUTTONUP, 0, at);
    }
}

void MakeFile(const std::wstring& path, DWORD attributes = FILE_ATTRIBUTE_NORMAL) {
    ASSERT_TRUE(WriteBytes(path, "x"));
    ASSERT_TRUE(SetFileAttributesW(path.c_str(), attributes));
}

// A warning of the chooser: its lines, answered; the chooser stays.
BoxLines Refusal(RunningProgram& tolvane, HWND chooser) {
    const BoxLines lines = Answered(tolvane);
    EXPECT_TRUE(IsWindowVisible(chooser));
    return lines;
}

TEST(ChooserScenario, OpenModeRefusesReportsAndTakesANameThenTheFolderSearchAndAGroupFillTheList) {
    ProgramFolder program;
    program.WriteTolvaneIni();
    const std::wstring here = program.Folder(L"選択"), src = program.Folder(L"選択\\src"), gone = program.Folder(L"選択\\gone");
    MakeFile(src + L"\\x.vbp");
    for (const wchar_t* name : {L"a.vbp", L"B.vbp", L"c.txt", L"taken"}) MakeFile(here + L"\\" + name);
    MakeFile(here + L"\\hidden.vbp", FILE_ATTRIBUTE_HIDDEN);
    MakeFile(here + L"\\system.vbp", FILE_ATTRIBUTE_SYSTEM);
    // A drive letter that names nothing reachable stands in for an empty drive.
    ASSERT_TRUE(DefineDosDeviceW(0, L"Q:", program.File(L"nowhere").c_str()));
    // A tree for the search: one project hidden, and enough empty folders for the search to last a while.
    const std::wstring tree = program.Folder(L"ツリー"), many = program.Folder(L"ツリー\\多数");
    StandInProject(tree, L"Top.vbp").Write();
    StandInProject(program.Folder(L"ツリー\\下 の\\さらに下"), L"Deep.vbp").Write();
    StandInProject(program.Folder(L"ツリー\\下 の"), L"Middle.vbp").Write();
    StandInProject(program.Folder(L"ツリー\\隠し"), L"Hidden.vbp").Write();
    ASSERT_TRUE(SetFileAttributesW(program.File(L"ツリー\\隠し").c_str(), FILE_ATTRIBUTE_HIDDEN));
    for (int i = 0; i < 1500; ++i) ASSERT_TRUE(CreateDirectoryW((many + L"\\" + std::to_wstring(i)).c_str(), nullptr));
    // A group naming one of them, the startup project, and one that is not there.
    ASSERT_TRUE(WriteBytes(tree + L"\\全部.vbg", Ansi(L"VBGROUP 5.0\r\nProject=下 の\\Middle.vbp\r\n"
                                                  L"StartupProject=Top.vbp\r\nProject=..\\Gone\\Gone.vbp\r\n")));
    program.WriteIni(L"DialogBox.ini",
                     {{L"PREV_Vbp", here + L"\\"}, {L"PREV_VbpFolder", tree + L"\\"}, {L"PREV_Vbg", tree + L"\\"}});
    RunningProgram tolvane(program);
    ASSERT_NE(tolvane.WaitForMain(), nullptr);

    HWND d = Opened(tolvane, ids::mnuAddList, L"vbp指定");
    ASSERT_NE(d, nullptr);
    HWND files = Child(d, Dlg::File1), folders = Child(d, Dlg::Dir1), label = Child(d, Dlg::lblFullPath),
         name = Child(d, Dlg::txtFileName);
    EXPECT_EQ(ListItems(files), (std::vector<std::wstring>{L"a.vbp", L"B.vbp"}));
    CaptureWindow(d, "chooser_mode2");
    const std::pair<const wchar_t*, std::wstring> refusedNames[] = {
        {L"nothing.vbp", L"「nothing.vbp」は存在しません"},
        {L"hidden.vbp", L"「hidden.vbp」は存在しません"},  // a hidden file does not count
        {L"   ", L"ファイル名が指定されていません"},
    };
    for (const auto& [typed, warning] : refusedNames) {
        SetWindowTextTo(name, typed);
        Click(Child(d, Dlg::cmdOK));
        EXPECT_EQ(Refusal(tolvane, d).line2, warning) << ToUtf8(typed);
    }

    // The new-folder panel: a name refused by its rules, and one the platform refuses.
    HWND panel = Child(d, Dlg::fraDir), folderName = Child(d, Dlg::txtDir);
    Click(Child(d, Dlg::cmdShortCut0 + 4));
    ASSERT_TRUE(WaitUntil([&] { return WaitForFocusIn(d) == folderName; })) << "panel shown: " << IsWindowVisible(panel);
    EXPECT_FALSE(IsWindowVisible(files));
    for (const wchar_t* typed : {L"..\\up", L"taken\\sub"}) {  // a file stands where a level has to go
        SetWindowTextTo(folderName, typed);
        Click(Child(d, Dlg::cmdOK));
        EXPECT_FALSE(Refusal(tolvane, d).line2.empty()) << ToUtf8(typed);
        EXPECT_TRUE(IsWindowVisible(panel)) << ToUtf8(typed);
    }
    // Cancel closes the panel only; OK creates every level.
    Click(Child(d, Dlg::cmdCancel));
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(panel); }));
    Click(Child(d, Dlg::cmdShortCut0 + 4));
    ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(panel); }));
    SetWindowTextTo(folderName, L"a\\b");
    Click(Child(d, Dlg::cmdOK));
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(panel); }));
    EXPECT_TRUE(IsFolder(here + L"\\a\\b"));
    EXPECT_FALSE(IsFolder(program.Path() + L"\\up"));
    EXPECT_NE(IndexOf(folders, L"a"), -1);

    // A folder that has gone: everything stays on the last one shown.
    ASSERT_TRUE(RemoveDirectoryW(gone.c_str()));
    ClickLine(folders, IndexOf(folders, L"gone"), true);
    EXPECT_EQ(Refusal(tolvane, d).line1, L"「" + gone + L"」を開けませんでした");
    EXPECT_EQ(WindowText(label), here + L"\\");
    EXPECT_EQ(ListItems(files), (std::vector<std::wstring>{L"a.vbp", L"B.vbp"}));

    ClickLine(folders, IndexOf(folders, L"src"), true);
    EXPECT_TRUE(WaitUntil([&] { return WindowText(label) == src + L"\\"; })) << ToUtf8(WindowText(label));
    EXPECT_EQ(ListItems(files), std::vector<std::wstring>{L"x.vbp"});
    ClickLine(files, 0);
    EXPECT_TRUE(WaitUntil([&] { return WindowText(name) == L"x.vbp"; }));
    EXPECT_EQ(WindowText(label), src + L"\\x.vbp");
    SetWindowTextTo(name, L"y.vbp");  // what is typed afterwards is what OK takes
    MakeFile(src + L"\\y.vbp");
    Click(Child(d, Dlg::cmdOK));
    ASSERT_TRUE(ListShows(tolvane, L"+y.vbp ")) << ToUtf8(Marks(tolvane.Items()));

    // The next showing opens where the last one ended, with an empty name; a double-click confirms.
    ASSERT_NE(d = Opened(tolvane, ids::mnuAddList, L"vbp指定"), nullptr);
    EXPECT_EQ(WindowText(Child(d, Dlg::txtFileName)), L"");
    ClickLine(Child(d, Dlg::File1), 0, true);
    ASSERT_TRUE(ListShows(tolvane, L"+y.vbp +x.vbp ")) << ToUtf8(Marks(tolvane.Items()));

    // An empty drive is refused; Cancel adds nothing.
    ASSERT_NE(d = Opened(tolvane, ids::mnuAddList, L"vbp指定"), nullptr);
    HWND drive = Child(d, Dlg::Drive1);
    Ask(d, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(drive), TRUE);
    PostMessageW(drive, WM_CHAR, L'q', 1);
    EXPECT_EQ(Refusal(tolvane, d).line2, L"ドライブの準備が出来ていません");
    DefineDosDeviceW(DDD_REMOVE_DEFINITION, L"Q:", nullptr);
    ASSERT_TRUE(Answer(d, Dlg::cmdCancel));
    EXPECT_EQ(tolvane.Items().size(), 2u);

    // Esc while the search shows its progress: it ends with nothing added.
    tolvane.Command(ids::mnuAddAllList);
    HWND chooser = tolvane.Choose(L"検索フォルダ指定", L"");
    ASSERT_NE(chooser, nullptr);
    HWND progress = tolvane.Control(ids::lblSearch);
    ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(progress) != FALSE; }, 20s));
    tolvane.PostKeyToFocus(VK_ESCAPE);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(progress); }, 20s));
    EXPECT_EQ(tolvane.Items().size(), 2u);

    tolvane.Command(ids::mnuAddAllList);
    ASSERT_TRUE(Chosen(tolvane, L"検索フォルダ指定", L""));
    // Level by level, the hidden folder left out, every project checked.
    ASSERT_TRUE(ListShows(tolvane, L"+y.vbp +x.vbp +Top.vbp +Middle.vbp +Deep.vbp ")) << ToUtf8(Marks(tolvane.Items()));

    // All unchecked, the middle one checked again, the unchecked ones dropped.
    tolvane.Command(ids::mnuNoCheck);
    ASSERT_TRUE(ListShows(tolvane, L"-y.vbp -x.vbp -Top.vbp -Middle.vbp -Deep.vbp "));
    ASSERT_TRUE(tolvane.SetItemChecked(3, true));
    tolvane.Command(ids::mnuDelList);
    ASSERT_TRUE(ListShows(tolvane, L"+Middle.vbp ")) << ToUtf8(Marks(tolvane.Items()));

    // The group's projects after it, in the group's order, each checked.
    tolvane.Command(ids::mnuAddGroup);
    ASSERT_TRUE(Chosen(tolvane, L"vbg指定", L"全部.vbg"));
    ASSERT_TRUE(ListShows(tolvane, L"+Middle.vbp +Middle.vbp +Top.vbp +Gone.vbp ")) << ToUtf8(Marks(tolvane.Items()));

    // Changed and not saved: closing asks. Saving, then cancelling the
    // chooser, keeps the window and its list; Cancel closes without saving.
    const std::wstring changed = L"ｺﾝﾊﾟｲﾙﾘｽﾄが変更されています";
    tolvane.Command(ids::mnuEditEnd);
    ASSERT_EQ(Answered(tolvane, kYesNoBoxClass).line1, changed);
    ASSERT_NE(chooser = tolvane.WaitForCaption(L"ｺﾝﾊﾟｲﾙﾘｽﾄ保存"), nullptr);
    ASSERT_TRUE(Answer(chooser, frmDialogBox::cmdCancel));
    EXPECT_TRUE(IsWindow(tolvane.Main()) && tolvane.Items().size() == 4);
    tolvane.Command(ids::mnuEditEnd);
    ASSERT_EQ(Answered(tolvane, kYesNoBoxClass, MessageBoxBase::cmdCancel).line1, changed);
    ASSERT_TRUE(tolvane.WaitForExit());
}

}  // namespace
}  // namespace tolvane::testing
