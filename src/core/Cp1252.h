#pragma once
// Windows-1252, the 8-bit text of the user text: settings files and data records hold it
// byte for byte, and it is turned into Unicode only where it is shown or printed. Every
// byte has a character: the five bytes the code page leaves undefined (0x81, 0x8D, 0x8F,
// 0x90, 0x9D) stand for the C1 controls of the same number, so any byte string decodes
// and encodes back to itself.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tidemar {

char32_t Cp1252Decode(uint8_t byte);
// The byte of a character, or nothing for one the code page cannot hold.
std::optional<uint8_t> Cp1252Encode(char32_t codePoint);

// Bytes to UTF-8.
std::string Cp1252ToUtf8(std::string_view bytes);

// UTF-8 to bytes. Characters the code page cannot hold, and U+FFFD for every malformed
// UTF-8 sequence, are left out of Bytes and listed once each in Missing, in the order met.
struct Cp1252Encoding {
    std::string Bytes;
    std::u32string Missing;
};
Cp1252Encoding Utf8ToCp1252(std::string_view utf8);

// The UTF-8 form of one character (U+FFFD for a value that is no character).
void AppendUtf8(std::string& out, char32_t codePoint);

// Valid UTF-8: well-formed sequences kept as they are, U+FFFD for the first byte of every
// malformed one (file names and texts from outside need not be UTF-8).
std::string ValidUtf8(std::string_view text);

}  // namespace tidemar
