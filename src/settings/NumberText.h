#pragma once
// Numbers as they are read from and written to settings files and dialog boxes.
//
// Everything here is independent of the process locale: the window toolkit switches the C
// library to the user's locale, and a decimal comma must never reach TIDEMAR.INI.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tidemar {

// Reads like the C library's atoi: leading white space, an optional sign, then digits up
// to the first other character ("0x11" reads as 0, "12abc" as 12, text without digits as
// 0). Values beyond the range of int are clamped to INT_MIN / INT_MAX.
int ParseInteger(std::string_view text);

// Reads like atof, but only plain decimal numbers: leading white space, optional sign,
// digits with an optional point and fraction, an optional exponent. Anything else ends
// the number; text that does not start with a number ("inf", "nan", "x") reads as 0.
// The result is always finite: magnitudes beyond double clamp to +-DBL_MAX.
double ParseDecimal(std::string_view text);

// The whole-box unsigned read of the dialogs: blanks around the number are allowed,
// anything else (a sign, a point, letters, an empty box, more than 32 bits) means "not a
// number" and gives nullopt.
std::optional<uint32_t> ParseUnsignedInteger(std::string_view text);

// printf("%*.*f") of the C locale: `width` is the minimum width, padded on the left with
// blanks, or with zeros after the sign when `zeroPad` is set.
std::string FormatFixed(double value, int width, int precision, bool zeroPad = false);

// The first `maxBytes` bytes of `text`, cut at the first NUL as a C buffer would, and
// never inside a UTF-8 sequence.
std::string LimitText(std::string_view text, size_t maxBytes);
// The same for 8-bit text, where every byte is a character.
std::string LimitBytes(std::string_view text, size_t maxBytes);

}  // namespace tidemar
