// The chooser shown modally as its callers show it, answered by a scripted
// user on another thread: typing and clicking, the checks of OK per mode, the
// message boxes on the way, the new-folder panel, the shortcuts, and what is
// remembered in DialogBox.ini afterwards.
#include <gtest/gtest.h>

#include <windows.h>
#include <knownfolders.h>
#include <shlobj.h>

#include <atomic>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "UiDriver.h"
#include "Screenshot.h"
#include "common/TempFolder.h"
#include "support/Paths.h"
#include "support/VbError.h"
#include "support/win32/Files.h"
#include "support/win32/IniControl.h"
#include "ui/core/Twips.h"
#include "ui/dialogs/SpecialFolder.h"
#include "ui/dialogs/frmDialogBox.h"

using namespace tolvane;
using namespace tolvane::testing;

namespace {

using Dlg = frmDialogBox;

constexpr wchar_t kWarningClass[] = L"TolvaneMsgWarning";
constexpr wchar_t kYesNoClass[] = L"TolvaneMsgYesNo";
constexpr int kBoxLine1 = 100, kBoxLine2 = 101, kBoxOK = 102, kBoxCancel = 103;

std::wstring IniPath() { return FileBesideProgram(L"DialogBox.ini"); }

std::string ReadBytes(const std::wstring& path) {
    std::ifstream in(path.c_str(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool WriteBytes(const std::wstring& path, const std::string& bytes) {
    std::ofstream out(path.c_str(), std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

std::string ShiftJis(const std::wstring& text) {
    const int n = WideCharToMultiByte(932, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(932, 0, text.c_str(), static_cast<int>(text.size()), &bytes[0], n, nullptr, nullptr);
    return bytes;
}

struct ClassSearch {
    const wchar_t* name;
    HWND found;
};

BOOL CALLBACK MatchClass(HWND w, LPARAM p) {
    auto* s = reinterpret_cast<ClassSearch*>(p);
    wchar_t name[64] = {};
    GetClassNameW(w, name, 64);
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    if (pid != GetCurrentProcessId() || !IsWindowVisible(w) || lstrcmpW(name, s->name) != 0) return TRUE;
    s->found = w;
    return FALSE;
}

HWND FindBox(const wchar_t* className) {
    ClassSearch s{className, nullptr};
    EnumWindows(MatchClass, reinterpret_cast<LPARAM>(&s));
    return s.found;
}

struct Box {
    HWND hwnd = nullptr;
    std::wstring line1, line2;
};

// Waits for one of the program's message boxes and reads its lines.
Box WaitForBox(const wchar_t* className) {
    Box box;
    WaitUntil([&] { return (box.hwnd = FindBox(className)) != nullptr; });
    if (box.hwnd) {
        box.line1 = WindowText(Child(box.hwnd, kBoxLine1));
        box.line2 = WindowText(Child(box.hwnd, kBoxLine2));
    }
    return box;
}

void Answer(const Box& box, int button) {
    Click(Child(box.hwnd, button));
    WaitForWindowGone(box.hwnd);
}

// The control with the keyboard focus in a window of this process. Another
// program on the shared display may take the activation away meanwhile; the
// window is then brought back first, as a user clicking on it would, which
// returns the focus to the control that had it.
HWND FocusIn(HWND window) {
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info)) return nullptr;
    if (info.hwndActive != window) {
        SetForegroundWindow(window);
        return nullptr;
    }
    return info.hwndFocus;
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

// A control's place in twips within its container.
RECT PlaceOf(HWND control) {
    RECT r{};
    GetWindowRect(control, &r);
    MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&r), 2);
    return {ui::PixelsToTwipsX(r.left), ui::PixelsToTwipsY(r.top), ui::PixelsToTwipsX(r.right),
            ui::PixelsToTwipsY(r.bottom)};
}

SIZE OuterSize(HWND w) {
    RECT r{};
    GetWindowRect(w, &r);
    return {ui::PixelsToTwipsX(r.right - r.left), ui::PixelsToTwipsY(r.bottom - r.top)};
}

// The background colour the dialog gives a control when it is painted.
COLORREF BackColorOf(HWND dialog, HWND control) {
    HDC dc = GetDC(control);
    SetBkColor(dc, RGB(1, 2, 3));
    SendMessageW(dialog, WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(control));
    const COLORREF color = GetBkColor(dc);
    ReleaseDC(control, dc);
    return color;
}

std::wstring KnownFolder(const KNOWNFOLDERID& id) {
    PWSTR path = nullptr;
    std::wstring result;
    if (SUCCEEDED(SHGetKnownFolderPath(id, 0, nullptr, &path))) result = path;
    CoTaskMemFree(path);
    return result;
}

constexpr COLORREF kLightYellow = 0xC0FFFF;
constexpr int kPixel = 15;  // one pixel in twips: places agree to within it

}  // namespace

class Chooser : public ::testing::Test {
protected:
    void SetUp() override {
        const DWORD attributes = GetFileAttributesW(IniPath().c_str());
        hadIni_ = attributes != INVALID_FILE_ATTRIBUTES;
        if (hadIni_) {
            iniAttributes_ = attributes;
            iniBytes_ = ReadBytes(IniPath());
        }
    }

    void TearDown() override {
        // The settings file beside the test program is left as it was found.
        SetFileAttributesW(IniPath().c_str(), FILE_ATTRIBUTE_NORMAL);
        if (hadIni_) {
            WriteBytes(IniPath(), iniBytes_);
            SetFileAttributesW(IniPath().c_str(), iniAttributes_);
        } else {
            DeleteFileW(IniPath().c_str());
        }
        Dlg& d = Dlg::Instance();
        d.SetPosTop(0);
        d.SetPosLeft(0);
    }

    static void Remember(const std::wstring& user, const std::wstring& folder) {
        ASSERT_TRUE(PutIniString(IniPath(), L"COMMON", L"PREV_" + user, folder));
    }
    static std::wstring Remembered(const std::wstring& user) {
        return GetIniString(IniPath(), L"COMMON", L"PREV_" + user);
    }

    // Sets the chooser up as a caller does and shows it modally here, while
    // `script` acts as the user on another thread. However the script ends,
    // the showing is brought to an end.
    static void Show(int mode, const std::wstring& user, const std::wstring& mask, const std::wstring& caption,
                     const std::function<void(HWND)>& script, const std::function<void(Dlg&)>& more = nullptr,
                     const std::function<void()>& whileLoading = nullptr) {
        const DWORD pid = GetCurrentProcessId();
        std::atomic<bool> done{false};
        std::thread scripted([&] {
            if (whileLoading) whileLoading();
            HWND dialog = WaitForTopWindow(caption, pid);
            if (dialog)
                script(dialog);
            else
                ADD_FAILURE() << "the chooser did not show";
            if (!WaitUntil([&] { return done.load(); }, 10s)) ADD_FAILURE() << "the chooser was left open";
            while (!done.load()) {
                for (const wchar_t* cls : {kWarningClass, kYesNoClass})
                    if (HWND box = FindBox(cls)) Click(Child(box, kBoxOK));
                if (HWND w = FindTopWindow(caption, pid)) PostMessageW(w, WM_CLOSE, 0, 0);
                WaitUntil([&] { return done.load(); }, 1s);
            }
        });
        try {
            Dlg& d = Dlg::Instance();
            d.SetMode(mode);
            d.SetUser(user);
            if (more) more(d);
            if (!mask.empty()) d.SetMask(mask);
            d.SetDialogCaption(caption);
            d.ShowModal();
        } catch (...) {
            done = true;
            scripted.join();
            throw;
        }
        done = true;
        scripted.join();
    }

    TempFolder temp_{L"chooser"};

private:
    bool hadIni_ = false;
    DWORD iniAttributes_ = 0;
    std::string iniBytes_;
};

void MakeFile(const std::wstring& path, DWORD attributes = FILE_ATTRIBUTE_NORMAL) {
    ASSERT_TRUE(WriteBytes(path, "x"));
    if (attributes != FILE_ATTRIBUTE_NORMAL) SetFileAttributesW(path.c_str(), attributes);
}

bool IsFolder(const std::wstring& path) {
    const DWORD a = GetFileAttributesW(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

TEST_F(Chooser, FileModeListsMatchingFilesAndAcceptsATypedExistingName) {
    MakeFile(temp_.File(L"a.vbp"));
    MakeFile(temp_.File(L"B.vbp"));
    MakeFile(temp_.File(L"c.txt"));
    MakeFile(temp_.File(L"hidden.vbp"), FILE_ATTRIBUTE_HIDDEN);
    MakeFile(temp_.File(L"system.vbp"), FILE_ATTRIBUTE_SYSTEM);
    temp_.Folder(L"src");
    Remember(L"Vbp", temp_.Path() + L"\\");

    Show(2, L"Vbp", L"*.vbp", L"vbp指定", [&](HWND d) {
        EXPECT_EQ(ListItems(Child(d, Dlg::File1)), (std::vector<std::wstring>{L"a.vbp", L"B.vbp"}));
        EXPECT_EQ(WindowText(Child(d, Dlg::lblFullPath)), temp_.Path() + L"\\");
        EXPECT_EQ(WindowText(Child(d, Dlg::txtFileName)), L"");
        EXPECT_NE(IndexOf(Child(d, Dlg::Dir1), L"src"), -1);
        EXPECT_TRUE(IsWindowVisible(Child(d, Dlg::File1)));
        EXPECT_FALSE(IsWindowVisible(Child(d, Dlg::fraDir)));
        CaptureWindow(d, "chooser_mode2");
        SetWindowTextTo(Child(d, Dlg::txtFileName), L"a.vbp");
        Click(Child(d, Dlg::cmdOK));
    });

    Dlg& d = Dlg::Instance();
    EXPECT_FALSE(d.Cancel());
    EXPECT_EQ(d.FullPathName(), temp_.File(L"a.vbp"));
    EXPECT_EQ(Remembered(L"Vbp"), temp_.Path() + L"\\");
    EXPECT_EQ(d.Mask(), L"*.*");
    EXPECT_FALSE(d.IsLoaded());
}

TEST_F(Chooser, ClickingAFileFillsTheNameAndADoubleClickConfirms) {
    MakeFile(temp_.File(L"one.clt"));
    MakeFile(temp_.File(L"two.clt"));
    Remember(L"Tolvane_List", temp_.Path() + L"\\");

    Show(2, L"Tolvane_List", L"*.clt", L"ｺﾝﾊﾟｲﾙﾘｽﾄ選択", [&](HWND d) {
        HWND files = Child(d, Dlg::File1);
        ClickLine(files, IndexOf(files, L"two.clt"));
        EXPECT_TRUE(WaitUntil([&] { return WindowText(Child(d, Dlg::txtFileName)) == L"two.clt"; }));
        EXPECT_EQ(WindowText(Child(d, Dlg::lblFullPath)), temp_.File(L"two.clt"));
        // What is typed afterwards is what OK takes.
        SetWindowTextTo(Child(d, Dlg::txtFileName), L"one.clt");
        Click(Child(d, Dlg::cmdOK));
    });
    EXPECT_FALSE(Dlg::Instance().Cancel());
    EXPECT_EQ(Dlg::Instance().FullPathName(), temp_.File(L"one.clt"));

    // The next showing opens in the same folder with an empty name box.
    Show(2, L"Tolvane_List", L"*.clt", L"ｺﾝﾊﾟｲﾙﾘｽﾄ選択", [&](HWND d) {
        EXPECT_EQ(WindowText(Child(d, Dlg::txtFileName)), L"");
        HWND files = Child(d, Dlg::File1);
        ClickLine(files, IndexOf(files, L"two.clt"), true);
    });
    EXPECT_FALSE(Dlg::Instance().Cancel());
    EXPECT_EQ(Dlg::Instance().FullPathName(), temp_.File(L"two.clt"));
}

TEST_F(Chooser, MissingOrBlankNamesAreWarnedAboutAndCancelLeavesNothingBehind) {
    MakeFile(temp_.File(L"VB6.EXE"), FILE_ATTRIBUTE_HIDDEN);
    Remember(L"VB_EXE", temp_.Path() + L"\\");

    Show(2, L"VB_EXE", L"VB*.EXE", L"VB*.EXE選択", [&](HWND d) {
        HWND name = Child(d, Dlg::txtFileName);
        SetWindowTextTo(name, L"VB5.EXE");
        Click(Child(d, Dlg::cmdOK));
        Box box = WaitForBox(kWarningClass);
        ASSERT_NE(box.hwnd, nullptr);
        EXPECT_EQ(box.line1, L"");
        EXPECT_EQ(box.line2, L"「VB5.EXE」は存在しません");
        Answer(box, kBoxOK);
        EXPECT_TRUE(IsWindowVisible(d));
        EXPECT_EQ(WindowText(Child(d, Dlg::lblFullPath)), temp_.File(L"VB5.EXE"));

        SetWindowTextTo(name, L"   ");
        Click(Child(d, Dlg::cmdOK));
        box = WaitForBox(kWarningClass);
        ASSERT_NE(box.hwnd, nullptr);
        EXPECT_EQ(box.line2, L"ファイル名が指定されていません");
        Answer(box, kBoxOK);

        // A hidden file does not count as there.
        SetWindowTextTo(name, L"VB6.EXE");
        Click(Child(d, Dlg::cmdOK));
        box = WaitForBox(kWarningClass);
        ASSERT_NE(box.hwnd, nullptr);
        EXPECT_EQ(box.line2, L"「VB6.EXE」は存在しません");
        Answer(box, kBoxOK);
        // The dialog takes the keyboard again where it was.
        EXPECT_TRUE(WaitUntil([&] { return IsChild(d, FocusIn(d)); }));
        Click(Child(d, Dlg::cmdCancel));
    });

    Dlg& d = Dlg::Instance();
    EXPECT_TRUE(d.Cancel());
    EXPECT_EQ(d.FullPathName(), L"");
    EXPECT_EQ(Remembered(L"VB_EXE"), temp_.Path() + L"\\");
}

TEST_F(Chooser, SavingAsksBeforeOverwritingAndAppendsTheExtension) {
    MakeFile(temp_.File(L"list.clt"));
    Remember(L"Tolvane_List", temp_.Path() + L"\\");

    Show(4, L"Tolvane_List", L"*.clt", L"ｺﾝﾊﾟｲﾙﾘｽﾄ保存", [&](HWND d) {
        CaptureWindow(d, "chooser_mode4");
        SetWindowTextTo(Child(d, Dlg::txtFileName), L"list");
        Click(Child(d, Dlg::cmdOK));
        Box box = WaitForBox(kYesNoClass);
        ASSERT_NE(box.hwnd, nullptr);
        EXPECT_EQ(box.line1, L"「list.clt」は既に存在します");
        EXPECT_EQ(box.line2, L"既存のファイルを書き換えますか？");
        Answer(box, kBoxCancel);
        EXPECT_TRUE(IsWindowVisible(d));

        Click(Child(d, Dlg::cmdOK));
        box = WaitForBox(kYesNoClass);
        ASSERT_NE(box.hwnd, nullptr);
        Answer(box, kBoxOK);
    });
    EXPECT_FALSE(Dlg::Instance().Cancel());
    EXPECT_EQ(Dlg::Instance().FullPathName(), temp_.File(L"list.clt"));

    // Mode 3 names a file to write without any question.
    Show(3, L"Tolvane_List", L"*.clt", L"ｺﾝﾊﾟｲﾙﾘｽﾄ保存", [&](HWND d) {
        SetWindowTextTo(Child(d, Dlg::txtFileName), L"list.txt");
        Click(Child(d, Dlg::cmdOK));
    });
    EXPECT_EQ(Dlg::Instance().FullPathName(), temp_.File(L"list.txt.clt"));
    EXPECT_FALSE(FileExists(temp_.File(L"list.txt.clt")));  // naming it writes nothing
}

TEST_F(Chooser, FolderModeHidesTheFileControlsAndAcceptsTheCurrentFolder) {
    Remember(L"VbpFolder", temp_.Path() + L"\\");

    Show(1, L"VbpFolder", L"*.vbp", L"検索フォルダ指定", [&](HWND d) {
        EXPECT_FALSE(IsWindowVisible(Child(d, Dlg::File1)));
        EXPECT_FALSE(IsWindowVisible(Child(d, Dlg::txtFileName)));
        const SIZE size = OuterSize(d);
        EXPECT_NEAR(size.cx, 6000, kPixel);
        EXPECT_NEAR(size.cy, 4980, kPixel);
        // The lists take the whole width, the shortcut bar sits at the right.
        EXPECT_NEAR(PlaceOf(Child(d, Dlg::Dir1)).right - PlaceOf(Child(d, Dlg::Dir1)).left, 5800, kPixel);
        EXPECT_NEAR(PlaceOf(Child(d, Dlg::Drive1)).right - PlaceOf(Child(d, Dlg::Drive1)).left, 3930, kPixel);
        EXPECT_NEAR(PlaceOf(Child(d, Dlg::fraLink)).left, 4035, kPixel);
        EXPECT_NEAR(PlaceOf(Child(d, Dlg::cmdOK)).top, 4185, kPixel);
        CaptureWindow(d, "chooser_mode1");
        Click(Child(d, Dlg::cmdOK));
    });
    EXPECT_FALSE(Dlg::Instance().Cancel());
    EXPECT_EQ(Dlg::Instance().FullPathName(), temp_.Path() + L"\\");
    EXPECT_EQ(Remembered(L"VbpFolder"), temp_.Path() + L"\\");
}

TEST_F(Chooser, FolderModeAsksBeforeCreatingAMissingFolder) {
    Remember(L"Exe_Out", temp_.Path() + L"\\");
    const std::wstring wanted = temp_.Path() + L"\\new\\";
    auto proposeNew = [](Dlg& d) { d.SetIniFileName(L"new"); };

    Show(1, L"Exe_Out", L"", L"出力フォルダ指定", [&](HWND d) {
        Click(Child(d, Dlg::cmdOK));
        Box box = WaitForBox(kYesNoClass);
        ASSERT_NE(box.hwnd, nullptr);
        EXPECT_EQ(box.line1, L"");
        EXPECT_EQ(box.line2, L"「" + wanted + L"」を作成しますか？");
        Answer(box, kBoxCancel);
        EXPECT_TRUE(IsWindowVisible(d));
        EXPECT_FALSE(IsFolder(wanted));

        Click(Child(d, Dlg::cmdOK));
        box = WaitForBox(kYesNoClass);
        ASSERT_NE(box.hwnd, nullptr);
        Answer(box, kBoxOK);
    }, proposeNew);

    EXPECT_TRUE(IsFolder(wanted));
    EXPECT_FALSE(Dlg::Instance().Cancel());
    EXPECT_EQ(Dlg::Instance().FullPathName(), wanted);
    EXPECT_EQ(Remembered(L"Exe_Out"), wanted);
}

TEST_F(Chooser, FolderThatCannotBeCreatedIsReportedAndTheDialogStays) {
    Remember(L"Exe_Out", temp_.Path() + L"\\");
    MakeFile(temp_.File(L"taken"));
    const std::wstring wanted = temp_.Path() + L"\\taken\\out\\";

    Show(1, L"Exe_Out", L"", L"出力フォルダ指定", [&](HWND d) {
        Click(Child(d, Dlg::cmdOK));
        Box box = WaitForBox(kYesNoClass);
        ASSERT_NE(box.hwnd, nullptr);
        Answer(box, kBoxOK);
        box = WaitForBox(kWarningClass);
        ASSERT_NE(box.hwnd, nullptr);
        EXPECT_EQ(box.line1, L"「" + wanted + L"」を作成出来ませんでした");
        EXPECT_FALSE(box.line2.empty());  // the platform's reason
        Answer(box, kBoxOK);
        EXPECT_TRUE(IsWindowVisible(d));
        Click(Child(d, Dlg::cmdCancel));
    }, [](Dlg& d) { d.SetIniFileName(L"taken\\out"); });

    EXPECT_TRUE(Dlg::Instance().Cancel());
    EXPECT_EQ(Dlg::Instance().FullPathName(), L"");
    EXPECT_EQ(Remembered(L"Exe_Out"), temp_.Path() + L"\\");
}

TEST_F(Chooser, NewFolderPanelCreatesEveryLevelBelowTheCurrentFolder) {
    Remember(L"Vbp", temp_.Path() + L"\\");

    Show(2, L"Vbp", L"*.vbp", L"vbp指定", [&](HWND d) {
        Click(Child(d, Dlg::cmdShortCut0 + 4));
        HWND name = Child(d, Dlg::txtDir);
        ASSERT_TRUE(WaitUntil([&] { return FocusIn(d) == name; }))
            << "panel shown: " << IsWindowVisible(Child(d, Dlg::fraDir))
            << ", focus on control " << GetDlgCtrlID(FocusIn(d));
        EXPECT_TRUE(IsWindowVisible(Child(d, Dlg::fraDir)));
        for (int hidden : {Dlg::Drive1, Dlg::Dir1, Dlg::File1, Dlg::fraLink, Dlg::txtFileName})
            EXPECT_FALSE(IsWindowVisible(Child(d, hidden))) << hidden;
        EXPECT_TRUE(IsWindowVisible(Child(d, Dlg::cmdOK)));
        EXPECT_TRUE(IsWindowVisible(Child(d, Dlg::cmdCancel)));
        EXPECT_EQ(WindowText(name), L"新しいフォルダ");
        DWORD start = 1, end = 0;
        SendMessageW(name, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
        EXPECT_EQ(start, 0u);
        EXPECT_EQ(end, 7u);  // the whole name is selected
        EXPECT_EQ(BackColorOf(d, name), kLightYellow);
        EXPECT_EQ(WindowText(Child(d, Dlg::lblFullPath)), temp_.Path() + L"\\");
        EXPECT_NEAR(PlaceOf(Child(d, Dlg::fraDir)).left, 85, kPixel);
        CaptureWindow(d, "chooser_newfolder");

        SetWindowTextTo(name, L"a\\b");
        Click(Child(d, Dlg::cmdOK));
        ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(Child(d, Dlg::fraDir)); }));
        EXPECT_TRUE(IsFolder(temp_.Path() + L"\\a\\b"));
        EXPECT_TRUE(IsWindowVisible(Child(d, Dlg::Dir1)));
        EXPECT_TRUE(IsWindowVisible(Child(d, Dlg::File1)));
        EXPECT_NE(IndexOf(Child(d, Dlg::Dir1), L"a"), -1);
        EXPECT_EQ(WindowText(Child(d, Dlg::lblFullPath)), temp_.Path() + L"\\");
        // One Cancel now closes the dialog.
        Click(Child(d, Dlg::cmdCancel));
    });
    EXPECT_TRUE(Dlg::Instance().Cancel());
    EXPECT_EQ(Dlg::Instance().FullPathName(), L"");
}

TEST_F(Chooser, NewFolderPanelRefusesBadNamesAndCancelClosesOnlyThePanel) {
    Remember(L"Vbp", temp_.Path() + L"\\");
    MakeFile(temp_.File(L"taken"));

    Show(2, L"Vbp", L"*.vbp", L"vbp指定", [&](HWND d) {
        Click(Child(d, Dlg::cmdShortCut0 + 4));
        HWND name = Child(d, Dlg::txtDir);
        ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(Child(d, Dlg::fraDir)); }));

        struct Case {
            const wchar_t* typed;
            std::wstring line1, line2;
        };
        const Case cases[] = {
            {L"  ", L"", L"フォルダ名が指定されていません"},
            {L"x<y", L"「x<y」を作成出来ませんでした", L"フォルダ名に使えない文字が含まれています"},
            {L"..\\up", L"「..\\up」を作成出来ませんでした", L"フォルダ名が正しくありません"},
            // A file stands where a folder level has to go.
            {L"taken\\sub", L"「taken\\sub」を作成出来ませんでした", L""},
        };
        for (const Case& c : cases) {
            SetWindowTextTo(name, c.typed);
            Click(Child(d, Dlg::cmdOK));
            Box box = WaitForBox(kWarningClass);
            ASSERT_NE(box.hwnd, nullptr) << c.typed;
            EXPECT_EQ(box.line1, c.line1) << c.typed;
            if (c.line2.empty())
                EXPECT_FALSE(box.line2.empty()) << c.typed;
            else
                EXPECT_EQ(box.line2, c.line2) << c.typed;
            Answer(box, kBoxOK);
            EXPECT_TRUE(IsWindowVisible(Child(d, Dlg::fraDir))) << c.typed;
        }
        EXPECT_FALSE(IsFolder(temp_.Path() + L"\\..\\up"));

        // Cancel closes the panel only, and the name typed last is kept.
        Click(Child(d, Dlg::cmdCancel));
        ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(Child(d, Dlg::fraDir)); }));
        EXPECT_TRUE(IsWindowVisible(d));
        EXPECT_TRUE(IsWindowVisible(Child(d, Dlg::Dir1)));
        Click(Child(d, Dlg::cmdShortCut0 + 4));
        ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(Child(d, Dlg::fraDir)); }));
        EXPECT_EQ(WindowText(name), L"taken\\sub");
        // The window's close button closes the dialog, panel or not.
        PostMessageW(d, WM_CLOSE, 0, 0);
    });
    EXPECT_TRUE(Dlg::Instance().Cancel());
    EXPECT_EQ(Dlg::Instance().FullPathName(), L"");
    // Nothing but the file the test made was created.
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((temp_.Path() + L"\\*").c_str(), &data);
    std::vector<std::wstring> names;
    do {
        if (std::wstring(data.cFileName) != L"." && std::wstring(data.cFileName) != L"..") names.push_back(data.cFileName);
    } while (FindNextFileW(find, &data));
    FindClose(find);
    EXPECT_EQ(names, std::vector<std::wstring>{L"taken"});
}

