// The options dialog, shown modally here and used by a scripted user on
// another thread: what "設定" refuses, a write that fails, the chooser it
// opens, and that neither closing nor choosing writes anything. Tolvane.ini and DialogBox.ini beside this test
// program are put aside before each test and put back after it.
#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <thread>

#include "Screenshot.h"
#include "TempFolder.h"
#include "TextFiles.h"
#include "UiDriver.h"
#include "support/win32/Files.h"
#include "ui/core/Globals.h"
#include "ui/dialogs/MessageBoxes.h"
#include "ui/dialogs/frmDialogBox.h"
#include "ui/dialogs/frmOption.h"

using namespace tolvane;
using namespace tolvane::testing;

namespace {

// Removes a file even when it is read-only, or an empty folder of that name.
void RemovePath(const std::wstring& path) {
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (!DeleteFileW(path.c_str())) RemoveDirectoryW(path.c_str());
}

// A file beside the program, removed for the test and put back as it was.
struct SetAside {
    explicit SetAside(const wchar_t* name)
        : path(FileBesideProgram(name)), bytes(ReadBytes(path)), attributes(GetFileAttributesW(path.c_str())) {
        RemovePath(path);
    }
    ~SetAside() {
        RemovePath(path);
        if (bytes && WriteBytes(path, *bytes)) SetFileAttributesW(path.c_str(), attributes);
    }
    const std::wstring path;
    const std::optional<std::string> bytes;
    const DWORD attributes;
};

// The second line of the notice that "設定" brings up, and its colour.
using Notice = std::pair<std::wstring, COLORREF>;

class OptionDialog : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(WriteBytes(exe_, "MZ")); }
    void TearDown() override { gstrVBExe = savedVBExe_; }

    // The stored "EXE", or nothing when the key (or the file) is absent.
    std::optional<std::wstring> StoredExe() const {
        wchar_t buffer[1024] = {};
        GetPrivateProfileStringW(L"COMMON", L"EXE", L"\x1F", buffer, 1024, ini_.path.c_str());
        return std::wstring(buffer) == L"\x1F" ? std::nullopt : std::optional<std::wstring>(buffer);
    }
    void Store(const std::wstring& file, const wchar_t* key, const std::wstring& value) {
        SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_NORMAL);
        ASSERT_TRUE(WritePrivateProfileStringW(L"COMMON", key, value.c_str(), file.c_str()));
        WritePrivateProfileStringW(nullptr, nullptr, nullptr, file.c_str());
    }

    // Shows the dialog here while `user` works it from another thread; the
    // user closes it, or the test fails and the dialog is closed for it.
    void ShowWithUser(const std::function<void(HWND)>& user) {
        std::thread scripted([&] {
            HWND w = WaitForTopWindow(L"ｵﾌﾟｼｮﾝ", GetCurrentProcessId());
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
        } catch (const std::exception& e) {
            ADD_FAILURE() << "the dialog raised: " << e.what();
        }
        scripted.join();
        EXPECT_FALSE(frmOption::Instance().IsLoaded());
    }

    // Types a path, presses "設定", reads the notice it brings up and answers it.
    static Notice Set(HWND w, const std::wstring& typed) {
        SetWindowTextTo(Child(w, frmOption::txtEXE), typed);
        Click(Child(w, frmOption::cmdGo));
        HWND box = WaitForOfClass(kWarningBoxClass);
        if (!box) {
            ADD_FAILURE() << "no notice after 設定";
            return {};
        }
        const Notice notice{WindowText(Child(box, MessageBoxBase::lblMessage1)),
                            PaintedTextColor(Child(box, MessageBoxBase::lblMessage1))};
        Click(Child(box, MessageBoxBase::cmdOK));
        EXPECT_TRUE(WaitForWindowGone(box));
        return notice;
    }
    static std::wstring PathBox(HWND w) { return WindowText(Child(w, frmOption::txtEXE)); }

    SetAside ini_{L"Tolvane.ini"}, chooserIni_{L"DialogBox.ini"};
    const std::wstring savedVBExe_ = gstrVBExe;
    TempFolder folder_{L"tolvane option"};
    const std::wstring exe_ = folder_.File(L"VB6.EXE");
};

