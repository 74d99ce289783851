#pragma once
// What the fuzz targets share: inputs read as UTF-8 lines (so the seed corpus
// reads like what the program meets), the check that stops on a finding, and
// the switch for properties of faults that are known and not yet mended.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace tolvane::fuzz {

// The bytes as UTF-8 text split at LF; bytes that are no UTF-8 are dropped.
inline std::vector<std::wstring> Lines(const std::uint8_t* data, std::size_t size) {
    std::vector<std::wstring> lines(1);
    for (std::size_t i = 0; i < size;) {
        const std::uint8_t b = data[i];
        const std::size_t width = b < 0x80 ? 1 : b >= 0xF0 ? 4 : b >= 0xE0 ? 3 : b >= 0xC2 ? 2 : 0;
        if (width == 0 || i + width > size) {
            ++i;
            continue;
        }
        std::uint32_t c = width == 1 ? b : b & (0x7F >> width);
        bool ok = true;
        for (std::size_t k = 1; k < width; ++k) {
            ok &= (data[i + k] & 0xC0) == 0x80;
            c = (c << 6) | (data[i + k] & 0x3F);
        }
        i += ok ? width : 1;
        if (!ok || (c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF) continue;
        if (c == L'\n') {
            lines.emplace_back();
        } else {
            lines.back() += static_cast<wchar_t>(c);
        }
    }
    return lines;
}

inline std::wstring LineAt(const std::vector<std::wstring>& lines, std::size_t i) {
    return i < lines.size() ? lines[i] : std::wstring();
}

// A finding: says which property failed and stops, so libFuzzer keeps the input.
inline void Require(bool holds, const char* property) {
    if (holds) return;
    std::fprintf(stderr, "property failed: %s\n", property);
    std::abort();
}

// Properties of known faults are checked only when named in
// TOLVANE_FUZZ_KNOWN (comma-separated): fuzz/run.sh expects them to fail
// until the fault is mended, and says when one no longer does.
inline bool KnownFaultChecked(const char* name) {
    const char* list = std::getenv("TOLVANE_FUZZ_KNOWN");
    if (!list) return false;
    const std::string names = std::string(",") + list + ",";
    return names.find(std::string(",") + name + ",") != std::string::npos;
}

}  // namespace tolvane::fuzz
