#pragma once
// Whole-file walks of a .K7T file for the command-line tools: every record in the order
// forward playback finds it, and the checks of `tidemar-cli verify`.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "files/DataFileReader.h"

namespace tidemar {

// Calls onRecord for every whole record from the start of the file, as forward playback
// reads them; the stretches passed over are added to damage when given.
void ScanDataFile(const DataFileReader& reader, const std::function<void(const FileRecord&)>& onRecord,
                  std::vector<DamagedRegion>* damage);

struct FileProblem {
    int64_t Offset = 0;
    std::string Text;
};

// Everything that keeps the file from being whole and linked, in file order: stretches
// that hold no whole record, back-links that do not lead to the record before (the first
// record's back-link is its own size), and a file without any record.
std::vector<FileProblem> VerifyDataFile(const DataFileReader& reader);

}  // namespace tidemar
