#include "Scene.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace tidemar::headsim {
namespace {

constexpr double Pi = 3.14159265358979323846;

// A fixed pseudo-random value in -1..1 for each lattice point.
double Lattice(int ix, int iy, uint32_t salt) {
    uint32_t h = static_cast<uint32_t>(ix) * 0x8DA6B343u ^ static_cast<uint32_t>(iy) * 0xD8163841u ^ salt * 0xCB1AB31Fu;
    h ^= h >> 13;
    h *= 0x5BD1E995u;
    h ^= h >> 15;
    return static_cast<double>(h & 0xFFFF) / 32767.5 - 1.0;
}

// Smooth value noise in -1..1 with features about one unit across.
double ValueNoise(double x, double y, uint32_t salt) {
    const double fx = std::floor(x), fy = std::floor(y);
    const int ix = static_cast<int>(fx), iy = static_cast<int>(fy);
    double tx = x - fx, ty = y - fy;
    tx = tx * tx * (3.0 - 2.0 * tx);
    ty = ty * ty * (3.0 - 2.0 * ty);
    const double a = Lattice(ix, iy, salt), b = Lattice(ix + 1, iy, salt);
    const double c = Lattice(ix, iy + 1, salt), d = Lattice(ix + 1, iy + 1, salt);
    return (a + (b - a) * tx) + ((c + (d - c) * tx) - (a + (b - a) * tx)) * ty;
}

double WrapDegrees(double degrees) {
    degrees = std::fmod(degrees + 180.0, 360.0);
    if (degrees < 0) degrees += 360.0;
    return degrees - 180.0;
}

}  // namespace

Scene HarbourScene() {
    Scene scene;
    scene.walls = {
        {-70.0, 32.0, 28.0, 40.0, 18.0},       // quay ahead
        {28.0, 40.0, 36.0, -12.0, 18.0},       // quay turning back on the starboard side
        {-190.0, -40.0, -120.0, 120.0, 22.0},  // breakwater far to port
        {-100.0, -90.0, 60.0, -110.0, 14.0},   // rubble bank astern
    };
    scene.targets = {
        {0.8, 1.6, 0.10, 6.0},      {-1.2, 3.0, 0.15, 10.0},    {2.5, 3.8, 0.20, 12.0},      {-3.5, 7.5, 0.30, 18.0},
        {6.0, 9.0, 0.40, 20.0},     {-12.0, 17.0, 0.60, 24.0},  {18.0, 22.0, 0.50, 24.0},    {2.0, -7.0, 0.30, 16.0},
        {-15.0, -12.0, 0.50, 22.0}, {-30.0, -25.0, 0.80, 26.0}, {12.0, -35.0, 1.00, 28.0},   {-60.0, 10.0, 1.00, 28.0},
        {20.0, -80.0, 1.50, 30.0},  {-100.0, 60.0, 1.50, 30.0}, {-70.0, -130.0, 2.00, 32.0},
    };
    scene.patches = {
        {-20.0, 8.0, 6.0, 8.0},
        {10.0, -20.0, 8.0, 6.0},
        {3.0, 5.0, 1.5, 5.0},
        {-80.0, -60.0, 25.0, 6.0},
    };
    return scene;
}

double FloorBackscatterDb(const Scene& scene, double x, double y) {
    double db = scene.floorDb + 4.0 * ValueNoise(x * 0.33, y * 0.33, 1) + 2.5 * ValueNoise(x * 1.25, y * 1.25, 2);
    for (const Patch& p : scene.patches) {
        const double dx = x - p.x, dy = y - p.y;
        const double d2 = dx * dx + dy * dy;
        if (d2 >= p.radius * p.radius) continue;
        const double edge = 1.0 - std::sqrt(d2) / p.radius;  // 0 at the rim, 1 at the centre
        const double rise = edge > 0.2 ? 1.0 : edge * 5.0;
        db += rise * (p.extraDb + 3.0 * ValueNoise(x * 2.0, y * 2.0, 3));
    }
    return db;
}

void LookAlong(const Scene& scene, double bearing, double beamWidthDeg, double maxRange, BeamView& view) {
    const double ux = std::sin(bearing), uy = std::cos(bearing);
    view.wallRange = std::numeric_limits<double>::infinity();
    view.wallDb = 0.0;
    view.hits.clear();

    for (const Wall& w : scene.walls) {
        const double ex = w.x1 - w.x0, ey = w.y1 - w.y0;
        const double denom = ux * ey - uy * ex;
        const double length = std::hypot(ex, ey);
        if (std::fabs(denom) < 1e-9 || length <= 0.0) continue;
        const double r = (w.x0 * ey - w.y0 * ex) / denom;
        const double t = (w.x0 * uy - w.y0 * ux) / denom;
        if (r <= 0.0 || t < 0.0 || t > 1.0 || r >= view.wallRange) continue;
        view.wallRange = r;
        const double incidence = std::max(std::fabs(denom) / length, 0.05);
        view.wallDb = w.strengthDb + 10.0 * std::log10(incidence);
    }

    const double bearingDeg = bearing * 180.0 / Pi;
    for (const Target& t : scene.targets) {
        const double rt = std::hypot(t.x, t.y);
        if (rt - t.radius > maxRange + 1.0 || rt > view.wallRange || rt <= t.radius) continue;
        const double toTarget = std::atan2(t.x, t.y) * 180.0 / Pi;
        const double angularRadius = std::atan(t.radius / rt) * 180.0 / Pi;
        const double off = std::max(0.0, std::fabs(WrapDegrees(bearingDeg - toTarget)) - angularRadius);
        const double pattern = -12.0 * (off / beamWidthDeg) * (off / beamWidthDeg);
        if (pattern < -30.0) continue;
        BeamHit hit;
        hit.range = rt - t.radius;
        hit.width = t.radius;
        hit.levelDb = t.strengthDb + pattern;
        hit.shadowStart = hit.shadowEnd = 0.0;
        if (off < beamWidthDeg * 0.5) {
            hit.shadowStart = rt;
            hit.shadowEnd = rt + std::min(0.4 * rt + 2.0 * t.radius, 25.0);
        }
        view.hits.push_back(hit);
    }
    std::sort(view.hits.begin(), view.hits.end(), [](const BeamHit& a, const BeamHit& b) { return a.range < b.range; });
}

}  // namespace tidemar::headsim
