#pragma once
// Code page 932 decoded as the Windows platform does it (seen under Wine): a
// lead byte takes whatever byte follows as its trail, so an unmapped pair is
// one U+30FB and a CR or TAB after a stray lead byte is swallowed. The native
// codec skips the bad byte instead, which would hide faults of that kind.
#include <string>

#include "support/AnsiCodec.h"

namespace tolvane::fuzz {

std::wstring DecodeLikeWindows932(const std::string& bytes);

// The system codec, decoding as above: what readers that take a codec get on Windows.
const AnsiCodec& WindowsCp932Codec();

}  // namespace tolvane::fuzz
