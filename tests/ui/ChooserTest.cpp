// The chooser shown modally as its callers show it, answered by a scripted
// user on another thread: each mode's OK with the questions and warnings on
// the way, the new-folder panel, the shortcuts, the keyboard, failures that
// are reported while the dialog stays, and what DialogBox.ini remembers.
#include <gtest/gtest.h>

#include <windows.h>
#include <knownfolders.h>
#include <shlobj.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "Screenshot.h"
#include "TextFiles.h"
#include "UiDriver.h"
#include "common/TempFolder.h"
#include "support/Paths.h"
#include "support/VbError.h"
#include "support/win32/Files.h"
#include "support/win32/IniControl.h"
#include "ui/core/Twips.h"
#include "ui/dialogs/frmDialogBox.h"

using namespace tolvane;
using namespace tolvane::testing;

namespace {

using Dlg = frmDialogBox;
constexpr int kBoxOK = 102, kBoxCancel = 103;
constexpr COLORREF kLightYellow = 0xC0FFFF;
constexpr int kPixel = 15;  // one pixel in twips: places agree to within it

std::wstring IniPath() { return FileBesideProgram(L"DialogBox.ini"); }

bool IsFolder(const std::wstring& path) {
    const DWORD a = GetFileAttributesW(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

// The focused control; when another program on the shared display took the
// activation, the window is brought back first, as a user's click would.
HWND FocusIn(HWND window) {
    if (GetForegroundWindow() != window) {
        SetForegroundWindow(window);
        return nullptr;
    }
    return FocusedControl(window);
}

std::vector<std::wstring> ListItems(HWND list) {
    std::vector<std::wstring> items;
    const int count = static_cast<int>(SendMessageW(list, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        wchar_t text[MAX_PATH + 1] = {};
        SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
        items.push_back(text);
    }
    return items;
}

int IndexOf(HWND list, const std::wstring& text) {
    const auto items = ListItems(list);
    for (size_t i = 0; i < items.size(); ++i)
        if (items[i] == text) return static_cast<int>(i);
    return -1;
}

// Presses the mouse on a list line, as a user's click (or double-click) would.
void ClickLine(HWND list, int index, bool twice = false) {
    RECT r{};
    SendMessageW(list, LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&r));
    const LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    PostMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageW(list, WM_LBUTTONUP, 0, at);
    if (twice) {
        PostMessageW(list, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
        PostMessageW(list, WM_LBUTTONUP, 0, at);
    }
}

int WidthOf(HWND control) {
    const RECT r = ChildRectTwips(control);
    return r.right - r.left;
}

}  // namespace

class Chooser : public ::testing::Test {
protected:
    void SetUp() override {
        attributes_ = GetFileAttributesW(IniPath().c_str());
        if (attributes_ != INVALID_FILE_ATTRIBUTES) iniBytes_ = ReadBytes(IniPath()).value_or("");
    }

    void TearDown() override {
        // The settings file beside the test program is left as it was found.
        SetFileAttributesW(IniPath().c_str(), FILE_ATTRIBUTE_NORMAL);
        if (attributes_ == INVALID_FILE_ATTRIBUTES) {
            DeleteFileW(IniPath().c_str());
        } else {
            WriteBytes(IniPath(), iniBytes_);
            SetFileAttributesW(IniPath().c_str(), attributes_);
        }
        Dlg::Instance().SetPosTop(0);
        Dlg::Instance().SetPosLeft(0);
    }

    static void Remember(const std::wstring& user, const std::wstring& folder) {
        ASSERT_TRUE(PutIniString(IniPath(), L"COMMON", L"PREV_" + user, folder));
    }
    static std::wstring Remembered(const std::wstring& user) {
        return GetIniString(IniPath(), L"COMMON", L"PREV_" + user);
    }

    // Sets the chooser up as a caller does and shows it modally here, while
    // `script` acts as the user on another thread (after `whileLoading`, for
    // boxes shown before the dialog). However the script ends, the showing
    // is brought to an end, its boxes answered.
    static void Show(int mode, const std::wstring& user, const std::wstring& mask, const std::wstring& caption,
                     const std::function<void(HWND)>& script, const std::function<void(Dlg&)>& more = nullptr,
                     const std::function<void()>& whileLoading = nullptr) {
        const DWORD pid = GetCurrentProcessId();
        std::atomic<bool> done{false};
        std::thread scripted([&] {
            if (whileLoading) whileLoading();
            if (HWND dialog = WaitForTopWindow(caption, pid))
                script(dialog);
            else
                ADD_FAILURE() << "the chooser did not show";
            if (!WaitUntil([&] { return done.load(); }, 10s)) ADD_FAILURE() << "the chooser was left open";
            while (!done.load()) {
                for (const wchar_t* cls : {kWarningBoxClass, kYesNoBoxClass})
                    if (HWND box = FindOfClass(cls)) Click(Child(box, kBoxOK));
                if (HWND w = FindTopWindow(caption, pid)) PostMessageW(w, WM_CLOSE, 0, 0);
                WaitUntil([&] { return done.load(); }, 1s);
            }
        });
        struct Ending {  // however the showing ends, the script is ended too
            std::atomic<bool>& done;
            std::thread& scripted;
            ~Ending() { done = true, scripted.join(); }
        } ending{done, scripted};
        Dlg& d = Dlg::Instance();
        d.SetMode(mode);
        d.SetUser(user);
        if (more) more(d);
        if (!mask.empty()) d.SetMask(mask);
        d.SetDialogCaption(caption);
        d.ShowModal();
    }

    TempFolder temp_{L"chooser"};

private:
    DWORD attributes_ = INVALID_FILE_ATTRIBUTES;
    std::string iniBytes_;
};

void MakeFile(const std::wstring& path, DWORD attributes = FILE_ATTRIBUTE_NORMAL) {
    WriteBytes(path, "x");
    ASSERT_TRUE(SetFileAttributesW(path.c_str(), attributes));
}

TEST_F(Chooser, OpenModeListsMatchingFilesAndTakesAClickedOrTypedName) {
    const std::wstring folder = temp_.Folder(L"作業フォルダ");
    MakeFile(folder + L"\\a.vbp");
    MakeFile(folder + L"\\B.vbp");
    MakeFile(folder + L"\\c.txt");
    MakeFile(folder + L"\\hidden.vbp", FILE_ATTRIBUTE_HIDDEN);
    MakeFile(folder + L"\\system.vbp", FILE_ATTRIBUTE_SYSTEM);
    CreateDirectoryW((folder + L"\\src").c_str(), nullptr);
    Remember(L"Vbp", folder + L"\\");

    Show(2, L"Vbp", L"*.vbp", L"vbp指定", [&](HWND d) {
        HWND files = Child(d, Dlg::File1);
        EXPECT_EQ(ListItems(files), (std::vector<std::wstring>{L"a.vbp", L"B.vbp"}));
        EXPECT_NE(IndexOf(Child(d, Dlg::Dir1), L"src"), -1);
        EXPECT_EQ(WindowText(Child(d, Dlg::lblFullPath)), folder + L"\\");
        EXPECT_EQ(WindowText(Child(d, Dlg::txtFileName)), L"");
        EXPECT_FALSE(IsWindowVisible(Child(d, Dlg::fraDir)));
        CaptureWindow(d, "chooser_mode2");
        ClickLine(files, IndexOf(files, L"B.vbp"));
        EXPECT_TRUE(WaitUntil([&] { return WindowText(Child(d, Dlg::txtFileName)) == L"B.vbp"; }));
        EXPECT_EQ(WindowText(Child(d, Dlg::lblFullPath)), folder + L"\\B.vbp");
        // What is typed afterwards is what OK takes.
        SetWindowTextTo(Child(d, Dlg::txtFileName), L"a.vbp");
        Click(Child(d, Dlg::cmdOK));
    });
    Dlg& dlg = Dlg::Instance();
    EXPECT_FALSE(dlg.Cancel());
    EXPECT_EQ(dlg.FullPathName(), folder + L"\\a.vbp");
    EXPECT_EQ(dlg.Mask(), L"*.*");
    EXPECT_FALSE(dlg.IsLoaded());
    // The folder is remembered in the settings' own code page.
    const std::wstring line = L"PREV_Vbp=" + folder + L"\\\r\n";
    std::string shiftJis(line.size() * 2, '\0');
    shiftJis.resize(static_cast<size_t>(WideCharToMultiByte(932, 0, line.c_str(), static_cast<int>(line.size()),
                                                            &shiftJis[0], static_cast<int>(shiftJis.size()), nullptr, nullptr)));
    const std::string ini = ReadBytes(IniPath()).value_or("");
    EXPECT_NE(ini.find(shiftJis), std::string::npos) << ini;

    // The next showing opens there with an empty name; a double-click confirms.
    Show(2, L"Vbp", L"*.vbp", L"vbp指定", [&](HWND d) {
        EXPECT_EQ(WindowText(Child(d, Dlg::txtFileName)), L"");
        HWND files = Child(d, Dlg::File1);
        ClickLine(files, IndexOf(files, L"B.vbp"), true);
    });
    EXPECT_FALSE(dlg.Cancel());
    EXPECT_EQ(dlg.FullPathName(), folder + L"\\B.vbp");
}

TEST_F(Chooser, OpenModeWarnsAboutMissingHiddenOrBlankNamesAndCancelLeavesNothing) {
    MakeFile(temp_.File(L"VB6.EXE"), FILE_ATTRIBUTE_HIDDEN);
    Remember(L"VB_EXE", temp_.Path() + L"\\");

    Show(2, L"VB_EXE", L"VB*.EXE", L"VB*.EXE選択", [&](HWND d) {
        HWND name = Child(d, Dlg::txtFileName);
        const std::pair<const wchar_t*, std::wstring> cases[] = {
            {L"VB5.EXE", L"「VB5.EXE」は存在しません"},
            {L"VB6.EXE", L"「VB6.EXE」は存在しません"},  // a hidden file does not count
            {L"   ", L"ファイル名が指定されていません"},
        };
        for (const auto& [typed, warning] : cases) {
            SetWindowTextTo(name, typed);
            Click(Child(d, Dlg::cmdOK));
            HWND box = WaitForOfClass(kWarningBoxClass);
            ASSERT_NE(box, nullptr) << typed;
            EXPECT_EQ(LinesOf(box).line1, L"") << typed;
            EXPECT_EQ(LinesOf(box).line2, warning) << typed;
            Answer(box, kBoxOK);
            EXPECT_TRUE(IsWindowVisible(d)) << typed;
            if (typed[0] != L' ') {
                EXPECT_EQ(WindowText(Child(d, Dlg::lblFullPath)), temp_.File(typed));
            }
        }
        // The dialog takes the keyboard again.
        EXPECT_TRUE(WaitUntil([&] { return IsChild(d, FocusIn(d)); }));
        Click(Child(d, Dlg::cmdCancel));
    });
    EXPECT_TRUE(Dlg::Instance().Cancel());
    EXPECT_EQ(Dlg::Instance().FullPathName(), L"");
    EXPECT_EQ(Remembered(L"VB_EXE"), temp_.Path() + L"\\");
}

TEST_F(Chooser, SaveModesAppendTheExtensionAndMode4AsksBeforeOverwriting) {
    MakeFile(temp_.File(L"list.clt"));
    Remember(L"Tolvane_List", temp_.Path() + L"\\");

    Show(4, L"Tolvane_List", L"*.clt", L"ｺﾝﾊﾟｲﾙﾘｽﾄ保存", [&](HWND d) {
        CaptureWindow(d, "chooser_mode4");
        SetWindowTextTo(Child(d, Dlg::txtFileName), L"list");
        for (int answer : {kBoxCancel, kBoxOK}) {
            Click(Child(d, Dlg::cmdOK));
            HWND box = WaitForOfClass(kYesNoBoxClass);
            ASSERT_NE(box, nullptr);
            EXPECT_EQ(LinesOf(box).line1, L"「list.clt」は既に存在します");
            EXPECT_EQ(LinesOf(box).line2, L"既存のファイルを書き換えますか？");
            Answer(box, answer);
            if (answer == kBoxCancel) {
                EXPECT_TRUE(IsWindowVisible(d));  // No leaves the dialog as it is
            }
        }
    });
    EXPECT_FALSE(Dlg::Instance().Cancel());
    EXPECT_EQ(Dlg::Instance().FullPathName(), temp_.File(L"list.clt"));

    // Mode 3 names a file to write without any question, and writes nothing.
    Show(3, L"Tolvane_List", L"*.clt", L"ｺﾝﾊﾟｲﾙﾘｽﾄ保存", [&](HWND d) {
        SetWindowTextTo(Child(d, Dlg::txtFileName), L"list.txt");
        Click(Child(d, Dlg::cmdOK));
    });
    EXPECT_EQ(Dlg::Instance().FullPathName(), temp_.File(L"list.txt.clt"));
    EXPECT_FALSE(FileExists(temp_.File(L"list.txt.clt")));
}

TEST_F(Chooser, FolderModeSpreadsTheListsAndTakesTheCurrentFolderUnderTheBlankUsersKey) {
    Remember(L"USER", temp_.Path() + L"\\");
    Show(1, L"   ", L"", L"検索フォルダ指定", [&](HWND d) {
        EXPECT_FALSE(IsWindowVisible(Child(d, Dlg::File1)));
        EXPECT_FALSE(IsWindowVisible(Child(d, Dlg::txtFileName)));
        EXPECT_NEAR(WidthOf(Child(d, Dlg::Dir1)), 5800, kPixel);  // the lists take the whole width
        EXPECT_EQ(WindowText(Child(d, Dlg::lblFullPath)), temp_.Path() + L"\\");
        RECT r{};
        GetWindowRect(d, &r);
        EXPECT_EQ(ui::PixelsToTwipsX(r.left), 0);
        EXPECT_NEAR(ui::PixelsToTwipsY(r.top), 300, kPixel);
        CaptureWindow(d, "chooser_mode1");
        // A resized window snaps to whole rows; the lists follow the width.
        SetWindowPos(d, nullptr, 0, 0, ui::TwipsToPixelsX(7500), ui::TwipsToPixelsY(5895),
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        EXPECT_TRUE(WaitUntil([&] { return GetWindowRect(d, &r) && ui::PixelsToTwipsY(r.bottom - r.top) == 6240; }));
        EXPECT_EQ(OuterWidthTwips(d), 7500);
        EXPECT_NEAR(WidthOf(Child(d, Dlg::Dir1)), 7300, kPixel);
        EXPECT_NEAR(ChildRectTwips(Child(d, Dlg::cmdOK)).top, 6240 - 795, kPixel);
        Click(Child(d, Dlg::cmdOK));
    }, [](Dlg& d) { d.SetPosTop(300); });
    EXPECT_FALSE(Dlg::Instance().Cancel());
    EXPECT_EQ(Dlg::Instance().FullPathName(), temp_.Path() + L"\\");
    EXPECT_EQ(Remembered(L"USER"), temp_.Path() + L"\\");
}

TEST_F(Chooser, FolderModeAsksToCreateAMissingFolderAndReportsOneThatCannotBe) {
    Remember(L"Exe_Out", temp_.Path() + L"\\");
    MakeFile(temp_.File(L"taken"));
    const std::wstring blocked = temp_.Path() + L"\\taken\\out\\";
    Show(1, L"Exe_Out", L"", L"出力フォルダ指定", [&](HWND d) {
        Click(Child(d, Dlg::cmdOK));
        HWND box = WaitForOfClass(kYesNoBoxClass);
        ASSERT_NE(box, nullptr);
        Answer(box, kBoxOK);
        box = WaitForOfClass(kWarningBoxClass);
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(LinesOf(box).line1, L"「" + blocked + L"」を作成出来ませんでした");
        EXPECT_FALSE(LinesOf(box).line2.empty());  // the platform's reason
        Answer(box, kBoxOK);
        EXPECT_TRUE(IsWindowVisible(d));
        Click(Child(d, Dlg::cmdCancel));
    }, [](Dlg& d) { d.SetIniFileName(L"taken\\out"); });
    EXPECT_TRUE(Dlg::Instance().Cancel());
    EXPECT_EQ(Remembered(L"Exe_Out"), temp_.Path() + L"\\");

    const std::wstring wanted = temp_.Path() + L"\\new\\";
    Show(1, L"Exe_Out", L"", L"出力フォルダ指定", [&](HWND d) {
        for (int answer : {kBoxCancel, kBoxOK}) {
            Click(Child(d, Dlg::cmdOK));
            HWND box = WaitForOfClass(kYesNoBoxClass);
            ASSERT_NE(box, nullptr);
            EXPECT_EQ(LinesOf(box).line1, L"");
            EXPECT_EQ(LinesOf(box).line2, L"「" + wanted + L"」を作成しますか？");
            Answer(box, answer);
            if (answer == kBoxCancel) {
                EXPECT_TRUE(IsWindowVisible(d));
                EXPECT_FALSE(IsFolder(wanted));
            }
        }
    }, [](Dlg& d) { d.SetIniFileName(L"new"); });
    EXPECT_TRUE(IsFolder(wanted));
    EXPECT_FALSE(Dlg::Instance().Cancel());
    EXPECT_EQ(Dlg::Instance().FullPathName(), wanted);
    EXPECT_EQ(Remembered(L"Exe_Out"), wanted);
}

TEST_F(Chooser, NewFolderPanelRefusesBadNamesCancelClosesOnlyItAndOkCreatesEveryLevel) {
    Remember(L"Vbp", temp_.Path() + L"\\");
    MakeFile(temp_.File(L"taken"));

    Show(2, L"Vbp", L"*.vbp", L"vbp指定", [&](HWND d) {
        HWND panel = Child(d, Dlg::fraDir);
        HWND name = Child(d, Dlg::txtDir);
        Click(Child(d, Dlg::cmdShortCut0 + 4));
        ASSERT_TRUE(WaitUntil([&] { return FocusIn(d) == name; })) << "panel shown: " << IsWindowVisible(panel);
        for (int hidden : {Dlg::Drive1, Dlg::Dir1, Dlg::File1, Dlg::fraLink, Dlg::txtFileName})
            EXPECT_FALSE(IsWindowVisible(Child(d, hidden))) << hidden;
        EXPECT_EQ(WindowText(name), L"新しいフォルダ");
        DWORD start = 1, end = 0;
        SendMessageW(name, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
        EXPECT_EQ(end - start, 7u);  // the whole name is selected
        EXPECT_EQ(EditBackColor(d, name), kLightYellow);
        CaptureWindow(d, "chooser_newfolder");

        const std::pair<const wchar_t*, std::wstring> refused[] = {
            {L"  ", L"フォルダ名が指定されていません"},
            {L"x<y", L"フォルダ名に使えない文字が含まれています"},
            {L"..\\up", L"フォルダ名が正しくありません"},
            {L"taken\\sub", L""},  // a file stands where a level has to go: the platform's reason
        };
        for (const auto& [typed, reason] : refused) {
            SetWindowTextTo(name, typed);
            Click(Child(d, Dlg::cmdOK));
            HWND box = WaitForOfClass(kWarningBoxClass);
            ASSERT_NE(box, nullptr) << typed;
            const bool blank = typed[0] == L' ';
            EXPECT_EQ(LinesOf(box).line1, blank ? L"" : L"「" + std::wstring(typed) + L"」を作成出来ませんでした") << typed;
            if (reason.empty())
                EXPECT_FALSE(LinesOf(box).line2.empty()) << typed;
            else
                EXPECT_EQ(LinesOf(box).line2, reason) << typed;
            Answer(box, kBoxOK);
            EXPECT_TRUE(IsWindowVisible(panel)) << typed;
        }

        // Cancel closes the panel only, and the name typed last is kept.
        Click(Child(d, Dlg::cmdCancel));
        ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(panel); }));
        EXPECT_TRUE(IsWindowVisible(d));
        EXPECT_TRUE(IsWindowVisible(Child(d, Dlg::Dir1)));
        Click(Child(d, Dlg::cmdShortCut0 + 4));
        ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(panel); }));
        EXPECT_EQ(WindowText(name), L"taken\\sub");

        SetWindowTextTo(name, L"a\\b");
        Click(Child(d, Dlg::cmdOK));
        ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(panel); }));
        EXPECT_TRUE(IsFolder(temp_.Path() + L"\\a\\b"));
        EXPECT_TRUE(IsWindowVisible(Child(d, Dlg::File1)));
        EXPECT_NE(IndexOf(Child(d, Dlg::Dir1), L"a"), -1);
        EXPECT_EQ(WindowText(Child(d, Dlg::lblFullPath)), temp_.Path() + L"\\");
        Click(Child(d, Dlg::cmdCancel));  // with the panel gone, Cancel closes the dialog
    });
    EXPECT_TRUE(Dlg::Instance().Cancel());
    EXPECT_FALSE(IsFolder(temp_.Path() + L"\\..\\up"));
    EXPECT_FALSE(IsFolder(temp_.Path() + L"\\x<y"));
}

