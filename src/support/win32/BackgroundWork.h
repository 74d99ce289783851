#pragma once
// Long file work done off the window's thread: the window keeps answering
// the messages other programs send it (and repaints) while the work runs,
// and takes no input until it is over.
#include <functional>

namespace tolvane {

// Runs work on a thread of its own and returns when it is done; an exception
// it throws is thrown here. The work must not touch windows.
void RunAnswering(const std::function<void()>& work);

}  // namespace tolvane