TEST_F(Chooser, ShortcutsMoveTheListsToTheDesktopAndTheDocuments) {
    const std::wstring desktop = KnownFolder(FOLDERID_Desktop);
    const std::wstring documents = KnownFolder(FOLDERID_Documents);
    ASSERT_FALSE(desktop.empty());
    ASSERT_FALSE(documents.empty());
    CreateDirectoryW(desktop.c_str(), nullptr);
    CreateDirectoryW(documents.c_str(), nullptr);
    Remember(L"Vbp", temp_.Path() + L"\\");

    Show(2, L"Vbp", L"*.vbp", L"vbp指定", [&](HWND d) {
        Click(Child(d, Dlg::cmdShortCut0 + 0));
        EXPECT_TRUE(WaitUntil([&] { return WindowText(Child(d, Dlg::lblFullPath)) == desktop + L"\\"; }))
            << WindowText(Child(d, Dlg::lblFullPath));
        Click(Child(d, Dlg::cmdShortCut0 + 1));
        EXPECT_TRUE(WaitUntil([&] { return WindowText(Child(d, Dlg::lblFullPath)) == documents + L"\\"; }))
            << WindowText(Child(d, Dlg::lblFullPath));
        HWND folders = Child(d, Dlg::Dir1);
        const int current = static_cast<int>(SendMessageW(folders, LB_GETCURSEL, 0, 0));
        EXPECT_EQ(ListItems(folders).at(static_cast<size_t>(current)), GetFileName(documents));
        Click(Child(d, Dlg::cmdCancel));
    });
    EXPECT_TRUE(Dlg::Instance().Cancel());
}

