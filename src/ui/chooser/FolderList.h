#pragma once
// The chooser's folder list: the current folder with its ancestors above it
// and its subfolders below, each one step further in, drawn with a folder
// picture. The list box is created owner-drawn (fixed height, with strings).
#include <windows.h>

#include <string>
#include <vector>

#include "ui/chooser/rules/FolderModel.h"

namespace tolvane {

// A full, canonical folder path as the lists keep it (no final backslash
// except a root's); a relative path counts from the current folder.
std::wstring FullFolderPath(const std::wstring& path);

// The names of a folder's subfolders, hidden and system ones left out.
// Throws VbError with the platform's error number when the folder cannot be
// read (vanished, no access, drive not ready).
std::vector<std::wstring> ReadSubfolders(const std::wstring& folder);

// A 16 x 16 folder picture (open or closed) at x, y.
void DrawFolderGlyph(HDC dc, int x, int y, bool open);

class FolderList {
public:
    void Attach(HWND list);
    // The current folder, as FullFolderPath gives it; "" before the first Show.
    const std::wstring& Path() const { return path_; }
    // Shows folder as current, with the subfolders already read.
    void Show(const std::wstring& folder, std::vector<std::wstring> subfolders);
    int Count() const { return static_cast<int>(entries_.size()); }
    int Selected() const;
    void SelectCurrent();
    // The folder an entry opens; "" outside the list.
    std::wstring EntryPath(int index) const;
    std::wstring EntryText(int index) const;
    // Paints one entry (WM_DRAWITEM of the list).
    void DrawItem(const DRAWITEMSTRUCT& item) const;

private:
    HWND list_ = nullptr;
    std::wstring path_;
    std::vector<chooser::FolderEntry> entries_;
};

}  // namespace tolvane
