#pragma once
// The stepper of the head: where the transducer points from one ping to the next.
//
// Positions are 0..1199 in 0.3 degree steps, 600 straight ahead, 0 straight behind, and
// grow clockwise. Train code c (3 degree units, 60 ahead) centres the sector on position
// 10 c; sector code s (3 degree units) spans s x 10 positions, 5 s either side of the
// centre, possibly across 0; s >= 120 is the full circle.
//
// Per ping, in this order:
//   calibrate     the head re-homes to 600, stepping up, and does nothing else;
//   reverse bit   the step direction flips once;
//   hold bit      the head does not move;
//   full circle   it steps by the step code in its direction, through 0/1199;
//   outside the   it slews towards the nearer sector edge, SlewPositions per ping, not
//   sector        past the edge, and keeps moving that way once inside (train changes,
//                 positioning for a profile scan, side scan with sector 0);
//   inside        it steps by the step code; a step that would cross an edge stops on the
//                 edge, and a head already on the edge reverses and steps back in.
// Step code 0 or sector code 0 keeps the head where it is once it is in the sector.
#include "Protocol.h"

namespace tidemar::headsim {

inline constexpr int PositionsPerTurn = 1200;
inline constexpr int AheadPosition = 600;
inline constexpr int SlewPositions = 30;
inline constexpr int FullCircleSectorCode = 120;

struct HeadMotion {
    int position = AheadPosition;
    int direction = +1;  // +1 towards higher positions
};

struct StepCommand {
    int trainCode = 60;
    int sectorCode = 0;
    int stepCode = 0;
    bool reverse = false;
    bool hold = false;
    bool calibrate = false;
};

StepCommand StepCommandOf(const PingRequest& request);

// Moves the head for one ping and returns how many positions it moved.
int StepHead(HeadMotion& motion, const StepCommand& command);

}  // namespace tidemar::headsim
