// The compile list on screen and on disk: the list control, the check
// handler, and the list file's open and save commands.
#include "ui/main/frmMain.h"

#include <commctrl.h>

#include "engine/win32/ListFileStore.h"
#include "support/AnsiCodec.h"
#include "support/Paths.h"
#include "support/VbError.h"
#include "support/win32/BackgroundWork.h"
#include "ui/core/Colors.h"
#include "ui/chooser/frmDialogBox.h"
#include "ui/main/MainIds.h"

namespace tolvane {

using namespace main_ids;
using chooser::ChooserMode;

int frmMain::ItemCount() const {
    return static_cast<int>(SendMessageW(Control(lstCompileList), LVM_GETITEMCOUNT, 0, 0));
}

bool frmMain::ItemChecked(int item) const {
    return mobjVBC && item >= 0 && item < mobjVBC->Count() && mobjVBC->Entry(item + 1).Action();
}

// As a click on the box would: the mark changes and the check handler runs.
void frmMain::SetItemChecked(int item, bool checked) {
    if (!mobjVBC || item < 0 || item >= mobjVBC->Count()) return;
    const bool changed = ItemChecked(item) != checked;
    mobjVBC->Entry(item + 1).SetAction(checked);
    if (changed) ListView_RedrawItems(Control(lstCompileList), item, item);
    lstCompileList_ItemCheck(item);
}

void frmMain::RefreshCompileList() {
    // The list holds no items of its own: it shows the engine's entries,
    // asking for each one it draws, so a list of any length shows at once.
    HWND list = Control(lstCompileList);
    ListView_SetItemState(list, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
    ListView_SetItemCountEx(list, 0, 0);
    ListView_SetItemCountEx(list, mobjVBC->Count(), 0);
    InvalidateRect(list, nullptr, TRUE);
    // Every mark set anew counts as a change of the list control.
    for (const auto& entry : mobjVBC->Vbp()) {
        if (entry->Action()) {
            mblnListChanged = true;
            break;
        }
    }
}

// The list asks for the text and the mark of an item it is about to draw.
void frmMain::lstCompileList_GetDispInfo(NMLVDISPINFOW* info) {
    LVITEMW& item = info->item;
    if (!mobjVBC || item.iItem < 0 || item.iItem >= mobjVBC->Count()) return;
    const clsVbp& entry = mobjVBC->Entry(item.iItem + 1);
    if ((item.mask & LVIF_TEXT) && item.pszText && item.cchTextMax > 0)
        lstrcpynW(item.pszText, entry.Name().c_str(), item.cchTextMax);
    if (item.mask & LVIF_STATE) {
        item.state = (item.state & ~LVIS_STATEIMAGEMASK) | INDEXTOSTATEIMAGEMASK(entry.Action() ? 2 : 1);
        item.stateMask |= LVIS_STATEIMAGEMASK;
    }
}

// A click on an item's box, or Space on the focused item, turns its mark over.
void frmMain::lstCompileList_Toggle(int item) {
    if (item >= 0) SetItemChecked(item, !ItemChecked(item));
}

// A disabled list draws its selection in the face colour, next to invisible:
// the entry being built keeps the system's selection colours.
LRESULT frmMain::lstCompileList_CustomDraw(NMLVCUSTOMDRAW* draw) {
    if (draw->nmcd.dwDrawStage == CDDS_PREPAINT) return buildingItem_ >= 0 ? CDRF_NOTIFYITEMDRAW : CDRF_DODEFAULT;
    if (draw->nmcd.dwDrawStage == CDDS_ITEMPREPAINT && static_cast<int>(draw->nmcd.dwItemSpec) == buildingItem_) {
        draw->nmcd.uItemState &= ~(CDIS_SELECTED | CDIS_FOCUS);
        draw->clrText = GetSysColor(COLOR_HIGHLIGHTTEXT);
        draw->clrTextBk = GetSysColor(COLOR_HIGHLIGHT);
    }
    return CDRF_DODEFAULT;
}

void frmMain::lstCompileList_ItemCheck(int item) {
    mblnListChanged = true;
    if (!mobjVBC || item < 0 || item >= mobjVBC->Count()) return;
    mobjVBC->Entry(item + 1).SetAction(ItemChecked(item));
}

// Reading, decoding and writing a list of thousands of entries takes longer
// than a window may keep others waiting: that part runs off the window's thread.
frmMain::LoadResult frmMain::LoadCompileList(const std::wstring& path) {
    ListFileRead load;
    RunAnswering([&] { load = ReadListFile(path); });
    switch (load.result) {
    case ListFileLoad::Missing: return LoadResult::Missing;
    case ListFileLoad::Loaded:
        mobjVBC->ReplaceEntries(std::move(load.entries));
        return LoadResult::Loaded;
    case ListFileLoad::Unreadable: Notice(path + L"が開けませんでした", load.failure.Text()); break;
    case ListFileLoad::TooLong: WarnListLimit(path + L"は開けませんでした"); break;
    }
    return LoadResult::Failed;
}

frmMain::SaveResult frmMain::SaveCompileList() {
    // A path the code page cannot hold would come back as another path: such
    // a list is not written at all, and the user learns which entry it is.
    const AnsiCodec& codec = SystemAnsiCodec();
    // One look at all the paths together; only a list that fails is gone through entry by entry.
    std::wstring paths;
    for (const auto& entry : mobjVBC->Vbp()) paths += entry->Vbp();
    std::wstring::size_type unencodable = 0;
    RunAnswering([&] { unencodable = FirstUnencodable(codec, paths); });
    if (unencodable != std::wstring::npos) {
        for (const auto& entry : mobjVBC->Vbp()) {
            if (FirstUnencodable(codec, entry->Vbp()) == std::wstring::npos) continue;
            Notice(entry->Vbp() + L"はｺﾝﾊﾟｲﾙﾘｽﾄに保存出来ない文字を含んでいます",
                   L"ｺﾝﾊﾟｲﾙﾘｽﾄを保存出来ませんでした");
            return SaveResult::Failed;
        }
    }
    const auto path =
        frmDialogBox::Instance().Choose({ChooserMode::FileToWrite, L"Tolvane_List", std::wstring(L"*.clt"), L"ｺﾝﾊﾟｲﾙﾘｽﾄ保存"});
    if (!path) return SaveResult::Cancelled;
    if (!WriteCompileList(*path)) return SaveResult::Failed;
    Notice(L"", L"保存しました", kNavy);
    return SaveResult::Saved;
}

bool frmMain::WriteCompileList(const std::wstring& path) {
    try {
        // The window takes no input meanwhile, so the entries stay as they are.
        RunAnswering([&] { SaveListFile(path, mobjVBC->Vbp()); });
        return true;
    } catch (const VbError& e) {
        Notice(e.Description(), L"ｺﾝﾊﾟｲﾙﾘｽﾄを保存出来ませんでした");
        return false;
    }
}

void frmMain::mnuReadList_Click() {
    const auto path =
        frmDialogBox::Instance().Choose({ChooserMode::ExistingFile, L"Tolvane_List", std::wstring(L"*.clt"), L"ｺﾝﾊﾟｲﾙﾘｽﾄ選択"});
    if (!path || IsBlank(*path)) return;
    if (LoadCompileList(*path) == LoadResult::Failed) return;
    RefreshCompileList();
    mblnListChanged = false;
    mstrPrevList = *path;
}

void frmMain::mnuWriteList_Click() {
    // Only a written file makes the list unchanged; a cancelled chooser saved nothing.
    if (SaveCompileList() == SaveResult::Saved) mblnListChanged = false;
}

void frmMain::WarnListLimit(const std::wstring& consequence) {
    Notice(L"ｺﾝﾊﾟｲﾙﾘｽﾄに登録できるのは" + std::to_wstring(clsTolvane::kMaxEntries) + L"件までです", consequence);
}

}  // namespace tolvane
