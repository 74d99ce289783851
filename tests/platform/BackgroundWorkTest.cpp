// Long file work off the window's thread: the window still answers, and the
// work's error reaches the caller.
#include <windows.h>

#include <gtest/gtest.h>

#include "logic/Raised.h"
#include "support/VbError.h"
#include "support/win32/BackgroundWork.h"

namespace tolvane {
namespace {

TEST(RunAnswering, AnswersWhatIsSentMeanwhileAndPassesTheErrorOn) {
    // The work itself asks a window of the waiting thread: were the question
    // not answered during the wait, the work would only end by its timeout.
    HWND window = CreateWindowExW(0, L"STATIC", L"abc", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    DWORD_PTR length = 0;
    LRESULT answered = 0;
    RunAnswering([&] { answered = SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_NORMAL, 20000, &length); });
    DestroyWindow(window);
    EXPECT_TRUE(answered != 0 && length == 3);

    EXPECT_EQ(testing::Raised([] { RunAnswering([] { throw VbError(70, L"Make", L"書き込みできません"); }); }).Description(),
              L"書き込みできません");  // the work's error reaches the caller
}

}  // namespace
}  // namespace tolvane
