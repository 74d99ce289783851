#include <gtest/gtest.h>

#include <limits>

#include "engine/clsTime.h"
#include "support/DateTime.h"
#include "support/VbError.h"

namespace tolvane {
namespace {

DateTime At(int y, int mo, int d, int h, int mi, int s) { return DateTime{y, mo, d, h, mi, s}; }

TEST(ToSeconds, CountsFromYearOneWithGregorianLeapRules) {
    EXPECT_EQ(ToSeconds(At(1, 1, 1, 0, 0, 0)), 0);
    EXPECT_EQ(ToSeconds(At(1, 1, 2, 1, 2, 3)), 86400 + 3723);
    // 2000 is a leap year, 1900 is not.
    EXPECT_EQ(ToSeconds(At(2000, 3, 1, 0, 0, 0)) - ToSeconds(At(2000, 2, 28, 0, 0, 0)), 2 * 86400);
    EXPECT_EQ(ToSeconds(At(1900, 3, 1, 0, 0, 0)) - ToSeconds(At(1900, 2, 28, 0, 0, 0)), 86400);
    EXPECT_EQ(ToSeconds(At(1970, 1, 1, 0, 0, 0)) - ToSeconds(At(1, 1, 1, 0, 0, 0)), 62135596800LL);
    EXPECT_EQ(ToSeconds(At(2024, 1, 1, 0, 0, 0)) - ToSeconds(At(2023, 1, 1, 0, 0, 0)), 365 * 86400);
}

struct ElapsedCase {
    DateTime start;
    DateTime stop;
    const wchar_t* expected;
};
void PrintTo(const ElapsedCase& c, std::ostream* os) { *os << ::testing::PrintToString(std::wstring(c.expected)); }

class DiffTimeTest : public ::testing::TestWithParam<ElapsedCase> {};

TEST_P(DiffTimeTest, FormatsElapsedTime) {
    clsTime record;
    record.SetStartTime(GetParam().start);
    record.SetStopTime(GetParam().stop);
    EXPECT_EQ(record.DiffTime(), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    TimeRecord, DiffTimeTest,
    ::testing::Values(
        ElapsedCase{At(2005, 4, 1, 10, 0, 0), At(2005, 4, 1, 10, 0, 0), L"00:00:00"},
        ElapsedCase{At(2005, 4, 1, 10, 0, 0), At(2005, 4, 1, 11, 2, 3), L"01:02:03"},
        ElapsedCase{At(2005, 4, 1, 23, 59, 30), At(2005, 4, 2, 0, 0, 10), L"00:00:40"},
        ElapsedCase{At(2005, 4, 1, 8, 0, 0), At(2005, 4, 2, 9, 0, 5), L"25:00:05"},
        ElapsedCase{At(2005, 4, 1, 10, 0, 0), At(2005, 4, 1, 9, 59, 59), L"00:00:-01"},
        ElapsedCase{At(2005, 4, 1, 10, 0, 0), At(2005, 4, 1, 8, 58, 59), L"-01:-01:-01"},
        ElapsedCase{At(2005, 1, 1, 0, 0, 0), At(2005, 1, 6, 0, 0, 9), L"120:00:09"},
        ElapsedCase{At(2004, 2, 28, 12, 0, 0), At(2004, 3, 1, 12, 0, 0), L"48:00:00"}));

TEST(FormatElapsed, HandlesTheWholeSignedRange) {
    EXPECT_EQ(FormatElapsed(std::numeric_limits<std::int32_t>::max()), L"596523:14:07");
    EXPECT_EQ(FormatElapsed(std::numeric_limits<std::int32_t>::min()), L"-596523:-14:-08");
    EXPECT_EQ(FormatElapsed(-59), L"00:00:-59");
    EXPECT_EQ(FormatElapsed(-60), L"00:-01:00");
}

TEST(TimeRecord, StartsEmptyAndOnlyStopTimeRecomputes) {
    clsTime record;
    EXPECT_FALSE(record.StartTime().has_value());
    EXPECT_FALSE(record.StopTime().has_value());
    EXPECT_EQ(record.DiffTime(), L"");

    record.SetStartTime(At(2005, 4, 1, 10, 0, 0));
    record.SetStopTime(At(2005, 4, 1, 10, 0, 5));
    EXPECT_EQ(record.DiffTime(), L"00:00:05");
    record.SetStartTime(At(2005, 4, 1, 9, 0, 0));
    EXPECT_EQ(record.DiffTime(), L"00:00:05");
    EXPECT_TRUE(*record.StartTime() == At(2005, 4, 1, 9, 0, 0));
}

TEST(TimeRecord, StopWithoutStartIsTypeMismatchAndKeepsStop) {
    clsTime record;
    const DateTime stop = At(2005, 4, 1, 10, 0, 0);
    try {
        record.SetStopTime(stop);
        FAIL() << "no error without a start time";
    } catch (const VbError& e) {
        EXPECT_EQ(e.Number(), kErrTypeMismatch);
        EXPECT_EQ(e.Source(), L"clsTime");
    }
    ASSERT_TRUE(record.StopTime().has_value());
    EXPECT_TRUE(*record.StopTime() == stop);
    EXPECT_EQ(record.DiffTime(), L"");
}

TEST(TimeRecord, FailedRecomputeKeepsPreviousDiff) {
    clsTime record;
    record.SetStartTime(At(2005, 4, 1, 10, 0, 0));
    record.SetStopTime(At(2005, 4, 1, 10, 1, 0));
    ASSERT_EQ(record.DiffTime(), L"00:01:00");

    EXPECT_THROW(record.SetStopTime(std::nullopt), VbError);
    EXPECT_EQ(record.DiffTime(), L"00:01:00");

    // Beyond 32 bits of seconds (about 68 years) the difference overflows.
    try {
        record.SetStopTime(At(2090, 4, 1, 10, 0, 0));
        FAIL() << "no overflow";
    } catch (const VbError& e) {
        EXPECT_EQ(e.Number(), kErrOverflow);
    }
    EXPECT_EQ(record.DiffTime(), L"00:01:00");
    EXPECT_EQ(record.StopTime()->year, 2090);
}

}  // namespace
}  // namespace tolvane
