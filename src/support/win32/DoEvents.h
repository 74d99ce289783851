#pragma once
// Letting pending window events run: the compile run's waits and the window
// layer's handlers both need it, and a program without windows of its own
// (the console runner) still has to serve the messages sent to its thread.
#include <windows.h>

namespace tolvane {

// A window layer's own keyboard handling (Tab, arrows, mnemonics,
// accelerators); true when it has taken the message.
using MessageFilter = bool (*)(MSG& msg);

// Installed by the window layer once it has windows; unset, messages go
// straight to translation and dispatch.
void SetMessageFilter(MessageFilter filter);

// Translates and dispatches one message, the filter first.
void DispatchWindowMessage(MSG& msg);

// Lets every pending window event run once.
void DoEvents();

// Answers the messages other threads and programs have sent and are waiting
// on, and nothing else: no input, no command, can start.
void ServeSentMessages();

}  // namespace tolvane
