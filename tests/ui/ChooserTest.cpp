// The chooser shown modally as its callers show it, answered by a scripted
// user on another thread: what only the dialog itself decides (its refusals,
// questions and reports, with the dialog staying) that the whole-program
// scenarios, which always answer it with a good name, never reach.
#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "Screenshot.h"
#include "TextFiles.h"
#include "UiDriver.h"
#include "common/TempFolder.h"
#include "support/win32/Files.h"
#include "support/win32/IniControl.h"
#include "ui/dialogs/frmDialogBox.h"

using namespace tolvane;
using namespace tolvane::testing;

namespace {

using Dlg = frmDialogBox;
constexpr int kBoxOK = 102, kBoxCancel = 103;

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
    }

    static void Remember(const std::wstring& user, const std::wstring& folder) {
        ASSERT_TRUE(PutIniString(IniPath(), L"COMMON", L"PREV_" + user, folder));
    }
    static std::wstring Remembered(const std::wstring& user) {
        return GetIniString(IniPath(), L"COMMON", L"PREV_" + user);
    }

    // Sets the chooser up as a caller does and shows it modally here, while
    // `script` acts as the user on another thread. However the script ends,
    // the showing is brought to an end, its boxes answered.
    static void Show(int mode, const std::wstring& user, const std::wstring& mask, const std::wstring& caption,
                     const std::function<void(HWND)>& script, const std::function<void(Dlg&)>& more = nullptr) {
        const DWORD pid = GetCurrentProcessId();
        std::atomic<bool> done{false};
        std::thread scripted([&] {
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

// A warning or question of the dialog: its lines, answered; the dialog stays.
BoxLines Refusal(HWND dialog, const wchar_t* boxClass, int answer = kBoxOK) {
    HWND box = WaitForOfClass(boxClass);
    if (!box) return {L"(no box)", L""};
    const BoxLines lines = LinesOf(box);
    Answer(box, answer);
    EXPECT_TRUE(IsWindowVisible(dialog));
    return lines;
}

// One showing in open mode: what the lists show, every refusal of a name or
// a folder, the new-folder panel, and the name finally taken.
TEST_F(Chooser, OpenModeRefusesWhatIsNotThereReportsWhatCannotBeShownAndTakesAClickedOrTypedName) {
    const std::wstring src = temp_.Folder(L"src");
    const std::wstring gone = temp_.Folder(L"gone");
    MakeFile(src + L"\\x.vbp");
    MakeFile(temp_.File(L"a.vbp"));
    MakeFile(temp_.File(L"B.vbp"));
    MakeFile(temp_.File(L"c.txt"));
    MakeFile(temp_.File(L"hidden.vbp"), FILE_ATTRIBUTE_HIDDEN);
    MakeFile(temp_.File(L"system.vbp"), FILE_ATTRIBUTE_SYSTEM);
    MakeFile(temp_.File(L"taken"));
    // A drive letter that names nothing reachable stands in for an empty drive.
    ASSERT_TRUE(DefineDosDeviceW(0, L"Q:", temp_.File(L"nowhere").c_str()));
    Remember(L"Vbp", temp_.Path() + L"\\");

    Show(2, L"Vbp", L"*.vbp", L"vbp指定", [&](HWND d) {
        HWND files = Child(d, Dlg::File1), folders = Child(d, Dlg::Dir1), label = Child(d, Dlg::lblFullPath);
        HWND name = Child(d, Dlg::txtFileName);
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
            EXPECT_EQ(Refusal(d, kWarningBoxClass).line2, warning) << typed;
        }

        HWND panel = Child(d, Dlg::fraDir), folderName = Child(d, Dlg::txtDir);
        Click(Child(d, Dlg::cmdShortCut0 + 4));
        ASSERT_TRUE(WaitUntil([&] { return FocusIn(d) == folderName; })) << "panel shown: " << IsWindowVisible(panel);
        EXPECT_FALSE(IsWindowVisible(files));
        const std::pair<const wchar_t*, std::wstring> refusedFolders[] = {
            {L"  ", L"フォルダ名が指定されていません"},
            {L"x<y", L"フォルダ名に使えない文字が含まれています"},
            {L"..\\up", L"フォルダ名が正しくありません"},
            {L"taken\\sub", L""},  // a file stands where a level has to go: the platform's reason
        };
        for (const auto& [typed, reason] : refusedFolders) {
            SetWindowTextTo(folderName, typed);
            Click(Child(d, Dlg::cmdOK));
            const BoxLines lines = Refusal(d, kWarningBoxClass);
            if (reason.empty())
                EXPECT_FALSE(lines.line2.empty()) << typed;
            else
                EXPECT_EQ(lines.line2, reason) << typed;
            EXPECT_TRUE(IsWindowVisible(panel)) << typed;
        }
        // Cancel closes the panel only; OK creates every level.
        Click(Child(d, Dlg::cmdCancel));
        ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(panel); }));
        EXPECT_TRUE(IsWindowVisible(d));
        Click(Child(d, Dlg::cmdShortCut0 + 4));
        ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(panel); }));
        SetWindowTextTo(folderName, L"a\\b");
        Click(Child(d, Dlg::cmdOK));
        ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(panel); }));
        EXPECT_TRUE(IsFolder(temp_.Path() + L"\\a\\b"));
        EXPECT_NE(IndexOf(folders, L"a"), -1);

        // A folder that has gone: everything stays on the last one shown.
        ASSERT_TRUE(RemoveDirectoryW(gone.c_str()));
        ClickLine(folders, IndexOf(folders, L"gone"), true);
        EXPECT_EQ(Refusal(d, kWarningBoxClass).line1, L"「" + gone + L"」を開けませんでした");
        EXPECT_EQ(WindowText(label), temp_.Path() + L"\\");
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
    });
    Dlg& dlg = Dlg::Instance();
    EXPECT_FALSE(dlg.Cancel());
    EXPECT_EQ(dlg.FullPathName(), src + L"\\y.vbp");
    EXPECT_FALSE(dlg.IsLoaded());
    EXPECT_FALSE(IsFolder(temp_.Path() + L"\\..\\up"));

    // The next showing opens where the last one ended, with an empty name; a double-click confirms.
    Show(2, L"Vbp", L"*.vbp", L"vbp指定", [&](HWND d) {
        EXPECT_EQ(WindowText(Child(d, Dlg::txtFileName)), L"");
        ClickLine(Child(d, Dlg::File1), 0, true);
    });
    EXPECT_FALSE(dlg.Cancel());
    EXPECT_EQ(dlg.FullPathName(), src + L"\\x.vbp");
    Show(2, L"Vbp", L"*.vbp", L"vbp指定", [&](HWND d) {
        HWND drive = Child(d, Dlg::Drive1);
        SendMessageW(d, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(drive), TRUE);
        PostMessageW(drive, WM_CHAR, L'q', 1);
        EXPECT_EQ(Refusal(d, kWarningBoxClass).line2, L"ドライブの準備が出来ていません");
        Click(Child(d, Dlg::cmdCancel));
    });
    DefineDosDeviceW(DDD_REMOVE_DEFINITION, L"Q:", nullptr);
    EXPECT_TRUE(dlg.Cancel());
    EXPECT_EQ(dlg.FullPathName(), L"");
}

