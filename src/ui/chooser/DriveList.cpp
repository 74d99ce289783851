#include "ui/chooser/DriveList.h"

#include <cwctype>

#include "support/RuntimeError.h"

namespace tolvane {
namespace {

// No "insert a disk" box from the system while a drive is looked at.
class QuietErrors {
public:
    QuietErrors() : old_(SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX)) {}
    ~QuietErrors() { SetErrorMode(old_); }
    QuietErrors(const QuietErrors&) = delete;
    QuietErrors& operator=(const QuietErrors&) = delete;

private:
    UINT old_;
};

wchar_t UpperLetter(wchar_t c) { return (c >= L'a' && c <= L'z') ? static_cast<wchar_t>(c - 0x20) : c; }

std::wstring EntryText(const std::wstring& root) {
    std::wstring text{static_cast<wchar_t>(std::towlower(root[0])), L':'};
    const UINT type = GetDriveTypeW(root.c_str());
    // Removable drives are not asked for a label: that would wait for the medium.
    if (type == DRIVE_FIXED || type == DRIVE_RAMDISK) {
        wchar_t label[MAX_PATH + 1] = L"";
        QuietErrors quiet;
        if (GetVolumeInformationW(root.c_str(), label, MAX_PATH + 1, nullptr, nullptr, nullptr, nullptr, 0) &&
            label[0]) {
            text += L" [";
            text += label;
            text += L"]";
        }
    }
    return text;
}

}  // namespace

void DriveList::Attach(HWND combo) { combo_ = combo; }

void DriveList::Fill() {
    roots_.clear();
    SendMessageW(combo_, CB_RESETCONTENT, 0, 0);
    std::wstring buffer(256, L'\0');
    DWORD length = GetLogicalDriveStringsW(static_cast<DWORD>(buffer.size()), &buffer[0]);
    if (length > buffer.size()) {
        buffer.assign(length + 1, L'\0');
        length = GetLogicalDriveStringsW(static_cast<DWORD>(buffer.size()), &buffer[0]);
    }
    for (std::size_t at = 0; at < length && buffer[at];) {
        const std::wstring root = buffer.c_str() + at;
        at += root.size() + 1;
        if (root.size() < 2 || root[1] != L':') continue;
        roots_.push_back(std::wstring{UpperLetter(root[0]), L':', L'\\'});
        SendMessageW(combo_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(EntryText(roots_.back()).c_str()));
    }
}

std::wstring DriveList::Root(int index) const {
    if (index < 0) index = static_cast<int>(SendMessageW(combo_, CB_GETCURSEL, 0, 0));
    if (index < 0 || index >= Count()) return std::wstring();
    return roots_[static_cast<std::size_t>(index)];
}

bool DriveList::Select(const std::wstring& path) {
    if (path.size() < 2 || path[1] != L':') return false;
    const wchar_t letter = UpperLetter(path[0]);
    for (int i = 0; i < Count(); ++i) {
        if (roots_[static_cast<std::size_t>(i)][0] == letter) {
            SendMessageW(combo_, CB_SETCURSEL, static_cast<WPARAM>(i), 0);
            return true;
        }
    }
    return false;
}

bool DriveList::IsDroppedDown() const { return SendMessageW(combo_, CB_GETDROPPEDSTATE, 0, 0) != 0; }

void CheckDriveReady(const std::wstring& root) {
    QuietErrors quiet;
    const DWORD attributes = GetFileAttributesW(root.c_str());
    if (root.empty() || attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY))
        throw RuntimeError(kErrDeviceUnavailable, L"frmDialogBox");
}

std::wstring CurrentFolderOfDrive(const std::wstring& root) {
    // A bare "X:" resolves to the folder the process last used on that drive.
    const std::wstring bare = root.substr(0, 2);
    wchar_t buffer[MAX_PATH + 1];
    const DWORD length = GetFullPathNameW(bare.c_str(), MAX_PATH + 1, buffer, nullptr);
    if (length == 0 || length > MAX_PATH) return root;
    return std::wstring(buffer, length);
}

}  // namespace tolvane
