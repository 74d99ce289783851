#include "engine/win32/RunSettings.h"

#include "engine/clsTolvane.h"

#include "support/Paths.h"
#include "support/win32/IniControl.h"

namespace tolvane {

namespace {

constexpr const wchar_t* kSection = L"COMMON";

bool ReadFlag(const std::wstring& iniFile, const wchar_t* key) {
    return TrimSpaces(GetIniString(iniFile, kSection, key)) == L"1";
}

}  // namespace

std::chrono::minutes ReadTimeLimit(const std::wstring& iniFile) {
    const std::wstring text = TrimSpaces(GetIniString(iniFile, kSection, L"TimeLimit"));
    const std::chrono::minutes fallback = clsTolvane::kDefaultTimeLimit;
    if (text.empty()) {
        PutIniString(iniFile, kSection, L"TimeLimit", std::to_wstring(fallback.count()));
        return fallback;
    }
    if (text.size() > 9 || text.find_first_not_of(L"0123456789") != std::wstring::npos) return fallback;
    return std::chrono::minutes(std::stol(text));
}

std::optional<std::chrono::minutes> ParseTimeLimit(const std::wstring& text) {
    const std::wstring t = TrimSpaces(text);
    if (t.empty() || t.size() > 4 || t.find_first_not_of(L"0123456789") != std::wstring::npos) return std::nullopt;
    return std::chrono::minutes(std::stol(t));
}

PlanOptions ReadPlanOptions(const std::wstring& iniFile) {
    PlanOptions options;
    options.order = ReadFlag(iniFile, L"Order");
    options.skip = ReadFlag(iniFile, L"Skip");
    options.parallel = ParseParallel(GetIniString(iniFile, kSection, L"Parallel")).value_or(1);
    return options;
}

bool WritePlanOptions(const std::wstring& iniFile, const PlanOptions& options) {
    bool ok = PutIniString(iniFile, kSection, L"Order", options.order ? L"1" : L"0");
    ok = PutIniString(iniFile, kSection, L"Skip", options.skip ? L"1" : L"0") && ok;
    return PutIniString(iniFile, kSection, L"Parallel", std::to_wstring(options.parallel)) && ok;
}

}  // namespace tolvane
