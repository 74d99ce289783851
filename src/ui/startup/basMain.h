#pragma once
// basMain: the program's start, the hand-over from the splash screen to the
// main window, and the message loop that runs while a window of ours is shown.

namespace tolvane {

// The mutex whose owner is the running instance.
constexpr const wchar_t* kSingleInstanceName = L"Local\\Tolvane.SingleInstance";

// Refuses a second instance (a warning, then the process ends), builds
// gstrVersion from the version resource and shows the splash screen.
void Main();
// Creates, loads and shows the main window.
void ShowMain();
// The user dismissed the splash screen: go on to the main window at once,
// rather than leave the program without a window.
void SplashCancel();
// Dispatches messages while any window of this thread is shown; returns the
// process's exit code.
int RunMessageLoop();

// Claims the named single-instance mutex for the life of the process; false
// when another holder already has it.
bool ClaimSingleInstance(const wchar_t* name);

}  // namespace tolvane
