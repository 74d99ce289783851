// Long file work off the window's thread: the window still answers (the
// work's error reaching the caller is seen where a save fails).
#include <windows.h>

#include <gtest/gtest.h>

#include "support/win32/BackgroundWork.h"

namespace tolvane {
namespace {

TEST(RunAnswering, AnswersWhatIsSentMeanwhile) {
    // The work itself asks a window of the waiting thread: were the question
    // not answered during the wait, the work would only end by its timeout.
    HWND window = CreateWindowExW(0, L"STATIC", L"abc", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    DWORD_PTR length = 0;
    LRESULT answered = 0;
    RunAnswering([&] { answered = SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_NORMAL, 20000, &length); });
    DestroyWindow(window);
    EXPECT_TRUE(answered != 0 && length == 3);
}

}  // namespace
}  // namespace tolvane
