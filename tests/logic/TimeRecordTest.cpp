// Elapsed-time text of a run: seconds between two local times as
// hours:minutes:seconds, each part signed on its own.
#include <gtest/gtest.h>

#include <limits>
#include <optional>

#include "Raised.h"
#include "engine/clsTime.h"
#include "support/DateTime.h"
#include "support/VbError.h"

namespace tolvane {
namespace {

using testing::Raised;

DateTime At(int y, int mo, int d, int h, int mi, int s) { return DateTime{y, mo, d, h, mi, s}; }

TEST(TimeRecord, SecondsCountFromYearOneWithGregorianLeapRules) {
    EXPECT_EQ(ToSeconds(At(1, 1, 2, 1, 2, 3)), 86400 + 3723);
    EXPECT_EQ(ToSeconds(At(2000, 3, 1, 0, 0, 0)) - ToSeconds(At(2000, 2, 28, 0, 0, 0)), 2 * 86400);
    EXPECT_EQ(ToSeconds(At(1900, 3, 1, 0, 0, 0)) - ToSeconds(At(1900, 2, 28, 0, 0, 0)), 86400);
    EXPECT_EQ(ToSeconds(At(1970, 1, 1, 0, 0, 0)), 62135596800LL);
}

TEST(TimeRecord, DiffTimeFormatsEveryPartSigned) {
    const struct {
        DateTime start, stop;
        const wchar_t* text;
    } cases[] = {
        {At(2005, 4, 1, 10, 0, 0), At(2005, 4, 1, 10, 0, 0), L"00:00:00"},
        {At(2005, 4, 1, 10, 0, 0), At(2005, 4, 1, 11, 2, 3), L"01:02:03"},
        {At(2005, 4, 1, 23, 59, 30), At(2005, 4, 2, 0, 0, 10), L"00:00:40"},
        {At(2005, 1, 1, 0, 0, 0), At(2005, 1, 6, 0, 0, 9), L"120:00:09"},
        {At(2004, 2, 28, 12, 0, 0), At(2004, 3, 1, 12, 0, 0), L"48:00:00"},
        {At(2005, 4, 1, 10, 0, 0), At(2005, 4, 1, 9, 59, 59), L"00:00:-01"},
        {At(2005, 4, 1, 10, 0, 0), At(2005, 4, 1, 8, 58, 59), L"-01:-01:-01"},
        {At(2005, 4, 1, 9, 0, 0), At(2073, 4, 19, 12, 14, 7), L"596523:14:07"},  // the most 32 bits hold
    };
    for (const auto& c : cases) {
        clsTime record;
        record.SetStartTime(c.start);
        record.SetStopTime(c.stop);
        EXPECT_EQ(record.DiffTime(), c.text);
    }
    EXPECT_EQ(FormatElapsed(std::numeric_limits<std::int32_t>::min()), L"-596523:-14:-08");
    EXPECT_EQ(FormatElapsed(-60), L"00:-01:00");
}

TEST(TimeRecord, OnlyASuccessfulStopTimeRecomputes) {
    clsTime record;
    EXPECT_EQ(record.DiffTime(), L"");
    const VbError noStart = Raised([&] { record.SetStopTime(At(2005, 4, 1, 10, 0, 0)); });
    EXPECT_EQ(noStart.Number(), kErrTypeMismatch);
    EXPECT_EQ(noStart.Source(), L"clsTime");
    EXPECT_EQ(record.StopTime()->hour, 10);  // kept all the same
    EXPECT_EQ(record.DiffTime(), L"");

    record.SetStartTime(At(2005, 4, 1, 10, 0, 0));
    record.SetStopTime(At(2005, 4, 1, 10, 1, 0));
    record.SetStartTime(At(2005, 4, 1, 9, 0, 0));  // a new start alone changes nothing
    EXPECT_EQ(record.DiffTime(), L"00:01:00");
    EXPECT_NE(Raised([&] { record.SetStopTime(std::nullopt); }).Number(), 0);
    EXPECT_EQ(record.DiffTime(), L"00:01:00");
    // One second beyond 32 bits the difference overflows.
    EXPECT_EQ(Raised([&] { record.SetStopTime(At(2073, 4, 19, 12, 14, 8)); }).Number(), kErrOverflow);
    EXPECT_EQ(record.DiffTime(), L"00:01:00");
    EXPECT_EQ(record.StopTime()->year, 2073);
}

}  // namespace
}  // namespace tolvane
