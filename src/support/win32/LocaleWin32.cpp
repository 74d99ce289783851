#include <windows.h>

#include "support/Locale.h"
#include "support/win32/SystemTime.h"

namespace tolvane {
namespace {

std::wstring FixedText(const DateTime& t, bool withTime) {
    wchar_t buf[64];
    if (withTime) {
        swprintf(buf, 64, L"%04d/%02d/%02d %d:%02d:%02d", t.year, t.month, t.day, t.hour, t.minute,
                 t.second);
    } else {
        swprintf(buf, 64, L"%04d/%02d/%02d", t.year, t.month, t.day);
    }
    return buf;
}

}  // namespace

DateTime LocalNow() {
    SYSTEMTIME st;
    GetLocalTime(&st);
    return FromSystemTime(st);
}

std::wstring GeneralDateText(const DateTime& t) {
    const bool withTime = t.hour != 0 || t.minute != 0 || t.second != 0;
    const SYSTEMTIME st = ToSystemTime(t);
    wchar_t date[128];
    // The platform's formatter does not take every year a date can hold (before
    // 1601): such a date falls back to the Japanese default layout.
    if (GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &st, nullptr, date, 128) == 0) {
        return FixedText(t, withTime);
    }
    if (!withTime) return date;
    wchar_t time[128];
    if (GetTimeFormatW(LOCALE_USER_DEFAULT, 0, &st, nullptr, time, 128) == 0) {
        return FixedText(t, withTime);
    }
    return std::wstring(date) + L" " + time;
}

}  // namespace tolvane
