#pragma once
// The main window: the compile list, the output folder, the arguments, the
// run with its log and counters, and the menus that reach everything else.
#include "ui/core/Form.h"

namespace tolvane {

class frmMain : public ui::Form {
public:
    static frmMain& Instance();
};

}  // namespace tolvane
