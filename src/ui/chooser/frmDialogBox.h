#pragma once
// The program's own chooser for a folder, an existing file, or the name of a
// file to write. One shared instance, asked through Choose().
#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "ui/core/Form.h"
#include "ui/chooser/DriveList.h"
#include "ui/chooser/FileList.h"
#include "ui/chooser/FolderList.h"
#include "ui/chooser/rules/ChooserRequest.h"

namespace tolvane {

class frmDialogBox : public ui::Form {
public:
    static frmDialogBox& Instance();

    // Shows the chooser modally for the request; the path chosen, nothing
    // when the user cancelled. Throws VbError when the request has no mode.
    std::optional<std::wstring> Choose(const chooser::ChooserRequest& request);

    // Control ids, for whoever drives the dialog from outside.
    static constexpr int txtFileName = 100;
    static constexpr int Drive1 = 101;
    static constexpr int Dir1 = 102;
    static constexpr int File1 = 103;
    static constexpr int cmdOK = 104;
    static constexpr int cmdCancel = 105;
    static constexpr int fraDir = 106;
    static constexpr int Label1 = 107;
    static constexpr int txtDir = 108;
    static constexpr int lblFullPath = 109;
    static constexpr int fraLink = 110;
    // cmdShortCut index i has the id cmdShortCut0 + i (0 to 4).
    static constexpr int cmdShortCut0 = 111;

private:
    frmDialogBox() = default;

    ui::FormStyle Style() const override;
    std::vector<ui::ControlSpec> Layout() const override;
    const wchar_t* ClassName() const override { return L"TolvaneDialogBox"; }
    void OnLoad() override;
    void OnUnload() override;
    void OnButtonClicked(int id) override;
    void OnCommand(int id, int notifyCode) override;
    void OnResize() override;
    bool PreTranslate(MSG& msg) override;
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) override;
    void OnUnhandledError(const std::wstring& description) override;

    // Event handlers.
    void Form_Resize();
    bool Form_KeyPress(int keyAscii);
    void Drive1_Change();
    void Dir1_Change(const std::vector<std::wstring>& files);
    void Dir1_DblClick();
    void File1_Click();
    void File1_DblClick();
    void cmdOK_Click();
    void cmdCancel_Click();
    void cmdShortCut_Click(int index);
    void Control_GotFocus(int id);
    void Control_LostFocus(int id);

    // The drive list's drive := the drive of path; the drive reaction runs
    // when that is another drive. False when the machine has no such drive.
    bool SetDrive(const std::wstring& path);
    // The folder list's path := folder, then the folder reaction. Throws
    // VbError with nothing changed when the folder cannot be shown.
    void SetFolder(const std::wstring& folder);
    // The same, telling the user when it fails; true when the lists moved.
    bool GoToFolder(const std::wstring& folder);
    // Selects the drive of the folder shown, without any reaction.
    void SyncDrive();
    void ShowPathLabel();
    void ClosePanel();
    // The outer size the layout was drawn for, from the real client area.
    int DesignWidth() const;
    int DesignHeight() const;
    void ResizeDesign(int width, int height);
    void SizeForLoad();
    // The tooltip of a shortcut button, also named in its warnings.
    static const wchar_t* ShortcutTip(int index);
    void GiveListsFolderModeWidths();
    void MoveFocusOffHiddenControl();
    void Accept(const std::wstring& path);
    // Creates every missing level; false (after telling the user why) when it cannot.
    bool CreateFolderFor(const std::wstring& folder, const std::wstring& shownName);
    void Warn(const std::wstring& message1, const std::wstring& message2);
    bool Ask(const std::wstring& message1, const std::wstring& message2);
    static std::wstring ReasonText(std::int32_t number);
    void PressKeys(const std::vector<int>& keys);
    void CreateShortcutPictures();
    std::wstring SettingsKey() const;

    // Stores the pattern and applies it to the file list (loading the dialog).
    void SetMask(const std::wstring& mask);

    // What the current request asks, and its answer.
    std::wstring user_;
    chooser::ChooserMode mode_ = chooser::ChooserMode::None;
    bool cancel_ = false;
    std::wstring fullPathName_;
    std::wstring mask_;

    bool mblnNewFolder = false;

    DriveList drives_;
    FolderList folders_;
    FileList files_;
    std::wstring shownDrive_;     // the drive the drive reaction last ran for
    bool refusingLoad_ = false;   // Mode 0: the window goes again at once
    bool loadSizing_ = false;     // the load step's own size is not laid out yet
    // Counts nested runs of a step so that it cannot chase itself for ever.
    class NestingDepth {
    public:
        explicit NestingDepth(int& depth) : depth_(depth) { ++depth_; }
        ~NestingDepth() { --depth_; }
        NestingDepth(const NestingDepth&) = delete;
        NestingDepth& operator=(const NestingDepth&) = delete;

    private:
        int& depth_;
    };
    int layoutDepth_ = 0;
    int driveReactionDepth_ = 0;
    HWND keyTarget_ = nullptr;    // the control the last Enter was sent to
    HBITMAP pictures_[3] = {};    // desktop, documents, new folder
};

}  // namespace tolvane
