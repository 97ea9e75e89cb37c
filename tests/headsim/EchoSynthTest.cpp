// Echoes from a scene: the profile range is the first strong echo, and the picture
// follows range, gain and absorption.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numeric>
#include <vector>

#include "EchoSynth.h"

namespace tidemar::headsim {
namespace {

// A wall straight across the view at y metres, nothing else.
Scene WallAhead(double y, double strengthDb = 18.0) {
    Scene s;
    s.hasFloor = false;
    s.walls = {{-100.0, y, 100.0, y, strengthDb}};
    return s;
}

Scene FloorOnly() {
    Scene s;
    return s;
}

PingSettings Ahead(int range) {
    PingSettings p;
    p.rangeMeters = range;
    return p;
}

double Mean(const std::vector<uint8_t>& v, std::size_t from, std::size_t to) {
    double sum = 0;
    for (std::size_t i = from; i < to; ++i) sum += v[i];
    return sum / static_cast<double>(to - from);
}

// Mean sample level over many pings, from a to b (fractions of the range).
double MeanLevel(EchoSynthesizer& synth, PingSettings p, double a, double b) {
    std::vector<uint8_t> samples(p.points);
    double sum = 0;
    const int pings = 40;
    for (int k = 0; k < pings; ++k) {
        p.bearing = k * 0.05;
        synth.Ping(p, samples.data());
        sum += Mean(samples, static_cast<std::size_t>(a * p.points), static_cast<std::size_t>(b * p.points));
    }
    return sum / pings;
}

TEST(EchoSynth, ProfileRangeIsTheWall) {
    EchoSynthesizer synth(WallAhead(12.0), 1);
    std::vector<uint8_t> samples(500);
    const double profile = synth.Ping(Ahead(20), samples.data());
    EXPECT_NEAR(profile, 12.0, 0.1);
    // The picture shows it: bright at the wall, noise well before it.
    EXPECT_GE(*std::max_element(samples.begin() + 290, samples.begin() + 310), 80);
    EXPECT_LT(Mean(samples, 0, 250), 30.0);
    // Off to the side the wall is further away.
    PingSettings side = Ahead(20);
    side.bearing = std::acos(12.0 / 15.0);
    EXPECT_NEAR(synth.Ping(side, nullptr), 15.0, 0.1);
}

TEST(EchoSynth, ProfileRangeIsTheFirstStrongEcho) {
    Scene scene = WallAhead(12.0);
    scene.targets = {{0.0, 7.0, 0.3, 20.0}};
    EchoSynthesizer synth(scene, 1);
    EXPECT_NEAR(synth.Ping(Ahead(20), nullptr), 6.7, 0.15) << "the target's near face";

    PingSettings p = Ahead(20);
    p.profileMinimumDecimetres = 90;  // nothing nearer than 9 m counts
    EXPECT_NEAR(synth.Ping(p, nullptr), 12.0, 0.1);
    p.profileMinimumDecimetres = 150;
    EXPECT_EQ(synth.Ping(p, nullptr), 0.0) << "nothing strong beyond 15 m";

    // A weak target is no strong echo; the floor never is.
    scene.targets = {{0.0, 7.0, 0.3, -20.0}};
    scene.hasFloor = true;
    EchoSynthesizer weak(scene, 1);
    EXPECT_NEAR(weak.Ping(Ahead(20), nullptr), 12.0, 0.1);
}

TEST(EchoSynth, WallBeyondTheRangeGivesNoProfile) {
    EchoSynthesizer synth(WallAhead(30.0), 1);
    EXPECT_EQ(synth.Ping(Ahead(20), nullptr), 0.0);
    EXPECT_NEAR(synth.Ping(Ahead(40), nullptr), 30.0, 0.15);
}

TEST(EchoSynth, GainDecidesWhetherAFaintWallIsStrong) {
    EchoSynthesizer synth(WallAhead(150.0, 10.0), 1);
    PingSettings p = Ahead(200);
    p.gain = 0;
    EXPECT_EQ(synth.Ping(p, nullptr), 0.0);
    p.gain = 30;
    EXPECT_NEAR(synth.Ping(p, nullptr), 150.0, 0.5);
}

TEST(EchoSynth, WallsHideWhatIsBehindThem) {
    Scene scene = WallAhead(12.0);
    scene.targets = {{0.0, 16.0, 0.3, 30.0}};
    EchoSynthesizer synth(scene, 1);
    PingSettings p = Ahead(20);
    p.profileMinimumDecimetres = 130;
    EXPECT_EQ(synth.Ping(p, nullptr), 0.0);
}

TEST(EchoSynth, GainRaisesTheWholePicture) {
    EchoSynthesizer synth(FloorOnly(), 3);
    PingSettings p = Ahead(50);
    p.gain = 6;
    const double low = MeanLevel(synth, p, 0.2, 0.6);
    p.gain = 16;
    const double high = MeanLevel(synth, p, 0.2, 0.6);
    // 10 dB at 2 counts a dB, less what the clamping at 255 and 0 takes off.
    EXPECT_NEAR(high - low, 20.0, 3.0);
}

TEST(EchoSynth, FloorFadesWithRangeAndAbsorptionSettingCompensates) {
    EchoSynthesizer synth(FloorOnly(), 4);
    PingSettings p = Ahead(100);
    p.gain = 20;
    p.absorption = static_cast<int>(std::lround(EchoSynthesizer::WaterAbsorption(675) * 100));
    const double nearLevel = MeanLevel(synth, p, 0.05, 0.15);
    const double farLevel = MeanLevel(synth, p, 0.7, 0.8);
    EXPECT_GT(nearLevel, farLevel + 10.0) << "spreading: 10 log r left after the gain law";

    p.absorption = 1;  // far too little compensation: the far floor sinks
    const double starved = MeanLevel(synth, p, 0.7, 0.8);
    p.absorption = 60;  // too much: the far floor comes up
    const double boosted = MeanLevel(synth, p, 0.7, 0.8);
    EXPECT_LT(starved, farLevel - 10.0);
    EXPECT_GT(boosted, farLevel + 20.0);
}

TEST(EchoSynth, NoiseIsRepeatableBySeedAndLooksLikeSpeckle) {
    EchoSynthesizer a(FloorOnly(), 7), b(FloorOnly(), 7), c(FloorOnly(), 8);
    std::vector<uint8_t> sa(500), sb(500), sc(500);
    a.Ping(Ahead(20), sa.data());
    b.Ping(Ahead(20), sb.data());
    c.Ping(Ahead(20), sc.data());
    EXPECT_EQ(sa, sb);
    EXPECT_NE(sa, sc);
    // Neighbouring samples of the floor differ: speckle, not a smooth ramp.
    int changes = 0;
    for (std::size_t i = 101; i < 500; ++i) changes += std::abs(sa[i] - sa[i - 1]) > 3;
    EXPECT_GT(changes, 200);
}

TEST(EchoSynth, EveryRangeAndPointCountFillsTheLine) {
    EchoSynthesizer synth(HarbourScene(), 9);
    for (int range : {1, 2, 3, 4, 5, 10, 20, 30, 40, 50, 60, 80, 100, 150, 200, 0, 255}) {
        for (int points : {10, 250, 500, 1000}) {
            std::vector<uint8_t> samples(points + 1, 0xAA);
            PingSettings p = Ahead(range);
            p.points = points;
            const double profile = synth.Ping(p, samples.data());
            EXPECT_EQ(samples[points], 0xAA) << "nothing written past the line";
            EXPECT_GE(profile, 0.0);
            EXPECT_LE(profile, std::max(range, 1) + 0.01);
        }
    }
}

}  // namespace
}  // namespace tidemar::headsim
