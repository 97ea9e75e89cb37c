#include "export/MarkupText.h"

#include <cstdint>
#include <cstdio>

#include "core/Cp1252.h"

namespace tidemar {

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
