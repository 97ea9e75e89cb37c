#include "core/SwitchCommand.h"

#include <algorithm>
#include <cmath>

#include "core/Modes.h"
#include "core/SonarTables.h"

namespace tidemar {

void PrepareReply(SonarState& state) {
    state.ReplyType = 'G';
    if (state.Profile == 1) state.ReplyType = 'P';
    if (state.HeadScanMode == 1) state.ReplyType = 'T';

    int dataBytes = 0;
    switch (state.ReplyType) {
    case 'P':
        dataBytes = 0;
        state.DataSizeCode = 0;
        break;
    case 'T':
        dataBytes = 64;
        state.DataSizeCode = 1;
        break;
    default:
        if (state.DataBits == 4) {
            dataBytes = 252;
            state.DataSizeCode = 2;
        } else {
            dataBytes = 500;
            state.DataSizeCode = 3;
        }
        state.PlotSampleCount = (state.DataBits == 16 || state.GridMode == DisplayMode::Polar) ? 250 : 499;
        break;
    }
    // 12 header bytes, the data, one end byte.
    state.ExpectedReturnLength = 13 + dataBytes;
}

int TrainCode(int train, int xdcr) {
    int code = train < 180 ? train / 3 + 60 : (train - 180) / 3;
    if (xdcr == Transducer::Up) code = 120 - code;
    if (code >= 120) code = 0;
    return code;
}

namespace {

constexpr uint8_t ProgrammingMark = 0x80;  // byte 10 of a programming block

uint8_t LowByte(int value) { return static_cast<uint8_t>(value & 0xFF); }

int SectorCode(const SonarState& state) {
    if (state.AutoProfileActive && state.SectorSize + state.AutoProfileMargin < 360)
        return (state.SectorSize + state.AutoProfileMargin) / 3;
    return std::min(state.SectorSize / 3, 120);
}

int StepCode(const SonarState& state) {
    if (state.SectorSize == 0) return 0;
    return SpeedTable[std::clamp(state.Speed, 0, SpeedCount - 1)].StepCode;
}

// The head takes its profile blanking range in decimetres, whatever the display units.
int ProfileMinimumRangeCode(const SonarState& state) {
    double meters = state.ProfileMinimumRange;
    if (state.Units == 1) meters *= 0.3048;
    const double decimetres = meters * 10.0 + 0.5;
    if (!(decimetres >= 0.0)) return 0;  // negative or not a number
    return static_cast<int>(std::min(decimetres, 250.0));
}

int SwitchDelayCode(const SonarState& state) {
    const int delay = state.SwitchDelay + (state.RangeMeters == 1 ? 2 : 0);
    return std::min(delay, 500) / 2;
}

}  // namespace

void BuildSwitchCommand(SonarState& state) {
    auto& b = state.CommandTemplate;
    b.fill(0);
    b[0] = 0xFE;
    b[1] = 'D';
    b[2] = LowByte(state.MasterHeadID);
    b[3] = LowByte(state.RangeMeters);
    b[5] = LowByte((state.ReverseRequest << 6) | state.HoldRequest);
    b[8] = LowByte(state.Gain);
    b[9] = 1;
    b[10] = LowByte(state.Absorption);
    b[11] = LowByte(TrainCode(state.Train, state.Xdcr));
    b[12] = LowByte(SectorCode(state));
    b[13] = LowByte(StepCode(state));
    b[14] = LowByte(state.PulseLength / 10);
    b[15] = LowByte(ProfileMinimumRangeCode(state));
    b[16] = LowByte(state.ExternalTriggerControl);
    b[19] = 50;
    b[20] = 8;
    b[22] = state.Profile == 1 ? 1 : 0;
    b[23] = LowByte(state.CalibrateRequest);
    b[24] = LowByte(SwitchDelayCode(state));
    b[25] = LowByte((state.Frequency - 675) / 5 + 100);
    b[26] = 0xFD;

    state.CalibrateRequest = 0;
    state.ReverseRequest = 0;
}

CommandBlock PrepareSend(SonarState& state) {
    PrepareReply(state);
    if (state.SuppressCommandBuild)
        state.SuppressCommandBuild = 0;
    else
        BuildSwitchCommand(state);
    CommandBlock block;
    std::copy_n(state.CommandTemplate.begin(), CommandBlockBytes, block.begin());
    // Deliberately not the absorption as set: a head answering head scans reads byte 10 =
    // 0x80 as a programming request and would rewrite its serial number and depth rating
    // from bytes 15, 18 and 21 of an ordinary block. Only a programming block may carry
    // 0x80 there; the head does not ping during a scan, so sending 1.28 dB/m as 1.27 dB/m
    // costs nothing.
    if (state.HeadScanMode == 1 && block[10] == ProgrammingMark) block[10] = ProgrammingMark - 1;
    return block;
}

void PositionHead(SonarState& state, int targetTrainCode) {
    state.CommandTemplate[11] = LowByte(targetTrainCode);
    state.CommandTemplate[12] = 0;
    state.CommandTemplate[13] = 1;
    state.AutoProfilePositioning = 1;
    state.SuppressCommandBuild = 1;
}

CommandBlock BuildHeadProgrammingCommand(SonarState& state) {
    PrepareReply(state);
    BuildSwitchCommand(state);
    auto& b = state.CommandTemplate;
    b[2] = LowByte(state.ScanHeadID);

    b[16] = 0;
    if (state.HeadIdChangeRequest) {
        b[16] = LowByte(state.NewHeadID | 0x80);
        state.MasterHeadID = state.NewHeadID;
        state.ScanHeadID = state.MasterHeadID;
        state.HeadIdChangeRequest = 0;
    }

    b[10] = b[15] = b[18] = b[21] = 0;
    if (state.HeadProgramRequest) {
        b[10] = ProgrammingMark;
        b[15] = LowByte(state.ProgramSerialNumber & 0x7F);
        b[18] = LowByte((state.ProgramSerialNumber >> 7) & 0x7F);
        b[21] = LowByte(state.ProgramDepthRating & 0x0F);
        state.HeadProgramRequest = 0;
    }

    CommandBlock block;
    std::copy_n(b.begin(), CommandBlockBytes, block.begin());
    return block;
}

}  // namespace tidemar
