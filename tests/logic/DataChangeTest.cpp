// Values read from controls and settings made trimmed text, and the general
// date text.
#include <gtest/gtest.h>

#include <cfloat>

#include "support/DataChange.h"
#include "support/Locale.h"

namespace tolvane {
namespace {

TEST(DataChange, TextModeTrimsSpacesAndShowsNumbersAsVbDoes) {
    EXPECT_EQ(NormalizeText(nullptr), L"");
    EXPECT_EQ(NormalizeText(VbValue{}), L"");
    EXPECT_EQ(NormalizeText(std::wstring(L"  保存しますか？ ")), L"保存しますか？");
    EXPECT_EQ(NormalizeText(std::wstring(L"\tkept\t")), L"\tkept\t");
    EXPECT_EQ(NormalizeText(5.0), L"5");
    EXPECT_EQ(NormalizeText(-0.25), L"-0.25");
    EXPECT_EQ(NormalizeText(0.1 + 0.2), L"0.3");  // 15 significant digits
    EXPECT_EQ(NormalizeText(0.123456789012345), L"0.123456789012345");
    EXPECT_EQ(NormalizeText(1e20), L"1E+20");
    // Fifteen digits of the largest double, rounded down so they read back as a number.
    EXPECT_EQ(NormalizeText(-DBL_MAX), L"-1.79769313486231E+308");
}

TEST(DataChange, GeneralDateTextIsShortDateAndLongTimeOrTheDateAlone) {
    DateTime t;
    t.year = 2005;
    t.month = 3;
    t.day = 1;
    const std::wstring date = GeneralDateText(t);  // midnight: the date alone
    // Windows pads month and day, Wine's Japanese table does not.
    EXPECT_TRUE(date == L"2005/03/01" || date == L"2005/3/1") << date.size();
    t.hour = 9;
    t.minute = 5;
    t.second = 9;
    EXPECT_EQ(GeneralDateText(t), date + L" 9:05:09");
    t.hour = 0;
    t.minute = 0;
    t.second = 1;
    EXPECT_EQ(GeneralDateText(t), date + L" 0:00:01");
}

}  // namespace
}  // namespace tolvane
