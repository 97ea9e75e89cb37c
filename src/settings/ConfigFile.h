#pragma once
// Configuration files (.CFG): the per-range transmit table as it is stored on disk.
//
//   offset  size  content
//   0       4     magic "CFG" and a zero byte: 43 46 47 00
//   4       1     format version 1 (written, not examined on reading)
//   5       75    zero
//   80      5120  20 rows of 256 bytes; rows 0..14 used, 15..19 zero. Each row:
//                   0  int32 LE  range label (metres of the row's range)
//                   4  int32 LE  frequency, kHz
//                   8  int32 LE  absorption, 0.01 dB/m
//                   12 int32 LE  pulse length, microseconds
//                   16 240 bytes zero
//
// A file is exactly 5200 bytes as written; longer files are read, only their first 5200
// bytes count.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/UserConfigTable.h"

namespace tidemar {

inline constexpr size_t ConfigHeaderBytes = 80;
inline constexpr size_t ConfigFileBytesSize = ConfigHeaderBytes + UserConfigTableRows * UserConfigRowBytes;

// Reads a configuration file's rows 0..14 into `working`, each cell checked against the
// built-in table: a range label outside 0..14, a frequency outside 280..1100, an
// absorption outside 1..255 or a pulse length outside 10..1000 is replaced by the
// built-in row's value; frequencies are rounded to 5 kHz and pulse lengths to 10 us.
// False, with `working` untouched, when the magic is wrong or there are fewer than 5200
// bytes.
bool ParseConfigFile(const uint8_t* data, size_t size, UserConfigTable& working);

// The same for the file at `path`, of which only the first 5200 bytes are read. False also
// when it is missing, cannot be read or is not a regular file (a FIFO is never waited on);
// for those that are there, `refusal` (when given) says why.
bool ReadConfigFile(const std::string& path, UserConfigTable& working, std::string* refusal = nullptr);

// The 5200 bytes of a file holding rows 0..14 of `active`.
std::vector<uint8_t> ConfigFileBytes(const UserConfigTable& active);

// Writes ConfigFileBytes(active) to `path` through a temporary file, so an existing file
// is only replaced by a complete one. False when the file could not be written.
bool WriteConfigFile(const std::string& path, const UserConfigTable& active);

}  // namespace tidemar
