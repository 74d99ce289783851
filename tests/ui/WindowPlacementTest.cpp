// Placement of a real window on the real screen.
#include <gtest/gtest.h>

#include "ui/core/WindowPlacement.h"

using namespace tolvane;

TEST(CenterForm, PutsTheWindowInTheMiddleOfTheWholeScreenKeepingItsSize) {
    HWND w = CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_BORDER, 3, 7, 398, 112, nullptr, nullptr,
                             GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(w, nullptr);
    CenterForm(w);
    RECT r{};
    GetWindowRect(w, &r);
    DestroyWindow(w);
    EXPECT_NEAR(r.left, (GetSystemMetrics(SM_CXSCREEN) - 398) / 2, 1);
    EXPECT_NEAR(r.top, (GetSystemMetrics(SM_CYSCREEN) - 112) / 2, 1);
    EXPECT_EQ(r.right - r.left, 398);
    EXPECT_EQ(r.bottom - r.top, 112);
}
