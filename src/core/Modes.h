#pragma once
// Names for the numbers the modes are stored as. The fields stay plain ints: they are
// TIDEMAR.INI values and bytes of the data records, and files written years apart must
// keep reading the same way.

namespace tidemar {

// RunMode, LastDataSource: where the pings come from.
namespace DataSource {
inline constexpr int Head = 0;  // the live head over the link
inline constexpr int File = 1;  // a .K7T file played back
}  // namespace DataSource

// GridMode: how the pings are drawn.
namespace DisplayMode {
inline constexpr int Sector = 0;
inline constexpr int Polar = 1;
inline constexpr int SideScan = 2;
inline constexpr int Profile = 3;  // played back from files only; the panel never selects it
}  // namespace DisplayMode

// Xdcr: which way the transducer points.
namespace Transducer {
inline constexpr int Down = 0;
inline constexpr int Up = 1;
}  // namespace Transducer

// SSTrain and SsSide: the side a side-scan head looks to (SSTrain is Port or Starboard).
namespace SideScanSide {
inline constexpr int Port = 0;
inline constexpr int Both = 1;
inline constexpr int Starboard = 2;
}  // namespace SideScanSide

}  // namespace tidemar
