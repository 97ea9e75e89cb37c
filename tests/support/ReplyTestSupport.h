#pragma once
// Building head replies byte by byte for the reply tests.

#include <algorithm>
#include <cstdint>
#include <vector>

#include "core/SonarState.h"
#include "core/SonarTables.h"

namespace tidemar::replytest {

// A framed reply with the head straight ahead (0x58, 0x04 = 600), range 50 m, no
// profile range, the data byte count in bytes 10-11 and every data byte set to fill.
inline std::vector<uint8_t> FramedReply(uint8_t type, int dataBytes, uint8_t fill = 0) {
    std::vector<uint8_t> r(12 + dataBytes + 1, fill);
    const uint8_t header[12] = {'B',
                                type,
                                'L',
                                17,
                                0,
                                0x58,
                                0x04,
                                50,
                                0,
                                0,
                                static_cast<uint8_t>(dataBytes & 0x7F),
                                static_cast<uint8_t>((dataBytes >> 7) & 0x7F)};
    std::copy(header, header + 12, r.begin());
    r.back() = 0xFC;
    return r;
}

// Puts a reply in the receive buffer as the head would deliver it: ExpectedReturnLength
// is its length and ReplyType its type byte.
inline void Receive(SonarState& state, const std::vector<uint8_t>& reply) {
    std::copy(reply.begin(), reply.end(), state.ReceiveBuffer.begin());
    state.ExpectedReturnLength = static_cast<int>(reply.size());
    state.ReplyType = reply[1];
}

// A live head at a range from the table, in a display mode, with settings that neither
// mirror nor turn the picture.
inline SonarState StateAt(int rangeIndex, int gridMode) {
    SonarState state;
    state.RunMode = DataSource::Head;
    state.GridMode = gridMode;
    state.Range = rangeIndex;
    state.RangeMeters = RangeTable[rangeIndex].Meters;
    state.RangeScale = RangeTable[rangeIndex].RangeScale;
    state.SampleSpacing = 0.1f * RangeTable[rangeIndex].RangeScale;
    state.Xdcr = Transducer::Down;
    state.ProfileGrid = 0;
    state.Profile = 0;
    state.DataBits = 8;
    state.PlotSampleCount = gridMode == DisplayMode::Polar ? 250 : 499;
    state.Train = 0;
    state.ImageRotation = 0.0f;
    return state;
}

}  // namespace tidemar::replytest
