// Values read from controls and settings, made numbers or trimmed text, and
// the general date text.
#include <gtest/gtest.h>

#include <cfloat>

#include "support/DataChange.h"
#include "support/Locale.h"

namespace tolvane {
namespace {

TEST(DataChange, NumericModeReadsWholeNumbersAndGivesZeroOtherwise) {
    EXPECT_DOUBLE_EQ(NormalizeNumber(std::wstring(L"  8388608 ")), 8388608.0);
    EXPECT_DOUBLE_EQ(NormalizeNumber(std::wstring(L"-12.5")), -12.5);
    EXPECT_DOUBLE_EQ(NormalizeNumber(0xFF0000LL), 16711680.0);
    for (const VbValue& v : {VbValue{std::wstring(L"12abc")}, VbValue{std::wstring(L"")}, VbValue{nullptr}, VbValue{}})
        EXPECT_EQ(NormalizeNumber(v), 0.0);
    EXPECT_EQ(ParseLocaleNumber(L"1e3"), 1000.0);
    for (const wchar_t* bad : {L"abc", L"   ", L"1 2", L"7x"}) EXPECT_FALSE(ParseLocaleNumber(bad).has_value());
}

TEST(DataChange, TextModeTrimsSpacesAndShowsNumbersAsVbDoes) {
    EXPECT_EQ(NormalizeText(nullptr), L"");
    EXPECT_EQ(NormalizeText(VbValue{}), L"");
    EXPECT_EQ(NormalizeText(std::wstring(L"  保存しますか？ ")), L"保存しますか？");
    EXPECT_EQ(NormalizeText(std::wstring(L"\tkept\t")), L"\tkept\t");
    EXPECT_EQ(NormalizeText(5.0), L"5");
    EXPECT_EQ(NormalizeText(-0.25), L"-0.25");
    EXPECT_EQ(NormalizeText(0.1 + 0.2), L"0.3");  // 15 significant digits
    EXPECT_EQ(NormalizeText(1e20), L"1E+20");
    // Rounded to fifteen digits, the largest doubles would read back as no number.
    EXPECT_EQ(NormalizeText(-DBL_MAX), L"-1.79769313486231E+308");
    EXPECT_DOUBLE_EQ(NormalizeNumber(NormalizeText(DBL_MAX)), 1.79769313486231E+308);
    EXPECT_EQ(std::get<double>(NormalizeValue(std::wstring(L" 7 "), true)), 7.0);
    EXPECT_EQ(std::get<std::wstring>(NormalizeValue(std::wstring(L" 7 "), false)), L"7");
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
