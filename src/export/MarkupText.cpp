#include "export/MarkupText.h"

#include <cstdint>
#include <cstdio>

namespace tidemar {

namespace {

// Length of the valid UTF-8 sequence at text[i], or 0.
size_t SequenceLength(std::string_view text, size_t i) {
    const auto byte = [&](size_t k) { return static_cast<uint8_t>(text[k]); };
    const uint8_t b = byte(i);
    if (b < 0x80) return 1;
    size_t n = 0;
    uint32_t cp = 0;
    if (b >= 0xC2 && b <= 0xDF) {
        n = 2;
        cp = b & 0x1F;
    } else if (b >= 0xE0 && b <= 0xEF) {
        n = 3;
        cp = b & 0x0F;
    } else if (b >= 0xF0 && b <= 0xF4) {
        n = 4;
        cp = b & 0x07;
    } else {
        return 0;
    }
    if (i + n > text.size()) return 0;
    for (size_t k = 1; k < n; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80) return 0;
        cp = (cp << 6) | (byte(i + k) & 0x3F);
    }
    // Overlong forms, surrogates and values past U+10FFFF are not characters.
    if ((n == 3 && cp < 0x800) || (n == 4 && (cp < 0x10000 || cp > 0x10FFFF)) || (cp >= 0xD800 && cp <= 0xDFFF))
        return 0;
    return n;
}

}  // namespace

std::string ValidUtf8(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
        const size_t n = SequenceLength(text, i);
        if (n == 0) {
            out += "\xEF\xBF\xBD";
            ++i;
        } else {
            out.append(text.substr(i, n));
            i += n;
        }
    }
    return out;
}

std::string JsonQuoted(std::string_view text) {
    const std::string valid = ValidUtf8(text);
    std::string out = "\"";
    const auto escape = [&out](unsigned codePoint) {
        char escaped[8];
        std::snprintf(escaped, sizeof escaped, "\\u%04x", codePoint);
        out += escaped;
    };
    for (size_t i = 0; i < valid.size(); ++i) {
        const char c = valid[i];
        const auto b = static_cast<uint8_t>(c);
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default:
            // The C0 and C1 controls and DEL: valid JSON unescaped too, but unseen.
            if (b < 0x20 || b == 0x7F) {
                escape(b);
            } else if (b == 0xC2 && i + 1 < valid.size() && static_cast<uint8_t>(valid[i + 1]) < 0xA0) {
                escape(static_cast<uint8_t>(valid[++i]));
            } else {
                out += c;
            }
        }
    }
    return out + "\"";
}

std::string XmlEscaped(std::string_view text) {
    std::string out;
    for (const char c : ValidUtf8(text)) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        case '\'': out += "&apos;"; break;
        default:
            if (static_cast<uint8_t>(c) >= 0x20 || c == '\t' || c == '\n' || c == '\r') out += c;
        }
    }
    return out;
}

}  // namespace tidemar
