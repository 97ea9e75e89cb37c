// The position scan of GLL and GGA sentences and the 24-character text built from it:
// where every digit lands, what is left as it was, and what is no position at all.
#include <gtest/gtest.h>

#include "gps/GpsPositionText.h"
#include "gps/NmeaSentence.h"

namespace tidemar {
namespace {

// A text whose every character tells its index, so that a test sees which were written.
const std::string Marked = "abcdefghijklmnopqrstuvwx";

std::string Built(const std::string& sentence, int type, std::string text = Marked) {
    const std::optional<NmeaPosition> p = ScanNmeaPosition(sentence + "\r\n", type);
    if (!p) return "no position";
    BuildGpsPositionText(*p, text);
    return text;
}

std::string Z(const char* text, size_t size) { return std::string(text, size); }

TEST(PositionText, TheTwoWorkedExamples) {
    EXPECT_EQ(Built("$GPGLL,4916.4512,N,12311.1234,W,225444,A", GpsTypeGLL), " 49.16.451 N123.11.123 W");
    EXPECT_EQ(Built("$GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,*47", GpsTypeGGA),
              " 48.07.038 N011.31.000 E");
    std::string cleared(24, '\0');
    EXPECT_EQ(Built("$GPGLL,4916.4512,N,12311.1234,W,225444,A", GpsTypeGLL, cleared), " 49.16.451 N123.11.123 W")
        << "a full sentence leaves no zero byte";
}

TEST(PositionText, WholeDigitsArePlacedFromTheRight) {
    struct Case {
        const char* legend;
        const char* latitude;
        const char* longitude;
        const char* text;
    } cases[] = {
        {"one digit each: 5 / 17", "7.123", "8.123", " bc.e7.123 Nmno.q8.123 E"},
        {"two digits each: 4,5 / 16,17", "47.123", "48.123", " bc.47.123 Nmno.48.123 E"},
        {"three: 2,4,5 / 14,16,17", "347.123", "348.123", " b3.47.123 Nmn3.48.123 E"},
        {"four: 1,2,4,5 / 13,14,16,17", "2347.123", "2348.123", " 23.47.123 Nm23.48.123 E"},
        {"five: latitude untouched, longitude 12..17", "12347.123", "12348.123", " bc.ef.123 N123.48.123 E"},
        {"six: neither written", "123456.123", "123456.123", " bc.ef.123 Nmno.qr.123 E"},
        {"no digits: nothing written", "x.123", "y.123", " bc.ef.123 Nmno.qr.123 E"},
    };
    for (const Case& c : cases) {
        const std::string sentence = std::string("$GPGLL,") + c.latitude + ",N," + c.longitude + ",E,1,A";
        EXPECT_EQ(Built(sentence, GpsTypeGLL), c.text) << c.legend;
    }
}

TEST(PositionText, FractionsWriteTwoPlacesAndAThirdOnlyWhenThereIsOne) {
    // Two digits: 9 and 21 keep what they had.
    EXPECT_EQ(Built("$GPGLL,4916.45,N,12311.12,W,1,A", GpsTypeGLL), " 49.16.45j N123.11.12v W");
    // One digit: a zero byte at 8 and 20.
    EXPECT_EQ(Built("$GPGLL,4916.4,N,12311.1,W,1,A", GpsTypeGLL), Z(" 49.16.4\0j N123.11.1\0v W", 24));
    // None: zero bytes at 7, 8 and 19, 20.
    EXPECT_EQ(Built("$GPGLL,4916.,N,12311.,W,1,A", GpsTypeGLL), Z(" 49.16.\0\0j N123.11.\0\0v W", 24));
    // More than three: only three are kept.
    EXPECT_EQ(Built("$GPGLL,4916.45129,N,12311.12349,W,1,A", GpsTypeGLL), " 49.16.451 N123.11.123 W");
    // Non-digits inside a field are skipped, the digits close up.
    EXPECT_EQ(Built("$GPGLL,4x916.4-51,N,12311.1 2 3,W,1,A", GpsTypeGLL), " 49.16.451 N123.11.123 W");
}

TEST(PositionText, HemispheresAreTakenAsTheyStand) {
    const auto p = ScanNmeaPosition("$GPGLL,4916.4512,X,12311.1234,Q,1,A\r\n", GpsTypeGLL);
    ASSERT_TRUE(p);
    EXPECT_EQ(p->LatitudeHemisphere, 'X');
    EXPECT_EQ(p->LongitudeHemisphere, 'Q');
    EXPECT_FALSE(HemispheresValid(*p));
    std::string text = Marked;
    BuildGpsPositionText(*p, text);
    EXPECT_EQ(text, " 49.16.451 X123.11.123 Q");

    for (const char* valid : {"N,1.1,E", "S,1.1,W", "N,1.1,W", "S,1.1,E"}) {
        const auto q = ScanNmeaPosition(std::string("$GPGLL,1.1,") + valid + ",1\r\n", GpsTypeGLL);
        ASSERT_TRUE(q) << valid;
        EXPECT_TRUE(HemispheresValid(*q)) << valid;
    }
    const auto lower = ScanNmeaPosition("$GPGLL,1.1,n,1.1,e,1\r\n", GpsTypeGLL);
    ASSERT_TRUE(lower);
    EXPECT_FALSE(HemispheresValid(*lower)) << "lower case is not a hemisphere";
}

TEST(PositionText, TheScanCountsCharactersNotFields) {
    // A GGA time longer than 12 characters: the scan runs on into the latitude; its
    // "whole part" is then "00000," (5 digits, not written) and its fraction "4807038".
    EXPECT_EQ(Built("$GPGGA,123519.0000000000,4807.038,N,01131.000,E,1", GpsTypeGGA), " bc.ef.480 N011.31.000 E");
    // A whole part with no '.' within 6 characters ends there; the fraction is the rest
    // of the field.
    EXPECT_EQ(Built("$GPGLL,4916451,N,12311.1234,W,1", GpsTypeGLL), Z(" bc.ef.1\0j N123.11.123 W", 24));
    // A fraction that runs 11 characters without a comma: the hemisphere is whatever
    // comes next.
    const auto p = ScanNmeaPosition("$GPGLL,4916.123456789012,N,12311.1234,W,1\r\n", GpsTypeGLL);
    ASSERT_TRUE(p);
    EXPECT_EQ(p->LatitudeFraction, "12345678901");
    EXPECT_EQ(p->LatitudeHemisphere, '2');
}

TEST(PositionText, SentencesWithoutAPositionGiveNone) {
    struct Case {
        const char* legend;
        const char* line;
        int type;
    } cases[] = {
        {"GGA of a receiver without a fix", "$GPGGA,,,,,,0,,,,M,,M,,*66", GpsTypeGGA},
        {"GGA with time but no fix", "$GPGGA,191418.00,,,,,0,00,99.99,,,,,,*62", GpsTypeGGA},
        {"GLL without a fix", "$GPGLL,,,,,191418.00,V,N*4E", GpsTypeGLL},
        {"latitude but no longitude", "$GPGLL,4916.45,N,,,1,A", GpsTypeGLL},
        {"longitude but no latitude", "$GPGLL,,N,12311.12,W,1,A", GpsTypeGLL},
        {"cut before the longitude hemisphere", "$GPGLL,4916.45,N,12311.12", GpsTypeGLL},
        {"cut inside the latitude", "$GPGLL,4916", GpsTypeGLL},
        {"address field only", "$GPGGA", GpsTypeGGA},
    };
    for (const Case& c : cases) {
        EXPECT_FALSE(ScanNmeaPosition(std::string(c.line) + "\r\n", c.type)) << c.legend;
        EXPECT_FALSE(ScanNmeaPosition(c.line, c.type)) << c.legend << " (no line end)";
    }
    // The scan stops at the line end: what follows a CR is never read.
    EXPECT_FALSE(ScanNmeaPosition(std::string("$GPGLL,4916.45,N,12311.12\r\n,W,1"), GpsTypeGLL));
}

TEST(PositionText, OnlyTheChosenSentenceTypeWithCrLfIsTaken) {
    struct Case {
        const char* legend;
        std::string line;
        int type;
        bool chosen;
    } cases[] = {
        {"GGA from GP", "$GPGGA,1\r\n", GpsTypeGGA, true},
        {"GGA from any talker", "$GNGGA,1\r\n", GpsTypeGGA, true},
        {"talker of odd characters", "$x*GGA,1\r\n", GpsTypeGGA, true},
        {"GLL when GGA is chosen", "$GPGLL,1\r\n", GpsTypeGGA, false},
        {"GGA when GLL is chosen", "$GPGGA,1\r\n", GpsTypeGLL, false},
        {"GLL chosen", "$GPGLL,1\r\n", GpsTypeGLL, true},
        {"RMC", "$GPRMC,1\r\n", GpsTypeGGA, false},
        {"lower-case type", "$GPgga,1\r\n", GpsTypeGGA, false},
        {"LF without CR", "$GPGGA,1\n", GpsTypeGGA, false},
        {"CR without LF", "$GPGGA,1\r", GpsTypeGGA, false},
        {"LF CR", "$GPGGA,1\n\r", GpsTypeGGA, false},
        {"no '$'", "GPGGA,12\r\n", GpsTypeGGA, false},
        {"junk before '$'", "x$GPGGA,1\r\n", GpsTypeGGA, false},
        {"'!' start", "!GPGGA,1\r\n", GpsTypeGGA, false},
        {"too short for a type", "$GPGG\r\n", GpsTypeGGA, false},
        {"empty", "", GpsTypeGGA, false},
        {"a GPSType that is neither", "$GPGGA,1\r\n", 2, false},
    };
    for (const Case& c : cases) EXPECT_EQ(IsChosenGpsSentence(c.line, c.type), c.chosen) << c.legend;
}

TEST(PositionText, ClearingAndShortTexts) {
    std::string text = "something";
    ClearGpsPositionText(text);
    EXPECT_EQ(text, std::string(24, '\0'));
    std::string shortText = " 49.16";  // as playback leaves a text cut at a zero byte
    const auto p = ScanNmeaPosition("$GPGLL,16.45,N,11.12,W,1\r\n", GpsTypeGLL);
    ASSERT_TRUE(p);
    BuildGpsPositionText(*p, shortText);
    EXPECT_EQ(shortText, Z(" 49.16.45\0 N\0\0\0.11.12\0 W", 24)) << "grown to 24 with zero bytes, old content kept";
}

}  // namespace
}  // namespace tidemar
