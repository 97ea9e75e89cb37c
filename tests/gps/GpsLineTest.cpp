// Bytes from the port to the position text: line assembly with its purges, then the
// main thread's filter and parse, over the junk a serial line delivers.
#include <gtest/gtest.h>

#include "GpsTestSupport.h"
#include "gps/GpsInput.h"
#include "gps/GpsLineAssembler.h"

namespace tidemar {
namespace {

const std::string Gga = "$GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,*47";
const std::string GgaText = " 48.07.038 N011.31.000 E";
// 82 characters before CR LF, as an MT3339 sends it.
const std::string LongGga = "$GPGGA,202640.000,4404.1306,N,12118.8515,W,2,10,0.98,1127.7,M,-19.6,M,0000,0000*6C";
const std::string LongGgaText = " 44.04.130 N121.18.851 W";
const std::string Gll = "$GPGLL,4916.4512,N,12311.1234,W,225444,A";
const std::string GllText = " 49.16.451 N123.11.123 W";
const std::string Previous = " 11.11.111 N022.22.222 E";

std::vector<std::string> Take(GpsLineAssembler& assembler, const std::string& chunk, bool* purge = nullptr) {
    GpsChunkResult r = assembler.Take(reinterpret_cast<const uint8_t*>(chunk.data()), chunk.size());
    if (purge) *purge = r.Purge;
    return r.Lines;
}

TEST(GpsLineAssembly, LinesEndAtLfAndEveryLineAsksForAPurge) {
    GpsLineAssembler a;
    bool purge = true;
    EXPECT_TRUE(Take(a, "$GPGGA,12", &purge).empty());
    EXPECT_FALSE(purge) << "a partial line purges nothing";
    EXPECT_EQ(Take(a, "34\r\nnext", &purge), std::vector<std::string>{"$GPGGA,1234\r\n"});
    EXPECT_TRUE(purge);
    EXPECT_EQ(a.PendingBytes(), 4u) << "the rest of the chunk is still used";
    EXPECT_EQ(Take(a, std::string("\0\n\n", 3), &purge), (std::vector<std::string>{std::string("next\0\n", 6), "\n"}));
    EXPECT_TRUE(purge) << "junk lines purge too";
}

TEST(GpsLineAssembly, EightyBytesWithoutALineEndAreThrownAway) {
    GpsLineAssembler a;
    bool purge = false;
    Take(a, std::string(79, 'x'), &purge);
    EXPECT_FALSE(purge);
    EXPECT_EQ(a.PendingBytes(), 79u) << "79 are kept";
    Take(a, "y", &purge);
    EXPECT_TRUE(purge) << "the 80th byte ends it";
    EXPECT_EQ(a.PendingBytes(), 0u);

    // Checked after each chunk only: a line whose LF comes in the same chunk is whole.
    const std::string longLine = std::string(100, 'z') + "\n";
    EXPECT_EQ(Take(a, longLine, &purge), std::vector<std::string>{longLine});
    // ... and a partial line of 60 grows to 91 with the next chunk and is still taken.
    Take(a, std::string(60, 'a'), &purge);
    EXPECT_EQ(Take(a, std::string(30, 'b') + "\n", &purge).at(0).size(), 91u);
    // A chunk that ends 80 or more bytes after the last LF drops the tail.
    EXPECT_EQ(Take(a, "ok\n" + std::string(85, 'c'), &purge), std::vector<std::string>{"ok\n"});
    EXPECT_EQ(a.PendingBytes(), 0u);
    a.Reset();
}

// One stream of chunks through assembly and the main thread's handling.
struct StreamCase {
    const char* legend;
    std::vector<std::string> chunks;
    int gpsType;
    std::string text;  // GpsPositionText afterwards
    int silence;       // GpsSilenceCount afterwards (5 before)
    std::vector<bool> boxes;
};

TEST(GpsLineHandling, JunkTerminatorsTalkersAndHemispheres) {
    const std::string crlf = "\r\n";
    const StreamCase cases[] = {
        {"one sentence", {Gga + crlf}, GpsTypeGGA, GgaText, 0, {true}},
        {"split over three reads",
         {Gga.substr(0, 10), Gga.substr(10, 30), Gga.substr(40) + crlf},
         GpsTypeGGA,
         GgaText,
         0,
         {true}},
        {"CR and LF in different reads", {Gga + "\r", "\n"}, GpsTypeGGA, GgaText, 0, {true}},
        {"leading junk on a line of its own",
         {std::string("\xff\x00junk\r\n", 8) + Gga + crlf},
         GpsTypeGGA,
         GgaText,
         0,
         {true}},
        {"leading junk on the sentence's line", {"junk" + Gga + crlf}, GpsTypeGGA, Previous, 5, {}},
        {"the tail of a sentence cut off before", {"11.000,E,1*47\r\n" + Gga + crlf}, GpsTypeGGA, GgaText, 0, {true}},
        {"missing CR", {Gga + "\n"}, GpsTypeGGA, Previous, 5, {}},
        {"CR only: nothing ends", {Gga + "\r"}, GpsTypeGGA, Previous, 5, {}},
        {"80 bytes of noise, then a sentence", {std::string(85, '~'), Gga + crlf}, GpsTypeGGA, GgaText, 0, {true}},
        {"a long sentence in one read", {LongGga + crlf}, GpsTypeGGA, LongGgaText, 0, {true}},
        {"a long sentence, 79 bytes first",
         {LongGga.substr(0, 79), LongGga.substr(79) + crlf},
         GpsTypeGGA,
         LongGgaText,
         0,
         {true}},
        {"a long sentence, 80 bytes first: lost",
         {LongGga.substr(0, 80), LongGga.substr(80) + crlf},
         GpsTypeGGA,
         Previous,
         5,
         {}},
        {"bad latitude hemisphere",
         {"$GPGLL,4916.4512,X,12311.1234,W,1,A\r\n"},
         GpsTypeGLL,
         " 49.16.451 X123.11.123 W",
         0,
         {}},
        {"bad longitude hemisphere",
         {"$GPGLL,4916.4512,N,12311.1234,w,1,A\r\n"},
         GpsTypeGLL,
         " 49.16.451 N123.11.123 w",
         0,
         {}},
        {"GNSS talker", {"$GNGGA" + Gga.substr(6) + crlf}, GpsTypeGGA, GgaText, 0, {true}},
        {"GLONASS talker", {"$GLGGA" + Gga.substr(6) + crlf}, GpsTypeGGA, GgaText, 0, {true}},
        {"integrated instrument talker", {"$IIGLL" + Gll.substr(6) + crlf}, GpsTypeGLL, GllText, 0, {true}},
        {"GLL while GGA is chosen", {Gll + crlf}, GpsTypeGGA, Previous, 5, {}},
        {"GGA while GLL is chosen", {Gga + crlf}, GpsTypeGLL, Previous, 5, {}},
        {"RMC carries a position but is not chosen",
         {"$GPRMC,225446,A,4916.45,N,12311.12,W,000.5*7C\r\n"},
         GpsTypeGGA,
         Previous,
         5,
         {}},
        {"no fix: empty fields",
         {"$GPGGA,,,,,,0,,,,M,,M,,*66\r\n", "$GPGGA,191418.00,,,,,0,00,99.99,,,,,,*62\r\n"},
         GpsTypeGGA,
         Previous,
         5,
         {}},
        {"two sentences in one read: both taken",
         {Gll + crlf + "$GPGLL,3854.5087,N,07726.4523,W,1,V\r\n"},
         GpsTypeGLL,
         " 38.54.508 N077.26.452 W",
         0,
         {true, true}},
        {"zero bytes inside the sentence",
         {std::string("$GPGLL,4916.45\0"
                      "12,N,12311.1234,W\r\n",
                      34)},
         GpsTypeGLL,
         " 49.16.451 N123.11.123 W",
         0,
         {true}},
    };
    for (const StreamCase& c : cases) {
        SonarState state;
        state.UseGPS = 1;
        state.GPSType = c.gpsType;
        state.GpsPositionText = Previous;
        gpstest::BoxTarget target;
        GpsLineAssembler assembler;
        for (const std::string& chunk : c.chunks)
            for (const std::string& line : Take(assembler, chunk)) HandleGpsLine(state, line, target);
        EXPECT_EQ(state.GpsPositionText, c.text) << c.legend;
        EXPECT_EQ(state.GpsSilenceCount, c.silence) << c.legend;
        EXPECT_EQ(target.Boxes, c.boxes) << c.legend;
    }
}

TEST(GpsLineHandling, OnlyLiveModeWithoutHoldTakesPositions) {
    SonarState state;
    state.UseGPS = 1;
    gpstest::BoxTarget target;
    state.RunMode = DataSource::File;
    EXPECT_EQ(HandleGpsLine(state, Gga + "\r\n", target), GpsLineUse::Dropped) << "playback";
    state.RunMode = DataSource::Head;
    state.HoldActive = 1;
    EXPECT_EQ(HandleGpsLine(state, Gga + "\r\n", target), GpsLineUse::Dropped) << "hold";
    EXPECT_EQ(state.GpsPositionText, std::string(24, '\0'));
    EXPECT_EQ(state.GpsSilenceCount, 5);
    EXPECT_TRUE(target.Boxes.empty());
    state.HoldActive = 0;
    EXPECT_EQ(HandleGpsLine(state, Gga + "\r\n", target), GpsLineUse::Shown);
    EXPECT_EQ(HandleGpsLine(state, "$GPGGA,1,4807.038,S,01131.000,?,1\r\n", target), GpsLineUse::NotShown);
    EXPECT_EQ(target.Boxes, std::vector<bool>{true});
}

}  // namespace
}  // namespace tidemar
