// The options dialog, shown modally here and used by a scripted user on
// another thread: what it opens with, what "設定" checks and writes, and
// that nothing else writes. Tolvane.ini beside this test program is put
// aside before each test and put back after it.
#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <thread>

#include "BoxProbe.h"
#include "Screenshot.h"
#include "TempFolder.h"
#include "TextFiles.h"
#include "UiDriver.h"
#include "support/VbError.h"
#include "support/win32/Files.h"
#include "ui/core/Globals.h"
#include "ui/dialogs/MessageBoxes.h"
#include "ui/dialogs/frmDialogBox.h"
#include "ui/dialogs/frmOption.h"

using namespace tolvane;
using namespace tolvane::testing;

namespace {

constexpr wchar_t kCaption[] = L"ｵﾌﾟｼｮﾝ";
constexpr int kPixel = 15;

// Removes a file even when it is read-only, or an empty folder of that name.
void RemovePath(const std::wstring& path) {
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (!DeleteFileW(path.c_str())) RemoveDirectoryW(path.c_str());
}

class OptionDialog : public ::testing::Test {
protected:
    void SetUp() override {
        ini_ = FileBesideProgram(L"Tolvane.ini");
        saved_ = ReadBytes(ini_);
        savedAttributes_ = GetFileAttributesW(ini_.c_str());
        RemovePath(ini_);
        chooserIni_ = FileBesideProgram(L"DialogBox.ini");
        savedChooser_ = ReadBytes(chooserIni_);
        savedChooserAttributes_ = GetFileAttributesW(chooserIni_.c_str());
        ASSERT_EQ(GetFileAttributesW(ini_.c_str()), INVALID_FILE_ATTRIBUTES);
        savedVBExe_ = gstrVBExe;
        exe_ = folder_.File(L"VB6.EXE");
        ASSERT_TRUE(WriteBytes(exe_, "MZ"));
    }

    void TearDown() override {
        RemovePath(ini_);
        if (saved_) {
            WriteBytes(ini_, *saved_);
            SetFileAttributesW(ini_.c_str(), savedAttributes_);
        }
        RemovePath(chooserIni_);
        if (savedChooser_) {
            WriteBytes(chooserIni_, *savedChooser_);
            SetFileAttributesW(chooserIni_.c_str(), savedChooserAttributes_);
        }
        gstrVBExe = savedVBExe_;
    }

    // The stored "EXE", or nothing when the key (or the file) is absent.
    std::optional<std::wstring> StoredExe() const {
        wchar_t buffer[1024] = {};
        GetPrivateProfileStringW(L"COMMON", L"EXE", L"\x1F", buffer, 1024, ini_.c_str());
        if (std::wstring(buffer) == L"\x1F") return std::nullopt;
        return std::wstring(buffer);
    }

    void Store(const std::wstring& value) {
        SetFileAttributesW(ini_.c_str(), FILE_ATTRIBUTE_NORMAL);
        ASSERT_TRUE(WritePrivateProfileStringW(L"COMMON", L"EXE", value.c_str(), ini_.c_str()));
        WritePrivateProfileStringW(nullptr, nullptr, nullptr, ini_.c_str());
    }

    // Shows the dialog here while `user` works it from another thread; the
    // user closes it, or the test fails and the dialog is closed for it.
    void ShowWithUser(const std::function<void(HWND)>& user) {
        std::thread scripted([&] {
            HWND w = WaitForTopWindow(kCaption, GetCurrentProcessId());
            if (!w) {
                ADD_FAILURE() << "the dialog never showed";
                return;
            }
            user(w);
            if (!WaitForWindowGone(w)) {
                ADD_FAILURE() << "the dialog is still open";
                PostMessageW(w, WM_CLOSE, 0, 0);
            }
        });
        try {
            frmOption::Instance().ShowModal();
        } catch (const VbError& e) {
            ADD_FAILURE() << "the dialog raised: " << e.Number() << " " << ToUtf8(e.Description());
        } catch (const std::exception& e) {
            ADD_FAILURE() << "the dialog raised: " << e.what();
        }
        scripted.join();
        EXPECT_FALSE(frmOption::Instance().IsLoaded());
    }

