#pragma once
// Control and menu ids of the main window, fixed so that tests and scripts can
// find every control and send every command from outside.
namespace tolvane::main_ids {

// Controls.
constexpr int fraAction = 100;
constexpr int Frame1 = 101;
constexpr int chkAll = 102;
constexpr int txtFolderPath = 103;
constexpr int cmdFolderPath = 104;
constexpr int lstCompileList = 105;  // list view, one checkable item per entry
constexpr int Frame2 = 106;
constexpr int Label1 = 107;
constexpr int txtDimension = 108;
constexpr int lblFailureCount = 109;
constexpr int lblCount = 110;
constexpr int txtCompileList = 111;  // the run log (multi-line edit)
constexpr int lblSearch = 112;       // the folder search's progress, shown only meanwhile

// Menu commands (the drop-down menus themselves have no command id).
constexpr int mnuDelAllList = 201;
constexpr int mnuReadList = 202;
constexpr int mnuWriteList = 203;
constexpr int mnuAddList = 204;
constexpr int mnuAddAllList = 205;
constexpr int mnuDelList = 206;
constexpr int mnuEditEnd = 207;
constexpr int mnuAddGroup = 208;
constexpr int mnuCompile = 211;
constexpr int mnuCompileStop = 212;
constexpr int mnuAllCheck = 213;
constexpr int mnuNoCheck = 214;
constexpr int mnuReversalCheck = 215;
constexpr int mnuCompilePlan = 216;
constexpr int mnuEditInitialize = 221;
constexpr int mnuEditTool = 222;
constexpr int mnuCompileOption = 223;
constexpr int mnuEditUse = 231;
constexpr int mnuEditVer = 232;

// Positions of the drop-down menus on the menu bar.
constexpr int mnuEditFilePosition = 0;
constexpr int mnuEditRPosition = 1;
constexpr int mnuEditOptionPosition = 2;
constexpr int mnuEditHelpPosition = 3;

}  // namespace tolvane::main_ids
