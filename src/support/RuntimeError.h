#pragma once
// The runtime's own errors (invalid argument, overflow...), with the number and
// Japanese text a VB program would report, so the windows show them alike.
#include <cstdint>

#include "support/VbError.h"

namespace tolvane {

// source names the class or routine that met the error.
inline VbError RuntimeError(std::int32_t number, const wchar_t* source) {
    const wchar_t* text = L"アプリケーション定義またはオブジェクト定義のエラーです。";
    switch (number) {
        case kErrInvalidArgument: text = L"プロシージャの呼び出し、または引数が不正です。"; break;
        case kErrOverflow: text = L"オーバーフローしました。"; break;
        case kErrSubscriptOutOfRange: text = L"インデックスが有効範囲にありません。"; break;
        case kErrTypeMismatch: text = L"型が一致しません。"; break;
        case kErrDeviceUnavailable: text = L"デバイスが準備されていません。"; break;
        default: break;
    }
    return VbError(number, source, text);
}

}  // namespace tolvane
