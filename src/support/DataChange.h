#pragma once
// basDataChange: loosely typed values, as the message boxes and the chooser
// receive them, made into the plain text or number they work with.
#include <cstddef>
#include <string>
#include <variant>

namespace tolvane {

// unset, null, text, real, integer.
using VbValue = std::variant<std::monostate, std::nullptr_t, std::wstring, double, long long>;

// Text mode: null and unset give ""; anything else as text without its
// leading and trailing spaces.
std::wstring NormalizeText(const VbValue& value);

// A number as VB writes it as text: up to 15 significant digits, no trailing zeros.
std::wstring NumberText(double value);

}  // namespace tolvane
