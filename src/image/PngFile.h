#pragma once
// 8-bit palette PNG files of the same pixels and colour table a BMP carries, for mail and
// report tools that handle BMP badly: a PNG and a BMP of one picture decode to the same
// RGB. The bytes are made by libpng (zlib compression, no interlace, no gamma or colour
// chunks, so viewers show the palette colours as they are).

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace tidemar {

// pixels: width x height palette indexes, top row first; colorTable: 256 entries of blue,
// green, red, 0 (the BMP layout). Empty, with the reason, when libpng refuses.
std::vector<uint8_t> IndexedPngBytes(int width, int height, const uint8_t* pixels,
                                     const std::array<uint8_t, 1024>& colorTable, std::string* reason = nullptr);

// Writes the file whole (a temporary file renamed into place); false with the reason.
bool WriteIndexedPng(const std::string& path, int width, int height, const uint8_t* pixels,
                     const std::array<uint8_t, 1024>& colorTable, std::string* reason);

// True when the last component of the name ends in ".PNG" in any letter case.
bool HasPngExtension(const std::string& name);

// The pictures tidemar-cli and the window write.
enum class PictureFormat { Bmp, Png };

// "bmp" or "png" in any letter case; false for anything else.
bool ParsePictureFormat(const std::string& text, PictureFormat& format);
// "bmp" or "png": the extension of the format's file names.
const char* PictureExtension(PictureFormat format);
// The bytes of the picture in the format (empty with the reason when it cannot be made).
std::vector<uint8_t> IndexedPictureBytes(PictureFormat format, int width, int height, const uint8_t* pixels,
                                         const std::array<uint8_t, 1024>& colorTable, std::string* reason);

}  // namespace tidemar