    struct Notice {
        std::wstring line1, line2;
        COLORREF color = 0;
    };

    // Presses "設定", reads the notice it brings up and answers it.
    static Notice PressGo(HWND w) {
        Notice notice;
        Click(Child(w, frmOption::cmdGo));
        HWND box = WaitForVisibleOfClass(kWarningClass);
        if (!box) {
            ADD_FAILURE() << "no notice after 設定";
            return notice;
        }
        notice.line1 = WindowText(Child(box, MessageBoxBase::lblMessage0));
        notice.line2 = WindowText(Child(box, MessageBoxBase::lblMessage1));
        notice.color = PaintedTextColor(Child(box, MessageBoxBase::lblMessage1));
        Click(Child(box, MessageBoxBase::cmdOK));
        EXPECT_TRUE(WaitForWindowGone(box));
        return notice;
    }

    static std::wstring PathBox(HWND w) { return WindowText(Child(w, frmOption::txtEXE)); }

    std::wstring ini_, chooserIni_;
    std::optional<std::string> saved_, savedChooser_;
    DWORD savedAttributes_ = INVALID_FILE_ATTRIBUTES, savedChooserAttributes_ = INVALID_FILE_ATTRIBUTES;
    std::wstring savedVBExe_;
    TempFolder folder_{L"tolvane option"};
    std::wstring exe_;
};

}  // namespace

TEST_F(OptionDialog, OpensWithTheStoredPathSelectedInTheFocusedBox) {
    Store(exe_);
    std::wstring path, caption;
    HWND focus = nullptr, box = nullptr;
    DWORD selStart = 1, selEnd = 0;
    LONG exStyle = 0;
    int width = 0, height = 0;
    std::wstring texts[5];
    ShowWithUser([&](HWND w) {
        box = Child(w, frmOption::txtEXE);
        focus = WaitForFocusIn(w);
        path = PathBox(w);
        SendMessageW(box, EM_GETSEL, reinterpret_cast<WPARAM>(&selStart), reinterpret_cast<LPARAM>(&selEnd));
        exStyle = GetWindowLongW(w, GWL_EXSTYLE);
        RECT r{};
        GetWindowRect(w, &r);
        width = ui::PixelsToTwipsX(r.right - r.left);
        height = ui::PixelsToTwipsY(r.bottom - r.top);
        const int ids[5] = {frmOption::cmdGo, frmOption::cmdCancel, frmOption::Label4, frmOption::Label6,
                            frmOption::cmdExe};
        for (int i = 0; i < 5; ++i) texts[i] = WindowText(Child(w, ids[i]));
        // The labels show their whole text, whatever face stands in for theirs.
        for (int id : {frmOption::Label4, frmOption::Label6}) {
            HWND label = Child(w, id);
            const RECT r = ChildRectTwips(label);
            EXPECT_LE(TextWidthTwips(label, WindowText(label)), r.right - r.left) << id;
        }
        CaptureWindow(w, "option_dialog");
        Click(Child(w, frmOption::cmdCancel));
    });
    EXPECT_EQ(path, exe_);
    EXPECT_EQ(focus, box);
    EXPECT_EQ(selStart, 0u);
    EXPECT_EQ(selEnd, exe_.size());
    EXPECT_TRUE(exStyle & WS_EX_TOOLWINDOW);
    EXPECT_NEAR(width, 5520, kPixel);
    EXPECT_NEAR(height, 2280, kPixel);
    EXPECT_EQ(texts[0], L"設定");
    EXPECT_EQ(texts[1], L"終了");
    EXPECT_EQ(texts[2], L" 設定 ");
    EXPECT_EQ(texts[3], L"VB*.EXE：");
    EXPECT_EQ(texts[4], L"参照");
    // Only "設定" writes.
    EXPECT_EQ(StoredExe(), exe_);
}

