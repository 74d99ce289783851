// The main window in this process, its chooser and message boxes answered
// through the window's own doors to them. The run log, counters, notices,
// stop, list files and start-up are driven through the whole program in
// tests/program; here are the run lock, the list control against the engine,
// the changed flag, and the failures the window must come through intact.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "TempFolder.h"
#include "TextFiles.h"
#include "UiDriver.h"
#include "support/win32/Files.h"
#include "support/win32/IniControl.h"
#include "ui/main/MainIds.h"
#include "ui/main/frmMain.h"

namespace tolvane {

// The fixture: the window loaded and shown with the compiler stand-in as its
// compiler; what it asks the chooser and tells or asks the user lands here.
class MainWindowProbe : public ::testing::Test {
public:
    static bool Searching() { return W().mblnSearching; }

protected:
    struct Notice {
        std::wstring message1, message2;
    };
    std::vector<std::wstring> asked;                  // captions of the chooser requests
    std::deque<std::optional<std::wstring>> answers;  // chooser answers; nothing = cancel
    std::vector<Notice> notices;
    std::vector<std::wstring> questions;
    bool questionAnswer = false;

    static frmMain& W() { return frmMain::Instance(); }
    static clsTolvane& Engine() { return *W().mobjVBC; }
    static bool& ListChanged() { return W().mblnListChanged; }
    static std::wstring& PrevList() { return W().mstrPrevList; }
    static void SetRunning(bool running) { W().SetRunningState(running); }
    // Through the window's own dispatch, as a menu choice or shortcut arrives.
    static void Command(int id) { SendMessageW(W().Hwnd(), WM_COMMAND, MAKEWPARAM(id, 0), 0); }
    static void AddEntries(const std::vector<std::pair<std::wstring, bool>>& entries) {
        for (const auto& [path, mark] : entries) Engine().addVbp(path, mark);
        W().RefreshCompileList();
    }
    static std::vector<bool> EngineMarks() {
        std::vector<bool> marks;
        for (const auto& e : Engine().Vbp()) marks.push_back(e->Action());
        return marks;
    }
    static std::vector<std::wstring> EnginePaths() {
        std::vector<std::wstring> paths;
        for (const auto& e : Engine().Vbp()) paths.push_back(e->Vbp());
        return paths;
    }

