#include <gtest/gtest.h>

#include "support/AnsiCodec.h"

namespace tolvane {
namespace {

const AnsiCodec& Codec() { return SystemAnsiCodec(); }

TEST(AnsiCodec, EncodesJapaneseAsShiftJis) {
    const auto bytes = Codec().Encode(L"A漢ｱ\\");
    ASSERT_TRUE(bytes.has_value());
    // 漢 = 8A BF, half-width katakana ｱ stays one byte B1.
    EXPECT_EQ(*bytes, std::string("A\x8A\xBF\xB1\\"));
}

TEST(AnsiCodec, RoundTripKeepsEveryCharacter) {
    const std::wstring texts[] = {
        L"", L"plain ascii 123", L"ｺﾝﾊﾟｲﾙの実行", L"全角ＡＢＣ・ー\uFF5E", L"表示ソ能", L"C:\\プロジェクト\\App.vbp",
    };
    for (const auto& text : texts) {
        const auto bytes = Codec().Encode(text);
        ASSERT_TRUE(bytes.has_value()) << "index " << (&text - texts);
        EXPECT_EQ(Codec().Decode(*bytes), text);
    }
}

TEST(AnsiCodec, ReportsCharactersOutsideTheCodePage) {
    // é has a best-fit 'e' and ü a best-fit 'u': neither may slip through as such.
    EXPECT_FALSE(Codec().Encode(L"caf\u00E9").has_value());
    EXPECT_FALSE(Codec().Encode(L"\u00FCber").has_value());
    EXPECT_FALSE(Codec().Encode(L"smile \U0001F600").has_value());
    EXPECT_FALSE(Codec().Encode(L"\u4E02").has_value());  // a CJK ideograph outside JIS
    // The wave dash shares its bytes with the full-width tilde, which they decode to.
    EXPECT_FALSE(Codec().Encode(L"10\u301C20").has_value());
}

TEST(AnsiCodec, FirstUnencodableFindsTheFirstOffender) {
    EXPECT_EQ(FirstUnencodable(Codec(), L""), std::wstring::npos);
    EXPECT_EQ(FirstUnencodable(Codec(), L"漢字ｶﾅ"), std::wstring::npos);
    EXPECT_EQ(FirstUnencodable(Codec(), L"ab\u00E9c\u00E9"), 2u);
    EXPECT_EQ(FirstUnencodable(Codec(), L"漢\U0001F600x"), 1u);
    EXPECT_EQ(FirstUnencodable(Codec(), L"\u00E9"), 0u);
}

TEST(AnsiCodec, DecodesBytesAsTheCodePageWritesThem) {
    EXPECT_EQ(Codec().Decode(std::string("\x83\x76\x83\x8D\x83\x57\x83\x46\x83\x4E\x83\x67")), L"プロジェクト");
    EXPECT_EQ(Codec().Decode(std::string("\xB6\xDD", 2)), L"ｶﾝ");
    EXPECT_EQ(Codec().Decode(""), L"");
}

}  // namespace
}  // namespace tolvane
