#pragma once
// The off-screen picture every ping is drawn into, and the drawing state that lives with
// it. A pixel is a palette index: 0..107 echo level, 88 the dredge line, 106 profile
// markers, and the grid bit 128 on top of an echo value for grid pixels. 0 is cleared.
//
// Image x and y are column and row, row 0 at the top; the window shows image pixel (0,0)
// at window point (3,3).

#include <array>
#include <cstddef>
#include <cstdint>

namespace tidemar {

inline constexpr int ImageWidth = 596;
inline constexpr int ImageHeight = 506;
inline constexpr int ImageOffset = 3;  // window coordinate of image pixel 0
inline constexpr uint8_t GridBit = 128;
inline constexpr int ImageCentreColumn = 298;
inline constexpr int SectorApexRow = 505;
inline constexpr int PolarCentreRow = 253;

struct SonarImage {
    std::array<uint8_t, ImageWidth * ImageHeight> Pixels{};

    uint8_t& At(int x, int y) { return Pixels[static_cast<std::size_t>(y) * ImageWidth + static_cast<std::size_t>(x)]; }
    uint8_t At(int x, int y) const {
        return Pixels[static_cast<std::size_t>(y) * ImageWidth + static_cast<std::size_t>(x)];
    }
    static bool Inside(int x, int y) { return x >= 0 && x < ImageWidth && y >= 0 && y < ImageHeight; }
};

// The last three pings, blended by the scan conversion so neighbouring pings fade into
// each other. Reset makes the next ping fill all three rows with itself.
inline constexpr int PingHistoryLength = 640;
struct PingHistory {
    std::array<uint8_t, PingHistoryLength> Oldest{};
    std::array<uint8_t, PingHistoryLength> Middle{};
    std::array<uint8_t, PingHistoryLength> Newest{};
    bool Reset = false;
};

struct ImagePoint {
    int16_t X = 0;
    int16_t Y = 0;
    bool Empty() const { return X == 0 && Y == 0; }
};

// Profile markers: one point per head position in Points Only, a ring of the last five
// in the mix modes; (0,0) is empty. And the dredge line last drawn.
inline constexpr int ProfilePointCount = 1200;
inline constexpr int RecentProfilePointCount = 5;
struct ProfileMarks {
    std::array<ImagePoint, ProfilePointCount> ProfilePointTable{};
    std::array<ImagePoint, RecentProfilePointCount> RecentProfilePoints{};
    int NextRecentSlot = 0;
    float LastDredgeDepth = 0.0f;
    int LastDredgeRow = 0;
};

// Everything drawn into the picture, owned by the main thread with the rest of the state.
struct ImageState {
    SonarImage Image;
    PingHistory History;
    ProfileMarks Profile;
    bool ImageBusy = false;  // set while the picture is rebuilt
};

}  // namespace tidemar
