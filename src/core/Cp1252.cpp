#include "core/Cp1252.h"

#include <algorithm>
#include <array>

namespace tidemar {

namespace {

// clang-format off
// 0x80..0x9F; the rest of the code page is Latin-1.
constexpr std::array<char32_t, 32> Block80 = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // € . ‚ ƒ „ … † ‡
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  // ˆ ‰ Š ‹ Œ . Ž .
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // . ‘ ’ “ ” • – —
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,  // ˜ ™ š › œ . ž Ÿ
};
// clang-format on

constexpr char32_t Replacement = 0xFFFD;

bool IsContinuation(uint8_t byte) { return (byte & 0xC0) == 0x80; }

// The character at the start of `text` and the bytes it takes; a malformed sequence
// (overlong, a surrogate, beyond U+10FFFF, cut short) gives U+FFFD for its first byte.
std::pair<char32_t, size_t> NextUtf8(std::string_view text) {
    const auto lead = static_cast<uint8_t>(text[0]);
    if (lead < 0x80) return {lead, 1};
    // Bytes of the sequence, the value bits of its lead byte, and the least value it may
    // carry (anything less is an overlong form).
    size_t length = 4;
    char32_t value = lead & 0x07;
    char32_t least = 0x10000;
    if ((lead & 0xE0) == 0xC0) {
        length = 2;
        value = lead & 0x1F;
        least = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3;
        value = lead & 0x0F;
        least = 0x800;
    } else if ((lead & 0xF8) != 0xF0) {
        return {Replacement, 1};
    }
    if (text.size() < length) return {Replacement, 1};
    for (size_t i = 1; i < length; ++i) {
        const auto byte = static_cast<uint8_t>(text[i]);
        if (!IsContinuation(byte)) return {Replacement, 1};
        value = (value << 6) | (byte & 0x3F);
    }
    if (value < least || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return {Replacement, 1};
    return {value, length};
}

}  // namespace

char32_t Cp1252Decode(uint8_t byte) { return byte >= 0x80 && byte < 0xA0 ? Block80[byte - 0x80] : byte; }

std::optional<uint8_t> Cp1252Encode(char32_t codePoint) {
    if (codePoint < 0x80 || (codePoint >= 0xA0 && codePoint <= 0xFF)) return static_cast<uint8_t>(codePoint);
    const auto found = std::find(Block80.begin(), Block80.end(), codePoint);
    if (found == Block80.end()) return std::nullopt;
    return static_cast<uint8_t>(0x80 + (found - Block80.begin()));
}

std::string Cp1252ToUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (char c : bytes) AppendUtf8(out, Cp1252Decode(static_cast<uint8_t>(c)));
    return out;
}

Cp1252Encoding Utf8ToCp1252(std::string_view utf8) {
    Cp1252Encoding result;
    while (!utf8.empty()) {
        const auto [codePoint, length] = NextUtf8(utf8);
        utf8.remove_prefix(length);
        if (const auto byte = Cp1252Encode(codePoint); byte && codePoint != Replacement) {
            result.Bytes += static_cast<char>(*byte);
        } else if (result.Missing.find(codePoint) == std::u32string::npos) {
            result.Missing += codePoint;
        }
    }
    return result;
}

std::string ValidUtf8(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    while (!text.empty()) {
        const auto [codePoint, length] = NextUtf8(text);
        AppendUtf8(out, codePoint);
        text.remove_prefix(length);
    }
    return out;
}

void AppendUtf8(std::string& out, char32_t c) {
    if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) c = Replacement;
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

}  // namespace tidemar
