// The main window in this process: its states, the list control against the
// engine, the list file on disk, and real runs with the compiler stand-in.
// The chooser and the message boxes are answered through the window's own
// doors to them, so each test sees exactly what the window asked and said.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <deque>
#include <optional>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include "Screenshot.h"
#include "StandInProject.h"
#include "TempFolder.h"
#include "TextFiles.h"
#include "UiDriver.h"
#include "support/win32/Files.h"
#include "support/win32/IniControl.h"
#include "ui/main/MainIds.h"
#include "ui/main/frmMain.h"

namespace tolvane {

struct MainWindowProbe {
    struct Request {
        std::int32_t mode;
        std::wstring user;
        std::optional<std::wstring> mask;
        std::wstring caption;
    };
    struct Shown {
        std::wstring message1, message2;
        std::uint32_t color;
    };

    std::vector<Request> requests;
    std::deque<std::optional<std::wstring>> answers;  // chooser answers; nothing = cancel
    std::vector<Shown> notices;
    std::vector<Shown> questions;
    bool questionAnswer = false;

    static frmMain& W() { return frmMain::Instance(); }
    static clsTolvane& Engine() { return *W().mobjVBC; }
    static bool& ListChanged() { return W().mblnListChanged; }
    static bool Compiling() { return W().mblnCompiling; }
    static std::wstring& PrevList() { return W().mstrPrevList; }
    static std::vector<std::wstring>& Folders() { return W().mcolFolders; }
    static void Refresh() { W().RefreshCompileList(); }
    static void SetRunning(bool running) { W().SetRunningState(running); }
    static bool LoadList(const std::wstring& path) { return W().LoadCompileList(path) == frmMain::LoadResult::Loaded; }
    // Through the window's own dispatch, as a menu choice or shortcut arrives.
    static void Command(int id) { SendMessageW(W().Hwnd(), WM_COMMAND, MAKEWPARAM(id, 0), 0); }

    void Attach() {
        W().chooserHook_ = [this](const frmMain::ChooserRequest& r) {
            requests.push_back({r.mode, r.user, r.mask, r.caption});
            std::optional<std::wstring> answer;
            if (!answers.empty()) {
                answer = answers.front();
                answers.pop_front();
            }
            return answer;
        };
        W().noticeHook_ = [this](const std::wstring& m1, const std::wstring& m2, std::uint32_t color) {
            notices.push_back({m1, m2, color});
        };
        W().questionHook_ = [this](const std::wstring& m1, const std::wstring& m2) {
            questions.push_back({m1, m2, 0});
            return questionAnswer;
        };
    }
    static void Detach() {
        W().chooserHook_ = nullptr;
        W().noticeHook_ = nullptr;
        W().questionHook_ = nullptr;
    }
};

}  // namespace tolvane

using namespace tolvane;
using namespace tolvane::main_ids;
using namespace tolvane::testing;
using Probe = MainWindowProbe;

namespace {

HWND ControlOf(int id) { return Probe::W().Control(id); }

bool MenuEnabled(int id) {
    return (GetMenuState(GetMenu(Probe::W().Hwnd()), static_cast<UINT>(id), MF_BYCOMMAND) & MF_GRAYED) == 0;
}
bool BarEnabled(int position) {
    return (GetMenuState(GetMenu(Probe::W().Hwnd()), static_cast<UINT>(position), MF_BYPOSITION) & MF_GRAYED) == 0;
}
std::wstring MenuText(int id) {
    wchar_t text[256] = {};
    GetMenuStringW(GetMenu(Probe::W().Hwnd()), static_cast<UINT>(id), text, 256, MF_BYCOMMAND);
    return text;
}

int Items() { return ListView_GetItemCount(ControlOf(lstCompileList)); }
std::wstring ItemText(int k) {
    wchar_t text[MAX_PATH] = {};
    ListView_GetItemText(ControlOf(lstCompileList), k, 0, text, MAX_PATH);
    return text;
}
bool ItemChecked(int k) { return ListView_GetCheckState(ControlOf(lstCompileList), k) != 0; }

std::vector<bool> EngineMarks() {
    std::vector<bool> marks;
    for (const auto& e : Probe::Engine().Vbp()) marks.push_back(e->Action());
    return marks;
}
std::vector<bool> ListMarks() {
    std::vector<bool> marks;
    for (int k = 0; k < Items(); ++k) marks.push_back(ItemChecked(k));
    return marks;
}

std::vector<std::wstring> LogLines() {
    const std::wstring text = Probe::W().Text(txtCompileList);
    std::vector<std::wstring> lines;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = text.find(L"\r\n", start);
        lines.push_back(text.substr(start, end == std::wstring::npos ? std::wstring::npos : end - start));
        if (end == std::wstring::npos) return lines;
        start = end + 2;
    }
}