TEST_F(Chooser, FolderListOpensEntriesAndReportsAFolderThatHasGone) {
    const std::wstring src = temp_.Folder(L"src");
    const std::wstring gone = temp_.Folder(L"gone");
    MakeFile(src + L"\\x.vbp");
    MakeFile(temp_.File(L"top.vbp"));
    Remember(L"Vbp", temp_.Path() + L"\\");

    Show(2, L"Vbp", L"*.vbp", L"vbp指定", [&](HWND d) {
        HWND folders = Child(d, Dlg::Dir1);
        HWND files = Child(d, Dlg::File1);
        ClickLine(folders, IndexOf(folders, L"src"), true);
        ASSERT_TRUE(WaitUntil([&] { return WindowText(Child(d, Dlg::lblFullPath)) == src + L"\\"; }));
        EXPECT_EQ(ListItems(files), std::vector<std::wstring>{L"x.vbp"});
        // Back up through the ancestor line.
        ClickLine(folders, IndexOf(folders, GetFileName(temp_.Path())), true);
        ASSERT_TRUE(WaitUntil([&] { return WindowText(Child(d, Dlg::lblFullPath)) == temp_.Path() + L"\\"; }));
        EXPECT_EQ(ListItems(files), std::vector<std::wstring>{L"top.vbp"});

        ASSERT_TRUE(RemoveDirectoryW(gone.c_str()));
        ClickLine(folders, IndexOf(folders, L"gone"), true);
        Box box = WaitForBox(kWarningClass);
        ASSERT_NE(box.hwnd, nullptr);
        EXPECT_EQ(box.line1, L"「" + gone + L"」を開けませんでした");
        EXPECT_FALSE(box.line2.empty());
        Answer(box, kBoxOK);
        // Everything stays on the last folder that could be shown.
        EXPECT_EQ(WindowText(Child(d, Dlg::lblFullPath)), temp_.Path() + L"\\");
        EXPECT_EQ(ListItems(files), std::vector<std::wstring>{L"top.vbp"});
        SetWindowTextTo(Child(d, Dlg::txtFileName), L"top.vbp");
        Click(Child(d, Dlg::cmdOK));
    });
    EXPECT_EQ(Dlg::Instance().FullPathName(), temp_.File(L"top.vbp"));
}

