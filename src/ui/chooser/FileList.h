#pragma once
// The chooser's file list: the files of one folder matching a pattern
// ("*.clt", or several joined by ';'), hidden and system files left out.
#include <windows.h>

#include <string>
#include <vector>

namespace tolvane {

// The matching file names, sorted as the list shows them. An empty pattern
// matches every file. Throws VbError with the platform's error number when
// the folder cannot be read.
std::vector<std::wstring> ReadFiles(const std::wstring& folder, const std::wstring& pattern);

class FileList {
public:
    void Attach(HWND list);
    // The folder shown, without a final backslash except a root's.
    const std::wstring& Path() const { return path_; }
    const std::wstring& Pattern() const { return pattern_; }
    // Shows the files already read for folder and pattern.
    void Show(const std::wstring& folder, const std::wstring& pattern, const std::vector<std::wstring>& files);
    // Reads the current folder again with another pattern; on failure the
    // list stays as it was and the error goes to the caller.
    void SetPattern(const std::wstring& pattern);
    int Count() const { return static_cast<int>(files_.size()); }
    int Selected() const;
    std::wstring FileName(int index) const;

private:
    HWND list_ = nullptr;
    std::wstring path_;
    std::wstring pattern_;
    std::vector<std::wstring> files_;
};

}  // namespace tolvane
