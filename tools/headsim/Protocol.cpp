#include "Protocol.h"

#include <cmath>

namespace tidemar::headsim {

bool IsFramed(const RawBlock& block) {
    return block[0] == BlockStart && block[1] == BlockType && block[26] == BlockEnd;
}

DataLayout LayoutFor(int pointsByte, int bitsByte) {
    DataLayout layout;
    layout.points = (pointsByte >= 1 && pointsByte <= 100) ? pointsByte * 10 : 500;
    layout.bits = (bitsByte == 4 || bitsByte == 16) ? bitsByte : 8;
    switch (layout.bits) {
    case 4: layout.bytes = (layout.points + 1) / 2; break;
    case 16: layout.bytes = layout.points * 2; break;
    default: layout.bytes = layout.points; break;
    }
    return layout;
}

PingRequest ParseBlock(const RawBlock& b) {
    PingRequest r;
    r.addressedId = b[2];
    r.rangeMeters = b[3];
    r.reverse = (b[5] & 0x40) != 0;
    r.hold = (b[5] & 0x01) != 0;
    r.gain = b[8];
    r.absorption = b[10];
    r.trainCode = b[11];
    r.sectorCode = b[12];
    r.stepCode = b[13];
    r.pulseLength = b[14];
    r.profileMinimumDecimetres = b[15];
    r.layout = LayoutFor(b[19], b[20]);
    r.profileOnly = b[22] == 1;
    r.calibrate = b[23] == 1;
    r.frequencyKHz = 675 + (static_cast<int>(b[25]) - 100) * 5;

    if ((b[16] & 0x80) != 0) r.newHeadId = b[16] & 0x7F;
    r.programming = b[10] == 0x80 && b[15] < 0x80 && b[18] < 0x80 && b[21] < 0x10;
    if (r.programming) {
        r.programSerialNumber = b[15] | (b[18] << 7);
        r.programDepthRating = b[21];
    }
    return r;
}

void BuildReply(const ReplyHeader& h, const uint8_t* data, std::size_t dataBytes, std::vector<uint8_t>& reply) {
    reply.resize(ReplyOverheadBytes + dataBytes);
    const int position = h.position & 0x1FFF;
    const int count = static_cast<int>(dataBytes);
    reply[0] = ReplyStart;
    reply[1] = h.type;
    reply[2] = ReplyMark;
    reply[3] = static_cast<uint8_t>(h.headId);
    reply[4] = static_cast<uint8_t>(h.serialStatus);
    reply[5] = static_cast<uint8_t>(position & 0x7F);
    reply[6] = static_cast<uint8_t>(((position >> 7) & 0x3F) | (h.steppingUp ? 0x40 : 0));
    reply[7] = static_cast<uint8_t>(h.rangeByte);
    // The program takes byte 9 whole as the high part, so ranges past 16383 units
    // (163.83 m) still arrive intact; below that byte 9 stays within 7 bits.
    reply[8] = static_cast<uint8_t>(h.profileRange & 0x7F);
    reply[9] = static_cast<uint8_t>((h.profileRange >> 7) & 0xFF);
    reply[10] = static_cast<uint8_t>(count & 0x7F);
    reply[11] = static_cast<uint8_t>((count >> 7) & 0x7F);
    for (std::size_t i = 0; i < dataBytes; ++i) reply[12 + i] = data[i];
    reply[12 + dataBytes] = ReplyEnd;
}

int ProfileRangeCode(double meters, int rangeByte) {
    if (!(meters > 0.0)) return 0;
    const double unit = rangeByte < 5 ? 0.002 : 0.01;
    const long code = std::lround(meters / unit);
    if (code < 1) return 1;
    return code > 0x7FFF ? 0x7FFF : static_cast<int>(code);
}

}  // namespace tidemar::headsim
