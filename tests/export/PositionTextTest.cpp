// Recorded position texts read back as decimal degrees, and degrees written for export.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "export/GeoPosition.h"

namespace tidemar {
namespace {

using namespace std::string_literals;

TEST(PositionText, ReadsDegreesOrRefuses) {
    struct Case {
        const char* legend;
        std::string text;
        std::optional<GeoPosition> expected;
    };
    const Case cases[] = {
        {"north east", " 48.07.038 N011.31.000 E", GeoPosition{48 + 7.038 / 60, 11 + 31.0 / 60}},
        {"south west", " 49.16.451 S123.11.123 W", GeoPosition{-(49 + 16.451 / 60), -(123 + 11.123 / 60)}},
        {"short fraction: zero bytes read as 0", " 12.34.5\0\0 N001.02.3\0\0 E"s,
         GeoPosition{12 + 34.5 / 60, 1 + 2.3 / 60}},
        {"three-digit latitude leaves its first place empty",
         " \0"
         "8.07.038 N000.00.000 W"s,
         GeoPosition{8 + 7.038 / 60, 0.0}},
        {"the poles and the date line", " 90.00.000 S180.00.000 E", GeoPosition{-90.0, 180.0}},
        {"hemisphere not N/S", " 48.07.038 X011.31.000 E", std::nullopt},
        {"hemisphere not E/W", " 48.07.038 N011.31.000 N", std::nullopt},
        {"minutes of 60", " 48.60.000 N011.31.000 E", std::nullopt},
        {"latitude past the pole", " 90.00.001 N011.31.000 E", std::nullopt},
        {"longitude past the date line", " 48.00.000 N180.00.500 E", std::nullopt},
        {"a letter among the digits", " 4A.07.038 N011.31.000 E", std::nullopt},
        {"a dot missing", " 48.07,038 N011.31.000 E", std::nullopt},
        {"never filled in", std::string(24, '\0'), std::nullopt},
        {"digits all empty", " \0\0.\0\0.\0\0\0 N\0\0\0.\0\0.\0\0\0 E"s, std::nullopt},
        {"one character short", " 48.07.038 N011.31.000 ", std::nullopt},
        {"empty", "", std::nullopt},
    };
    for (const Case& c : cases) {
        const auto got = ParsePositionText(c.text);
        ASSERT_EQ(got.has_value(), c.expected.has_value()) << c.legend;
        if (!got) continue;
        EXPECT_NEAR(got->Latitude, c.expected->Latitude, 1e-12) << c.legend;
        EXPECT_NEAR(got->Longitude, c.expected->Longitude, 1e-12) << c.legend;
    }
}

TEST(PositionText, DegreesHaveSixDecimalsAndADot) {
    struct Case {
        const char* legend;
        double degrees;
        const char* text;
    };
    const Case cases[] = {
        {"whole", 48.0, "48.000000"},           {"rounded up at the seventh decimal", 48.1172995, "48.117300"},
        {"west", -123.18538333, "-123.185383"}, {"a tiny negative is no minus zero", -0.0000001, "0.000000"},
        {"the date line", 180.0, "180.000000"},
    };
    for (const Case& c : cases) EXPECT_EQ(FormatDegrees(c.degrees), c.text) << c.legend;
}

}  // namespace
}  // namespace tidemar
