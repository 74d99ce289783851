#pragma once
// The program's own two message boxes: Msg_Warning (a notice with OK) and
// Msg_YesNo (a question). Each is one shared instance: a caller sets what it
// needs, calls ShowModal(), and reads YesNo() afterwards. Closing resets
// everything but YesNo.
#include <cstdint>
#include <string>

#include "ui/core/Form.h"

namespace tolvane {

// Colours in the platform's 0x00BBGGRR form.
constexpr std::uint32_t kNavy = 0x800000;
constexpr std::uint32_t kRed = 0x0000FF;
constexpr std::uint32_t kBlue = 0xFF0000;

class Msg_Warning : public ui::Form {
public:
    static Msg_Warning& Instance();

    void SetMessage1(const std::wstring& text);
    void SetMessage2(const std::wstring& text);
    void SetColor(std::uint32_t color);  // 0 keeps the design colour
    // Seconds until the box closes by itself; 0 never. Throws VbError (overflow)
    // when the milliseconds do not fit in 32 bits, keeping the old value.
    void SetTimerSet(std::int32_t seconds);
    // (ShowModal() comes from ui::Form.)
};

class Msg_YesNo : public ui::Form {
public:
    static Msg_YesNo& Instance();

    bool YesNo() const;
    void SetYesNo(bool value);
    const std::wstring& Message1() const;
    const std::wstring& Message2() const;
    void SetMessage1(const std::wstring& text);
    void SetMessage2(const std::wstring& text);
    void SetColor(std::uint32_t color);
    void SetTimerSet(std::int32_t seconds);
};

}  // namespace tolvane
