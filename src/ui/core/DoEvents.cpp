#include "ui/core/DoEvents.h"

#include <windows.h>

#include "ui/core/ModalLoop.h"

namespace tolvane::ui {

void DoEvents() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            // Keep the quit request for the outer loop that owns it.
            PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
        DispatchDialogMessage(msg);
    }
}

}  // namespace tolvane::ui
