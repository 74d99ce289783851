#include <cstdio>
#include <ctime>
#include <cwchar>

#include "support/Locale.h"

namespace tolvane {

DateTime LocalNow() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    DateTime t;
    t.year = local.tm_year + 1900;
    t.month = local.tm_mon + 1;
    t.day = local.tm_mday;
    t.hour = local.tm_hour;
    t.minute = local.tm_min;
    t.second = local.tm_sec;
    return t;
}

// Without regional settings: the Japanese default layout.
std::wstring GeneralDateText(const DateTime& t) {
    wchar_t buf[64];
    if (t.hour == 0 && t.minute == 0 && t.second == 0) {
        std::swprintf(buf, 64, L"%04d/%02d/%02d", t.year, t.month, t.day);
    } else {
        std::swprintf(buf, 64, L"%04d/%02d/%02d %d:%02d:%02d", t.year, t.month, t.day, t.hour,
                      t.minute, t.second);
    }
    return buf;
}

}  // namespace tolvane
