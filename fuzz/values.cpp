// Values and time texts: every finite number written as text (as the message
// boxes show one) reads back as that number; elapsed and date-time texts give
// back the values they were made from.
#include <cmath>
#include <cstdint>
#include <cstring>
#include <cwchar>
#include <string>

#include "FuzzSupport.h"
#include "engine/CompileListFile.h"
#include "engine/clsTime.h"
#include "support/DataChange.h"
#include "support/Locale.h"
#include "support/VbError.h"

using namespace tolvane;

namespace {

void CheckNumberText(double value) {
    if (!std::isfinite(value)) return;
    const std::wstring text = NumberText(value);
    wchar_t* end = nullptr;
    const double back = std::wcstod(text.c_str(), &end);
    fuzz::Require(!text.empty() && end == text.c_str() + text.size() && std::isfinite(back),
                  "a number's text reads as a number");
    // Fifteen significant digits at least.
    fuzz::Require(std::fabs(back - value) <= std::fabs(value) * 1e-14, "and as the same number");
}

// "hh:mm:ss", each part two digits or more with its own sign.
void CheckElapsed(std::int32_t seconds) {
    const std::wstring text = FormatElapsed(seconds);
    long long parts[3] = {};
    std::size_t at = 0;
    for (int i = 0; i < 3; ++i) {
        const bool negative = at < text.size() && text[at] == L'-';
        at += negative ? 1 : 0;
        std::size_t digits = 0;
        for (; at < text.size() && text[at] >= L'0' && text[at] <= L'9'; ++at, ++digits)
            parts[i] = parts[i] * 10 + (text[at] - L'0');
        fuzz::Require(digits >= 2 && (i == 0 || digits == 2), "elapsed parts have two digits");
        if (negative) parts[i] = -parts[i];
        if (i < 2) fuzz::Require(at < text.size() && text[at++] == L':', "elapsed parts apart by colons");
    }
    fuzz::Require(at == text.size(), "nothing after the seconds");
    fuzz::Require(parts[0] * 3600 + parts[1] * 60 + parts[2] == seconds, "elapsed text gives the seconds back");
}

DateTime DateFrom(const std::uint8_t* d) {
    static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    DateTime t;
    t.year = 1 + (d[0] | d[1] << 8) % 9999;
    t.month = 1 + d[2] % 12;
    const bool leap = (t.year % 4 == 0 && t.year % 100 != 0) || t.year % 400 == 0;
    t.day = 1 + d[3] % (kDays[t.month - 1] + (t.month == 2 && leap ? 1 : 0));
    t.hour = d[4] % 24;
    t.minute = d[5] % 60;
    t.second = d[6] % 60;
    return t;
}

void CheckDateText(const DateTime& t) {
    const std::wstring text = GeneralDateText(t);
    DateTime back;
    back.hour = back.minute = back.second = 0;
    const int read = std::swscanf(text.c_str(), L"%d/%d/%d %d:%d:%d", &back.year, &back.month, &back.day,
                                  &back.hour, &back.minute, &back.second);
    fuzz::Require(read == 3 || read == 6, "a date text is a date and maybe a time");
    fuzz::Require(back == t, "a date text gives the date back");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // Raw: a double's bits, two dates.
    if (size >= 8) {
        double value = 0;
        std::memcpy(&value, data, sizeof value);
        CheckNumberText(value);
    }
    if (size >= 4) {
        std::int32_t seconds = 0;
        std::memcpy(&seconds, data, sizeof seconds);
        CheckElapsed(seconds);
    }
    if (size >= 14) {
        const DateTime start = DateFrom(data), stop = DateFrom(data + 7);
        CheckDateText(start);
        clsTime record;
        record.SetStartTime(start);
        try {
            record.SetStopTime(stop);
            fuzz::Require(record.DiffTime() == FormatElapsed(static_cast<std::int32_t>(ToSeconds(stop) - ToSeconds(start))),
                          "the record's elapsed time is stop minus start");
        } catch (const VbError& e) {
            fuzz::Require(e.Number() == kErrOverflow, "only a span beyond 32 bits is refused");
        }
    }
    // As text: check marks a list file might hold.
    for (const std::wstring& line : fuzz::Lines(data, size)) ParseCheckMark(line);
    return 0;
}
