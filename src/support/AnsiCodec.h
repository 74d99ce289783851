#pragma once
// The one conversion between the program's UTF-16 text and the ANSI code page
// (Shift-JIS on a Japanese system), used for INI files, list files and window titles.
#include <optional>
#include <string>

namespace tolvane {

class AnsiCodec {
public:
    virtual ~AnsiCodec() = default;
    // Empty optional when some character has no place in the code page:
    // such text is reported, never silently turned into '?'.
    virtual std::optional<std::string> Encode(const std::wstring& text) const = 0;
    virtual std::wstring Decode(const std::string& bytes) const = 0;
};

// The system's ANSI code page; natively (for tests) code page 932.
const AnsiCodec& SystemAnsiCodec();

// Index of the first character of text that the codec cannot hold; npos when all fit.
std::wstring::size_type FirstUnencodable(const AnsiCodec& codec, const std::wstring& text);

}  // namespace tolvane
