#include "support/AnsiCodec.h"

namespace tolvane {

std::wstring::size_type FirstUnencodable(const AnsiCodec& codec, const std::wstring& text) {
    // The code page is stateless, so each character can be tried on its own.
    std::wstring::size_type i = 0;
    while (i < text.size()) {
        std::wstring::size_type width = 1;
        // A surrogate pair is one character (wchar_t is UTF-16 on Windows).
        if (sizeof(wchar_t) == 2 && i + 1 < text.size() && text[i] >= 0xD800 && text[i] <= 0xDBFF &&
            text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
            width = 2;
        }
        if (!codec.Encode(text.substr(i, width))) return i;
        i += width;
    }
    return std::wstring::npos;
}

}  // namespace tolvane
