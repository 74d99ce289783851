#include "engine/FailureText.h"

#include <cwchar>

namespace tolvane {

std::wstring ExitStatusText(std::uint32_t status) {
    wchar_t hex[16];
    std::swprintf(hex, 16, L"0x%08X", static_cast<unsigned>(status));
    return L"ｺﾝﾊﾟｲﾗが異常終了しました(終了ｺｰﾄﾞ " + std::to_wstring(status) + L" / " + hex + L")";
}

std::wstring TimeLimitText(std::chrono::minutes limit, const std::optional<ShownWindow>& prompt) {
    std::wstring text = L"制限時間(" + std::to_wstring(limit.count()) + L"分)を過ぎたため、ｺﾝﾊﾟｲﾙを強制終了しました";
    if (prompt) {
        text += L"\r\n応答待ちのｳｨﾝﾄﾞｳ：「" + prompt->title + L"」";
        if (!prompt->text.empty()) text += L"\r\n" + prompt->text;
    }
    return text;
}

}  // namespace tolvane
