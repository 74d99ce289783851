#pragma once
// When a compile run started and stopped, and the elapsed time as hh:mm:ss.
#include <cstdint>
#include <optional>
#include <string>

#include "support/DateTime.h"

namespace tolvane {

class clsTime {
public:
    // Empty until written (the record's initial empty text).
    const std::optional<DateTime>& StartTime() const { return startTime_; }
    void SetStartTime(const std::optional<DateTime>& value) { startTime_ = value; }

    const std::optional<DateTime>& StopTime() const { return stopTime_; }
    // Stores the value, then recomputes DiffTime. Without both times it throws
    // a type mismatch (StopTime stays written, DiffTime keeps its old text);
    // a difference beyond 32 bits throws an overflow the same way.
    void SetStopTime(const std::optional<DateTime>& value);

    const std::wstring& DiffTime() const { return diffTime_; }

private:
    void CalcDiffTime();

    std::optional<DateTime> startTime_;
    std::optional<DateTime> stopTime_;
    std::wstring diffTime_;
};

// The elapsed-time text of a signed number of seconds: each part truncated
// toward zero, at least two digits, a minus sign before a negative part.
std::wstring FormatElapsed(std::int32_t seconds);

}  // namespace tolvane