std::wstring KnownFolder(const KNOWNFOLDERID& id) {
    PWSTR path = nullptr;
    std::wstring result;
    if (SUCCEEDED(SHGetKnownFolderPath(id, KF_FLAG_CREATE, nullptr, &path))) result = path;
    CoTaskMemFree(path);
    return result;
}

TEST_F(Chooser, ListsFollowTheFolderListAndShortcutsAndAFolderThatHasGoneIsReported) {
    const std::wstring src = temp_.Folder(L"src");
    const std::wstring gone = temp_.Folder(L"gone");
    MakeFile(src + L"\\x.vbp");
    MakeFile(temp_.File(L"top.vbp"));
    const std::wstring desktop = KnownFolder(FOLDERID_Desktop), documents = KnownFolder(FOLDERID_Documents);
    ASSERT_FALSE(desktop.empty() || documents.empty());
    Remember(L"Vbp", temp_.Path() + L"\\");

    Show(2, L"Vbp", L"*.vbp", L"vbp指定", [&](HWND d) {
        HWND folders = Child(d, Dlg::Dir1);
        HWND files = Child(d, Dlg::File1);
        HWND label = Child(d, Dlg::lblFullPath);
        auto shows = [&](const std::wstring& folder) {
            return WaitUntil([&] { return WindowText(label) == folder + L"\\"; });
        };
        ASSERT_TRUE(RemoveDirectoryW(gone.c_str()));
        ClickLine(folders, IndexOf(folders, L"gone"), true);
        HWND box = WaitForOfClass(kWarningBoxClass);
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(LinesOf(box).line1, L"「" + gone + L"」を開けませんでした");
        EXPECT_FALSE(LinesOf(box).line2.empty());
        Answer(box, kBoxOK);
        // Everything stays on the last folder that could be shown.
        EXPECT_EQ(WindowText(label), temp_.Path() + L"\\");
        EXPECT_EQ(ListItems(files), std::vector<std::wstring>{L"top.vbp"});

        ClickLine(folders, IndexOf(folders, L"src"), true);
        ASSERT_TRUE(shows(src)) << WindowText(label);
        EXPECT_EQ(ListItems(files), std::vector<std::wstring>{L"x.vbp"});
        ClickLine(folders, IndexOf(folders, GetFileName(temp_.Path())), true);  // up through the ancestor line
        ASSERT_TRUE(shows(temp_.Path())) << WindowText(label);

        Click(Child(d, Dlg::cmdShortCut0 + 0));
        EXPECT_TRUE(shows(desktop)) << WindowText(label);
        Click(Child(d, Dlg::cmdShortCut0 + 1));
        EXPECT_TRUE(shows(documents)) << WindowText(label);
        const int current = static_cast<int>(SendMessageW(folders, LB_GETCURSEL, 0, 0));
        EXPECT_EQ(ListItems(folders).at(static_cast<size_t>(current)), GetFileName(documents));
        Click(Child(d, Dlg::cmdCancel));
    });
    EXPECT_TRUE(Dlg::Instance().Cancel());
}

