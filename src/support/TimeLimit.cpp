#include "support/TimeLimit.h"

#include "support/Paths.h"

namespace tolvane {

std::optional<std::chrono::minutes> ParseTimeLimit(const std::wstring& text) {
    const std::wstring digits = TrimSpaces(text);
    if (digits.empty()) return std::nullopt;
    long long minutes = 0;
    for (wchar_t c : digits) {
        if (c < L'0' || c > L'9') return std::nullopt;
        minutes = minutes * 10 + (c - L'0');
        if (minutes > kMaxTimeLimit.count()) return std::nullopt;
    }
    return std::chrono::minutes(minutes);
}

std::wstring TimeLimitRule() {
    return L"0(制限なし)から" + std::to_wstring(kMaxTimeLimit.count()) + L"までの分数を指定してください";
}

}  // namespace tolvane