TEST_F(Chooser, EnterMovesTheFocusOnAndTheFocusedControlTurnsLightYellow) {
    const std::wstring sub = temp_.Folder(L"sub");
    Remember(L"Vbp", temp_.Path() + L"\\");
    Show(2, L"Vbp", L"*.vbp", L"vbp指定", [&](HWND d) {
        HWND name = Child(d, Dlg::txtFileName);
        HWND drive = Child(d, Dlg::Drive1);
        HWND folders = Child(d, Dlg::Dir1);
        ASSERT_TRUE(WaitUntil([&] { return FocusIn(d) == name; }));
        EXPECT_EQ(BackColorOf(d, name), kLightYellow);
        SetWindowTextTo(name, L"nothing.vbp");
        // Esc means nothing; Enter moves on without confirming.
        PostKey(name, VK_ESCAPE);
        PostKey(name, VK_RETURN);
        ASSERT_TRUE(WaitUntil([&] { return FocusIn(d) == drive; }))
            << "focus on control " << GetDlgCtrlID(FocusIn(d));
        EXPECT_TRUE(IsWindowVisible(d));
        EXPECT_EQ(FindBox(kWarningClass), nullptr);
        EXPECT_EQ(BackColorOf(d, drive), kLightYellow);
        EXPECT_EQ(BackColorOf(d, name), GetSysColor(COLOR_WINDOW));
        PostKey(drive, VK_RETURN);
        ASSERT_TRUE(WaitUntil([&] { return FocusIn(d) == folders; }));
        EXPECT_EQ(BackColorOf(d, folders), kLightYellow);
        EXPECT_EQ(BackColorOf(d, drive), GetSysColor(COLOR_WINDOW));
        // In the folder list Enter also opens the chosen line.
        SendMessageW(folders, LB_SETCURSEL, static_cast<WPARAM>(IndexOf(folders, L"sub")), 0);
        PostKey(folders, VK_RETURN);
        EXPECT_TRUE(WaitUntil([&] { return FocusIn(d) == Child(d, Dlg::File1); }));
        EXPECT_TRUE(WaitUntil([&] { return WindowText(Child(d, Dlg::lblFullPath)) == sub + L"\\"; }));
        Click(Child(d, Dlg::cmdCancel));
    });
    EXPECT_TRUE(Dlg::Instance().Cancel());
}