TEST_F(OptionDialog, OpensEmptyWithoutASettingsFileAndClosingWritesNothing) {
    gstrVBExe = L"C:\\before\\VB6.EXE";
    std::wstring path;
    ShowWithUser([&](HWND w) {
        path = PathBox(w);
        // A valid path typed, then closed: by "終了", and again by Esc below.
        SetWindowTextTo(Child(w, frmOption::txtEXE), exe_);
        Click(Child(w, frmOption::cmdCancel));
    });
    EXPECT_EQ(path, L"");
    ShowWithUser([&](HWND w) {
        path = PathBox(w);  // what was typed before is gone
        SetWindowTextTo(Child(w, frmOption::txtEXE), exe_);
        PostKey(WaitForFocusIn(w), VK_ESCAPE);
    });
    EXPECT_EQ(path, L"");
    ShowWithUser([&](HWND w) { PostMessageW(w, WM_CLOSE, 0, 0); });
    EXPECT_EQ(GetFileAttributesW(ini_.c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(gstrVBExe, L"C:\\before\\VB6.EXE");
}

TEST_F(OptionDialog, TrimsTheTypedPathThenWritesItAndSaysSoEachTime) {
    Store(L"C:\\old\\VB5.EXE");
    Notice first, second;
    std::wstring shown;
    std::optional<std::wstring> betweenPresses;
    HWND focusAfter = nullptr, goButton = nullptr;
    ShowWithUser([&](HWND w) {
        SetWindowTextTo(Child(w, frmOption::txtEXE), L"   " + exe_ + L"  ");
        first = PressGo(w);
        shown = PathBox(w);
        betweenPresses = StoredExe();
        goButton = Child(w, frmOption::cmdGo);
        focusAfter = WaitForFocusIn(w);
        // Changed behind the dialog's back: the second press writes again.
        Store(L"C:\\other\\VB6.EXE");
        second = PressGo(w);
        Click(Child(w, frmOption::cmdCancel));
    });
    EXPECT_EQ(shown, exe_);
    EXPECT_EQ(betweenPresses, exe_);
    EXPECT_EQ(StoredExe(), exe_);
    EXPECT_EQ(gstrVBExe, exe_);
    for (const Notice& n : {first, second}) {
        EXPECT_EQ(n.line1, L"");
        EXPECT_EQ(n.line2, L"設定しました");
        EXPECT_EQ(n.color, kNavy);
    }
    // The dialog stays, with the focus back on the button that was pressed.
    EXPECT_EQ(focusAfter, goButton);
}

TEST_F(OptionDialog, AMissingFileIsRefusedAndNothingIsWritten) {
    Store(L"C:\\old\\VB5.EXE");
    const std::wstring missing = folder_.File(L"VB7.EXE");
    Notice wrong, blank, folder;
    ShowWithUser([&](HWND w) {
        SetWindowTextTo(Child(w, frmOption::txtEXE), missing);
        wrong = PressGo(w);
        EXPECT_EQ(gstrVBExe, missing);  // kept even though refused
        SetWindowTextTo(Child(w, frmOption::txtEXE), folder_.Path());
        folder = PressGo(w);
        SetWindowTextTo(Child(w, frmOption::txtEXE), L"    ");
        blank = PressGo(w);
        Click(Child(w, frmOption::cmdCancel));
    });
    for (const Notice& n : {wrong, folder, blank}) {
        EXPECT_EQ(n.line2, L"VB.EXEのパスが間違っています");
        EXPECT_EQ(n.color, kRed);
    }
    EXPECT_EQ(gstrVBExe, L"");
    EXPECT_EQ(StoredExe(), L"C:\\old\\VB5.EXE");
}

TEST_F(OptionDialog, AFailedWriteIsReportedAndNeverAsSuccess) {
    // A path the settings file's code page cannot hold cannot be stored.
    TempFolder korean(L"한국어");
    const std::wstring exe = korean.File(L"VB6.EXE");
    ASSERT_TRUE(WriteBytes(exe, "MZ"));
    Store(L"C:\\old\\VB5.EXE");
    Notice notice;
    ShowWithUser([&](HWND w) {
        SetWindowTextTo(Child(w, frmOption::txtEXE), exe);
        notice = PressGo(w);
        Click(Child(w, frmOption::cmdCancel));
    });
    EXPECT_EQ(notice.line2, L"Tolvane.iniに書き込めませんでした");
    EXPECT_EQ(notice.color, kRed);
    EXPECT_EQ(StoredExe(), L"C:\\old\\VB5.EXE");

    // The settings file cannot be written at all (a folder has its name).
    RemovePath(ini_);
    ASSERT_TRUE(CreateDirectoryW(ini_.c_str(), nullptr));
    ShowWithUser([&](HWND w) {
        SetWindowTextTo(Child(w, frmOption::txtEXE), exe_);
        notice = PressGo(w);
        Click(Child(w, frmOption::cmdCancel));
    });
    EXPECT_EQ(notice.line2, L"Tolvane.iniに書き込めませんでした");
    EXPECT_NE(GetFileAttributesW(ini_.c_str()) & FILE_ATTRIBUTE_DIRECTORY, 0u);
}

TEST_F(OptionDialog, TheChooserFillsTheBoxAndCancellingItEmptiesIt) {
    // The chooser opens in the folder it remembers for this caller.
    SetFileAttributesW(chooserIni_.c_str(), FILE_ATTRIBUTE_NORMAL);
    ASSERT_TRUE(WritePrivateProfileStringW(L"COMMON", L"PREV_VB_EXE", (folder_.Path() + L"\\").c_str(),
                                           chooserIni_.c_str()));
    WritePrivateProfileStringW(nullptr, nullptr, nullptr, chooserIni_.c_str());
    gstrVBExe = L"C:\\before\\VB6.EXE";
    std::wstring chosen, afterCancel;
    Notice notice;
    ShowWithUser([&](HWND w) {
        Click(Child(w, frmOption::cmdExe));
        HWND chooser = WaitForTopWindow(L"VB*.EXE選択", GetCurrentProcessId());
        ASSERT_NE(chooser, nullptr);
        SetWindowTextTo(Child(chooser, frmDialogBox::txtFileName), L"VB6.EXE");
        Click(Child(chooser, frmDialogBox::cmdOK));
        ASSERT_TRUE(WaitForWindowGone(chooser));
        ASSERT_TRUE(WaitUntil([&] { return !PathBox(w).empty(); }));
        chosen = PathBox(w);

        // Closed with its close box: the box is emptied.
        Click(Child(w, frmOption::cmdExe));
        chooser = WaitForTopWindow(L"VB*.EXE選択", GetCurrentProcessId());
        ASSERT_NE(chooser, nullptr);
        PostMessageW(chooser, WM_CLOSE, 0, 0);
        ASSERT_TRUE(WaitForWindowGone(chooser));
        ASSERT_TRUE(WaitUntil([&] { return PathBox(w).empty(); }));
        afterCancel = PathBox(w);
        notice = PressGo(w);
        Click(Child(w, frmOption::cmdCancel));
    });
    EXPECT_EQ(chosen, exe_);
    EXPECT_EQ(afterCancel, L"");
    EXPECT_EQ(notice.line2, L"VB.EXEのパスが間違っています");
    EXPECT_EQ(gstrVBExe, L"");
    // Choosing is not setting: only "設定" writes.
    EXPECT_EQ(StoredExe(), std::nullopt);
}
