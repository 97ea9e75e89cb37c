#include "EchoSynth.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace tidemar::headsim {
namespace {

constexpr double Log2Of10Over10 = 0.33219280948873623;  // dB -> log2 of power
constexpr double DbPerLog2 = 3.0102999566398120;        // log2 of power -> dB

double PowerOf(double db) { return std::exp2(db * Log2Of10Over10); }

}  // namespace

EchoSynthesizer::EchoSynthesizer(Scene scene, uint64_t seed) : scene_(std::move(scene)), random_(seed) {
    // Quantiles of the exponential distribution: picking one at random gives the power
    // fluctuation of fully developed speckle.
    for (std::size_t k = 0; k < speckle_.size(); ++k) {
        const double u = (static_cast<double>(k) + 0.5) / static_cast<double>(speckle_.size());
        speckle_[k] = static_cast<float>(-std::log(1.0 - u));
    }
    view_.hits.reserve(scene_.targets.size());
}

double EchoSynthesizer::WaterAbsorption(int frequencyKHz) { return 0.0003 * std::clamp(frequencyKHz, 100, 2000); }

void EchoSynthesizer::PrepareRange(int rangeMeters, int points) {
    if (rangeMeters == preparedRange_ && points == preparedPoints_) return;
    preparedRange_ = rangeMeters;
    preparedPoints_ = points;
    sampleRange_.resize(points);
    spread10_.resize(points);
    spread20_.resize(points);
    reflector_.resize(points);
    const double spacing = static_cast<double>(rangeMeters) / points;
    for (int i = 0; i < points; ++i) {
        const double r = (i + 0.5) * spacing;
        sampleRange_[i] = static_cast<float>(r);
        spread10_[i] = static_cast<float>(-10.0 * std::log10(r));
        spread20_[i] = static_cast<float>(-20.0 * std::log10(r));
    }
}

double EchoSynthesizer::Ping(const PingSettings& s, uint8_t* samples) {
    const int range = std::clamp(s.rangeMeters, 1, 255);
    const int points = std::clamp(s.points, 1, 1000);
    PrepareRange(range, points);

    const double spacing = static_cast<double>(range) / points;
    const int frequency = std::clamp(s.frequencyKHz, 100, 2000);
    const double beamWidth = std::clamp(1.8 * 675.0 / frequency, 0.8, 6.0);
    const double compensation = 2.0 * (s.absorption * 0.01 - WaterAbsorption(frequency));
    const double gain = std::clamp(s.gain, 0, 40);
    // An echo starts at the face of what returns it, rising within a fraction of a
    // sample, and lasts the pulse length (in range, c t / 2), a sample or the object's
    // depth, whichever is longest.
    const double pulseExtent = SoundSpeed * s.pulseLength * 10e-6 / 2.0;
    const double riseWidth = 0.3 * spacing;
    const double echoWidth = std::max(pulseExtent, 0.7 * spacing);
    const auto indexAt = [&](double r) {
        return static_cast<int>(std::clamp(std::floor(r / spacing), 0.0, double(points)));
    };

    LookAlong(scene_, s.bearing, beamWidth, range, view_);
    std::fill(reflector_.begin(), reflector_.end(), 0.0f);

    // Wall: a sharp front, the pulse, then a tail from its rough face and the rubble at
    // its foot.
    if (view_.wallRange < range + 3.0 * riseWidth) {
        const double w = view_.wallRange;
        for (int i = indexAt(w - 3.0 * riseWidth); i < indexAt(w + 3.0 + echoWidth); ++i) {
            const double d = sampleRange_[i] - w;
            const double shape = d < 0 ? -4.34 * (d / riseWidth) * (d / riseWidth)
                                       : std::max(-4.34 * (d / echoWidth) * (d / echoWidth), -3.0 - 14.5 * d);
            reflector_[i] +=
                static_cast<float>(PowerOf(view_.wallDb + spread10_[i] + compensation * sampleRange_[i] + shape));
        }
    }
    for (const BeamHit& hit : view_.hits) {
        const double width = std::max(echoWidth, hit.width);
        for (int i = indexAt(hit.range - 3.0 * riseWidth); i < indexAt(hit.range + 3.0 * width); ++i) {
            const double d = sampleRange_[i] - hit.range;
            const double shape = d < 0 ? d / riseWidth : d / width;
            reflector_[i] += static_cast<float>(
                PowerOf(hit.levelDb + spread20_[i] + compensation * sampleRange_[i] - 4.34 * shape * shape));
        }
    }

    // A count of ProfileThreshold needs this much clean power.
    const double strongPower = PowerOf(ProfileThreshold / CountsPerDb - gain - DisplayOffsetDb);
    const double minimumRange = s.profileMinimumDecimetres * 0.1;
    double profile = 0.0;
    for (int i = 0; i < points; ++i) {
        if (sampleRange_[i] >= minimumRange && reflector_[i] >= strongPower) {
            profile = sampleRange_[i];
            break;
        }
    }
    if (samples == nullptr) return profile;

    const double ux = std::sin(s.bearing), uy = std::cos(s.bearing);
    const double noisePower = PowerOf(NoiseDb);
    const double floorEnd = std::min<double>(view_.wallRange, range + 1.0);
    for (int i = 0; i < points; ++i) {
        const double r = sampleRange_[i];
        const uint64_t bits = random_.Next();
        double power = noisePower * speckle_[bits & 0xFFF];
        // Hard echoes fluctuate less than the floor: part steady, part speckle.
        power += reflector_[i] * (0.4 + 0.6 * speckle_[(bits >> 24) & 0xFFF]);
        if (scene_.hasFloor && r >= scene_.floorOnset && r < floorEnd) {
            double db = FloorBackscatterDb(scene_, r * ux, r * uy) + spread10_[i] + compensation * r +
                        6.0 * std::exp((scene_.floorOnset - r) / 1.5);
            for (const BeamHit& hit : view_.hits) {
                if (r >= hit.shadowStart && r < hit.shadowEnd) {
                    db -= 20.0;
                    break;
                }
            }
            power += PowerOf(db) * speckle_[(bits >> 12) & 0xFFF];
        }
        const double counts = (DbPerLog2 * std::log2(power) + gain + DisplayOffsetDb) * CountsPerDb;
        samples[i] = static_cast<uint8_t>(std::clamp(counts + 0.5, 0.0, 255.0));
    }
    return profile;
}

}  // namespace tidemar::headsim
