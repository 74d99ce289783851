#pragma once
// The options dialog: names the Visual Basic executable, stored as "EXE" in
// Tolvane.ini and kept in gstrVBExe. Shown modally; no properties.
#include "ui/core/Form.h"

namespace tolvane {

class frmOption : public ui::Form {
public:
    static frmOption& Instance();
};

}  // namespace tolvane
