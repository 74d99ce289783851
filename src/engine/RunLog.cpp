#include "engine/RunLog.h"

namespace tolvane {
namespace {

constexpr wchar_t kCrLf[] = L"\r\n";
constexpr wchar_t kRule[] = L"==========================================";
constexpr std::uint32_t kNavy = 0x800000;

}  // namespace

std::wstring RunStartPiece() { return kCrLf; }

std::wstring BuildStartedPiece(const std::wstring& vbpMessage) { return vbpMessage + kCrLf; }

std::wstring BuildEndedPiece(const std::wstring& vbpMessage, bool failed, const std::wstring& failureText) {
    std::wstring piece = vbpMessage + kCrLf;
    if (failed) {
        const std::wstring detail = FailureDetailLine(failureText);
        if (!detail.empty()) piece += detail + kCrLf;
    }
    return piece + kCrLf;
}

std::wstring BuildEndedPiece(const std::wstring& vbpMessage, const clsVbp& entry) {
    std::wstring piece = BuildEndedPiece(vbpMessage, entry.Failure(), entry.FailureText());
    if (!entry.Failure() || (entry.LogLines().empty() && !entry.ErrorAt())) return piece;
    piece.resize(piece.size() - 2);
    for (const auto& line : entry.LogLines()) piece += L"\t" + line + kCrLf;
    if (entry.ErrorAt()) piece += L"\t" + SourceErrorText(*entry.ErrorAt()) + kCrLf;
    return piece + kCrLf;
}

std::wstring SourceErrorText(const SourceError& at) {
    return at.path + L"(" + std::to_wstring(at.line) + L"行目): " + at.message;
}

std::wstring FailureDetailLine(const std::wstring& failureText) {
    // One line per build keeps the log readable: any run of control
    // characters (line breaks, tabs) and spaces around them becomes one space.
    std::wstring flat;
    bool gap = false;
    for (wchar_t c : failureText) {
        if (c < 0x20 || c == 0x7F || c == L' ') {
            gap = true;
            continue;
        }
        if (gap && !flat.empty()) flat += L' ';
        gap = false;
        flat += c;
    }
    if (flat.empty()) return flat;
    return L"\t" + flat;
}

std::wstring SummaryBlock(const std::wstring& startTime, const std::wstring& stopTime,
                          const std::wstring& elapsed) {
    std::wstring block = kRule;
    block += kCrLf;
    block += L"開始時間：" + startTime + kCrLf;
    block += L"終了時間：" + stopTime + kCrLf;
    block += L"経過時間：" + elapsed + kCrLf;
    block += kRule;
    return block;
}

std::wstring StoppingPiece() { return std::wstring(L"ｺﾝﾊﾟｲﾙを中止しています・・・") + kCrLf; }

std::wstring AbortingPiece() { return std::wstring(L"実行中のｺﾝﾊﾟｲﾙを強制終了しています・・・") + kCrLf; }

std::wstring StoppedPiece() { return std::wstring(L"ｺﾝﾊﾟｲﾙを中止しました") + kCrLf + kCrLf; }

std::wstring BrokenOffPiece(const std::wstring& reason) {
    std::wstring piece = std::wstring(L"ｺﾝﾊﾟｲﾙを中断しました") + kCrLf;
    const std::wstring detail = FailureDetailLine(reason);
    if (!detail.empty()) piece += detail + kCrLf;
    return piece + kCrLf;
}

std::wstring ProgressText(std::int32_t compileCount, std::int32_t targetCount) {
    return std::to_wstring(compileCount) + L"/" + std::to_wstring(targetCount);
}

std::wstring RunningFailureText(std::int32_t failures) {
    return failures != 0 ? std::to_wstring(failures) : std::wstring();
}

std::wstring FinalFailureText(std::int32_t failures) { return L"失敗 " + std::to_wstring(failures); }

ClosingNotice ClosingNoticeFor(std::int32_t failures) {
    ClosingNotice notice;
    if (failures > 0) {
        notice.message1 = std::to_wstring(failures) + L"件のｺﾝﾊﾟｲﾙに失敗しています";
    } else {
        notice.color = kNavy;
    }
    notice.message2 = L"ｺﾝﾊﾟｲﾙが終了しました";
    return notice;
}

}  // namespace tolvane
