// The compile list on screen and on disk: the list control, the check
// handler, and the list file's open and save commands.
#include "ui/main/frmMain.h"

#include <commctrl.h>

#include "engine/CompileListFile.h"
#include "support/AnsiCodec.h"
#include "support/Paths.h"
#include "support/VbError.h"
#include "support/win32/Files.h"
#include "support/win32/Make.h"
#include "ui/core/Colors.h"
#include "ui/main/MainIds.h"

namespace tolvane {

using namespace main_ids;

int frmMain::ItemCount() const {
    return static_cast<int>(SendMessageW(Control(lstCompileList), LVM_GETITEMCOUNT, 0, 0));
}

bool frmMain::ItemChecked(int item) const { return ListView_GetCheckState(Control(lstCompileList), item) != 0; }

void frmMain::SetItemChecked(int item, bool checked) {
    ListView_SetCheckState(Control(lstCompileList), item, checked ? TRUE : FALSE);
}

void frmMain::RefreshCompileList() {
    HWND list = Control(lstCompileList);
    SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    ListView_DeleteAllItems(list);
    const std::int32_t count = mobjVBC->Count();
    for (std::int32_t i = 1; i <= count; ++i) {
        const clsVbp& entry = mobjVBC->Entry(i);
        std::wstring name = entry.Name();
        LVITEMW item{};
        item.mask = LVIF_TEXT | LVIF_STATE;
        item.iItem = i - 1;
        item.pszText = name.data();
        // Inserted unchecked, so that setting the mark below is a change the
        // check handler sees, as a click would be.
        item.state = INDEXTOSTATEIMAGEMASK(1);
        item.stateMask = LVIS_STATEIMAGEMASK;
        ListView_InsertItem(list, &item);
        SetItemChecked(i - 1, entry.Action());
    }
    SendMessageW(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
}

void frmMain::lstCompileList_ItemCheck(int item) {
    mblnListChanged = true;
    if (!mobjVBC || item < 0 || item >= mobjVBC->Count()) return;
    mobjVBC->Entry(item + 1).SetAction(ItemChecked(item));
}

frmMain::LoadResult frmMain::LoadCompileList(const std::wstring& path) {
    if (!FileExists(path)) return LoadResult::Missing;
    // The whole file is read and checked before the current list is touched,
    // so a file that cannot be read leaves the list as it was.
    std::string bytes;
    DWORD error = 0;
    if (!ReadWholeFile(path, bytes, error)) {
        Notice(path + L"が開けませんでした", LastErrorText(error));
        return LoadResult::Failed;
    }
    const std::vector<ListLine> lines = ParseCompileList(bytes, SystemAnsiCodec());
    if (lines.size() > static_cast<std::size_t>(clsTolvane::kMaxEntries)) {
        WarnListLimit(path + L"は開けませんでした");
        return LoadResult::Failed;
    }
    mobjVBC->RemoveTargetAll();
    for (const ListLine& line : lines) mobjVBC->addVbp(line.path, line.mark);
    return LoadResult::Loaded;
}

frmMain::SaveResult frmMain::SaveCompileList() {
    // A path the code page cannot hold would come back as another path: such
    // a list is not written at all, and the user learns which entry it is.
    const AnsiCodec& codec = SystemAnsiCodec();
    for (const auto& entry : mobjVBC->Vbp()) {
        if (FirstUnencodable(codec, entry->Vbp()) != std::wstring::npos) {
            Notice(entry->Vbp() + L"はｺﾝﾊﾟｲﾙﾘｽﾄに保存出来ない文字を含んでいます",
                   L"ｺﾝﾊﾟｲﾙﾘｽﾄを保存出来ませんでした");
            return SaveResult::Failed;
        }
    }
    const auto path = Choose({4, L"Tolvane_List", std::wstring(L"*.clt"), L"ｺﾝﾊﾟｲﾙﾘｽﾄ保存"});
    if (!path) return SaveResult::Cancelled;
    if (!WriteCompileList(*path)) return SaveResult::Failed;
    Notice(L"", L"保存しました", kNavy);
    return SaveResult::Saved;
}

bool frmMain::WriteCompileList(const std::wstring& path) {
    try {
        MakeTextFile(path, FormatCompileList(*mobjVBC));
        return true;
    } catch (const VbError& e) {
        Notice(e.Description(), L"ｺﾝﾊﾟｲﾙﾘｽﾄを保存出来ませんでした");
        return false;
    }
}

void frmMain::mnuReadList_Click() {
    const auto path = Choose({2, L"Tolvane_List", std::wstring(L"*.clt"), L"ｺﾝﾊﾟｲﾙﾘｽﾄ選択"});
    if (!path || IsBlank(*path)) return;
    if (LoadCompileList(*path) == LoadResult::Failed) return;
    RefreshCompileList();
    mblnListChanged = false;
    mstrPrevList = *path;
}

void frmMain::mnuWriteList_Click() {
    if (SaveCompileList() == SaveResult::Failed) return;
    mblnListChanged = false;
}

void frmMain::WarnListLimit(const std::wstring& consequence) {
    Notice(L"ｺﾝﾊﾟｲﾙﾘｽﾄに登録できるのは" + std::to_wstring(clsTolvane::kMaxEntries) + L"件までです", consequence);
}

}  // namespace tolvane
