// The ANSI codec: what it encodes comes back whole, what it refuses is
// pointed at, and bytes decoded as Windows does (damaged pairs included)
// obey the same rules.
#include <cstdint>
#include <string>

#include "FuzzSupport.h"
#include "WindowsCp932.h"
#include "support/AnsiCodec.h"

using namespace tolvane;

namespace {

void CheckRoundTrip(const std::wstring& text) {
    const AnsiCodec& codec = SystemAnsiCodec();
    const auto bytes = codec.Encode(text);
    const auto bad = FirstUnencodable(codec, text);
    if (bytes) {
        fuzz::Require(codec.Decode(*bytes) == text, "encoded text decodes to itself");
        fuzz::Require(fuzz::DecodeLikeWindows932(*bytes) == text, "and so it does as Windows decodes it");
        fuzz::Require(bad == std::wstring::npos, "encodable text has no unencodable character");
        return;
    }
    fuzz::Require(bad != std::wstring::npos && bad < text.size(), "a refused text points at a character");
    fuzz::Require(!codec.Encode(text.substr(bad, 1)), "the character pointed at is refused alone");
    fuzz::Require(codec.Encode(text.substr(0, bad)).has_value(), "everything before it encodes");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    // Bytes from a file, as the native codec and as Windows decode them; and
    // the same bytes read as UTF-8 text, as the program's own strings.
    CheckRoundTrip(SystemAnsiCodec().Decode(bytes));
    const std::wstring windows = fuzz::DecodeLikeWindows932(bytes);
    CheckRoundTrip(windows);
    fuzz::Require(windows.size() <= bytes.size(), "no byte gives two characters");
    for (const std::wstring& line : fuzz::Lines(data, size)) CheckRoundTrip(line);
    return 0;
}