bool EndsWith(const std::wstring& s, const std::wstring& tail) {
    return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

// The background an edit control is painted with, as the window answers for it.
COLORREF EditBackground(int id) {
    HDC dc = CreateCompatibleDC(nullptr);
    SendMessageW(Probe::W().Hwnd(), WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc),
                 reinterpret_cast<LPARAM>(ControlOf(id)));
    const COLORREF color = GetBkColor(dc);
    DeleteDC(dc);
    return color;
}

// Holds a file open without sharing, as another program that locked it would.
class LockedFile {
public:
    explicit LockedFile(const std::wstring& path)
        : h_(CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr)) {}
    ~LockedFile() {
        if (h_ != INVALID_HANDLE_VALUE) CloseHandle(h_);
    }
    bool Held() const { return h_ != INVALID_HANDLE_VALUE; }

private:
    HANDLE h_;
};

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        ini_ = FileBesideProgram(L"Tolvane.ini");
        savedIni_ = ReadBytes(ini_);
        SetFileAttributesW(ini_.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(ini_.c_str());
        standIn_ = ProgramBeside(L"VBStandIn.exe");
        ASSERT_TRUE(PutIniString(ini_, L"COMMON", L"EXE", standIn_));
        probe_.Attach();
    }

    void Open(const std::wstring& prevList = L"") {
        DropQuit();
        if (!prevList.empty()) PutIniString(ini_, L"COMMON", L"PREV_List", prevList);
        Probe::W().Load();
        Probe::W().Show();
    }

    void TearDown() override {
        if (Probe::W().IsLoaded()) {
            Probe::ListChanged() = false;
            Probe::W().Unload();
        }
        DropQuit();
        Probe::Detach();
        SetFileAttributesW(ini_.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(ini_.c_str());
        if (savedIni_) WriteBytes(ini_, *savedIni_);
    }

    // The window ends the program's loop as it goes; the tests go on.
    static void DropQuit() {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
        }
    }

    void AddEntries(const std::vector<std::pair<std::wstring, bool>>& entries) {
        for (const auto& [path, mark] : entries) Probe::Engine().addVbp(path, mark);
        Probe::Refresh();
    }

    std::wstring ini_;
    std::optional<std::string> savedIni_;
    std::wstring standIn_;
    Probe probe_;
};

}  // namespace

TEST_F(MainWindowTest, IdleWindowShowsTheDesignedTextsAndOnlyTheStopCommandIsClosed) {
    Open();
    frmMain& w = Probe::W();
    EXPECT_EQ(w.Caption(), L"Tolvane");
    EXPECT_EQ(w.Text(chkAll), L"一括EXE出力フォルダ指定");
    EXPECT_EQ(w.Text(cmdFolderPath), L"参照");
    EXPECT_EQ(w.Text(Label1), L"[条件付きコンパイル引数]");
    EXPECT_EQ(w.Text(lblCount), L"0/0");
    EXPECT_EQ(w.Text(lblFailureCount), L"");
    EXPECT_EQ(w.Text(txtCompileList), L"");
    EXPECT_FALSE(w.IsEnabled(txtFolderPath));
    EXPECT_FALSE(w.IsEnabled(cmdFolderPath));
    EXPECT_EQ(MenuText(mnuCompile), L"ｺﾝﾊﾟｲﾙの実行\tF12");
    EXPECT_EQ(MenuText(mnuDelList), L"未ﾁｪｯｸのvbpをｺﾝﾊﾟｲﾙﾘｽﾄから外す");
    EXPECT_EQ(MenuText(mnuReversalCheck), L"ﾁｪｯｸの反転\tCtrl+R");
    for (int position = 0; position < 4; ++position) EXPECT_TRUE(BarEnabled(position));
    EXPECT_TRUE(MenuEnabled(mnuCompile));
    EXPECT_FALSE(MenuEnabled(mnuCompileStop));
    EXPECT_FALSE(GetMenuState(GetMenu(w.Hwnd()), mnuEditInitialize, MF_BYCOMMAND) & MF_CHECKED);
    // Every control lies inside the client area: nothing is cut off.
    RECT client;
    GetClientRect(w.Hwnd(), &client);
    for (int id : {lstCompileList, txtCompileList, lblCount, txtDimension, cmdFolderPath}) {
        RECT r;
        GetWindowRect(ControlOf(id), &r);
        MapWindowPoints(nullptr, w.Hwnd(), reinterpret_cast<POINT*>(&r), 2);
        EXPECT_LE(r.right, client.right) << id;
        EXPECT_LE(r.bottom, client.bottom) << id;
    }
    // The log lies in a gap of fraAction: a click there reaches the log.
    RECT log;
    GetWindowRect(ControlOf(txtCompileList), &log);
    const POINT middle{(log.left + log.right) / 2, (log.top + log.bottom) / 2};
    EXPECT_EQ(WindowFromPoint(middle), ControlOf(txtCompileList));
    CaptureWindow(w.Hwnd(), "main_idle");
}

