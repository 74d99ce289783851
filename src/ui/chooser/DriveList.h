#pragma once
// The chooser's drive list: a drop-down of the machine's drives. Selecting
// an entry yields a drive; a path selects the entry of its drive.
#include <windows.h>

#include <string>
#include <vector>

namespace tolvane {

class DriveList {
public:
    void Attach(HWND combo);
    // Lists the machine's drives again; nothing is selected afterwards.
    void Fill();
    int Count() const { return static_cast<int>(roots_.size()); }
    // "C:\" of the entry at index, or of the selected entry for -1; "" when none.
    std::wstring Root(int index = -1) const;
    // Selects the entry of the path's drive without any reaction; false (and
    // nothing changed) when the machine has no such drive.
    bool Select(const std::wstring& path);
    bool IsDroppedDown() const;

private:
    HWND combo_ = nullptr;
    std::vector<std::wstring> roots_;
};

// Throws the runtime's device-unavailable error when the drive's root cannot
// be reached (no medium, no such drive, the server gone).
void CheckDriveReady(const std::wstring& root);

// The folder a bare drive stands for: that drive's current folder.
std::wstring CurrentFolderOfDrive(const std::wstring& root);

}  // namespace tolvane