TEST_F(Chooser, EnterMovesTheFocusOnAndTheFocusedControlTurnsLightYellow) {
    const std::wstring sub = temp_.Folder(L"sub");
    Remember(L"Vbp", temp_.Path() + L"\\");
    Show(2, L"Vbp", L"*.vbp", L"vbp指定", [&](HWND d) {
        HWND name = Child(d, Dlg::txtFileName);
        HWND drive = Child(d, Dlg::Drive1);
        HWND folders = Child(d, Dlg::Dir1);
        ASSERT_TRUE(WaitUntil([&] { return FocusIn(d) == name; }));
        EXPECT_EQ(EditBackColor(d, name), kLightYellow);
        // Esc means nothing; Enter moves on without confirming.
        SetWindowTextTo(name, L"nothing.vbp");
        PostKey(name, VK_ESCAPE);
        PostKey(name, VK_RETURN);
        ASSERT_TRUE(WaitUntil([&] { return FocusIn(d) == drive; })) << "focus on " << GetDlgCtrlID(FocusedControl(d));
        EXPECT_TRUE(IsWindowVisible(d));
        EXPECT_EQ(FindOfClass(kWarningBoxClass), nullptr);
        EXPECT_EQ(EditBackColor(d, drive), kLightYellow);
        EXPECT_EQ(EditBackColor(d, name), GetSysColor(COLOR_WINDOW));
        PostKey(drive, VK_RETURN);
        ASSERT_TRUE(WaitUntil([&] { return FocusIn(d) == folders; }));
        // In the folder list Enter also opens the chosen line.
        SendMessageW(folders, LB_SETCURSEL, static_cast<WPARAM>(IndexOf(folders, L"sub")), 0);
        PostKey(folders, VK_RETURN);
        EXPECT_TRUE(WaitUntil([&] { return FocusIn(d) == Child(d, Dlg::File1); }));
        EXPECT_TRUE(WaitUntil([&] { return WindowText(Child(d, Dlg::lblFullPath)) == sub + L"\\"; }));
        Click(Child(d, Dlg::cmdCancel));
    });
    EXPECT_TRUE(Dlg::Instance().Cancel());
}

