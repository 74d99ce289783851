#include "support/DataChange.h"

#include <cmath>
#include <cwchar>

#include "support/Paths.h"

namespace tolvane {

std::wstring NumberText(double value) {
    if (value == 0) return L"0";  // also -0, which VB never shows with a sign
    wchar_t buf[64];
    std::swprintf(buf, 64, L"%.15G", value);
    // Rounded to 15 digits, the largest values pass the largest double and
    // would not read back as a number: those are cut to 15 digits instead.
    if (std::isfinite(value) && !std::isfinite(std::wcstod(buf, nullptr))) {
        std::swprintf(buf, 64, L"%.16E", value);
        const std::wstring text = buf;
        const auto exponent = text.find(L'E');
        std::wstring mantissa = text.substr(0, text.find(L'.') + 15);
        while (mantissa.back() == L'0') mantissa.pop_back();
        if (mantissa.back() == L'.') mantissa.pop_back();
        return mantissa + text.substr(exponent);
    }
    return buf;
}

std::wstring NormalizeText(const VbValue& value) {
    if (const auto* text = std::get_if<std::wstring>(&value)) return TrimSpaces(*text);
    if (const auto* real = std::get_if<double>(&value)) return NumberText(*real);
    if (const auto* integer = std::get_if<long long>(&value)) return std::to_wstring(*integer);
    return std::wstring();  // null or unset
}

}  // namespace tolvane
