#include "engine/StampJournal.h"

#include <cstdint>
#include <cstdio>

namespace tolvane {

namespace {

constexpr char kMagic[] = "TolvaneStamp 1 ";
constexpr std::size_t kHashLength = 16;

std::uint64_t Fnv1a(const std::string& bytes) {
    std::uint64_t hash = 14695981039346656037ull;
    for (unsigned char c : bytes) {
        hash ^= c;
        hash *= 1099511628211ull;
    }
    return hash;
}

std::string Hex(std::uint64_t value) {
    char text[kHashLength + 1];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(value));
    return text;
}

// A decimal number ending at the separator; nothing for anything else.
std::optional<std::uint64_t> Number(const std::string& text, std::size_t& at, char separator) {
    std::uint64_t value = 0;
    const std::size_t start = at;
    while (at < text.size() && text[at] >= '0' && text[at] <= '9') {
        const auto digit = static_cast<std::uint64_t>(text[at++] - '0');
        if (value > (UINT64_MAX - digit) / 10) return std::nullopt;
        value = value * 10 + digit;
    }
    if (at == start || at >= text.size() || text[at] != separator) return std::nullopt;
    ++at;
    return value;
}

}  // namespace

std::string EncodeJournal(const StampJournal& j) {
    std::string body = kMagic + std::to_string(j.writeTime) + " " + std::to_string(j.attributes) + " " +
                       std::to_string(j.project.size()) + " " + std::to_string(j.original.size()) + "\r\n" +
                       j.project + j.original;
    return body + Hex(Fnv1a(body)) + "\r\n";
}

std::optional<StampJournal> DecodeJournal(const std::string& bytes) {
    const std::size_t magic = sizeof kMagic - 1;
    if (bytes.size() < magic + kHashLength + 2 || bytes.compare(0, magic, kMagic) != 0 ||
        bytes.compare(bytes.size() - 2, 2, "\r\n") != 0) {
        return std::nullopt;
    }
    const std::string body = bytes.substr(0, bytes.size() - kHashLength - 2);
    if (bytes.compare(body.size(), kHashLength, Hex(Fnv1a(body))) != 0) return std::nullopt;
    std::size_t at = magic;
    const auto time = Number(body, at, ' ');
    const auto attributes = time ? Number(body, at, ' ') : std::nullopt;
    const auto pathSize = attributes ? Number(body, at, ' ') : std::nullopt;
    const auto size = pathSize ? Number(body, at, '\r') : std::nullopt;
    if (!size || *attributes > 0xFFFFFFFFu || at >= body.size() || body[at++] != '\n') return std::nullopt;
    if (*pathSize > body.size() - at || *size != body.size() - at - *pathSize) return std::nullopt;
    StampJournal j;
    j.writeTime = *time;
    j.attributes = static_cast<std::uint32_t>(*attributes);
    j.project = body.substr(at, static_cast<std::size_t>(*pathSize));
    j.original = body.substr(at + static_cast<std::size_t>(*pathSize));
    return j;
}

}  // namespace tolvane
