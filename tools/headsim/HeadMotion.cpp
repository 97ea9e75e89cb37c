#include "HeadMotion.h"

#include <algorithm>
#include <cstdlib>

namespace tidemar::headsim {
namespace {

int Wrap(int position) {
    position %= PositionsPerTurn;
    return position < 0 ? position + PositionsPerTurn : position;
}

// Offset of a position from the sector centre, -600..599.
int OffsetFrom(int centre, int position) {
    return Wrap(position - centre + PositionsPerTurn / 2) - PositionsPerTurn / 2;
}

}  // namespace

StepCommand StepCommandOf(const PingRequest& request) {
    StepCommand command;
    command.trainCode = request.trainCode;
    command.sectorCode = request.sectorCode;
    command.stepCode = request.stepCode;
    command.reverse = request.reverse;
    command.hold = request.hold;
    command.calibrate = request.calibrate;
    return command;
}

int StepHead(HeadMotion& motion, const StepCommand& command) {
    const int start = motion.position;
    if (command.calibrate) {
        motion.position = AheadPosition;
        motion.direction = +1;
        return std::abs(OffsetFrom(start, AheadPosition));
    }
    if (command.reverse) motion.direction = -motion.direction;
    if (command.hold) return 0;

    const int step = command.stepCode;
    if (command.sectorCode >= FullCircleSectorCode) {
        motion.position = Wrap(motion.position + motion.direction * step);
        return step;
    }

    // Train codes past the last 3 degree step mean straight behind, as the program
    // itself folds them.
    const int trainCode = command.trainCode < 120 ? command.trainCode : 0;
    const int centre = trainCode * 10;
    const int half = command.sectorCode * 5;
    const int offset = OffsetFrom(centre, motion.position);
    int next = offset;

    if (offset > half) {
        next = std::max(offset - SlewPositions, half);
        motion.direction = -1;
    } else if (offset < -half) {
        next = std::min(offset + SlewPositions, -half);
        motion.direction = +1;
    } else if (step > 0 && half > 0) {
        next = offset + motion.direction * step;
        if (next > half) {
            if (offset == half) {
                motion.direction = -1;
                next = std::max(offset - step, -half);
            } else {
                next = half;
            }
        } else if (next < -half) {
            if (offset == -half) {
                motion.direction = +1;
                next = std::min(offset + step, half);
            } else {
                next = -half;
            }
        }
    }
    motion.position = Wrap(centre + next);
    return std::abs(next - offset);
}

}  // namespace tidemar::headsim
