// The system code page (Shift-JIS here) and the characters it cannot hold.
#include <gtest/gtest.h>

#include "support/AnsiCodec.h"

namespace tolvane {
namespace {

const AnsiCodec& Codec() { return SystemAnsiCodec(); }

TEST(AnsiCodec, ShiftJisBytesBothWaysAndRoundTrip) {
    // 漢 = 8A BF, half-width ｱ one byte B1.
    EXPECT_EQ(Codec().Encode(L"A漢ｱ\\"), std::optional<std::string>("A\x8A\xBF\xB1\\"));
    EXPECT_EQ(Codec().Decode("\x83\x76\x83\x8D\x83\x57\x83\x46\x83\x4E\x83\x67"), L"プロジェクト");
    for (const std::wstring text : {L"", L"ｺﾝﾊﾟｲﾙの実行", L"全角ＡＢＣ・ー\uFF5E", L"表示ソ能", L"C:\\プロジェクト\\App.vbp"}) {
        const auto bytes = Codec().Encode(text);
        ASSERT_TRUE(bytes.has_value()) << text.size();
        EXPECT_EQ(Codec().Decode(*bytes), text);
    }
}

TEST(AnsiCodec, CharactersOutsideTheCodePageAreReportedNotReplaced) {
    // é and ü have best-fit letters, the wave dash shares the full-width tilde's bytes.
    for (const wchar_t* text : {L"caf\u00E9", L"\u00FCber", L"smile \U0001F600", L"\u4E02", L"10\u301C20"})
        EXPECT_FALSE(Codec().Encode(text).has_value()) << ::testing::PrintToString(std::wstring(text));
    EXPECT_EQ(FirstUnencodable(Codec(), L"漢字ｶﾅ"), std::wstring::npos);
    EXPECT_EQ(FirstUnencodable(Codec(), L"ab\u00E9c\u00E9"), 2u);
    EXPECT_EQ(FirstUnencodable(Codec(), L"漢\U0001F600x"), 1u);
}

}  // namespace
}  // namespace tolvane
