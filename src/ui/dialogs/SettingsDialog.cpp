#include "ui/dialogs/SettingsDialog.h"

namespace tolvane::settings_dialog {

namespace {

const ui::FontSpec kLabelFont{L"ＭＳ ゴシック", 98, false};  // 9.75 point
const ui::FontSpec kTitleFont{L"ＭＳ ゴシック", 98, true};

}  // namespace

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

ui::ControlSpec FrameLabel(int id, int frame, int left, int top, int width, const wchar_t* text) {
    ui::ControlSpec label{id, ui::ControlKind::Label, frame, left, top, width, 195, text};
    label.font = &kLabelFont;
    label.style = SS_LEFTNOWORDWRAP;
    return label;
}

}  // namespace tolvane::settings_dialog
