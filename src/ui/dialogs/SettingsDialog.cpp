#include "ui/dialogs/SettingsDialog.h"

#include "support/win32/Files.h"

namespace tolvane::settings_dialog {

ui::FormStyle ToolWindow(const wchar_t* caption, int clientWidth, int clientHeight) {
    ui::FormStyle s;
    s.style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
    s.exStyle = WS_EX_TOOLWINDOW | WS_EX_CONTROLPARENT;
    s.caption = caption;
    s.clientWidth = clientWidth;
    s.clientHeight = clientHeight;
    return s;
}

ui::ControlSpec FrameTitle(int id, int frame) {
    ui::ControlSpec title{id, ui::ControlKind::Label, frame, 30, 15, 570, 195, L" 設定 "};
    title.font = &kTitleFont;
    title.style = SS_LEFTNOWORDWRAP;
    return title;
}

std::wstring SettingsFile() { return FileBesideProgram(L"Tolvane.ini"); }

}  // namespace tolvane::settings_dialog
