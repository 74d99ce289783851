#pragma once
// The program's own chooser for a folder, an existing file, or the name of a
// file to write. One shared instance: set Mode, User (and Mask, caption),
// ShowModal(), then read Cancel() and FullPathName().
#include <cstdint>
#include <string>

#include "ui/core/Form.h"

namespace tolvane {

class frmDialogBox : public ui::Form {
public:
    static frmDialogBox& Instance();

    void SetUser(const std::wstring& user);
    void SetMode(std::int32_t mode);
    void SetPosTop(std::int32_t twips);
    void SetPosLeft(std::int32_t twips);
    bool Cancel() const;
    void SetCancel(bool value);
    const std::wstring& FullPathName() const;
    void SetIniFileName(const std::wstring& name);
    void SetTimerSet(std::int32_t seconds);
    // Stores the pattern and applies it to the file list (loading the dialog).
    void SetMask(const std::wstring& mask);
    const std::wstring& Mask() const;
    // Sets the window caption (loading the dialog).
    void SetDialogCaption(const std::wstring& caption);
};

}  // namespace tolvane
