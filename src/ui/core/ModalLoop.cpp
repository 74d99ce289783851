#include "ui/core/ModalLoop.h"
namespace tolvane::ui {
void DispatchDialogMessage(MSG& msg) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
}
}
