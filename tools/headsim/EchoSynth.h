#pragma once
// Turns the scene into the echo samples of one ping, as the head's receiver would.
//
// Levels are in dB. The head's time-varied gain makes up for 20 log r spreading and for
// the absorption the block asks for; what is left is what the picture shows:
//   floor    backscatter - 10 log r            (area scattering falls as 30 log r)
//   targets  strength - 20 log r               (point targets fall as 40 log r)
//   walls    strength - 10 log r
//   all      + 2 r (asked absorption - water absorption), water absorption growing
//            with frequency: the right setting gives an even picture, a low one a
//            picture that fades with range, a high one a picture that brightens
// plus receiver noise, speckle (exponential power fluctuation) on floor and noise, and
// the gain. Sample = (level + gain + DisplayOffsetDb) x CountsPerDb, clamped to 0..255.
//
// The profile range is the first strong echo: the nearest sample at or beyond the
// block's profile minimum range where the echo of a wall or target alone, without noise,
// reaches ProfileThreshold counts. The diffuse floor never counts, so the profile traces
// the hard outlines of the scene. It depends on range, gain and absorption like the
// picture does.
#include <array>
#include <cstdint>
#include <vector>

#include "Random.h"
#include "Scene.h"

namespace tidemar::headsim {

inline constexpr double DisplayOffsetDb = 34.0;
inline constexpr double CountsPerDb = 2.0;
inline constexpr double NoiseDb = -34.0;
inline constexpr int ProfileThreshold = 64;
inline constexpr double SoundSpeed = 1500.0;

struct PingSettings {
    double bearing = 0.0;  // radians, 0 ahead, clockwise
    int rangeMeters = 50;
    int points = 500;
    int gain = 6;         // dB, 0..40
    int absorption = 20;  // 0.01 dB/m
    int frequencyKHz = 675;
    int pulseLength = 10;  // 10 us units
    int profileMinimumDecimetres = 0;
};

class EchoSynthesizer {
public:
    EchoSynthesizer(Scene scene, uint64_t seed);

    // Fills samples[0 .. points) with 0..255 when samples is not null, and returns the
    // profile range in metres (0 when there is no strong echo).
    double Ping(const PingSettings& settings, uint8_t* samples);

    // Water absorption at a frequency, dB/m.
    static double WaterAbsorption(int frequencyKHz);

private:
    void PrepareRange(int rangeMeters, int points);

    Scene scene_;
    Random random_;
    std::array<float, 4096> speckle_{};

    // Per range and point count: sample ranges and the spreading terms.
    int preparedRange_ = -1;
    int preparedPoints_ = -1;
    std::vector<float> sampleRange_;
    std::vector<float> spread10_;
    std::vector<float> spread20_;

    BeamView view_;
    std::vector<float> reflector_;  // clean wall and target power per sample
};

}  // namespace tidemar::headsim
