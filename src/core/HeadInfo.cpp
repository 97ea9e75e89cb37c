#include "core/HeadInfo.h"

#include <algorithm>
#include <cstdio>
#include <initializer_list>

#include "core/Reply.h"
#include "core/SonarTables.h"

namespace tidemar {

namespace {

constexpr const char* NotAvailable = "n/a";
constexpr int AzimuthDrive = 1;
constexpr int EchoSounder = 2;

std::string Printed(const char* format, int value) {
    char text[32];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

const char* Named(int value, std::initializer_list<const char*> names) {
    if (value < 0 || value >= static_cast<int>(names.size())) return NotAvailable;
    return names.begin()[value];
}

}  // namespace

HeadInformation DecodeHeadInformation(const HeadNvRamBytesArray& nv) {
    HeadInformation info;
    info.EpromMajor = nv[0];
    info.EpromMinor = nv[1];
    info.EpromYear = nv[2];
    info.EpromMonth = (nv[3] >= 1 && nv[3] <= 12) ? nv[3] : 1;
    info.EpromDay = nv[4];
    info.SensorType = nv[5];
    info.SerialNumber = (nv[6] & 0x7F) + nv[7] * 128;
    info.XdcrType = nv[8];
    info.GearRatio = nv[9];
    info.DepthRating = nv[10];
    info.SampleRateCode = nv[12];
    // Whole bytes, as the head sends them: with the top bits set the count can pass
    // 2^28 hundreds, hence 64 bits before the limit.
    const uint64_t hundreds =
        uint64_t{nv[13]} | (uint64_t{nv[14]} << 7) | (uint64_t{nv[15]} << 14) | (uint64_t{nv[16]} << 21);
    info.ShotCount = std::min(hundreds * 100, MaxShotCount);
    return info;
}

std::string GroupedDecimal(uint64_t value) {
    const std::string digits = std::to_string(value);
    std::string grouped;
    const size_t n = digits.size();
    for (size_t i = 0; i < n; ++i) {
        grouped += digits[i];
        const size_t left = n - 1 - i;
        if (left > 0 && left % 3 == 0) grouped += ',';
    }
    return grouped;
}

HeadInformationTexts HeadInformationTextsOf(const HeadInformation& info) {
    HeadInformationTexts t;
    char text[64];
    std::snprintf(text, sizeof text, "%d.%02d - %02d%s%02d", info.EpromMajor, info.EpromMinor, info.EpromDay,
                  MonthAbbreviations[static_cast<size_t>(info.EpromMonth - 1)], info.EpromYear);
    t.EpromRevision = text;
    t.SerialNumber = Printed("%04d", info.SerialNumber);
    t.SensorType = Named(info.SensorType, {"Scanning Sonar", "Azimuth Drive", "Echo Sounder"});
    t.XdcrType = info.SensorType == AzimuthDrive
                     ? NotAvailable
                     : Named(info.XdcrType, {"Imaging - (Fan Beam)", "Profiling - (Pencil Beam)", "Conical Beam"});
    t.DepthRating = Named(info.DepthRating, {"1000 Meters", "3000 Meters"});
    t.GearRatio = info.SensorType == EchoSounder ? NotAvailable : Named(info.GearRatio, {"3 : 1", "6 : 1", "15 : 1"});
    // Only code 0 has a known meaning; other codes are shown as not available.
    t.SampleRate = (info.SensorType != AzimuthDrive && info.SampleRateCode == 0) ? "2.666us , 13.333us" : NotAvailable;
    t.ShotCount = info.SensorType == AzimuthDrive ? std::string(NotAvailable) : GroupedDecimal(info.ShotCount);
    return t;
}

void TakeHeadScanReply(SonarState& state) {
    if (state.ReceiveBuffer[1] != 'T' || state.ExpectedReturnLength != HeadScanReplyLength) return;
    std::copy_n(state.ReceiveBuffer.begin() + ReplyHeaderBytes, HeadNvRamBytes, state.HeadNvRam.begin());
    if (state.HeadScanMode == 1 && state.ReturnHeadID >= FirstHeadAddress &&
        state.ReturnHeadID < FirstHeadAddress + HeadAddressCount)
        state.ScanHeadID = state.ReturnHeadID;
}

}  // namespace tidemar
