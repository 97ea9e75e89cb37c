#include "ui_core/ScanWindowLayout.h"

#include <algorithm>
#include <cstdio>

namespace tidemar {

namespace {

constexpr int LitIndex = 119;
constexpr int BackgroundIndex = 122;
constexpr int LightFrameIndex = 123;
constexpr int BlackIndex = 125;
constexpr int LinkStatusWord = 0;  // the TCP link keeps no status word of its own

}  // namespace

const std::array<const char*, HeadInformationRows> HeadInformationLabels = {
    "EPROM Revision", "Serial Number", "Sensor Type", "XDCR Type",
    "Depth Rating",   "Gear Ratio",    "Sample Rate", "Shot Count"};

Point ScanWindowGeometry::ClientSize() const {
    // The buttons sit at fixed pixels; with a narrow font 64w would cut them off.
    const int width = std::max(64 * CharWidth + 8, ChangeHeadIdButton().Right + 11);
    return {width, 30 * LineHeight + 14};
}

std::string MemoryLabel(int index) {
    char text[32];
    std::snprintf(text, sizeof text, "nv_ram [ %d ]", index);
    return text;
}

ScanWindowValues ScanWindowValuesOf(const SonarState& state) {
    ScanWindowValues v;
    char text[32];
    std::snprintf(text, sizeof text, "0x%08X", LinkStatusWord);
    v.ComStatus = text;
    v.ShowsMemory = state.LastHeader[0] != 0 && state.LastHeader[1] == 'T';
    if (!v.ShowsMemory) return v;
    const auto& nv = state.HeadNvRam;
    for (int i = 0; i < HeadNvRamBytes; ++i) {
        std::snprintf(text, sizeof text, "0x%02X", nv[static_cast<size_t>(i)]);
        v.Memory[static_cast<size_t>(i)] = text;
    }
    v.ShowsInformation = nv[0] != 0;
    if (v.ShowsInformation) {
        const HeadInformationTexts t = HeadInformationTextsOf(DecodeHeadInformation(nv));
        v.Information = {t.EpromRevision, t.SerialNumber, t.SensorType, t.XdcrType,
                         t.DepthRating,   t.GearRatio,    t.SampleRate, t.ShotCount};
    }
    return v;
}

void AddressBoxMarks::Set(int address, AddressBoxLook look) {
    const int index = address - FirstHeadAddress;
    if (index >= 0 && index < HeadAddressCount) looks_[static_cast<size_t>(index)] = look;
}

void AddressBoxMarks::Update(int scanHeadId, int returnHeadId) {
    const AddressBoxLook plain{BlackIndex, BackgroundIndex};
    Set(markedAddress_, markedAddress_ == returnHeadId ? AddressBoxLook{BlackIndex, LitIndex} : plain);
    markedAddress_ = scanHeadId;
    if (lastReplyingAddress_ != returnHeadId) {
        Set(lastReplyingAddress_, plain);
        lastReplyingAddress_ = returnHeadId;
    }
    Set(scanHeadId, scanHeadId == returnHeadId ? AddressBoxLook{LightFrameIndex, LitIndex}
                                               : AddressBoxLook{BlackIndex, LightFrameIndex});
}

void AddressBoxMarks::Reset() {
    looks_.fill(AddressBoxLook{});
    markedAddress_ = FirstHeadAddress;
    lastReplyingAddress_ = FirstHeadAddress;
}

void AddressBoxMarks::Open(int scanHeadId) {
    Reset();
    Set(scanHeadId, AddressBoxLook{BlackIndex, LightFrameIndex});
    markedAddress_ = scanHeadId;
}

}  // namespace tidemar
