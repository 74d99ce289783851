#include "support/win32/DoEvents.h"

namespace tolvane {
namespace {

MessageFilter g_filter = nullptr;

}  // namespace

void SetMessageFilter(MessageFilter filter) { g_filter = filter; }

void DispatchWindowMessage(MSG& msg) {
    if (g_filter && g_filter(msg)) return;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
}

void DoEvents() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            // Keep the quit request for the outer loop that owns it.
            PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
        DispatchWindowMessage(msg);
    }
}

void ServeSentMessages() {
    MSG msg;
    // Peeking delivers the sent messages; nothing posted is taken.
    PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
}

}  // namespace tolvane
