#include "image/ImageBuffer.h"

#include <algorithm>

namespace tidemar {

namespace {

void PutLittleEndian(uint8_t* out, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out[i] = static_cast<uint8_t>(value >> (8 * i));
}

}  // namespace

void ClearSonarImage(SonarImage& image) { image.Pixels.fill(0); }

void RedrawSonarImage(ImageState& state, const std::function<void(SonarImage&)>& drawGrid) {
    state.ImageBusy = true;
    ClearSonarImage(state.Image);
    if (drawGrid) drawGrid(state.Image);
    state.ImageBusy = false;
}

ZoomSquare ZoomCentre(int x, int y) {
    ZoomSquare square;
    square.CentreX = std::clamp(x, ZoomMinimumX, ZoomMaximumX);
    square.CentreY = std::clamp(y, ZoomMinimumY, ZoomMaximumY);
    square.SourceLeft = square.CentreX - ZoomHalfSize;
    square.SourceTop = square.CentreY - ZoomHalfSize;
    return square;
}

std::array<uint8_t, ImageBitmapHeaderSize> ImageBitmapHeaderBytes(const ImageBitmapHeader& header) {
    std::array<uint8_t, ImageBitmapHeaderSize> bytes{};
    uint8_t* p = bytes.data();
    PutLittleEndian(p + 0, header.Size, 4);
    PutLittleEndian(p + 4, static_cast<uint32_t>(header.Width), 4);
    PutLittleEndian(p + 8, static_cast<uint32_t>(header.Height), 4);
    PutLittleEndian(p + 12, header.Planes, 2);
    PutLittleEndian(p + 14, header.BitCount, 2);
    PutLittleEndian(p + 16, header.Compression, 4);
    PutLittleEndian(p + 20, header.SizeImage, 4);
    PutLittleEndian(p + 24, static_cast<uint32_t>(header.XPelsPerMeter), 4);
    PutLittleEndian(p + 28, static_cast<uint32_t>(header.YPelsPerMeter), 4);
    PutLittleEndian(p + 32, header.ClrUsed, 4);
    PutLittleEndian(p + 36, header.ClrImportant, 4);
    return bytes;
}

std::array<uint8_t, ImageBitmapInfoSize> ImageBitmapInfoBytes(const ImageColorTable& table) {
    std::array<uint8_t, ImageBitmapInfoSize> bytes{};
    const auto header = ImageBitmapHeaderBytes(ImageBitmapHeader{});
    const auto colours = ImageColorTableBytes(table);
    std::copy(header.begin(), header.end(), bytes.begin());
    std::copy(colours.begin(), colours.end(), bytes.begin() + ImageBitmapHeaderSize);
    return bytes;
}

}  // namespace tidemar
