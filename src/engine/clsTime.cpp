#include "engine/clsTime.h"

#include <cstdint>
#include <limits>

#include "support/RuntimeError.h"

namespace tolvane {

namespace {

std::wstring TwoDigits(std::int64_t part) {
    // Widened so that the magnitude of the smallest 32-bit value is representable.
    std::wstring digits = std::to_wstring(part < 0 ? -part : part);
    if (digits.size() < 2) digits.insert(0, 1, L'0');
    return part < 0 ? L"-" + digits : digits;
}

}  // namespace

std::wstring FormatElapsed(std::int32_t seconds) {
    const std::int32_t h = seconds / 3600;
    const std::int32_t r = seconds - 3600 * h;
    const std::int32_t m = r / 60;
    const std::int32_t s = r - 60 * m;
    return TwoDigits(h) + L":" + TwoDigits(m) + L":" + TwoDigits(s);
}

void clsTime::SetStopTime(const std::optional<DateTime>& value) {
    stopTime_ = value;
    CalcDiffTime();
}

void clsTime::CalcDiffTime() {
    if (!startTime_ || !stopTime_) throw RuntimeError(kErrTypeMismatch, L"clsTime");
    const std::int64_t t = ToSeconds(*stopTime_) - ToSeconds(*startTime_);
    if (t < std::numeric_limits<std::int32_t>::min() || t > std::numeric_limits<std::int32_t>::max()) {
        throw RuntimeError(kErrOverflow, L"clsTime");
    }
    diffTime_ = FormatElapsed(static_cast<std::int32_t>(t));
}

}  // namespace tolvane
