#include <iconv.h>

#include <cerrno>
#include <stdexcept>

#include "support/AnsiCodec.h"

namespace tolvane {
namespace {

class Iconv {
public:
    Iconv(const char* to, const char* from) : cd_(iconv_open(to, from)) {
        if (cd_ == reinterpret_cast<iconv_t>(-1)) throw std::runtime_error("iconv_open failed");
    }
    ~Iconv() { iconv_close(cd_); }
    Iconv(const Iconv&) = delete;
    Iconv& operator=(const Iconv&) = delete;
    iconv_t get() const { return cd_; }

private:
    iconv_t cd_;
};

// iconv_t keeps state and is not shareable: one descriptor per thread and
// direction, put back to its initial state before each use (opening one per
// call made the fuzz targets crawl).
iconv_t Converter(bool toCp932) {
    thread_local Iconv encoder("CP932", "WCHAR_T"), decoder("WCHAR_T", "CP932");
    const iconv_t cd = toCp932 ? encoder.get() : decoder.get();
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    return cd;
}

class IconvCp932Codec : public AnsiCodec {
public:
    std::optional<std::string> Encode(const std::wstring& text) const override {
        const iconv_t cd = Converter(true);
        char* in = const_cast<char*>(reinterpret_cast<const char*>(text.data()));
        std::size_t inLeft = text.size() * sizeof(wchar_t);
        std::string out(text.size() * 2 + 8, '\0');
        char* outPtr = &out[0];
        std::size_t outLeft = out.size();
        while (inLeft > 0) {
            if (iconv(cd, &in, &inLeft, &outPtr, &outLeft) == static_cast<std::size_t>(-1)) {
                // Every character takes at most two bytes, so only an unmappable one stops here.
                return std::nullopt;
            }
        }
        out.resize(out.size() - outLeft);
        // The table maps some characters one way only (U+301C to the byte pair
        // of U+FF5E): only a text that comes back whole is kept.
        if (Decode(out) != text) return std::nullopt;
        return out;
    }

    std::wstring Decode(const std::string& bytes) const override {
        const iconv_t cd = Converter(false);
        char* in = const_cast<char*>(bytes.data());
        std::size_t inLeft = bytes.size();
        std::wstring out(bytes.size() + 1, L'\0');
        char* outPtr = reinterpret_cast<char*>(&out[0]);
        std::size_t outLeft = out.size() * sizeof(wchar_t);
        std::wstring result;
        while (inLeft > 0) {
            if (iconv(cd, &in, &inLeft, &outPtr, &outLeft) == static_cast<std::size_t>(-1)) {
                if (errno == E2BIG) break;  // cannot happen: one byte never gives two characters
                // A byte that starts no character (or a cut double-byte one) becomes
                // U+30FB, the katakana middle dot Windows shows for it.
                const std::size_t done = (out.size() * sizeof(wchar_t) - outLeft) / sizeof(wchar_t);
                result.append(out.data(), done);
                result += L'\x30FB';
                ++in;
                --inLeft;
                outPtr = reinterpret_cast<char*>(&out[0]);
                outLeft = out.size() * sizeof(wchar_t);
            }
        }
        const std::size_t done = (out.size() * sizeof(wchar_t) - outLeft) / sizeof(wchar_t);
        result.append(out.data(), done);
        return result;
    }
};

}  // namespace

const AnsiCodec& SystemAnsiCodec() {
    static const IconvCp932Codec codec;
    return codec;
}

}  // namespace tolvane
