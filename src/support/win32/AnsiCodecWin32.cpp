#include <windows.h>

#include <algorithm>

#include "support/AnsiCodec.h"

namespace tolvane {
namespace {

// Every ANSI code page keeps ASCII as it is, so most paths need no call into
// the system (a list of thousands of entries makes that call per field).
template <typename Text>
bool IsAscii(const Text& text) {
    return std::all_of(text.begin(), text.end(), [](auto c) { return static_cast<unsigned>(c) < 0x80; });
}

std::wstring DecodeAcp(const std::string& bytes) {
    if (IsAscii(bytes)) return std::wstring(bytes.begin(), bytes.end());
    const int size = static_cast<int>(bytes.size());
    const int count = MultiByteToWideChar(CP_ACP, 0, bytes.data(), size, nullptr, 0);
    if (count <= 0) return std::wstring();
    std::wstring text(static_cast<std::size_t>(count), L'\0');
    MultiByteToWideChar(CP_ACP, 0, bytes.data(), size, &text[0], count);
    return text;
}

class Win32AnsiCodec : public AnsiCodec {
public:
    std::optional<std::string> Encode(const std::wstring& text) const override {
        if (IsAscii(text)) return std::string(text.begin(), text.end());
        const int size = static_cast<int>(text.size());
        // UTF-8 as the ANSI code page takes no default-character check.
        const bool utf8 = GetACP() == CP_UTF8;
        const DWORD flags = utf8 ? WC_ERR_INVALID_CHARS : WC_NO_BEST_FIT_CHARS;
        BOOL usedDefault = FALSE;
        BOOL* usedDefaultOut = utf8 ? nullptr : &usedDefault;
        const int count =
            WideCharToMultiByte(CP_ACP, flags, text.data(), size, nullptr, 0, nullptr, usedDefaultOut);
        if (count <= 0 || usedDefault) return std::nullopt;
        std::string bytes(static_cast<std::size_t>(count), '\0');
        WideCharToMultiByte(CP_ACP, flags, text.data(), size, &bytes[0], count, nullptr, usedDefaultOut);
        if (usedDefault) return std::nullopt;
        // Some code-page tables still map a character one way only (a best fit
        // hidden in the table); only a text that comes back whole is kept.
        if (DecodeAcp(bytes) != text) return std::nullopt;
        return bytes;
    }

    std::wstring Decode(const std::string& bytes) const override { return DecodeAcp(bytes); }
};

}  // namespace

const AnsiCodec& SystemAnsiCodec() {
    static const Win32AnsiCodec codec;
    return codec;
}

}  // namespace tolvane