TEST_F(Chooser, LayoutSnapsTheWindowAndFollowsItsWidth) {
    Remember(L"Vbp", temp_.Path() + L"\\");
    Show(2, L"Vbp", L"*.vbp", L"vbp指定", [&](HWND d) {
        auto width = [&](int id) { const RECT r = PlaceOf(Child(d, id)); return r.right - r.left; };
        // The opening arrangement; the arithmetic itself is checked without a window.
        EXPECT_NEAR(OuterSize(d).cx, 6000, kPixel);
        EXPECT_NEAR(OuterSize(d).cy, 4980, kPixel);
        EXPECT_NEAR(width(Dlg::Dir1), 2430, kPixel);
        EXPECT_NEAR(PlaceOf(Child(d, Dlg::File1)).left, 2505, kPixel);
        EXPECT_NEAR(PlaceOf(Child(d, Dlg::txtFileName)).top, 4185, kPixel);
        EXPECT_NEAR(PlaceOf(Child(d, Dlg::cmdCancel)).left, 5075, kPixel);

        auto resize = [&](int w, int h) {
            SetWindowPos(d, nullptr, 0, 0, ui::TwipsToPixelsX(w), ui::TwipsToPixelsY(h),
                         SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        };
        resize(3000, 1500);  // springs back to the smallest arrangement
        EXPECT_TRUE(WaitUntil([&] { return OuterSize(d).cx == 4440 && OuterSize(d).cy == 2460; }))
            << OuterSize(d).cx << "x" << OuterSize(d).cy;
        EXPECT_NEAR(width(Dlg::Dir1), 2170, kPixel);
        resize(7500, 5895);
        EXPECT_TRUE(WaitUntil([&] { return OuterSize(d).cy == 6240; })) << OuterSize(d).cy;
        EXPECT_EQ(OuterSize(d).cx, 7500);
        EXPECT_NEAR(width(Dlg::Dir1), 2680, kPixel);
        EXPECT_NEAR(PlaceOf(Child(d, Dlg::cmdOK)).top, 6240 - 795, kPixel);
        Click(Child(d, Dlg::cmdCancel));
    });
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
        Box box = WaitForBox(kWarningClass);
        ASSERT_NE(box.hwnd, nullptr);
        EXPECT_EQ(box.line1, L"");
        EXPECT_EQ(box.line2, L"ドライブの準備が出来ていません");
        Answer(box, kBoxOK);
        EXPECT_TRUE(WaitUntil([&] { return WindowText(drive).substr(0, 2) == programDriveShown; }))
            << WindowText(drive);
        EXPECT_EQ(WindowText(Child(d, Dlg::lblFullPath)).substr(0, 3), programDrive);
        Click(Child(d, Dlg::cmdCancel));
    }, nullptr, [&] {
        Box box = WaitForBox(kWarningClass);
        warnedWhileLoading = box.line2;
        if (box.hwnd) Answer(box, kBoxOK);
    });
    DefineDosDeviceW(DDD_REMOVE_DEFINITION, L"Q:", nullptr);
    EXPECT_EQ(warnedWhileLoading, L"ドライブの準備が出来ていません");
}

