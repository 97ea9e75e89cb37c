#pragma once
// One data file exported, record by record: the file is read once from start to end as
// forward playback reads it, a damaged stretch is passed over to the next whole record
// and counted, and the output goes to the sink in pieces of bounded size. The points of a
// track are kept aside in a temporary file until the head of the document can be written,
// so memory stays flat whatever the size of the recording.

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "export/TrackDocument.h"
#include "files/DataFileReader.h"

namespace tidemar {

// Takes the next piece of the output; false when it could not be written (the export
// then stops).
using ExportSink = std::function<bool(std::string_view)>;

struct ExportResult {
    int64_t Records = 0;
    int64_t Positions = 0;  // records with a position
    int64_t Points = 0;     // points of the track, repeats collapsed (track formats)
    int64_t SkippedBytes = 0;
    int64_t DamagedStretches = 0;
    int64_t FirstDamageOffset = 0;
    std::string FirstDamageReason;
    bool Failed = false;  // the sink refused, or the points could not be kept aside
    std::string FailReason;
};

struct ExportOptions {
    ExportFormat Format = ExportFormat::Csv;
    std::string Name;                           // the file name written into track documents
    float SettingsSoundVelocity = 1500;         // for records that store none
    size_t SpoolMemoryBytes = 4 * 1024 * 1024;  // track points kept in memory before a temporary file
    // The export stops after the record being read once this (may be null) turns true; the
    // result is then Failed, with the reason "interrupted".
    const std::atomic<bool>* Stop = nullptr;
};

ExportResult ExportDataFile(const DataFileReader& reader, const ExportOptions& options, const ExportSink& sink);

}  // namespace tidemar
