#include "support/win32/BackgroundWork.h"

#include <windows.h>

#include <exception>

#include "support/win32/DoEvents.h"
#include "support/win32/Handle.h"

namespace tolvane {
namespace {

struct Job {
    const std::function<void()>& work;
    std::exception_ptr error;
};

DWORD WINAPI RunJob(LPVOID parameter) {
    Job& job = *static_cast<Job*>(parameter);
    try {
        job.work();
    } catch (...) {
        job.error = std::current_exception();
    }
    return 0;
}

}  // namespace

void RunAnswering(const std::function<void()>& work) {
    Job job{work, nullptr};
    const Handle owned(CreateThread(nullptr, 0, RunJob, &job, 0, nullptr));
    if (!owned.Valid()) {
        work();  // no thread to be had: the window waits, the work is still done
        return;
    }
    HANDLE thread = owned.Get();
    // Anything but a message waiting means the work is done (or the wait
    // cannot be made, and then the thread is waited for alone).
    while (MsgWaitForMultipleObjectsEx(1, &thread, INFINITE, QS_SENDMESSAGE | QS_PAINT, 0) == WAIT_OBJECT_0 + 1) {
        ServeSentMessages();
        // Paint requests are the only posted messages taken, so no command
        // can start in the middle.
        MSG msg;
        while (PeekMessageW(&msg, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE)) DispatchMessageW(&msg);
    }
    WaitForSingleObject(thread, INFINITE);
    if (job.error) std::rethrow_exception(job.error);
}

}  // namespace tolvane
