#pragma once
// The "Scan For Connected Heads" window as plain data: where its texts, address boxes and
// buttons lie for the window's character cell (w wide, h high), what its labels and values
// read, and which address boxes are marked.
//
//   "ComStatus" (10, 6), "-" (7w + 13, 6), value box (8w + 11, 6) to (16w + 11, h + 6)
//   address box i (address 16 + i): (35i + 10, 45) to (35i + 40, 65), number i + 1
//     centred about x = 35i + 24 at y = 30
//   head information: labels at x = 10 from y = 76, one line apart; "-" at 10w + 13;
//     values at 11w + 11 over a box reaching to 25w + 11
//   buttons "Change Head ID" (445, 77) and "Program Head" (445, 102), 120 by h + 5
//   memory rows i = 0..15 at y = (13 + i) h + 3: "nv_ram [ n ]" at x = 10 + 14w c for
//     column c = 0..3 (n = i + 16c), "-" 7w + 3 further right, value at 8w + 11 + 14w c
//     over a box 4w wide and one line high

#include <array>
#include <string>

#include "core/HeadInfo.h"
#include "core/SonarState.h"
#include "ui_core/PanelLayout.h"

namespace tidemar {

inline constexpr const char* ScanWindowTitle = "Scan For Connected Heads";
inline constexpr const char* ChangeHeadIdLabel = "Change Head ID";
inline constexpr const char* ProgramHeadLabel = "Program Head";
inline constexpr int HeadInformationRows = 8;
inline constexpr int MemoryRows = 16;
inline constexpr int MemoryColumns = 4;

extern const std::array<const char*, HeadInformationRows> HeadInformationLabels;

struct ScanWindowGeometry {
    int CharWidth = 8;
    int LineHeight = 16;

    // (64w + 8) by (30h + 14), widened where needed so the buttons are never cut off.
    Point ClientSize() const;
    Point ComStatusLabel() const { return {10, 6}; }
    Point ComStatusDash() const { return {7 * CharWidth + 13, 6}; }
    Rect ComStatusBox() const { return {8 * CharWidth + 11, 6, 16 * CharWidth + 11, LineHeight + 6}; }
    Rect AddressBox(int index) const { return {35 * index + 10, 45, 35 * index + 40, 65}; }
    int AddressNumberCentre(int index) const { return 35 * index + 24; }
    int AddressNumberTop() const { return 30; }
    int InformationTop(int row) const { return 76 + row * LineHeight; }
    int InformationDashLeft() const { return 10 * CharWidth + 13; }
    // With a short line the last box would reach into the first memory row: it stops there.
    Rect InformationBox(int row) const {
        const int bottom = InformationTop(row + 1) < MemoryTop(0) ? InformationTop(row + 1) : MemoryTop(0);
        return {11 * CharWidth + 11, InformationTop(row), 25 * CharWidth + 11, bottom};
    }
    int MemoryTop(int row) const { return (13 + row) * LineHeight + 3; }
    int MemoryLabelLeft(int column) const { return 10 + 14 * CharWidth * column; }
    int MemoryDashLeft(int column) const { return MemoryLabelLeft(column) + 7 * CharWidth + 3; }
    Rect MemoryBox(int row, int column) const {
        const int left = 8 * CharWidth + 11 + 14 * CharWidth * column;
        return {left, MemoryTop(row), left + 4 * CharWidth, MemoryTop(row) + LineHeight};
    }
    Rect ChangeHeadIdButton() const { return {445, 77, 565, 77 + LineHeight + 5}; }
    Rect ProgramHeadButton() const { return {445, 102, 565, 102 + LineHeight + 5}; }
    // Presses count inside the frames: x 446..564, y 78..h + 81 and 103..h + 106.
    bool HitsChangeHeadId(int x, int y) const { return x >= 446 && x <= 564 && y >= 78 && y <= LineHeight + 81; }
    bool HitsProgramHead(int x, int y) const { return x >= 446 && x <= 564 && y >= 103 && y <= LineHeight + 106; }
};

// "nv_ram [ %d ]"
std::string MemoryLabel(int index);

// What the window shows besides its fixed labels.
struct ScanWindowValues {
    std::string ComStatus;          // "0x%08X" of the link status word
    bool ShowsMemory = false;       // the last reply was head information ('T')
    bool ShowsInformation = false;  // ... and its EPROM major version is not 0
    std::array<std::string, HeadInformationRows> Information;
    std::array<std::string, HeadNvRamBytes> Memory;  // "0x%02X"
};

ScanWindowValues ScanWindowValuesOf(const SonarState& state);

// How one address box is drawn: outline and fill palette indices.
struct AddressBoxLook {
    int Pen = 125;
    int Brush = 122;
    bool operator==(const AddressBoxLook&) const = default;
};

// The marks of the address boxes, which the window updates after each head-scan reply:
// the polled address (ScanHeadID) is lit when the head that replied has it, else drawn
// as polled without an answer; the box polled before and the head that replied before
// fall back to plain when they no longer apply.
class AddressBoxMarks {
public:
    void Update(int scanHeadId, int returnHeadId);
    // Back to the start: nothing marked, both remembered addresses 16.
    void Reset();
    // A new opening of the window: the marks of an earlier one go, and the box of the
    // address about to be polled is marked as polled before any head has answered.
    void Open(int scanHeadId);
    const AddressBoxLook& Look(int index) const { return looks_[static_cast<size_t>(index)]; }

private:
    void Set(int address, AddressBoxLook look);

    std::array<AddressBoxLook, HeadAddressCount> looks_{};
    int markedAddress_ = FirstHeadAddress;
    int lastReplyingAddress_ = FirstHeadAddress;
};

}  // namespace tidemar