TEST_F(Chooser, FolderModeAsksBeforeCreatingAMissingFolderAndRemembersABlankUserUnderItsOwnKey) {
    Remember(L"Exe_Out", temp_.Path() + L"\\");
    const std::wstring wanted = temp_.Path() + L"\\new\\";
    Show(1, L"Exe_Out", L"", L"出力フォルダ指定", [&](HWND d) {
        EXPECT_FALSE(IsWindowVisible(Child(d, Dlg::File1)));
        Click(Child(d, Dlg::cmdOK));
        EXPECT_EQ(Refusal(d, kYesNoBoxClass, kBoxCancel).line2, L"「" + wanted + L"」を作成しますか？");
        EXPECT_FALSE(IsFolder(wanted));
        Click(Child(d, Dlg::cmdOK));
        Answer(WaitForOfClass(kYesNoBoxClass), kBoxOK);
    }, [](Dlg& d) { d.SetIniFileName(L"new"); });
    EXPECT_TRUE(IsFolder(wanted));
    EXPECT_EQ(Dlg::Instance().FullPathName(), wanted);
    EXPECT_EQ(Remembered(L"Exe_Out"), wanted);

    Show(1, L"   ", L"", L"検索フォルダ指定", [&](HWND d) { Click(Child(d, Dlg::cmdOK)); });
    EXPECT_FALSE(Dlg::Instance().Cancel());
    EXPECT_EQ(Remembered(L"USER"), Dlg::Instance().FullPathName());
}
