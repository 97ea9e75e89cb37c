#pragma once
// The picture's own housekeeping: clearing and rebuilding it, the bitmap header the
// window copies it through, and the geometry of the pixel zoom. Everything here only
// writes pixels or computes numbers; showing the picture is the window's job, after.

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>

#include "image/ImageColorTable.h"
#include "image/SonarImage.h"

namespace tidemar {

void ClearSonarImage(SonarImage& image);

// The picture part of a clear-screen: marks the picture busy, clears it, lets drawGrid
// draw the grid into it (an empty function draws none), and marks it free again. The
// caller shows the picture afterwards.
//
// Inside a class that has its own RedrawSonarImage() member, call it as
// tidemar::RedrawSonarImage: the member hides this name.
void RedrawSonarImage(ImageState& state, const std::function<void(SonarImage&)>& drawGrid);

// ---- pixel zoom -----------------------------------------------------------------------
// Window coordinates throughout. The magnified square is 78 x 78 window pixels around the
// centre, drawn twice as large (156 x 156) at window column 620.
inline constexpr int ZoomSourceSize = 78;
inline constexpr int ZoomHalfSize = 39;
inline constexpr int ZoomFactor = 2;
inline constexpr int ZoomDestinationSize = ZoomSourceSize * ZoomFactor;
inline constexpr int ZoomDestinationLeft = 620;
// The centre is held where the square stays inside the image frame.
inline constexpr int ZoomMinimumX = 43;
inline constexpr int ZoomMaximumX = 559;
inline constexpr int ZoomMinimumY = 43;
inline constexpr int ZoomMaximumY = 469;

struct ZoomSquare {
    int CentreX = 0;  // the clamped centre, kept as the last zoom centre
    int CentreY = 0;
    int SourceLeft = 0;
    int SourceTop = 0;
    int SourceWidth = ZoomSourceSize;
    int SourceHeight = ZoomSourceSize;
    friend bool operator==(const ZoomSquare&, const ZoomSquare&) = default;
};

ZoomSquare ZoomCentre(int x, int y);

// ---- bitmap header ----------------------------------------------------------------------
// The 40-byte device-independent bitmap header the picture is copied through, followed by
// the 1,024-byte colour table: 1,064 bytes, numbers little-endian.
//
//   offset size  field
//      0    4    40, header size
//      4    4    596, width
//      8    4    -506, height (negative: top row first)
//     12    2    1 plane
//     14    2    8 bits per pixel
//     16    4    0, uncompressed
//     20    4    0, image size
//     24    8    0, 0 resolution
//     32    4    0 colours used
//     36    4    0 important colours
//     40 1024    colour table: blue, green, red, 0 per palette index
inline constexpr int ImageBitmapHeaderSize = 40;
inline constexpr int ImageBitmapInfoSize = ImageBitmapHeaderSize + ImageColorTableBytesSize;

struct ImageBitmapHeader {
    uint32_t Size = ImageBitmapHeaderSize;
    int32_t Width = ImageWidth;
    int32_t Height = -ImageHeight;
    uint16_t Planes = 1;
    uint16_t BitCount = 8;
    uint32_t Compression = 0;
    uint32_t SizeImage = 0;
    int32_t XPelsPerMeter = 0;
    int32_t YPelsPerMeter = 0;
    uint32_t ClrUsed = 0;
    uint32_t ClrImportant = 0;
};

std::array<uint8_t, ImageBitmapHeaderSize> ImageBitmapHeaderBytes(const ImageBitmapHeader& header);

// The whole block: the picture's header followed by the colour table.
std::array<uint8_t, ImageBitmapInfoSize> ImageBitmapInfoBytes(const ImageColorTable& table);

}  // namespace tidemar
