#include "settings/NumberText.h"

#include <algorithm>
#include <cfloat>
#include <charconv>
#include <climits>
#include <cmath>
#include <system_error>

namespace tidemar {

namespace {

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

size_t SkipSpace(std::string_view text, size_t i) {
    while (i < text.size() && IsSpace(text[i])) ++i;
    return i;
}

}  // namespace

int ParseInteger(std::string_view text) {
    size_t i = SkipSpace(text, 0);
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    int64_t magnitude = 0;
    constexpr int64_t limit = int64_t{INT_MAX} + 1;  // enough to saturate either sign
    for (; i < text.size() && IsDigit(text[i]); ++i) magnitude = std::min(limit, magnitude * 10 + (text[i] - '0'));
    const int64_t value = negative ? -magnitude : magnitude;
    return static_cast<int>(std::clamp<int64_t>(value, INT_MIN, INT_MAX));
}

double ParseDecimal(std::string_view text) {
    size_t i = SkipSpace(text, 0);
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    const size_t start = i;

    // Mantissa: digits, optionally a point and more digits; at least one digit in all.
    // `scale` is the power of ten of the first significant digit, plus one; it decides
    // between overflow and underflow when the value does not fit a double.
    size_t digits = 0;
    int64_t scale = 0;
    bool significant = false;
    for (; i < text.size() && IsDigit(text[i]); ++i, ++digits) {
        if (text[i] != '0') significant = true;
        if (significant) scale = std::min<int64_t>(scale + 1, 1'000'000'000);
    }
    if (i < text.size() && text[i] == '.') {
        ++i;
        for (; i < text.size() && IsDigit(text[i]); ++i, ++digits) {
            if (text[i] != '0') significant = true;
            if (!significant) scale = std::max<int64_t>(scale - 1, -1'000'000'000);
        }
    }
    if (digits == 0) return 0.0;

    // Exponent, taken only when digits follow the 'e' and its sign.
    int64_t exponent = 0;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        size_t j = i + 1;
        bool negativeExponent = false;
        if (j < text.size() && (text[j] == '+' || text[j] == '-')) negativeExponent = text[j++] == '-';
        if (j < text.size() && IsDigit(text[j])) {
            for (; j < text.size() && IsDigit(text[j]); ++j)
                exponent = std::min<int64_t>(exponent * 10 + (text[j] - '0'), 1'000'000'000);
            if (negativeExponent) exponent = -exponent;
            i = j;
        }
    }

    double value = 0.0;
    const char* first = text.data() + start;
    const char* last = text.data() + i;
    const auto [end, error] = std::from_chars(first, last, value, std::chars_format::general);
    if (error == std::errc::result_out_of_range) {
        value = scale + exponent > 0 ? DBL_MAX : 0.0;
    } else if (error != std::errc() || end != last || !std::isfinite(value)) {
        value = 0.0;
    }
    return negative ? -value : value;
}

std::optional<uint32_t> ParseUnsignedInteger(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    size_t end = text.size();
    while (end > i && (text[end - 1] == ' ' || text[end - 1] == '\t')) --end;
    if (i == end) return std::nullopt;
    uint64_t value = 0;
    for (; i < end; ++i) {
        if (!IsDigit(text[i])) return std::nullopt;
        value = value * 10 + static_cast<uint64_t>(text[i] - '0');
        if (value > UINT32_MAX) return std::nullopt;
    }
    return static_cast<uint32_t>(value);
}

std::string FormatFixed(double value, int width, int precision, bool zeroPad) {
    char buffer[400];  // DBL_MAX has 309 integer digits
    const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, precision);
    std::string text = error == std::errc() ? std::string(buffer, end) : std::string();
    const size_t wanted = width > 0 ? static_cast<size_t>(width) : 0;
    if (text.size() < wanted) {
        const bool finite = std::isfinite(value);
        const size_t fill = wanted - text.size();
        if (zeroPad && finite) {
            const size_t at = (!text.empty() && text[0] == '-') ? 1 : 0;
            text.insert(at, fill, '0');
        } else {
            text.insert(0, fill, ' ');
        }
    }
    return text;
}

std::string LimitBytes(std::string_view text, size_t maxBytes) {
    return std::string(text.substr(0, std::min(text.find('\0'), maxBytes)));
}

std::string LimitText(std::string_view text, size_t maxBytes) {
    const size_t nul = text.find('\0');
    if (nul != std::string_view::npos) text = text.substr(0, nul);
    if (text.size() <= maxBytes) return std::string(text);
    size_t cut = maxBytes;
    // Step back over at most three continuation bytes so a character is not split.
    for (int back = 0; back < 3 && cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80; ++back) --cut;
    if ((static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) cut = maxBytes;  // not UTF-8 anyway
    return std::string(text.substr(0, cut));
}

}  // namespace tidemar
