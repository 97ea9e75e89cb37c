#pragma once
// The ASCII XYZ file of one auto-profile scan: a cross-section of the profile points of
// one sweep, in display units.
//
//   0012.50,M            chainage (y), then M (metres) or F (feet)    "%07.2f", 7 chars
//   -001.00              sonar elevation (z)
//   0003.25              sonar offset across (x)
//   1500.00              sound velocity (ft/s in feet)
//   [date TAB time TAB] [r TAB 0 TAB angle TAB] x TAB y TAB z      one line per point
//
// Every line ends in CR LF; the point values are "% 07.3f". The first and the last point
// of the list are left out: they belong to the turns of the head at the sector edges.

#include <string>
#include <vector>

#include "core/AutoProfile.h"
#include "core/SonarState.h"
#include "core/Prompts.h"

namespace tidemar {

inline constexpr const char* XyzExtensionMessage = "File extension must be .XYZ";
inline constexpr const char* XyzFileCaption = "Open an ASCII XYZ File For Recording";

// The whole file, built in memory.
std::string XyzFileContent(const SonarState& state, const std::vector<ProfileScanRecord>& records);

enum class XyzWrite {
    Written,
    WrongExtension,  // refused with a message; nothing created
    NotCreated,      // the file could not be made; no message
    WriteFailed,     // made but not completely written (a full disk); the file is removed
};

// Writes the scan to `path`, replacing a file of that name. A name that does not end in
// .xyz (any case) is refused with "File extension must be .XYZ".
XyzWrite WriteXyzFile(const std::string& path, const SonarState& state, const std::vector<ProfileScanRecord>& records,
                      Prompts& prompts);

}  // namespace tidemar
