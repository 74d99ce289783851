#include "WindowsCp932.h"

#include <vector>

#include "support/AnsiCodec.h"

namespace tolvane::fuzz {

namespace {

// What the table gives for one or two bytes, looked up once: the codec opens
// a converter per call, too slow for millions of inputs. 0 means not yet known.
wchar_t Lookup(const std::string& bytes, std::size_t at, std::size_t width) {
    static std::vector<wchar_t> known(0x10000 + 0x100, 0);
    const auto first = static_cast<unsigned char>(bytes[at]);
    const std::size_t key = width == 1 ? 0x10000 + first : first << 8 | static_cast<unsigned char>(bytes[at + 1]);
    if (known[key] == 0) {
        const std::wstring piece = SystemAnsiCodec().Decode(bytes.substr(at, width));
        // The table knows the valid pairs; any other pair is one default character.
        known[key] = piece.size() == 1 ? piece[0] : L'\x30FB';
    }
    return known[key];
}

}  // namespace

std::wstring DecodeLikeWindows932(const std::string& bytes) {
    std::wstring text;
    text.reserve(bytes.size());
    for (std::size_t i = 0; i < bytes.size();) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        const bool lead = (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
        const std::size_t width = lead && i + 1 < bytes.size() ? 2 : 1;
        text += Lookup(bytes, i, width);
        i += width;
    }
    return text;
}

const AnsiCodec& WindowsCp932Codec() {
    class Codec : public AnsiCodec {
    public:
        std::optional<std::string> Encode(const std::wstring& text) const override {
            return SystemAnsiCodec().Encode(text);
        }
        std::wstring Decode(const std::string& bytes) const override { return DecodeLikeWindows932(bytes); }
    };
    static const Codec codec;
    return codec;
}

}  // namespace tolvane::fuzz
