#include "ui/chooser/FolderList.h"

#include <cstdint>

#include "support/Paths.h"
#include "support/VbError.h"
#include "support/win32/clsFindFile.h"

namespace tolvane {
namespace {

constexpr int kGlyph = 16;  // pixels
constexpr int kStep = 12;   // pixels one level further in

VbError ReadError(DWORD code, const std::wstring& folder) {
    return VbError(static_cast<std::int32_t>(code), L"frmDialogBox", L"「" + folder + L"」を開けませんでした");
}

}  // namespace

std::wstring FullFolderPath(const std::wstring& path) {
    wchar_t buffer[MAX_PATH + 1];
    const DWORD length = GetFullPathNameW(path.c_str(), MAX_PATH + 1, buffer, nullptr);
    if (length == 0 || length > MAX_PATH) return chooser::ListPath(path);
    return chooser::ListPath(std::wstring(buffer, length));
}

std::vector<std::wstring> ReadSubfolders(const std::wstring& folder) {
    const UINT oldMode = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    std::vector<std::wstring> names;
    clsFindFile find;
    find.SetFileMask(JoinFolderAndName(folder, L"*"));
    for (std::wstring name = find.NextFile(); !name.empty(); name = find.NextFile()) {
        const DWORD attributes = find.Attributes();
        if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) continue;
        if (attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) continue;
        if (name == L"." || name == L"..") continue;
        names.push_back(name);
    }
    SetErrorMode(oldMode);
    if (!find.Complete()) throw ReadError(find.Error(), folder);
    return names;
}

void DrawFolderGlyph(HDC dc, int x, int y, bool open) {
    HPEN pen = CreatePen(PS_SOLID, 1, RGB(128, 96, 0));
    HBRUSH back = CreateSolidBrush(RGB(230, 190, 60));
    HBRUSH front = CreateSolidBrush(RGB(255, 220, 100));
    HGDIOBJ oldPen = SelectObject(dc, pen);
    HGDIOBJ oldBrush = SelectObject(dc, back);
    // Tab and back wall.
    const POINT wall[] = {{x + 1, y + 3}, {x + 6, y + 3}, {x + 7, y + 4}, {x + 14, y + 4},
                          {x + 14, y + 13}, {x + 1, y + 13}};
    Polygon(dc, wall, 6);
    SelectObject(dc, front);
    if (open) {
        const POINT flap[] = {{x + 3, y + 7}, {x + 15, y + 7}, {x + 13, y + 13}, {x + 1, y + 13}};
        Polygon(dc, flap, 4);
    } else {
        Rectangle(dc, x + 1, y + 6, x + 15, y + 14);
    }
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
    DeleteObject(front);
    DeleteObject(back);
    DeleteObject(pen);
}

void FolderList::Attach(HWND list) {
    list_ = list;
    path_.clear();
    entries_.clear();
    // Room for the picture, or for the text when the font is taller.
    HDC dc = GetDC(list);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(list, WM_GETFONT, 0, 0)));
    TEXTMETRICW tm{};
    GetTextMetricsW(dc, &tm);
    SelectObject(dc, old);
    ReleaseDC(list, dc);
    const int height = (tm.tmHeight > kGlyph ? tm.tmHeight : kGlyph) + 2;
    SendMessageW(list, LB_SETITEMHEIGHT, 0, height);
}

void FolderList::Show(const std::wstring& folder, std::vector<std::wstring> subfolders) {
    path_ = folder;
    entries_ = chooser::BuildFolderEntries(folder, std::move(subfolders));
    SendMessageW(list_, WM_SETREDRAW, FALSE, 0);
    SendMessageW(list_, LB_RESETCONTENT, 0, 0);
    for (const auto& entry : entries_)
        SendMessageW(list_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.text.c_str()));
    SelectCurrent();
    SendMessageW(list_, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list_, nullptr, TRUE);
}

int FolderList::Selected() const { return static_cast<int>(SendMessageW(list_, LB_GETCURSEL, 0, 0)); }

void FolderList::SelectCurrent() {
    const int current = chooser::CurrentEntryIndex(path_);
    SendMessageW(list_, LB_SETCURSEL, static_cast<WPARAM>(current), 0);
}

std::wstring FolderList::EntryPath(int index) const {
    if (index < 0 || index >= Count()) return std::wstring();
    return entries_[static_cast<std::size_t>(index)].path;
}

std::wstring FolderList::EntryText(int index) const {
    if (index < 0 || index >= Count()) return std::wstring();
    return entries_[static_cast<std::size_t>(index)].text;
}

void FolderList::DrawItem(const DRAWITEMSTRUCT& item) const {
    HDC dc = item.hDC;
    const RECT& rc = item.rcItem;
    const bool selected = (item.itemState & ODS_SELECTED) != 0;
    // The list's own background (its focus colour) comes from its parent.
    HBRUSH background = reinterpret_cast<HBRUSH>(
        SendMessageW(GetParent(list_), WM_CTLCOLORLISTBOX, reinterpret_cast<WPARAM>(dc),
                     reinterpret_cast<LPARAM>(list_)));
    FillRect(dc, &rc, background ? background : GetSysColorBrush(COLOR_WINDOW));
    if (item.itemID == static_cast<UINT>(-1) || static_cast<int>(item.itemID) >= Count()) return;
    const auto& entry = entries_[item.itemID];

    int x = rc.left + 2 + entry.indent * kStep;
    DrawFolderGlyph(dc, x, rc.top + (rc.bottom - rc.top - kGlyph) / 2, entry.open);
    x += kGlyph + 3;

    SIZE extent{};
    GetTextExtentPoint32W(dc, entry.text.c_str(), static_cast<int>(entry.text.size()), &extent);
    RECT textRect{x, rc.top, x + extent.cx + 4, rc.bottom};
    if (textRect.right > rc.right) textRect.right = rc.right;
    SetBkMode(dc, TRANSPARENT);
    if (selected) {
        FillRect(dc, &textRect, GetSysColorBrush(COLOR_HIGHLIGHT));
        SetTextColor(dc, GetSysColor(COLOR_HIGHLIGHTTEXT));
    } else {
        SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    }
    RECT inner = textRect;
    inner.left += 2;
    DrawTextW(dc, entry.text.c_str(), static_cast<int>(entry.text.size()), &inner,
              DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
    if (item.itemState & ODS_FOCUS) DrawFocusRect(dc, &textRect);
}

}  // namespace tolvane
