// The commands that edit the compile list between runs, and the output-folder row.
#include "ui/main/frmMain.h"

#include "engine/win32/GroupFileStore.h"
#include "support/win32/DoEvents.h"
#include "ui/chooser/frmDialogBox.h"
#include "ui/main/MainIds.h"
#include "support/win32/Win32DirectoryLister.h"
#include "support/FolderTree.h"

namespace tolvane {

using namespace main_ids;
using chooser::ChooserMode;

namespace {
// How often a folder search lets window events run and shows its progress.
constexpr DWORD kSearchEventsEveryMs = 50;

// The progress shown while a search runs: folders searched, projects found.
std::wstring SearchProgressText(std::size_t foldersSearched, std::size_t projectsFound) {
    return L"ﾌｫﾙﾀﾞ " + std::to_wstring(foldersSearched) + L"  vbp " + std::to_wstring(projectsFound);
}
}  // namespace

void frmMain::mnuAddList_Click() {
    if (mobjVBC->Count() >= clsTolvane::kMaxEntries) {
        WarnListLimit(L"vbpを追加出来ませんでした");
        return;
    }
    const auto path =
        frmDialogBox::Instance().Choose({ChooserMode::ExistingFile, L"Vbp", std::wstring(L"*.vbp"), L"vbp指定"});
    if (!path) return;
    mobjVBC->addVbp(*path, true);
    RefreshCompileList();
    mblnListChanged = true;
}

void frmMain::mnuAddAllList_Click() {
    const auto folder =
        frmDialogBox::Instance().Choose({ChooserMode::Folder, L"VbpFolder", std::wstring(L"*.vbp"), L"検索フォルダ指定"});
    if (!folder) return;
    AddFolderProjects(*folder, L"vbp");
}

// A group file's projects in the group's order, each checked; a project of
// the group that is missing is added all the same, and its build says why.
void frmMain::mnuAddGroup_Click() {
    const auto group =
        frmDialogBox::Instance().Choose({ChooserMode::ExistingFile, L"Vbg", std::wstring(L"*.vbg"), L"vbg指定"});
    if (!group) return;
    const GroupFileRead read = ReadGroupFile(*group);
    if (read.failure.Failed()) {
        Notice(*group + L"が開けませんでした", read.failure.Text());
        return;
    }
    const std::vector<std::wstring>& projects = read.projects;
    if (projects.size() > static_cast<std::size_t>(clsTolvane::kMaxEntries - mobjVBC->Count())) {
        WarnListLimit(L"vbgのvbpを追加すると上限を超えるため、追加しませんでした");
        return;
    }
    for (const std::wstring& project : projects) mobjVBC->addVbp(project, true);
    RefreshCompileList();
    mblnListChanged = true;
}

void frmMain::AddFolderProjects(const std::wstring& folder, const std::wstring& extension) {
    Win32DirectoryLister lister;
    // Counted before anything is added: a tree that would overfill the list adds nothing.
    const std::size_t room = static_cast<std::size_t>(clsTolvane::kMaxEntries - mobjVBC->Count());
    const std::wstring argumentsCaption = Text(Label1);
    SetSearchingState(true);
    searchCancelled_ = false;
    SetText(Label1, L"[Escで検索を中止]");
    SetVisible(lblFailureCount, false);
    SetVisible(lblCount, false);
    SetText(lblSearch, SearchProgressText(0, 0));
    SetVisible(lblSearch, true);
    // A large tree (a share, a whole drive) takes long: the window keeps
    // answering and shows how far the search has got, a few times a second.
    DWORD shownAt = GetTickCount() - kSearchEventsEveryMs;  // at once for the first folder
    const ProjectSearch found =
        SearchFiles(lister, folder, extension, room, [&](std::size_t folders, std::size_t projects) {
            if (GetTickCount() - shownAt >= kSearchEventsEveryMs) {
                SetText(lblSearch, SearchProgressText(folders, projects));
                DoEvents();
                shownAt = GetTickCount();
            }
            return !searchCancelled_;
        });
    SetVisible(lblSearch, false);
    SetVisible(lblCount, true);
    SetVisible(lblFailureCount, true);
    SetText(Label1, argumentsCaption);
    SetSearchingState(false);
    // A cancelled search adds nothing and leaves the list as it was.
    if (found.cancelled) return;
    if (found.overLimit) {
        WarnListLimit(L"見つかったvbpを追加すると上限を超えるため、追加しませんでした");
        return;
    }
    for (const std::wstring& project : found.projects) mobjVBC->addVbp(project, true);
    RefreshCompileList();
    mblnListChanged = true;
    if (found.skippedFolders > 0) {
        Notice(std::to_wstring(found.skippedFolders) + L"個のﾌｫﾙﾀﾞを検索出来ませんでした",
               L"検索出来たﾌｫﾙﾀﾞのvbpは追加しました");
    }
}

void frmMain::mnuDelList_Click() {
    mobjVBC->RemoveNoCheck();
    RefreshCompileList();
    mblnListChanged = true;
}

void frmMain::mnuDelAllList_Click() {
    mobjVBC->RemoveTargetAll();
    RefreshCompileList();
    mblnListChanged = false;
}

// Sets every item's mark, and its entry's Action with it, from the mark it had.
void frmMain::SetEveryCheck(bool (*next)(bool)) {
    const int count = ItemCount();
    for (int k = 0; k < count; ++k) {
        clsVbp& entry = mobjVBC->Entry(k + 1);
        entry.SetAction(next(entry.Action()));
    }
    // One repaint for the whole list: the list shows the entries' marks.
    InvalidateRect(Control(lstCompileList), nullptr, TRUE);
    mblnListChanged = true;
}

void frmMain::mnuAllCheck_Click() {
    SetEveryCheck([](bool) { return true; });
}

void frmMain::mnuNoCheck_Click() {
    SetEveryCheck([](bool) { return false; });
}

void frmMain::mnuReversalCheck_Click() {
    SetEveryCheck([](bool checked) { return !checked; });
}

bool frmMain::AllChecked() const {
    return IsChecked(chkAll);
}

void frmMain::chkAll_Click() { SetEnabled(cmdFolderPath, AllChecked()); }

void frmMain::cmdFolderPath_Click() {
    const auto folder =
        frmDialogBox::Instance().Choose({ChooserMode::Folder, L"Exe_Out", std::nullopt, L"出力フォルダ指定"});
    if (folder) SetText(txtFolderPath, *folder);
}

}  // namespace tolvane