const Notice kSet{L"設定しました", kNavy}, kWrongPath{L"VB.EXEのパスが間違っています", kRed},
    kNotWritten{L"Tolvane.iniに書き込めませんでした", kRed};

}  // namespace

TEST_F(OptionDialog, RefusesWhatIsNoCompilerNeverReportsAFailedWriteAsDoneAndOnlySettingWrites) {
    // A path the settings file's code page cannot hold cannot be stored.
    TempFolder korean(L"한국어");
    const std::wstring unstorable = korean.File(L"VB6.EXE");
    ASSERT_TRUE(WriteBytes(unstorable, "MZ"));
    Store(ini_.path, L"EXE", L"C:\\old\\VB5.EXE");
    // The chooser opens in the folder it remembers for this caller.
    Store(chooserIni_.path, L"PREV_VB_EXE", folder_.Path() + L"\\");
    ASSERT_TRUE(WriteBytes(folder_.File(L"VB5.EXE"), "MZ"));
    ShowWithUser([&](HWND w) {
        HWND box = Child(w, frmOption::txtEXE);
        EXPECT_EQ(WaitForFocusIn(w), box);
        DWORD start = 1, end = 0;
        SendMessageW(box, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
        EXPECT_EQ(PathBox(w), L"C:\\old\\VB5.EXE");
        EXPECT_EQ(end - start, 14u) << "the stored path is selected";
        CaptureWindow(w, "option_dialog");
        // A folder or blanks are refused and not written.
        EXPECT_EQ(Set(w, folder_.Path()), kWrongPath);
        EXPECT_EQ(Set(w, L"    "), kWrongPath);
        EXPECT_EQ(gstrVBExe, L"");
        EXPECT_EQ(StoredExe(), L"C:\\old\\VB5.EXE");
        Store(ini_.path, L"EXE", L"C:\\other\\VB6.EXE");  // changed behind the dialog's back
        EXPECT_EQ(Set(w, exe_), kSet);
        EXPECT_EQ(StoredExe(), exe_);
        EXPECT_EQ(Set(w, unstorable), kNotWritten);
        EXPECT_EQ(StoredExe(), exe_);

        // The chooser fills the box; closed with its close box, it empties it.
        Click(Child(w, frmOption::cmdExe));
        HWND chooser = WaitForTopWindow(L"VB*.EXE選択", GetCurrentProcessId());
        ASSERT_NE(chooser, nullptr);
        SetWindowTextTo(Child(chooser, frmDialogBox::txtFileName), L"VB5.EXE");
        Click(Child(chooser, frmDialogBox::cmdOK));
        EXPECT_TRUE(WaitUntil([&] { return PathBox(w) == folder_.File(L"VB5.EXE"); })) << ToUtf8(PathBox(w));
        Click(Child(w, frmOption::cmdExe));
        chooser = WaitForTopWindow(L"VB*.EXE選択", GetCurrentProcessId());
        ASSERT_NE(chooser, nullptr);
        PostMessageW(chooser, WM_CLOSE, 0, 0);
        EXPECT_TRUE(WaitUntil([&] { return PathBox(w).empty(); }));
        // Choosing is not setting: closed, nothing is written.
        SetWindowTextTo(box, folder_.File(L"VB5.EXE"));
        PostKey(WaitForFocusIn(w), VK_ESCAPE);
    });
    EXPECT_EQ(StoredExe(), exe_);

    // The settings file cannot be written at all (a folder has its name).
    RemovePath(ini_.path);
    ASSERT_TRUE(CreateDirectoryW(ini_.path.c_str(), nullptr));
    ShowWithUser([&](HWND w) {
        EXPECT_EQ(Set(w, exe_), kNotWritten);
        Click(Child(w, frmOption::cmdCancel));
    });
}