TEST_F(MainWindowTest, RunningStateLocksEverythingButStopAndUnlocksToTheFolderBoxState) {
    Open();
    frmMain& w = Probe::W();
    SendMessageW(ControlOf(chkAll), BM_CLICK, 0, 0);
    EXPECT_TRUE(w.IsEnabled(cmdFolderPath));

    Probe::SetRunning(true);
    EXPECT_TRUE(Probe::Compiling());
    EXPECT_FALSE(w.IsEnabled(Frame1));
    EXPECT_FALSE(w.IsEnabled(Frame2));
    EXPECT_FALSE(w.IsEnabled(lstCompileList));
    EXPECT_TRUE(w.IsEnabled(chkAll));  // keeps its own state inside the closed frame
    EXPECT_TRUE(w.IsEnabled(txtCompileList));
    EXPECT_FALSE(BarEnabled(mnuEditFilePosition));
    EXPECT_FALSE(BarEnabled(mnuEditOptionPosition));
    EXPECT_FALSE(BarEnabled(mnuEditHelpPosition));
    EXPECT_TRUE(BarEnabled(mnuEditRPosition));
    EXPECT_FALSE(MenuEnabled(mnuCompile));
    EXPECT_TRUE(MenuEnabled(mnuCompileStop));
    for (int id : {mnuAllCheck, mnuNoCheck, mnuReversalCheck}) EXPECT_FALSE(MenuEnabled(id));

    // A shortcut of a closed menu does nothing, nor does closing the window.
    AddEntries({{L"C:\\a.vbp", true}});
    Probe::Command(mnuDelAllList);
    Probe::Command(mnuNoCheck);
    EXPECT_EQ(Probe::Engine().Count(), 1);
    EXPECT_TRUE(ItemChecked(0));
    SendMessageW(w.Hwnd(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(w.IsLoaded());

    Probe::SetRunning(false);
    EXPECT_FALSE(Probe::Compiling());
    EXPECT_TRUE(w.IsEnabled(Frame1));
    EXPECT_TRUE(w.IsEnabled(lstCompileList));
    EXPECT_TRUE(w.IsEnabled(cmdFolderPath));
    EXPECT_FALSE(MenuEnabled(mnuCompileStop));
    EXPECT_TRUE(BarEnabled(mnuEditFilePosition));

    SendMessageW(ControlOf(chkAll), BM_CLICK, 0, 0);
    EXPECT_FALSE(w.IsEnabled(cmdFolderPath));

    // A container with nothing inside changes nothing.
    SetContainerEnabled(w, lblCount, false);
    EXPECT_TRUE(w.IsEnabled(lblCount));
}

TEST_F(MainWindowTest, ListControlAndEngineStayEqualThroughRefreshClicksAndCheckCommands) {
    Open();
    AddEntries({{L"C:\\Src\\App\\App.vbp", true}, {L"C:\\Src\\Lib\\Lib.vbp", false}, {L"D:\\x\\App.vbp", true}});
    ASSERT_EQ(Items(), 3);
    EXPECT_EQ(ItemText(0), L"App.vbp");
    EXPECT_EQ(ItemText(1), L"Lib.vbp");
    EXPECT_EQ(ItemText(2), L"App.vbp");
    EXPECT_EQ(ListMarks(), (std::vector<bool>{true, false, true}));
    // Marks set by the refresh count as changes, as clicks would.
    EXPECT_TRUE(Probe::ListChanged());

    Probe::ListChanged() = false;
    ListView_SetCheckState(ControlOf(lstCompileList), 1, TRUE);  // the user's click
    EXPECT_TRUE(Probe::ListChanged());
    EXPECT_EQ(EngineMarks(), (std::vector<bool>{true, true, true}));

    Probe::ListChanged() = false;
    Probe::Command(mnuNoCheck);
    EXPECT_TRUE(Probe::ListChanged());
    EXPECT_EQ(EngineMarks(), (std::vector<bool>{false, false, false}));
    EXPECT_EQ(ListMarks(), EngineMarks());

    Probe::Engine().Entry(2).SetAction(true);
    Probe::Refresh();
    Probe::Command(mnuReversalCheck);
    EXPECT_EQ(EngineMarks(), (std::vector<bool>{true, false, true}));
    EXPECT_EQ(ListMarks(), EngineMarks());

    Probe::Command(mnuAllCheck);
    EXPECT_EQ(EngineMarks(), (std::vector<bool>{true, true, true}));
    EXPECT_EQ(ListMarks(), EngineMarks());

    Probe::Engine().Entry(1).SetAction(false);
    Probe::Refresh();
    Probe::Command(mnuDelList);
    EXPECT_EQ(Items(), 2);
    EXPECT_EQ(Probe::Engine().Entry(1).Vbp(), L"C:\\Src\\Lib\\Lib.vbp");
}

TEST_F(MainWindowTest, EachCommandAsksTheChooserItsOwnWayAndSetsTheChangedFlagAsTabled) {
    TempFolder temp(L"main flag");
    const std::wstring list = temp.File(L"two.clt");
    Open();
    std::vector<std::pair<int, bool>> flagAfter;

    probe_.answers = {std::wstring(L"C:\\Src\\App.vbp")};
    Probe::Command(mnuAddList);
    flagAfter.push_back({mnuAddList, Probe::ListChanged()});
    EXPECT_EQ(Probe::Engine().Count(), 1);
    EXPECT_TRUE(Probe::Engine().Entry(1).Action());

    probe_.answers = {list};
    Probe::Command(mnuWriteList);
    flagAfter.push_back({mnuWriteList, Probe::ListChanged()});

    Probe::Command(mnuDelAllList);
    flagAfter.push_back({mnuDelAllList, Probe::ListChanged()});
    EXPECT_EQ(Items(), 0);

    Probe::Command(mnuAllCheck);  // on an empty list too
    flagAfter.push_back({mnuAllCheck, Probe::ListChanged()});

    probe_.answers = {list};
    Probe::Command(mnuReadList);
    flagAfter.push_back({mnuReadList, Probe::ListChanged()});
    EXPECT_EQ(Probe::PrevList(), list);
    EXPECT_EQ(Items(), 1);

    Probe::Command(mnuDelList);
    flagAfter.push_back({mnuDelList, Probe::ListChanged()});

    probe_.answers = {std::nullopt};  // the user cancels the save
    Probe::Command(mnuWriteList);
    flagAfter.push_back({mnuWriteList, Probe::ListChanged()});

    EXPECT_EQ(flagAfter, (std::vector<std::pair<int, bool>>{{mnuAddList, true},
                                                            {mnuWriteList, false},
                                                            {mnuDelAllList, false},
                                                            {mnuAllCheck, true},
                                                            {mnuReadList, false},
                                                            {mnuDelList, true},
                                                            {mnuWriteList, false}}));

    Probe::Command(mnuAddAllList);  // cancelled
    probe_.answers = {std::wstring(L"D:\\Out\\")};
    SendMessageW(ControlOf(chkAll), BM_CLICK, 0, 0);
    SendMessageW(ControlOf(cmdFolderPath), BM_CLICK, 0, 0);
    EXPECT_EQ(Probe::W().Text(txtFolderPath), L"D:\\Out\\");
    EXPECT_FALSE(Probe::ListChanged());

    using R = Probe::Request;
    const std::vector<std::tuple<int, std::wstring, std::optional<std::wstring>, std::wstring>> expected = {
        {2, L"Vbp", L"*.vbp", L"vbp指定"},
        {4, L"Tolvane_List", L"*.clt", L"ｺﾝﾊﾟｲﾙﾘｽﾄ保存"},
        {2, L"Tolvane_List", L"*.clt", L"ｺﾝﾊﾟｲﾙﾘｽﾄ選択"},
        {4, L"Tolvane_List", L"*.clt", L"ｺﾝﾊﾟｲﾙﾘｽﾄ保存"},
        {1, L"VbpFolder", L"*.vbp", L"検索フォルダ指定"},
        {1, L"Exe_Out", std::nullopt, L"出力フォルダ指定"},
    };
    ASSERT_EQ(probe_.requests.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const R& r = probe_.requests[i];
        EXPECT_EQ(std::make_tuple(r.mode, r.user, r.mask, r.caption), expected[i]) << i;
    }
}

TEST_F(MainWindowTest, SavedListIsShiftJisWithCrLfAndAClosingEmptyLine) {
    TempFolder temp(L"main save");
    Open();
    AddEntries({{L"C:\\ソース\\アプリ.vbp", true}, {L"C:\\Src\\Lib.vbp", false}});
    probe_.answers = {temp.File(L"list.clt")};
    Probe::Command(mnuWriteList);

    const auto bytes = ReadBytes(temp.File(L"list.clt"));
    ASSERT_TRUE(bytes);
    EXPECT_EQ(*bytes, *ToAnsi(L"True\tC:\\ソース\\アプリ.vbp\r\nFalse\tC:\\Src\\Lib.vbp\r\n\r\n"));
    ASSERT_EQ(probe_.notices.size(), 1u);
    EXPECT_EQ(probe_.notices[0].message1, L"");
    EXPECT_EQ(probe_.notices[0].message2, L"保存しました");
    EXPECT_EQ(probe_.notices[0].color, 0x800000u);

    Probe::Command(mnuDelAllList);
    probe_.answers = {temp.File(L"empty.clt")};
    Probe::Command(mnuWriteList);
    EXPECT_EQ(ReadBytes(temp.File(L"empty.clt")), std::optional<std::string>("\r\n"));
}

TEST_F(MainWindowTest, OpenedListReplacesTheEntriesWithTheFileMarks) {
    TempFolder temp(L"main open");
    const std::wstring list = temp.File(L"in.clt");
    ASSERT_TRUE(WriteBytes(list, *ToAnsi(L"True\tC:\\ソース\\A.vbp\r\n0\t  C:\\B.vbp  \r\nonly a path\r\n"
                                         L"1\tC:\\C.vbp\textra\rTRUE\tC:\\A.vbp\r\n\t   \r\n\r\n")));
    Open();
    AddEntries({{L"C:\\Old.vbp", true}});
    probe_.answers = {list};
    Probe::Command(mnuReadList);

    ASSERT_EQ(Items(), 4);
    std::vector<std::wstring> paths;
    for (const auto& e : Probe::Engine().Vbp()) paths.push_back(e->Vbp());
    EXPECT_EQ(paths, (std::vector<std::wstring>{L"C:\\ソース\\A.vbp", L"C:\\B.vbp", L"C:\\C.vbp", L"C:\\A.vbp"}));
    EXPECT_EQ(EngineMarks(), (std::vector<bool>{true, false, true, true}));
    EXPECT_EQ(ListMarks(), EngineMarks());
    EXPECT_FALSE(Probe::ListChanged());
}

TEST_F(MainWindowTest, FailedSaveKeepsTheOldFileTheChangedFlagAndSaysWhy) {
    TempFolder temp(L"main locked");
    const std::wstring list = temp.File(L"old.clt");
    const std::string old = "True\tC:\\Keep.vbp\r\n\r\n";
    ASSERT_TRUE(WriteBytes(list, old));
    Open();
    AddEntries({{L"C:\\New.vbp", true}});
    {
        LockedFile lock(list);
        ASSERT_TRUE(lock.Held());
        probe_.answers = {list};
        Probe::Command(mnuWriteList);
    }
    EXPECT_EQ(ReadBytes(list), std::optional<std::string>(old));
    EXPECT_TRUE(Probe::ListChanged());
    ASSERT_EQ(probe_.notices.size(), 1u);
    EXPECT_NE(probe_.notices[0].message1.find(list), std::wstring::npos);
    EXPECT_EQ(probe_.notices[0].message2, L"ｺﾝﾊﾟｲﾙﾘｽﾄを保存出来ませんでした");

    // Closing with "save" answered and the save failing keeps the window.
    probe_.questionAnswer = true;
    {
        LockedFile lock(list);
        probe_.answers = {list};
        EXPECT_FALSE(Probe::W().Unload());
    }
    EXPECT_TRUE(Probe::W().IsLoaded());
    ASSERT_EQ(probe_.questions.size(), 1u);
    EXPECT_EQ(probe_.questions[0].message1, L"ｺﾝﾊﾟｲﾙﾘｽﾄが変更されています");
    EXPECT_EQ(probe_.questions[0].message2, L"保存しますか？");
}

TEST_F(MainWindowTest, PathTheCodePageCannotHoldIsNamedAndNothingIsWritten) {
    TempFolder temp(L"main unencodable");
    Open();
    const std::wstring odd = L"C:\\한국\\App.vbp";
    AddEntries({{L"C:\\Fine.vbp", true}, {odd, true}});
    Probe::ListChanged() = true;
    probe_.answers = {temp.File(L"x.clt")};
    Probe::Command(mnuWriteList);

    EXPECT_TRUE(probe_.requests.empty());  // refused before any file was asked for
    EXPECT_EQ(GetFileAttributesW(temp.File(L"x.clt").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_TRUE(Probe::ListChanged());
    ASSERT_EQ(probe_.notices.size(), 1u);
    EXPECT_EQ(probe_.notices[0].message1.rfind(odd, 0), 0u);
    EXPECT_EQ(probe_.notices[0].message2, L"ｺﾝﾊﾟｲﾙﾘｽﾄを保存出来ませんでした");
}

TEST_F(MainWindowTest, ListThatCannotBeReadLeavesTheCurrentListAsItWas) {
    TempFolder temp(L"main unreadable");
    const std::wstring list = temp.File(L"busy.clt");
    ASSERT_TRUE(WriteBytes(list, "True\tC:\\Other.vbp\r\n"));
    Open();
    AddEntries({{L"C:\\Mine.vbp", false}});
    Probe::ListChanged() = true;
    Probe::PrevList() = L"C:\\before.clt";
    {
        LockedFile lock(list);
        probe_.answers = {list};
        Probe::Command(mnuReadList);
    }
    ASSERT_EQ(Probe::Engine().Count(), 1);
    EXPECT_EQ(Probe::Engine().Entry(1).Vbp(), L"C:\\Mine.vbp");
    EXPECT_EQ(ItemText(0), L"Mine.vbp");
    EXPECT_TRUE(Probe::ListChanged());
    EXPECT_EQ(Probe::PrevList(), L"C:\\before.clt");
    ASSERT_EQ(probe_.notices.size(), 1u);
    EXPECT_EQ(probe_.notices[0].message1, list + L"が開けませんでした");
}

TEST_F(MainWindowTest, AdditionsThatWouldPassTheLimitAreRefusedWhole) {
    TempFolder temp(L"main limit");
    std::string big;
    for (int i = 0; i <= clsTolvane::kMaxEntries; ++i) big += "True\tC:\\p" + std::to_string(i) + ".vbp\r\n";
    ASSERT_TRUE(WriteBytes(temp.File(L"big.clt"), big));
    const std::wstring tree = temp.Folder(L"tree");
    WriteBytes(tree + L"\\a.vbp", "");
    WriteBytes(tree + L"\\b.vbp", "");
    Open();
    AddEntries({{L"C:\\Keep.vbp", true}});

    probe_.answers = {temp.File(L"big.clt")};
    Probe::Command(mnuReadList);
    EXPECT_EQ(Probe::Engine().Count(), 1);

    // Filled to one short of the limit without showing every entry.
    for (int i = 1; i < clsTolvane::kMaxEntries - 1; ++i) Probe::Engine().addVbp(L"C:\\f.vbp", true);
    probe_.answers = {tree + L"\\"};
    Probe::Command(mnuAddAllList);
    EXPECT_EQ(Probe::Engine().Count(), clsTolvane::kMaxEntries - 1);

    Probe::Engine().addVbp(L"C:\\last.vbp", true);
    probe_.answers = {std::wstring(L"C:\\one.vbp")};
    Probe::Command(mnuAddList);
    EXPECT_EQ(Probe::Engine().Count(), clsTolvane::kMaxEntries);
    EXPECT_EQ(Probe::Engine().Entry(1).Vbp(), L"C:\\Keep.vbp");

    ASSERT_EQ(probe_.notices.size(), 3u);
    for (const auto& n : probe_.notices) EXPECT_EQ(n.message1, L"ｺﾝﾊﾟｲﾙﾘｽﾄに登録できるのは32767件までです");
    EXPECT_EQ(probe_.requests.size(), 2u);  // the single addition did not even ask
}

TEST_F(MainWindowTest, FolderTreeAddsProjectsBreadthFirstSkippingHiddenFolders) {
    TempFolder temp(L"main tree");
    const std::wstring root = temp.Folder(L"Src");
    temp.Folder(L"Src\\A\\A1");
    temp.Folder(L"Src\\B");
    temp.Folder(L"Src\\Hidden");
    temp.Folder(L"Src\\Odd.vbp");
    WriteBytes(root + L"\\Top.vbp", "");
    WriteBytes(root + L"\\A\\A1\\Deep.vbp", "");
    WriteBytes(root + L"\\B\\B.vbp", "");
    WriteBytes(root + L"\\Hidden\\No.vbp", "");
    WriteBytes(root + L"\\Odd.vbp\\In.vbp", "");
    WriteBytes(root + L"\\notes.txt", "");
    SetFileAttributesW((root + L"\\Hidden").c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_DIRECTORY);
    Open();
    probe_.answers = {root + L"\\"};
    Probe::Command(mnuAddAllList);

    std::vector<std::wstring> projects;
    for (const auto& e : Probe::Engine().Vbp()) projects.push_back(e->Vbp());
    std::sort(projects.begin() + 1, projects.begin() + 3);  // one level: the platform's order
    EXPECT_EQ(projects, (std::vector<std::wstring>{root + L"\\Top.vbp", root + L"\\B\\B.vbp",
                                                   root + L"\\Odd.vbp\\In.vbp", root + L"\\A\\A1\\Deep.vbp"}));
    EXPECT_EQ(ListMarks(), (std::vector<bool>{true, true, true, true}));
    EXPECT_EQ(Probe::Folders().front(), root + L"\\");
    EXPECT_EQ(Probe::Folders().back(), root + L"\\A\\A1\\");
    EXPECT_TRUE(Probe::ListChanged());
    EXPECT_TRUE(probe_.notices.empty());
}

TEST_F(MainWindowTest, ArgumentsBoxIsLightYellowWhileItHasTheFocus) {
    Open();
    SetForegroundWindow(Probe::W().Hwnd());
    Probe::W().SetText(txtDimension, L"DEBUG=1");
    for (int round = 0; round < 2; ++round) {
        Probe::W().SetFocus(txtDimension);
        EXPECT_EQ(EditBackground(txtDimension), 0xC0FFFFu);
        DWORD start = 0, end = 0;
        SendMessageW(ControlOf(txtDimension), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                     reinterpret_cast<LPARAM>(&end));
        EXPECT_EQ(start, 0u);
        EXPECT_EQ(end, 7u);
        Probe::W().SetFocus(lstCompileList);
        EXPECT_EQ(EditBackground(txtDimension), GetSysColor(COLOR_WINDOW));
    }
}

TEST_F(MainWindowTest, StartUpReopensTheLastListAndClosingWritesTheOptionBack) {
    TempFolder temp(L"main startup");
    const std::wstring list = temp.File(L"last.clt");
    ASSERT_TRUE(WriteBytes(list, "True\tC:\\A.vbp\r\nFalse\tC:\\B.vbp\r\n\r\n"));
    Open(list);
    EXPECT_EQ(Items(), 2);
    EXPECT_EQ(ListMarks(), (std::vector<bool>{true, false}));
    EXPECT_FALSE(Probe::ListChanged());
    EXPECT_TRUE(GetMenuState(GetMenu(Probe::W().Hwnd()), mnuEditInitialize, MF_BYCOMMAND) & MF_CHECKED);

    EXPECT_TRUE(Probe::W().Unload());
    EXPECT_TRUE(probe_.questions.empty());
    EXPECT_EQ(GetIniString(ini_, L"COMMON", L"PREV_List"), list);

    Open();
    Probe::Command(mnuEditInitialize);
    EXPECT_FALSE(GetMenuState(GetMenu(Probe::W().Hwnd()), mnuEditInitialize, MF_BYCOMMAND) & MF_CHECKED);
    // A changed list asks before closing; No closes without saving.
    Probe::Command(mnuAllCheck);
    probe_.questionAnswer = false;
    EXPECT_TRUE(Probe::W().Unload());
    EXPECT_EQ(probe_.questions.size(), 1u);
    EXPECT_TRUE(probe_.requests.empty());
    EXPECT_EQ(GetIniString(ini_, L"COMMON", L"PREV_List"), L"");
}

// Runs with the real compiler stand-in.
class MainWindowRunTest : public MainWindowTest {
protected:
    void Run() { Probe::Command(mnuCompile); }
};

TEST_F(MainWindowRunTest, FailedBuildIsLoggedWithItsReasonCountedAndLeftChecked) {
    TempFolder temp(L"main run");
    const std::wstring good = StandInProject(temp.Folder(L"good"), L"Good.vbp").Write();
    const std::wstring bad = StandInProject(temp.Folder(L"bad"), L"Bad.vbp").MissingForm(L"Gone.frm").Write();
    Open();
    AddEntries({{good, true}, {L"C:\\Skipped.vbp", false}, {bad, true}});
    Probe::ListChanged() = false;
    Run();

    const std::vector<std::wstring> log = LogLines();
    ASSERT_EQ(log.size(), 13u) << Probe::W().Text(txtCompileList).c_str();
    EXPECT_EQ(log[0], L"");
    EXPECT_TRUE(EndsWith(log[1], L"\tGood.vbp   ｺﾝﾊﾟｲﾙ開始"));
    EXPECT_TRUE(EndsWith(log[2], L"\tGood.vbp   ｺﾝﾊﾟｲﾙ終了"));
    EXPECT_EQ(log[3], L"");
    EXPECT_TRUE(EndsWith(log[4], L"\tBad.vbp   ｺﾝﾊﾟｲﾙ開始"));
    EXPECT_TRUE(EndsWith(log[5], L"\tBad.vbp   ｺﾝﾊﾟｲﾙ失敗"));
    EXPECT_EQ(log[6].substr(0, 1), L"\t");
    EXPECT_NE(log[6].find(L"Gone.frm"), std::wstring::npos);
    EXPECT_EQ(log[7], L"");
    EXPECT_EQ(log[8], std::wstring(42, L'='));
    EXPECT_EQ(log[9].rfind(L"開始時間：", 0), 0u);
    EXPECT_EQ(log[10].rfind(L"終了時間：", 0), 0u);
    EXPECT_EQ(log[11].rfind(L"経過時間：00:", 0), 0u);
    EXPECT_EQ(log[12], std::wstring(42, L'='));

    EXPECT_EQ(Probe::W().Text(lblCount), L"2/2");
    EXPECT_EQ(Probe::W().Text(lblFailureCount), L"失敗 1");
    EXPECT_EQ(EngineMarks(), (std::vector<bool>{false, false, true}));
    EXPECT_EQ(ListMarks(), EngineMarks());
    EXPECT_TRUE(Probe::ListChanged());
    ASSERT_EQ(probe_.notices.size(), 1u);
    EXPECT_EQ(probe_.notices[0].message1, L"1件のｺﾝﾊﾟｲﾙに失敗しています");
    EXPECT_EQ(probe_.notices[0].message2, L"ｺﾝﾊﾟｲﾙが終了しました");
    EXPECT_EQ(probe_.notices[0].color, 0u);
    EXPECT_FALSE(Probe::Compiling());
    EXPECT_TRUE(MenuEnabled(mnuCompile));
    // The caret follows the newest text.
    DWORD start = 0, end = 0;
    SendMessageW(ControlOf(txtCompileList), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(static_cast<int>(end), GetWindowTextLengthW(ControlOf(txtCompileList)));
    CaptureWindow(Probe::W().Hwnd(), "main_after_run");
}

TEST_F(MainWindowRunTest, UntickingTheFolderBoxWithdrawsTheOutputFolder) {
    TempFolder temp(L"main outdir");
    const std::wstring out = temp.Folder(L"out");
    StandInProject project(temp.Folder(L"app"), L"App.vbp");
    const std::wstring path = project.Write();
    Open();
    AddEntries({{path, true}});

    SendMessageW(ControlOf(chkAll), BM_CLICK, 0, 0);
    Probe::W().SetText(txtFolderPath, out + L"\\");
    Run();
    EXPECT_NE(ReadStandInOutput(project.OutputPath(out))[L"CommandLine"].find(L"/outdir"), std::wstring::npos);

    SendMessageW(ControlOf(chkAll), BM_CLICK, 0, 0);
    Run();
    const auto second = ReadStandInOutput(project.OutputPath());
    ASSERT_FALSE(second.empty());
    EXPECT_EQ(second.at(L"CommandLine").find(L"/outdir"), std::wstring::npos);
    ASSERT_EQ(probe_.notices.size(), 2u);
    EXPECT_EQ(probe_.notices[1].color, 0x800000u);
    EXPECT_EQ(probe_.notices[1].message1, L"");
    EXPECT_EQ(Probe::W().Text(lblFailureCount), L"");
}

TEST_F(MainWindowRunTest, ErrorBeforeAnyBuildIsShownAndUnlocksTheWindow) {
    Open();
    AddEntries({{L"C:\\a.vbp", true}});
    SendMessageW(ControlOf(chkAll), BM_CLICK, 0, 0);  // ticked, but no folder named
    Run();
    ASSERT_EQ(probe_.notices.size(), 1u);
    EXPECT_EQ(probe_.notices[0].message1, L"指定のディレクトリは存在しません");
    EXPECT_EQ(Probe::W().Text(txtCompileList), L"\r\n");
    EXPECT_FALSE(Probe::Compiling());
    EXPECT_TRUE(MenuEnabled(mnuCompile));
    EXPECT_TRUE(Probe::W().IsEnabled(lstCompileList));
}

TEST_F(MainWindowRunTest, SecondStopEndsAHungBuildAndTheRunEndsAsStopped) {
    TempFolder temp(L"main hang");
    const std::wstring hung = StandInProject(temp.Folder(L"hung"), L"Hung.vbp").Set(L"StandInHang", L"1").Write();
    const std::wstring next = StandInProject(temp.Folder(L"next"), L"Next.vbp").Write();
    Open();
    AddEntries({{hung, true}, {next, true}});
    HWND window = Probe::W().Hwnd();
    HWND logBox = ControlOf(txtCompileList);

    std::thread user([&] {
        auto logHas = [&](const std::wstring& text) { return WindowText(logBox).find(text) != std::wstring::npos; };
        if (!WaitUntil([&] { return logHas(L"Hung.vbp   ｺﾝﾊﾟｲﾙ開始"); })) return;
        PostMessageW(window, WM_CLOSE, 0, 0);  // refused during the run
        PostCommand(window, mnuCompileStop);
        if (!WaitUntil([&] { return logHas(L"ｺﾝﾊﾟｲﾙを中止しています"); })) return;
        // The shortcut, pressed in the log that stays usable. A press before
        // the compiler has started counts for nothing, so press until it takes.
        for (int press = 0; press < 60 && !logHas(L"強制終了しています"); ++press) {
            PostKey(logBox, VK_F11);
            WaitUntil([&] { return logHas(L"強制終了しています"); }, std::chrono::milliseconds(500));
        }
    });
    Run();
    user.join();

    const std::vector<std::wstring> log = LogLines();
    ASSERT_EQ(log.size(), 10u) << Probe::W().Text(txtCompileList).c_str();
    EXPECT_TRUE(EndsWith(log[1], L"Hung.vbp   ｺﾝﾊﾟｲﾙ開始"));
    EXPECT_EQ(log[2], L"ｺﾝﾊﾟｲﾙを中止しています・・・");
    EXPECT_EQ(log[3], L"実行中のｺﾝﾊﾟｲﾙを強制終了しています・・・");
    EXPECT_TRUE(EndsWith(log[4], L"Hung.vbp   ｺﾝﾊﾟｲﾙ失敗"));
    EXPECT_EQ(log[5].substr(0, 1), L"\t");
    EXPECT_EQ(log[6], L"");
    EXPECT_EQ(log[7], L"ｺﾝﾊﾟｲﾙを中止しました");
    EXPECT_EQ(log[8], L"");
    EXPECT_EQ(log[9], L"");
    EXPECT_TRUE(probe_.notices.empty());
    EXPECT_EQ(Probe::W().Text(lblCount), L"1/2");
    EXPECT_EQ(Probe::W().Text(lblFailureCount), L"1");
    EXPECT_TRUE(Probe::W().IsLoaded());
    EXPECT_FALSE(Probe::Compiling());
    EXPECT_TRUE(Probe::W().Unload());
}