TEST_F(Chooser, DriveThatIsNotReadyIsReportedAndTheProgramsDriveTakesOver) {
    // A drive letter that names nothing reachable stands in for an empty drive.
    ASSERT_TRUE(DefineDosDeviceW(0, L"Q:", temp_.File(L"nowhere").c_str()));
    const std::wstring programDrive = GetDriveRoot(ProgramFolder());
    const std::wstring programDriveShown{static_cast<wchar_t>(towlower(programDrive[0])), L':'};
    Remember(L"Vbp", L"Q:\\work\\");
    std::wstring warnedWhileLoading;
    Show(2, L"Vbp", L"*.vbp", L"vbp指定", [&](HWND d) {
        HWND drive = Child(d, Dlg::Drive1);
        EXPECT_EQ(WindowText(Child(d, Dlg::lblFullPath)).substr(0, 3), programDrive);
        // Chosen by the user: typing its letter in the drive list.
        SendMessageW(d, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(drive), TRUE);
        PostMessageW(drive, WM_CHAR, L'q', 1);
        HWND box = WaitForOfClass(kWarningBoxClass);
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(LinesOf(box).line2, L"ドライブの準備が出来ていません");
        Answer(box, kBoxOK);
        EXPECT_TRUE(WaitUntil([&] { return WindowText(drive).substr(0, 2) == programDriveShown; })) << WindowText(drive);
        EXPECT_EQ(WindowText(Child(d, Dlg::lblFullPath)).substr(0, 3), programDrive);
        Click(Child(d, Dlg::cmdCancel));
    }, nullptr, [&] {
        // The remembered folder is on that drive: reported while loading.
        HWND box = WaitForOfClass(kWarningBoxClass);
        warnedWhileLoading = LinesOf(box).line2;
        if (box) Answer(box, kBoxOK);
    });
    DefineDosDeviceW(DDD_REMOVE_DEFINITION, L"Q:", nullptr);
    EXPECT_EQ(warnedWhileLoading, L"ドライブの準備が出来ていません");
}

TEST_F(Chooser, RememberedFolderThatHasGoneIsPassedOverSilently) {
    // On the process's drive the lists stay on its current folder; on another
    // drive, on that drive's current folder.
    wchar_t current[MAX_PATH], driveCurrent[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, current);
    GetFullPathNameW(temp_.Path().substr(0, 2).c_str(), MAX_PATH, driveCurrent, nullptr);
    const std::pair<std::wstring, std::wstring> cases[] = {
        {ProgramFolder() + L"\\gone-" + std::to_wstring(GetCurrentProcessId()) + L"\\", current},
        {temp_.Path() + L"\\gone\\", driveCurrent},
    };
    ASSERT_EQ(GetDriveRoot(current), GetDriveRoot(cases[0].first));
    for (const auto& [gone, shown] : cases) {
        Remember(L"Vbp", gone);
        const std::wstring expected = shown.back() == L'\\' ? shown : shown + L'\\';
        Show(2, L"Vbp", L"*.vbp", L"vbp指定", [&](HWND d) {
            EXPECT_EQ(WindowText(Child(d, Dlg::lblFullPath)), expected);
            Click(Child(d, Dlg::cmdCancel));
        });
        EXPECT_EQ(Remembered(L"Vbp"), gone);
    }
}
