#pragma once
// Uncompressed 8-bit BMP files with a 256-entry colour table: the screen captures and
// the rendered pictures of tidemar-cli. All numbers little-endian:
//
//   offset size  field
//      0    2    "BM"
//      2    4    file size: 1078 + width x height
//      6    4    0
//     10    4    1078, offset of the pixels
//     14    4    40, header size
//     18    4    width
//     22    4    height (positive: bottom row first)
//     26    2    1 plane
//     28    2    8 bits per pixel
//     30    4    0, no compression
//     34    4    width x height, image size
//     38    8    0, 0 resolution
//     46    4    256 colours used
//     50    4    0 important colours
//     54 1024    colour table: blue, green, red, 0 per palette index
//   1078         rows of palette indexes, the bottom row first
//
// The width must be a multiple of 4 (rows carry no padding); 596 and 800 both are.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "image/DisplayPalette.h"

namespace tidemar {

inline constexpr int BmpHeaderBytes = 1078;

// pixels: width x height palette indexes, top row first.
std::vector<uint8_t> IndexedBmpBytes(int width, int height, const uint8_t* pixels,
                                     const std::array<uint8_t, 1024>& colorTable);

// Writes the file whole (a temporary file renamed into place); false with the reason.
bool WriteIndexedBmp(const std::string& path, int width, int height, const uint8_t* pixels,
                     const std::array<uint8_t, 1024>& colorTable, std::string* reason);

// Writes `bytes` as the file `path`, whole or not at all: into "path.part", renamed into
// place when every byte is down; false with the reason (the temporary file is removed).
bool WriteWholeFile(const std::string& path, const std::vector<uint8_t>& bytes, std::string* reason);

// Makes a temporary name ("path.part") safe to write: a symbolic link or other non-regular
// file left there is removed (the link itself, never what it points to), so the write
// cannot go through it to some other file. A leftover regular file is simply replaced.
void ClearTemporaryName(const std::string& temporary);

// The colour table of a screen capture: the palette's entries in index order.
std::array<uint8_t, 1024> BmpColorTable(const DisplayPalette& palette);

// True when the last component of the name ends in ".BMP" in any letter case.
bool HasBmpExtension(const std::string& name);

// A screen capture file. It is created as soon as its name is settled, before the screen
// is read, so a name that cannot be used is known before the work; the bytes follow in
// one piece. A write that fails removes the file again rather than leave a cut-off
// picture under the chosen name.
class BmpOutputFile {
public:
    BmpOutputFile() = default;
    ~BmpOutputFile();
    BmpOutputFile(const BmpOutputFile&) = delete;
    BmpOutputFile& operator=(const BmpOutputFile&) = delete;

    // Creates the file, replacing one that exists; false with the reason.
    bool Create(const std::string& path, std::string* reason);
    // Writes all of `bytes` and closes the file; false with the reason (the file is gone).
    bool WriteAndClose(const std::vector<uint8_t>& bytes, std::string* reason);
    // Gives up: closes and removes the file created.
    void Discard();

    bool IsOpen() const { return fd_ >= 0; }
    const std::string& Path() const { return path_; }

private:
    int fd_ = -1;
    std::string path_;
    bool removable_ = false;
};

}  // namespace tidemar
