#pragma once
#include <windows.h>
namespace tolvane::ui {
// Translates and dispatches one message, giving the active window's keyboard
// navigation (Tab, arrows, mnemonics, accelerators) its turn first.
void DispatchDialogMessage(MSG& msg);
}
