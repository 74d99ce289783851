#pragma once
// What the two settings dialogs share: a small tool window with the buttons
// "設定" and "終了" above a frame titled " 設定 "; their keys are in engine/win32/TolvaneIni.h.
#include "ui/core/Form.h"

namespace tolvane::settings_dialog {

// A fixed-size tool window with a small title bar and only a close box.
ui::FormStyle ToolWindow(const wchar_t* caption, int clientWidth, int clientHeight);

// The bold label over the frame's top edge that serves as its title.
ui::ControlSpec FrameTitle(int id, int frame);

// A one-line label in the frame, in the dialogs' label font (positions in twips).
ui::ControlSpec FrameLabel(int id, int frame, int left, int top, int width, const wchar_t* text);

}  // namespace tolvane::settings_dialog
