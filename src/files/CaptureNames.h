#pragma once
// The automatic names of the files an auto-profile scan leaves behind: the scan's XYZ
// file and its screen capture share one rule, so that the two files of one scan carry the
// same date and, as a rule, the same running number.
//
//   DDMMMYYYY-NNNN.EXT     e.g. 07DEC2026-0001.XYZ, 07DEC2026-0008.BMP
//
// DDMMMYYYY is the date text of the ping cycle ("07-DEC-2026") without its dashes; NNNN
// is one more than the largest number already used by a file of the same date and
// extension in the folder, never above 9999 (at 9999 the file of that number is replaced).

#include <string>

#include "core/SonarState.h"

namespace tidemar {

// The next free name `stem` + four digits + `extension` in `directory`: one above the
// largest number already there (0001 when none, 9999 at most, then 9999 again), matched
// without regard to case. Returns `directory` joined with the name by '/', or the bare
// name when `directory` is empty.
std::string NextNumberedName(const std::string& directory, const std::string& stem, const std::string& extension);

// The next free name in `directory` for the date text `dateText` ("DD-MMM-YYYY") and the
// extension `extension` (with its dot: ".XYZ", ".BMP"). Returns the path: `directory`
// joined with the name by '/', or the bare name when `directory` is empty (the current
// directory). Existing names are compared without regard to case, as a file
// chooser would list them; the number is read from the four characters after the dash
// (leading digits only, so a name like 07DEC2026-12ab.XYZ counts as 12).
std::string NextCaptureName(const std::string& directory, const std::string& dateText, const std::string& extension);

// The same for the date of the current ping (`state.DateText`). Used for the screen
// capture of an auto-profile scan (extension ".BMP") and for the scan's XYZ file
// (extension ".XYZ").
std::string ProfileCaptureName(const std::string& directory, const SonarState& state, const std::string& extension);

// The nine-character prefix (07DEC2026) of a date text; characters 0, 1, 3, 4, 5, 7, 8, 9
// and 10 of "07-DEC-2026". A shorter text gives the characters that exist.
std::string CaptureDatePrefix(const std::string& dateText);

}  // namespace tidemar
