// Placement of real windows on the real screen, and the machine's name.
#include <gtest/gtest.h>

#include <cstdlib>

#include "support/win32/WindowPlacement.h"
#include "ui/core/Twips.h"

using namespace tolvane;

namespace {

// A plain top-level window of the given size in pixels, destroyed with the object.
class PlainWindow {
public:
    PlainWindow(int width, int height) {
        hwnd_ = CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_BORDER, 3, 7, width, height, nullptr, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
    }
    ~PlainWindow() { DestroyWindow(hwnd_); }
    HWND Hwnd() const { return hwnd_; }
    RECT Rect() const {
        RECT r{};
        GetWindowRect(hwnd_, &r);
        return r;
    }

private:
    HWND hwnd_;
};

}  // namespace

TEST(CenterForm, PutsTheWindowInTheMiddleOfTheWholeScreen) {
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN), screenHeight = GetSystemMetrics(SM_CYSCREEN);
    PlainWindow w(398, 112);
    ASSERT_NE(w.Hwnd(), nullptr);
    CenterForm(w.Hwnd());
    const RECT r = w.Rect();
    EXPECT_NEAR(r.left, (screenWidth - 398) / 2, 1);
    EXPECT_NEAR(r.top, (screenHeight - 112) / 2, 1);
    EXPECT_EQ(r.right - r.left, 398) << "the size stays";
}

TEST(CenterForm, AWindowLargerThanTheScreenGoesToANegativePlace) {
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN), screenHeight = GetSystemMetrics(SM_CYSCREEN);
    PlainWindow w(screenWidth + 200, screenHeight + 100);
    ASSERT_NE(w.Hwnd(), nullptr);
    CenterForm(w.Hwnd());
    const RECT r = w.Rect();
    EXPECT_NEAR(r.left, -100, 1);
    EXPECT_NEAR(r.top, -50, 1);
}

TEST(ComputerName, IsTheMachinesNameWithNothingAfterIt) {
    const std::wstring name = ComputerName();
    ASSERT_FALSE(name.empty());
    EXPECT_NE(name, L"????????");
    EXPECT_EQ(name.find(L'\0'), std::wstring::npos);
    EXPECT_NE(name.back(), L' ');
    const wchar_t* fromEnvironment = _wgetenv(L"COMPUTERNAME");
    if (fromEnvironment) EXPECT_EQ(name, fromEnvironment);
}