TEST_F(Chooser, MessageBoxesGetTheDialogsTimerSet) {
    Remember(L"Vbp", temp_.Path() + L"\\");
    Show(2, L"Vbp", L"*.vbp", L"vbp指定", [&](HWND d) {
        SetWindowTextTo(Child(d, Dlg::txtFileName), L"missing.vbp");
        Click(Child(d, Dlg::cmdOK));
        Box box = WaitForBox(kWarningClass);
        ASSERT_NE(box.hwnd, nullptr);
        // Nobody answers: the box goes by itself.
        EXPECT_TRUE(WaitForWindowGone(box.hwnd, 30s));
        EXPECT_TRUE(IsWindowVisible(d));
        Click(Child(d, Dlg::cmdCancel));
    }, [](Dlg& d) { d.SetTimerSet(1); });
}

TEST_F(Chooser, RememberedFolderThatHasGoneIsPassedOverSilently) {
    // On the drive the process stands on: the lists stay where it stands.
    const std::wstring gone = ProgramFolder() + L"\\gone-" + std::to_wstring(GetCurrentProcessId()) + L"\\";
    Remember(L"Vbp", gone);
    wchar_t current[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, current);
    std::wstring expected = current;
    if (expected.back() != L'\\') expected += L'\\';
    ASSERT_EQ(GetDriveRoot(expected), GetDriveRoot(gone));
    Show(2, L"Vbp", L"*.vbp", L"vbp指定", [&](HWND d) {
        EXPECT_EQ(WindowText(Child(d, Dlg::lblFullPath)), expected);
        Click(Child(d, Dlg::cmdCancel));
    });
    EXPECT_EQ(Remembered(L"Vbp"), gone);

    // On another drive: the lists stay on that drive's current folder.
    Remember(L"Vbp", temp_.Path() + L"\\gone\\");
    wchar_t driveFolder[MAX_PATH];
    GetFullPathNameW(temp_.Path().substr(0, 2).c_str(), MAX_PATH, driveFolder, nullptr);
    expected = driveFolder;
    if (expected.back() != L'\\') expected += L'\\';
    Show(2, L"Vbp", L"*.vbp", L"vbp指定", [&](HWND d) {
        EXPECT_EQ(WindowText(Child(d, Dlg::lblFullPath)), expected);
        Click(Child(d, Dlg::cmdCancel));
    });
}