    void SetUp() override {
        savedIni_ = testing::ReadBytes(ini_);
        SetFileAttributesW(ini_.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(ini_.c_str());
        ASSERT_TRUE(PutIniString(ini_, L"COMMON", L"EXE", testing::ProgramBeside(L"VBStandIn.exe")));
        W().chooserHook_ = [this](const frmMain::ChooserRequest& r) {
            asked.push_back(r.caption);
            if (answers.empty()) return std::optional<std::wstring>();
            const auto answer = answers.front();
            answers.pop_front();
            return answer;
        };
        W().noticeHook_ = [this](const std::wstring& m1, const std::wstring& m2, std::uint32_t) {
            notices.push_back({m1, m2});
        };
        W().questionHook_ = [this](const std::wstring& m1, const std::wstring&) {
            questions.push_back(m1);
            return questionAnswer;
        };
        DropQuit();
        W().Load();
        W().Show();
    }

    void TearDown() override {
        if (W().IsLoaded()) {
            ListChanged() = false;
            W().Unload();
        }
        DropQuit();
        W().chooserHook_ = nullptr;
        W().noticeHook_ = nullptr;
        W().questionHook_ = nullptr;
        SetFileAttributesW(ini_.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(ini_.c_str());
        if (savedIni_) testing::WriteBytes(ini_, *savedIni_);
    }

private:
    // The window ends the program's loop as it goes; the tests go on.
    static void DropQuit() {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
        }
    }

    const std::wstring ini_ = FileBesideProgram(L"Tolvane.ini");
    std::optional<std::string> savedIni_;
};

}  // namespace tolvane

using namespace tolvane;
using namespace tolvane::main_ids;
using namespace tolvane::testing;
using MainWindowTest = MainWindowProbe;

namespace {

const std::wstring kNotSaved = L"ｺﾝﾊﾟｲﾙﾘｽﾄを保存出来ませんでした";
const std::wstring kOverLimit = L"ｺﾝﾊﾟｲﾙﾘｽﾄに登録できるのは32767件までです";

HWND ControlOf(int id) { return frmMain::Instance().Control(id); }
void ClickControl(int id) { SendMessageW(ControlOf(id), BM_CLICK, 0, 0); }
bool MenuEnabled(int id, UINT by = MF_BYCOMMAND) {
    return (GetMenuState(GetMenu(frmMain::Instance().Hwnd()), static_cast<UINT>(id), by) & MF_GRAYED) == 0;
}
bool BarEnabled(int position) { return MenuEnabled(position, MF_BYPOSITION); }

std::vector<bool> ListMarks() {
    std::vector<bool> marks;
    HWND list = ControlOf(lstCompileList);
    for (int k = 0; k < ListView_GetItemCount(list); ++k) marks.push_back(ListView_GetCheckState(list, k) != 0);
    return marks;
}
std::pair<int, int> Selection(int id) {
    DWORD start = 0, end = 0;
    SendMessageW(ControlOf(id), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return {static_cast<int>(start), static_cast<int>(end)};
}

}  // namespace

TEST_F(MainWindowTest, ARunLocksEverythingButStopAndTheLog) {
    frmMain& w = W();
    // The log lies in a gap of fraAction and still takes clicks.
    RECT log;
    GetWindowRect(ControlOf(txtCompileList), &log);
    EXPECT_EQ(WindowFromPoint({(log.left + log.right) / 2, (log.top + log.bottom) / 2}), ControlOf(txtCompileList));

    EXPECT_FALSE(w.IsEnabled(cmdFolderPath));
    ClickControl(chkAll);
    AddEntries({{L"C:\\a.vbp", true}});
    for (bool running : {true, false}) {
        SetRunning(running);
        // The controls inside the frames too: a focused one would still take keys.
        for (int id : {Frame1, Frame2, lstCompileList, chkAll, cmdFolderPath, txtDimension})
            EXPECT_NE(w.IsEnabled(id), running) << id;
        for (int bar : {mnuEditFilePosition, mnuEditOptionPosition, mnuEditHelpPosition})
            EXPECT_NE(BarEnabled(bar), running) << bar;
        for (int id : {mnuCompile, mnuAllCheck, mnuNoCheck, mnuReversalCheck}) EXPECT_NE(MenuEnabled(id), running) << id;
        EXPECT_EQ(MenuEnabled(mnuCompileStop), running);
        EXPECT_TRUE(BarEnabled(mnuEditRPosition));
        EXPECT_TRUE(w.IsEnabled(txtCompileList));
        // The shortcut of a closed command does nothing.
        if (running) Command(mnuNoCheck);
        EXPECT_EQ(EngineMarks(), std::vector<bool>{true});
    }
    // The browse button follows the tick box again.
    EXPECT_TRUE(w.IsEnabled(cmdFolderPath));
    ClickControl(chkAll);
    EXPECT_FALSE(w.IsEnabled(cmdFolderPath));

    // Each item's tooltip is its full path.
    HWND list = ControlOf(lstCompileList);
    EXPECT_NE(ListView_GetExtendedListViewStyle(list) & LVS_EX_INFOTIP, 0u);
    wchar_t tip[MAX_PATH] = L"";
    NMLVGETINFOTIPW info{};
    info.hdr = {list, static_cast<UINT_PTR>(lstCompileList), LVN_GETINFOTIPW};
    info.pszText = tip;
    info.cchTextMax = MAX_PATH;
    SendMessageW(w.Hwnd(), WM_NOTIFY, lstCompileList, reinterpret_cast<LPARAM>(&info));
    EXPECT_STREQ(tip, L"C:\\a.vbp");
}

// Notes whether the folder search was going on when a timer of the test ran.
int g_timerDuringSearch = 0;
void CALLBACK NoteSearching(HWND, UINT, UINT_PTR id, DWORD) {
    g_timerDuringSearch = MainWindowProbe::Searching() ? 1 : 2;
    KillTimer(nullptr, id);
}

TEST_F(MainWindowTest, FolderSearchLetsEventsRunEscLeavesTheListAndAFolderNotSearchedIsReported) {
    TempFolder temp(L"main search");
    WriteBytes(temp.Folder(L"tree\\sub") + L"\\b.vbp", "");
    WriteBytes(temp.File(L"tree\\a.vbp"), "");
    AddEntries({{L"C:\\Keep.vbp", false}});
    ListChanged() = false;
    // Due before the command: they wait for the search to let events run.
    SetTimer(nullptr, 0, 1, NoteSearching);
    Sleep(20);
    PostMessageW(ControlOf(txtCompileList), WM_KEYDOWN, VK_ESCAPE, 0);
    answers = {temp.Path() + L"\\tree\\"};
    Command(mnuAddAllList);
    EXPECT_EQ(g_timerDuringSearch, 1);
    EXPECT_EQ(EnginePaths(), std::vector<std::wstring>{L"C:\\Keep.vbp"});
    EXPECT_FALSE(ListChanged());
    EXPECT_TRUE(notices.empty());
    EXPECT_FALSE(W().IsVisible(lblSearch));
    EXPECT_EQ(W().Text(Label1), L"[条件付きコンパイル引数]");
    EXPECT_TRUE(W().IsEnabled(chkAll));
    EXPECT_TRUE(BarEnabled(mnuEditFilePosition));

    // Not cancelled: the projects follow in folder order, checked.
    answers = {temp.Path() + L"\\tree\\"};
    Command(mnuAddAllList);
    EXPECT_EQ(EnginePaths(), (std::vector<std::wstring>{L"C:\\Keep.vbp", temp.Path() + L"\\tree\\a.vbp",
                                                        temp.Path() + L"\\tree\\sub\\b.vbp"}));
    EXPECT_EQ(ListMarks(), (std::vector<bool>{false, true, true}));
    EXPECT_TRUE(ListChanged());

    // A folder that has gone is reported and adds nothing.
    answers = {temp.File(L"gone") + L"\\"};
    Command(mnuAddAllList);
    EXPECT_EQ(Engine().Count(), 3);
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_EQ(notices[0].message1, L"1個のﾌｫﾙﾀﾞを検索出来ませんでした");
}

TEST_F(MainWindowTest, EachListCommandKeepsControlAndEngineEqualAndSetsOrClearsTheChangedFlag) {
    TempFolder temp(L"main flag");
    const std::wstring list = temp.File(L"two.clt");
    AddEntries({{L"C:\\Old.vbp", true}});
    ListChanged() = false;

    using Marks = std::vector<bool>;
    const struct {
        int command;
        std::optional<std::wstring> answer;
        Marks marks;
        bool changed;
    } steps[] = {
        {mnuAddList, L"C:\\Src\\App.vbp", {true, true}, true},
        {mnuReversalCheck, {}, {false, false}, true},
        {mnuWriteList, list, {false, false}, false},
        {mnuDelAllList, {}, {}, false},  // a new list
        {mnuAllCheck, {}, {}, true},     // even an empty one
        {mnuAddList, L"C:\\Other.vbp", {true}, true},
        {mnuReadList, list, {false, false}, false},  // replaced by the file's entries
        {mnuAllCheck, {}, {true, true}, true},
        {mnuWriteList, {}, {true, true}, true},  // the save cancelled: nothing was written
        {mnuNoCheck, {}, {false, false}, true},
        {mnuDelList, {}, {}, true},
    };
    for (const auto& step : steps) {
        answers = {step.answer};
        Command(step.command);
        EXPECT_EQ(EngineMarks(), step.marks) << step.command;
        EXPECT_EQ(ListMarks(), step.marks) << step.command;
        EXPECT_EQ(ListChanged(), step.changed) << step.command;
    }
    EXPECT_EQ(PrevList(), list);

    // Space on the focused item reaches the engine and counts as a change.
    AddEntries({{L"C:\\Src\\App.vbp", false}});
    ListChanged() = false;
    HWND control = ControlOf(lstCompileList);
    ListView_SetItemState(control, 0, LVIS_FOCUSED, LVIS_FOCUSED);
    SendMessageW(control, WM_KEYDOWN, VK_SPACE, 0);
    EXPECT_EQ(EngineMarks(), Marks{true});
    EXPECT_EQ(ListMarks(), Marks{true});
    EXPECT_TRUE(ListChanged());
}

TEST_F(MainWindowTest, SaveThatFailsIsRefusedOrIsCancelledKeepsTheOldFileTheChangedFlagAndTheWindow) {
    TempFolder temp(L"main save failure");
    const std::wstring list = temp.File(L"old.clt");
    const std::string old = "True\tC:\\Keep.vbp\r\n\r\n";
    ASSERT_TRUE(WriteBytes(list, old));
    AddEntries({{L"C:\\Fine.vbp", true}});
    {
        // A file held by another program: the old bytes stay, and the user is told why.
        LockedFile lock(list);
        ASSERT_TRUE(lock.Held());
        answers = {list};
        Command(mnuWriteList);
    }
    EXPECT_EQ(ReadBytes(list), std::optional<std::string>(old));
    EXPECT_TRUE(ListChanged());
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_NE(notices[0].message1.find(list), std::wstring::npos);
    EXPECT_EQ(notices[0].message2, kNotSaved);

    // Closing, "save" answered, the chooser cancelled: the window and the list stay.
    questionAnswer = true;
    answers = {std::nullopt};
    EXPECT_FALSE(W().Unload());
    EXPECT_EQ(EnginePaths(), std::vector<std::wstring>{L"C:\\Fine.vbp"});
    EXPECT_TRUE(ListChanged());

    // A path the code page cannot hold is named, and no file is even asked for;
    // closing, "save" answered, and the save refused: the window stays.
    const std::wstring odd = L"C:\\한국\\App.vbp";
    AddEntries({{odd, true}});
    asked.clear();
    Command(mnuWriteList);
    EXPECT_FALSE(W().Unload());
    EXPECT_TRUE(W().IsLoaded());
    EXPECT_TRUE(ListChanged());
    EXPECT_EQ(questions, std::vector<std::wstring>(2, L"ｺﾝﾊﾟｲﾙﾘｽﾄが変更されています"));
    EXPECT_TRUE(asked.empty());
    ASSERT_EQ(notices.size(), 3u);
    for (std::size_t i : {1u, 2u}) {
        EXPECT_EQ(notices[i].message1.rfind(odd, 0), 0u) << i;
        EXPECT_EQ(notices[i].message2, kNotSaved) << i;
    }
    EXPECT_EQ(ReadBytes(list), std::optional<std::string>(old));
}

TEST_F(MainWindowTest, ListThatCannotBeOpenedLeavesTheCurrentListAsItWas) {
    TempFolder temp(L"main unreadable");
    const std::wstring busy = temp.File(L"busy.clt"), big = temp.File(L"big.clt");
    ASSERT_TRUE(WriteBytes(busy, "True\tC:\\Other.vbp\r\n"));
    std::string bytes;
    for (int i = 0; i <= clsTolvane::kMaxEntries; ++i) bytes += "True\tC:\\p" + std::to_string(i) + ".vbp\r\n";
    ASSERT_TRUE(WriteBytes(big, bytes));
    AddEntries({{L"C:\\Mine.vbp", false}});
    ListChanged() = true;
    PrevList() = L"C:\\before.clt";
    {
        LockedFile lock(busy);
        ASSERT_TRUE(lock.Held());
        answers = {busy, big};
        Command(mnuReadList);
        Command(mnuReadList);
    }
    EXPECT_EQ(EnginePaths(), std::vector<std::wstring>{L"C:\\Mine.vbp"});
    EXPECT_EQ(ListMarks(), std::vector<bool>{false});
    EXPECT_TRUE(ListChanged());
    EXPECT_EQ(PrevList(), L"C:\\before.clt");
    ASSERT_EQ(notices.size(), 2u);
    EXPECT_EQ(notices[0].message1, busy + L"が開けませんでした");
    EXPECT_EQ(notices[1].message1, kOverLimit);
}

TEST_F(MainWindowTest, AdditionsThatWouldPassTheLimitAreRefusedWhole) {
    TempFolder temp(L"main limit");
    const std::wstring tree = temp.Folder(L"tree");
    WriteBytes(tree + L"\\a.vbp", "");
    WriteBytes(tree + L"\\b.vbp", "");
    // Filled to one short of the limit without showing every entry.
    AddEntries({{L"C:\\Keep.vbp", true}});
    for (int i = 1; i < clsTolvane::kMaxEntries - 1; ++i) Engine().addVbp(L"C:\\f.vbp", true);
    answers = {tree + L"\\"};
    Command(mnuAddAllList);
    EXPECT_EQ(Engine().Count(), clsTolvane::kMaxEntries - 1);

    Engine().addVbp(L"C:\\last.vbp", true);
    answers = {std::wstring(L"C:\\one.vbp")};
    Command(mnuAddList);
    EXPECT_EQ(Engine().Count(), clsTolvane::kMaxEntries);
    EXPECT_EQ(Engine().Entry(1).Vbp(), L"C:\\Keep.vbp");
    ASSERT_EQ(notices.size(), 2u);
    for (const auto& n : notices) EXPECT_EQ(n.message1, kOverLimit);
    EXPECT_EQ(asked.size(), 1u);  // the single addition did not even ask
}

TEST_F(MainWindowTest, ArgumentsBoxIsLightYellowAndSelectedWhileItHasTheFocus) {
    SetForegroundWindow(W().Hwnd());
    W().SetText(txtDimension, L"DEBUG=1");
    W().SetFocus(txtDimension);
    EXPECT_EQ(EditBackColor(W().Hwnd(), ControlOf(txtDimension)), 0xC0FFFFu);
    EXPECT_EQ(Selection(txtDimension), std::make_pair(0, 7));
    W().SetFocus(lstCompileList);
    EXPECT_EQ(EditBackColor(W().Hwnd(), ControlOf(txtDimension)), GetSysColor(COLOR_WINDOW));
}
