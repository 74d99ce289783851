#include "ui/core/ModalLoop.h"

#include "ui/core/Form.h"

namespace tolvane::ui {

void DispatchDialogMessage(MSG& msg) {
    if (TranslateForForm(msg)) return;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
}

}  // namespace tolvane::ui
