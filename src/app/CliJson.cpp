// Texts of data files in the JSON and summaries tidemar-cli prints.
#include <cstdio>
#include <string>

#include "CliCommands.h"
#include "core/Cp1252.h"

namespace tidemar::cli {

std::string JsonString(std::string_view bytes) {
    std::string out = "\"";
    char escape[8];
    for (char byte : bytes) {
        const char32_t c = Cp1252Decode(static_cast<uint8_t>(byte));
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default:
            // The C0 and C1 controls and DEL: valid JSON unescaped too, but unseen.
            if (c < 0x20 || (c >= 0x7F && c < 0xA0)) {
                std::snprintf(escape, sizeof escape, "\\u%04x", static_cast<unsigned>(c));
                out += escape;
            } else {
                AppendUtf8(out, c);
            }
        }
    }
    return out + "\"";
}

}  // namespace tidemar::cli