TEST_F(Chooser, BlankUserReadsAndWritesTheUSERKeyAndPlacementIsKept) {
    Remember(L"USER", temp_.Path() + L"\\");
    Show(1, L"   ", L"", L"フォルダ指定", [&](HWND d) {
        EXPECT_EQ(WindowText(Child(d, Dlg::lblFullPath)), temp_.Path() + L"\\");
        RECT r{};
        GetWindowRect(d, &r);
        EXPECT_EQ(ui::PixelsToTwipsX(r.left), 0);
        EXPECT_NEAR(ui::PixelsToTwipsY(r.top), 300, kPixel);
        Click(Child(d, Dlg::cmdOK));
    }, [](Dlg& d) {
        d.SetPosTop(300);
        d.SetPosLeft(0);
    });
    EXPECT_EQ(Dlg::Instance().FullPathName(), temp_.Path() + L"\\");
    EXPECT_EQ(Remembered(L"USER"), temp_.Path() + L"\\");
}

TEST_F(Chooser, JapaneseFolderIsRememberedInShiftJis) {
    const std::wstring folder = temp_.Folder(L"作業フォルダ");
    MakeFile(folder + L"\\リスト.clt");
    Remember(L"Tolvane_List", folder + L"\\");
    Show(2, L"Tolvane_List", L"*.clt", L"ｺﾝﾊﾟｲﾙﾘｽﾄ選択", [&](HWND d) {
        EXPECT_EQ(ListItems(Child(d, Dlg::File1)), std::vector<std::wstring>{L"リスト.clt"});
        SetWindowTextTo(Child(d, Dlg::txtFileName), L"リスト.clt");
        Click(Child(d, Dlg::cmdOK));
    });
    EXPECT_EQ(Dlg::Instance().FullPathName(), folder + L"\\リスト.clt");
    const std::string bytes = ReadBytes(IniPath());
    EXPECT_NE(bytes.find("PREV_Tolvane_List=" + ShiftJis(folder + L"\\") + "\r\n"), std::string::npos) << bytes;
}

