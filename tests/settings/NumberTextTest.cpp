// The C-library-style number reads and fixed-point formatting, locale-independent.
#include <gtest/gtest.h>

#include <cfloat>
#include <climits>
#include <clocale>
#include <string>

#include "settings/NumberText.h"

namespace tidemar {
namespace {

TEST(ParseInteger, ReadsLikeAtoi) {
    struct Case {
        const char* text;
        int value;
        const char* legend;
    };
    const Case cases[] = {
        {"17", 17, "plain"},
        {"  \t42", 42, "leading blanks"},
        {"-5", -5, "sign"},
        {"+8", 8, "plus sign"},
        {"0x11", 0, "hex prefix stops after the zero"},
        {"12abc", 12, "stops at a letter"},
        {"1500.0", 1500, "stops at the point"},
        {"", 0, "empty"},
        {"abc", 0, "no digits"},
        {"- 5", 0, "blank after the sign"},
        {"99999999999999999999", INT_MAX, "clamped high"},
        {"-99999999999999999999", INT_MIN, "clamped low"},
        {"2147483647", INT_MAX, "largest int"},
        {"-2147483648", INT_MIN, "smallest int"},
        {"2147483648", INT_MAX, "one past the largest"},
    };
    for (const Case& c : cases) EXPECT_EQ(ParseInteger(c.text), c.value) << c.legend;
    EXPECT_EQ(ParseInteger(std::string("3\0"
                                       "9",
                                       3)),
              3)
        << "NUL ends the number";
}

TEST(ParseDecimal, ReadsPlainDecimalNumbersOnly) {
    struct Case {
        const char* text;
        double value;
        const char* legend;
    };
    const Case cases[] = {
        {"1500.0", 1500.0, "plain"},
        {" 2250.0", 2250.0, "leading blank"},
        {"-30.5", -30.5, "negative"},
        {"+0.25", 0.25, "plus sign"},
        {".5", 0.5, "no integer part"},
        {"5.", 5.0, "no fraction"},
        {"1e3", 1000.0, "exponent"},
        {"2.5E-2", 0.025, "negative exponent"},
        {"7e", 7.0, "bare e is not an exponent"},
        {"7e+", 7.0, "e and sign without digits"},
        {"12.5abc", 12.5, "stops at a letter"},
        {"1,5", 1.0, "a comma is not a decimal point"},
        {"", 0.0, "empty"},
        {".", 0.0, "point alone"},
        {"inf", 0.0, "infinity is not a decimal number"},
        {"nan", 0.0, "nor is nan"},
        {"0x1p3", 0.0, "nor a hex float"},
        {"1e-400", 0.0, "underflow"},
        {"0.0000001e-400", 0.0, "underflow with leading zeros"},
    };
    for (const Case& c : cases) EXPECT_DOUBLE_EQ(ParseDecimal(c.text), c.value) << c.legend;
    EXPECT_EQ(ParseDecimal("1e400"), DBL_MAX) << "overflow clamps";
    EXPECT_EQ(ParseDecimal("-1e999999999999999"), -DBL_MAX) << "huge exponent";
    EXPECT_EQ(ParseDecimal("0.1e400"), DBL_MAX) << "overflow with a fraction only";
}

TEST(ParseUnsignedInteger, WholeTextMustBeANumber) {
    EXPECT_EQ(ParseUnsignedInteger("675"), 675u);
    EXPECT_EQ(ParseUnsignedInteger("  280 "), 280u);
    EXPECT_EQ(ParseUnsignedInteger("0"), 0u);
    EXPECT_EQ(ParseUnsignedInteger("4294967295"), 4294967295u);
    for (const char* bad : {"", "   ", "-5", "+5", "12a", "1 2", "282.5", "0x11", "4294967296", "abc"})
        EXPECT_FALSE(ParseUnsignedInteger(bad).has_value()) << '"' << bad << '"';
}

TEST(FormatFixed, MatchesPrintfOfTheCLocale) {
    EXPECT_EQ(FormatFixed(1500.0, 6, 1, true), "1500.0");
    EXPECT_EQ(FormatFixed(750.0, 6, 1, true), "0750.0");
    EXPECT_EQ(FormatFixed(-5.0, 6, 1, true), "-005.0");
    EXPECT_EQ(FormatFixed(0.0, 4, 1), " 0.0");
    EXPECT_EQ(FormatFixed(50.0, 4, 1), "50.0");
    EXPECT_EQ(FormatFixed(0.0, 4, 2), "0.00");
    EXPECT_EQ(FormatFixed(-12.345, 4, 2), "-12.35");  // -12.3450000000000006 rounds away
    EXPECT_EQ(FormatFixed(0.125, 3, 2), "0.12");      // exact tie goes to even, as printf
    EXPECT_EQ(FormatFixed(0.2, 4, 2, true), "0.20");
    EXPECT_EQ(FormatFixed(20 * 0.01 * 0.3048, 6, 5, true), "0.06096");
    EXPECT_EQ(FormatFixed(-30.0f, 3, 1), "-30.0");
}

TEST(FormatFixed, IgnoresTheProcessLocale) {
    const std::string before = std::setlocale(LC_NUMERIC, nullptr);
    // Any installed locale with a decimal comma shows the point; without one the test
    // still checks the plain case.
    for (const char* name : {"de_DE.UTF-8", "fr_FR.UTF-8", "de_DE", "C.UTF-8"})
        if (std::setlocale(LC_NUMERIC, name)) break;
    EXPECT_EQ(FormatFixed(1482.5, 6, 1, true), "1482.5");
    EXPECT_DOUBLE_EQ(ParseDecimal("1482.5"), 1482.5);
    std::setlocale(LC_NUMERIC, before.c_str());
}

TEST(LimitText, CutsAtNulAndCharacterBoundaries) {
    EXPECT_EQ(LimitText("abcdef", 4), "abcd");
    EXPECT_EQ(LimitText("abc", 10), "abc");
    EXPECT_EQ(LimitText(std::string("ab\0cd", 5), 10), "ab");
    EXPECT_EQ(LimitText("ab\xC3\xA9", 3), "ab") << "two-byte character not split";
    EXPECT_EQ(LimitText("ab\xE2\x82\xAC", 4), "ab") << "three-byte character not split";
    EXPECT_EQ(LimitText("ab\xE2\x82\xAC", 5), "ab\xE2\x82\xAC");
    EXPECT_EQ(LimitText("\x80\x80\x80\x80\x80\x80", 4), "\x80\x80\x80\x80") << "not UTF-8: plain cut";
    EXPECT_EQ(LimitText("", 0), "");
}

}  // namespace
}  // namespace tidemar
