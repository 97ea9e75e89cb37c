#pragma once
// The world around the head, in the scan plane: metres, the head at the origin, y
// straight ahead (position 600), x to starboard (position 900).
//
// Three kinds of things send echoes back:
//   sea floor  diffuse backscatter from the floor onset outwards, with a texture that
//              stays put from ping to ping and patches of rougher ground;
//   walls      straight segments that reflect strongly and hide everything behind them;
//   targets    small hard objects that reflect within the beam and cast a shadow.
#include <limits>
#include <vector>

namespace tidemar::headsim {

struct Wall {
    double x0, y0, x1, y1;
    double strengthDb;  // echo level at 1 m, at normal incidence
};

struct Target {
    double x, y;
    double radius;      // metres: spreads the echo and widens the shadow
    double strengthDb;  // target strength at 1 m
};

struct Patch {
    double x, y, radius;
    double extraDb;  // added to the floor backscatter inside
};

struct Scene {
    std::vector<Wall> walls;
    std::vector<Target> targets;
    std::vector<Patch> patches;
    bool hasFloor = true;
    double floorOnset = 0.6;  // slant range at which the beam first meets the floor
    double floorDb = -8.0;    // mean floor backscatter at 1 m
};

// A harbour corner: a quay wall across the view ahead turning towards the head on the
// starboard side, a breakwater far out, rocks to port and objects scattered at every
// distance so each range from 1 m to 200 m shows something.
Scene HarbourScene();

// What one beam meets, nearest first. Capacity is kept between pings.
struct BeamHit {
    double range;
    double width;                   // metres either side of range the echo spreads over
    double levelDb;                 // strength including the beam pattern
    double shadowStart, shadowEnd;  // floor hidden between these ranges (0, 0: none)
};

struct BeamView {
    double wallRange = std::numeric_limits<double>::infinity();
    double wallDb = 0.0;  // wall strength including incidence
    std::vector<BeamHit> hits;
};

// Looks along bearing (radians, 0 ahead, clockwise) with the given beam width (degrees)
// out to maxRange metres.
void LookAlong(const Scene& scene, double bearing, double beamWidthDeg, double maxRange, BeamView& view);

// Floor backscatter at (x, y) in dB at 1 m, texture and patches included.
double FloorBackscatterDb(const Scene& scene, double x, double y);

}  // namespace tidemar::headsim
