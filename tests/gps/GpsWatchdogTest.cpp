// The once-a-second watchdog and what the position box shows: the position while it is
// fresh, "GPS Lat / Lng Not Available" after a silence, the blinking star, and when the
// box is there at all.
#include <gtest/gtest.h>

#include <climits>

#include "GpsTestSupport.h"
#include "gps/GpsInput.h"
#include "gps/GpsPositionBox.h"

namespace tidemar {
namespace {

const std::string Gga = "$GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,*47\r\n";

TEST(GpsWatchdog, TenSilentSecondsClearTheTextAndTheNextSentenceBringsItBack) {
    SonarState state;
    state.UseGPS = 1;
    gpstest::BoxTarget target;
    ASSERT_EQ(HandleGpsLine(state, Gga, target), GpsLineUse::Shown);
    for (int second = 1; second <= 9; ++second) {
        GpsSecondTick(state, target);
        EXPECT_EQ(state.GpsSilenceCount, second);
    }
    EXPECT_EQ(state.GpsPositionText, " 48.07.038 N011.31.000 E") << "kept for nine seconds";
    EXPECT_EQ(target.Boxes, std::vector<bool>{true});
    GpsSecondTick(state, target);
    EXPECT_EQ(state.GpsSilenceCount, 10);
    EXPECT_EQ(target.Boxes, (std::vector<bool>{true, false})) << "the box says not available";
    EXPECT_EQ(state.GpsPositionText, std::string(24, '\0')) << "recorded pings carry no stale position";
    for (int i = 0; i < 5; ++i) GpsSecondTick(state, target);
    EXPECT_EQ(target.Boxes.size(), 2u) << "only the tenth second draws";
    EXPECT_EQ(state.GpsSilenceCount, 15);

    EXPECT_EQ(HandleGpsLine(state, Gga, target), GpsLineUse::Shown);
    EXPECT_EQ(state.GpsSilenceCount, 0);
    EXPECT_EQ(state.GpsPositionText, " 48.07.038 N011.31.000 E");
}

TEST(GpsWatchdog, IdleWithoutGpsAndSafeFromOverflow) {
    SonarState state;
    gpstest::BoxTarget target;
    state.UseGPS = 0;
    state.GpsSilenceCount = 9;
    GpsSecondTick(state, target);
    EXPECT_EQ(state.GpsSilenceCount, 9);
    EXPECT_TRUE(target.Boxes.empty());
    state.UseGPS = 1;
    state.GpsSilenceCount = INT_MAX;
    GpsSecondTick(state, target);
    EXPECT_EQ(state.GpsSilenceCount, INT_MAX);
}

TEST(GpsPositionBox, WhenTheBoxIsThere) {
    SonarState state;
    bool blink = false;
    state.RunMode = DataSource::Head;
    state.UseGPS = 0;
    state.FileHasGps = 1;
    EXPECT_FALSE(DecideGpsBox(state, true, blink).Shown) << "live without GPS: wiped";
    state.UseGPS = 1;
    EXPECT_TRUE(DecideGpsBox(state, true, blink).Shown);
    state.RunMode = DataSource::File;
    EXPECT_TRUE(DecideGpsBox(state, true, blink).Shown) << "playback of a file with positions";
    state.FileHasGps = 0;
    const GpsBox hidden = DecideGpsBox(state, true, blink);
    EXPECT_FALSE(hidden.Shown) << "playback of a file without: wiped, whatever UseGPS says";
    EXPECT_FALSE(hidden.Star);
    EXPECT_TRUE(hidden.LatitudeText.empty());
}

TEST(GpsPositionBox, TextNotAvailableAndBlink) {
    SonarState state;
    state.UseGPS = 1;
    state.GpsPositionText = " 48.07.038 N011.31.000 E";
    bool blink = false;

    state.GpsSilenceCount = 5;
    GpsBox box = DecideGpsBox(state, false, blink);
    EXPECT_TRUE(box.NotAvailable);
    EXPECT_FALSE(blink) << "no toggle without a position";
    EXPECT_STREQ(GpsNotAvailableText, "GPS Lat / Lng Not Available");

    box = DecideGpsBox(state, true, blink);
    EXPECT_FALSE(box.NotAvailable) << "fresh wins over the silence count";
    EXPECT_EQ(box.LatitudeText, " 48.07.038 N,");
    EXPECT_EQ(box.LongitudeText, "011.31.000 E");
    EXPECT_TRUE(box.Star);
    box = DecideGpsBox(state, true, blink);
    EXPECT_FALSE(box.Star) << "the star blinks";
    state.GpsSilenceCount = 4;
    box = DecideGpsBox(state, false, blink);
    EXPECT_FALSE(box.NotAvailable) << "four silent seconds still show the position";
    EXPECT_TRUE(box.Star);

    // Each half is drawn up to its first zero byte.
    state.GpsPositionText = std::string(" 48.07.03\0 N\0\0\0.31.000 E", 24);
    box = DecideGpsBox(state, true, blink);
    EXPECT_EQ(box.LatitudeText, " 48.07.03,");
    EXPECT_EQ(box.LongitudeText, "");
    state.GpsPositionText = " 48.07";  // a short text, as a damaged record could leave
    box = DecideGpsBox(state, true, blink);
    EXPECT_EQ(box.LatitudeText, " 48.07,");
    EXPECT_EQ(box.LongitudeText, "");
}

}  // namespace
}  // namespace tidemar
