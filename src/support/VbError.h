#pragma once
// The program's one error type: a number, a source and a description, as the
// windows show them. Raised where a routine cannot do its job; caught by the
// main window's commands, which show the description.
#include <cstdint>
#include <stdexcept>
#include <string>

namespace tolvane {

// User-defined error base 0x80040000 plus 1001.
constexpr std::int32_t kTolvaneErrorNumber = static_cast<std::int32_t>(0x800403E9u);

// Numbers of the runtime errors that the routines report, as a VB program gets them.
constexpr std::int32_t kErrInvalidArgument = 5;
constexpr std::int32_t kErrOverflow = 6;
constexpr std::int32_t kErrSubscriptOutOfRange = 9;
constexpr std::int32_t kErrTypeMismatch = 13;
constexpr std::int32_t kErrDeviceUnavailable = 68;

class VbError : public std::runtime_error {
public:
    VbError(std::int32_t number, std::wstring source, std::wstring description)
        : std::runtime_error("VbError"), number_(number), source_(std::move(source)),
          description_(std::move(description)) {}

    std::int32_t Number() const { return number_; }
    const std::wstring& Source() const { return source_; }
    const std::wstring& Description() const { return description_; }

private:
    std::int32_t number_;
    std::wstring source_;
    std::wstring description_;
};

// The program's own error, with the shared number.
inline VbError TolvaneError(std::wstring source, std::wstring description) {
    return VbError(kTolvaneErrorNumber, std::move(source), std::move(description));
}

}  // namespace tolvane