TEST_F(Chooser, ModeZeroRefusesToLoadAndAnUnloadResetsMode) {
    Dlg& d = Dlg::Instance();
    d.SetMode(0);
    try {
        d.SetMask(L"*.clt");
        ADD_FAILURE() << "no error";
    } catch (const VbError& e) {
        EXPECT_EQ(e.Number(), kTolvaneErrorNumber);
        EXPECT_EQ(e.Source(), L"frmDialogBox");
        EXPECT_EQ(e.Description(), L"Modeが指定されていません");
    }
    EXPECT_FALSE(d.IsLoaded());
    EXPECT_THROW(d.ShowModal(), VbError);
    EXPECT_FALSE(d.IsLoaded());

    // After a showing, Mode has to be set again.
    Remember(L"Vbp", temp_.Path() + L"\\");
    Show(2, L"Vbp", L"*.vbp", L"vbp指定", [](HWND w) { Click(Child(w, Dlg::cmdCancel)); });
    EXPECT_THROW(d.SetDialogCaption(L"vbp指定"), VbError);
    EXPECT_FALSE(d.IsLoaded());
}

TEST(SpecialFolder, NamesFollowTheTableAndOtherKindsHaveNone) {
    EXPECT_EQ(SpecialFolderName(0), L"Desktop");
    EXPECT_EQ(SpecialFolderName(2), L"MyDocuments");
    EXPECT_EQ(SpecialFolderName(3), L"お気に入り");
    EXPECT_EQ(SpecialFolderName(18), L"PrintHood");
    EXPECT_EQ(SpecialFolderName(19), L"");
    EXPECT_EQ(SpecialFolderName(-1), L"");
    EXPECT_EQ(SpecialFolder(19), L"");
    EXPECT_EQ(SpecialFolder(2), KnownFolder(FOLDERID_Documents));
}
