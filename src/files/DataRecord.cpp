#include "files/DataRecord.h"

#include <algorithm>
#include <cstdio>

#include "core/Reply.h"

namespace tidemar {

namespace {

void PutBigEndian16(uint8_t* p, int value) {
    p[0] = static_cast<uint8_t>((value >> 8) & 0xFF);
    p[1] = static_cast<uint8_t>(value & 0xFF);
}

int BigEndian16(const uint8_t* p) { return (p[0] << 8) | p[1]; }

// Copies at most capacity - 1 characters, so the field always ends in a zero.
void PutText(uint8_t* field, int capacity, const std::string& text) {
    const size_t n = std::min(text.size(), static_cast<size_t>(capacity - 1));
    std::copy(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(n), field);
}

// A zero-terminated text of a fixed field; a field without its zero ends at its size.
std::string TextOf(const uint8_t* field, int capacity) {
    const uint8_t* end = std::find(field, field + capacity, 0);
    return std::string(field, end);
}

// The number a text starts with, as atoi reads it, looking at most `count` bytes.
int LeadingNumber(const uint8_t* p, int count) {
    int i = 0;
    while (i < count && (p[i] == ' ' || p[i] == '\t')) ++i;
    int value = 0;
    while (i < count && p[i] >= '0' && p[i] <= '9') value = value * 10 + (p[i++] - '0');
    return value;
}

int SampleWidthCode(int dataBits) {
    if (dataBits == 4) return 0;
    if (dataBits == 16) return 2;
    return 1;
}

// The stored sound velocity, or 0 (no value) for one that cannot be stored.
int SoundVelocityField(float metersPerSecond) {
    // Float arithmetic, as the setting is kept: 1500.1 m/s stores 15001, not 15000.
    const float tenths = metersPerSecond * 10.0f;
    if (!(tenths >= 0.0f && tenths < 32768.0f)) return 0;
    return 0x8000 | static_cast<int>(tenths);
}

// Room for the reply between the header and the tail of a record.
int ReplyRoom(int size, bool withGps) {
    return size - RecordHeaderBytes - (withGps ? RecordGpsBytes : RecordBackLinkBytes);
}

}  // namespace

int RecordSizeFor(int dataSizeCode, bool withGps) {
    if (dataSizeCode < 0 || dataSizeCode >= RecordSizeCount) return 0;
    return RecordSizeTable[dataSizeCode] + (withGps ? RecordGpsBytes : 0);
}

SonarDataRecord BuildDataRecord(const SonarState& state, int previousRecordSize) {
    const bool withGps = state.UseGPS != 0;
    const int size = RecordSizeFor(state.DataSizeCode, withGps);
    const int n = state.ExpectedReturnLength;
    if (size == 0 || n < 0 || n > MaxReplyBytes || n > ReplyRoom(size, withGps)) return {};

    SonarDataRecord record(static_cast<size_t>(size), 0);
    uint8_t* r = record.data();
    r[0] = 'K';
    r[1] = '7';
    r[2] = 'T';
    r[3] = static_cast<uint8_t>(state.DataSizeCode);
    PutBigEndian16(r + 4, size);
    PutBigEndian16(r + 6, n);
    PutText(r + 8, 12, state.DateText);
    PutText(r + 20, 9, state.TimeText);
    char hundredths[8];
    std::snprintf(hundredths, sizeof hundredths, ".%02d", state.Hundredths);
    PutText(r + 29, 4, hundredths);
    r[34] = withGps ? 1 : 0;
    r[37] = static_cast<uint8_t>(((state.StepDirection & 1) << 7) | ((state.Xdcr & 1) << 6) |
                                 ((state.GridMode & 7) << 3) | (state.Speed & 7));
    r[38] = static_cast<uint8_t>(state.Gain);
    r[39] = static_cast<uint8_t>(state.SectorSize / 3);
    r[40] = static_cast<uint8_t>(state.Train / 3);
    r[41] = static_cast<uint8_t>(state.RecordByte41);
    r[42] = static_cast<uint8_t>(state.Absorption);
    const bool zeroUp = state.ProfileGrid == 1 && state.ZeroDown == 0;
    r[43] = static_cast<uint8_t>(((state.ProfileGrid & 1) << 7) | (zeroUp ? 0x40 : 0) |
                                 (SampleWidthCode(state.DataBits) << 3) | (state.RecordFormatBits & 7));
    r[44] = static_cast<uint8_t>(state.PulseLength / 10);
    r[45] = static_cast<uint8_t>(state.Profile);
    PutBigEndian16(r + 46, SoundVelocityField(state.SoundVelocityMeters));
    // The full 32 bytes: a longer text keeps its 32nd character, which playback cuts off.
    std::copy_n(state.UserText.begin(), std::min<size_t>(state.UserText.size(), 32), r + 48);
    PutBigEndian16(r + 80, state.Frequency);
    std::copy_n(state.ReceiveBuffer.begin(), n, r + RecordHeaderBytes);

    if (withGps) {
        const std::string& gps = state.GpsPositionText;
        for (int i = 0; i < 11 && 1 + i < static_cast<int>(gps.size()); ++i)
            r[size - 128 + i] = static_cast<uint8_t>(gps[1 + i]);
        for (int i = 0; i < 12 && 12 + i < static_cast<int>(gps.size()); ++i)
            r[size - 116 + i] = static_cast<uint8_t>(gps[12 + i]);
    }
    PutBigEndian16(r + size - 2, (previousRecordSize + size) & 0xFFFF);
    return record;
}

RecordHeader DecodeRecordHeader(const uint8_t* r) {
    RecordHeader h;
    h.DataSizeCode = r[3];
    h.Size = BigEndian16(r + 4);
    h.ReplyLength = BigEndian16(r + 6);

    if (r[19] == 0) {
        h.DateText = TextOf(r + 8, 12);
    } else {
        const int year = LeadingNumber(r + 15, 2) * 100 + LeadingNumber(r + 17, 3);
        char text[16];
        std::snprintf(text, sizeof text, "%04d", year);
        h.DateText = TextOf(r + 8, 7) + text;
    }
    h.TimeText = TextOf(r + 20, 9);
    h.PlayedSecond = LeadingNumber(r + 26, 2);
    h.Hundredths = r[29] == 0 ? 0 : LeadingNumber(r + 30, 2);

    h.HasGps = r[34] & 1;
    h.StepDirection = (r[37] >> 7) & 1;
    h.Xdcr = (r[37] >> 6) & 1;
    h.GridMode = (r[37] >> 3) & 7;
    h.Speed = r[37] & 7;
    h.Gain = r[38];
    h.SectorSize = r[39] * 3;
    h.Train = r[40] * 3;
    h.Absorption = r[42];
    h.ProfileGrid = (r[43] >> 7) & 1;
    switch ((r[43] >> 3) & 7) {
    case 0: h.DataBits = 4; break;
    case 1: h.DataBits = 8; break;
    case 2: h.DataBits = 16; break;
    default: h.DataBits = 0; break;
    }
    h.PulseLength = r[44] * 10;
    h.Profile = r[45];

    h.HasSoundVelocity = (r[46] & 0x80) != 0;
    if (h.HasSoundVelocity) h.SoundVelocity = static_cast<float>((((r[46] & 0x7F) << 8) | r[47]) * 0.1);
    if (r[48] != 0) h.UserText = TextOf(r + 48, 31);
    h.Frequency = BigEndian16(r + 80);
    if (h.Frequency == 0) h.Frequency = DefaultFileFrequency;
    return h;
}

RecordDamage CheckRecordHeader(const uint8_t* r) {
    if (!IsRecordMarker(r)) return RecordDamage::NoMarker;
    const bool withGps = (r[34] & 1) != 0;
    const int size = BigEndian16(r + 4);
    const int tableSize = withGps ? size - RecordGpsBytes : size;
    if (std::find(RecordSizeTable.begin(), RecordSizeTable.end(), tableSize) == RecordSizeTable.end())
        return RecordDamage::BadSize;
    const int n = BigEndian16(r + 6);
    if (n > MaxReplyBytes || n > ReplyRoom(size, withGps)) return RecordDamage::BadReplyLength;
    return RecordDamage::None;
}

std::string DescribeRecordDamage(RecordDamage damage, const uint8_t* r) {
    char text[96];
    switch (damage) {
    case RecordDamage::None: return "";
    case RecordDamage::NoMarker: return "no record marker";
    case RecordDamage::BadSize:
        std::snprintf(text, sizeof text, "impossible record size %d%s", BigEndian16(r + 4),
                      (r[34] & 1) ? " for a record with GPS text" : "");
        return text;
    case RecordDamage::BadReplyLength:
        std::snprintf(text, sizeof text, "reply length %d does not fit a record of %d bytes", BigEndian16(r + 6),
                      BigEndian16(r + 4));
        return text;
    }
    return "";
}

int RecordBackLink(const uint8_t* record, int size) { return BigEndian16(record + size - 2); }

std::optional<std::string> RecordGpsText(const uint8_t* record, int size, bool hasGps) {
    if (!hasGps || size < RecordSizeTable[0] + RecordGpsBytes || record[size - 128] == 0) return std::nullopt;
    std::string text(1, ' ');
    text.append(record + size - 128, record + size - 117);
    text.append(record + size - 116, record + size - 104);
    // All 24 characters come back, zero bytes included: the halves are shown each up to
    // its own first zero byte, so cutting here would lose the longitude of a latitude
    // with a short fraction.
    return text;
}

RecordReply DecodeRecordReply(const uint8_t* record, int replyLength) {
    RecordReply reply;
    reply.Length = replyLength;
    const uint8_t* b = record + RecordHeaderBytes;
    if (replyLength > 1) reply.ReplyType = b[1];
    if (replyLength > 3) reply.ReturnHeadID = b[3];
    if (replyLength > 4) reply.SerialStatus = b[4];
    if (replyLength > 6) reply.HeadPosition = (b[5] & 0x7F) | ((b[6] & 0x3F) << 7);
    if (replyLength > 7) reply.ReturnRange = b[7];
    if (replyLength > 9) reply.ProfileRange = (b[8] & 0x7F) | (b[9] << 7);
    if (replyLength > 11) reply.DataByteCount = (b[10] & 0x7F) | ((b[11] & 0x7F) << 7);
    return reply;
}

}  // namespace tidemar
