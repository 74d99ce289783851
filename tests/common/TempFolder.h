#pragma once
// A fresh folder under the temporary folder, removed with everything in it
// when the object goes.
#include <string>

namespace tolvane::testing {

class TempFolder {
public:
    // The folder's name starts with the hint (which may hold spaces or any
    // characters a test needs in a path).
    explicit TempFolder(const std::wstring& hint = L"tolvane");
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // Without a final backslash.
    const std::wstring& Path() const { return path_; }
    // Path, backslash, name.
    std::wstring File(const std::wstring& name) const { return path_ + L"\\" + name; }
    // Creates a subfolder (and its parents) and returns its path.
    std::wstring Folder(const std::wstring& name) const;

private:
    std::wstring path_;
};

}  // namespace tolvane::testing
