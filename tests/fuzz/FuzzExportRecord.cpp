// Arbitrary bytes as a recorded position text and as a data record on its way to the
// export formats. Any position read must lie on the globe and print back to the degrees
// it came from; any record whose header a reader would accept must give one CSV row
// (one line end outside quotes) and one track point, without reading past its end.
#include <cstddef>
#include <cstdint>
#include <cmath>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "export/CsvRow.h"
#include "export/ExportRecord.h"
#include "export/GeoPosition.h"
#include "export/TrackDocument.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace tidemar;
    const std::string_view input(reinterpret_cast<const char*>(data), size);

    if (const auto p = ParsePositionText(input.substr(0, 24))) {
        if (!(p->Latitude >= -90.0 && p->Latitude <= 90.0 && p->Longitude >= -180.0 && p->Longitude <= 180.0))
            std::abort();
        if (std::abs(std::strtod(FormatDegrees(p->Latitude).c_str(), nullptr) - p->Latitude) > 5e-7) std::abort();
    }

    if (size < RecordHeaderBytes || CheckRecordHeader(data) != RecordDamage::None) return 0;
    const int recordSize = (data[4] << 8) | data[5];
    if (static_cast<size_t>(recordSize) > size) return 0;
    // Exactly the record's bytes, so reading past its end is caught.
    const std::vector<uint8_t> record(data, data + recordSize);
    const ExportRecord e = DecodeExportRecord(record.data(), recordSize, 0, 0);
    std::string row;
    AppendCsvRow(row, e);
    bool quoted = false;
    int lineEnds = 0;
    for (const char c : row) {
        if (c == '"') quoted = !quoted;
        if (c == '\n' && !quoted) ++lineEnds;
    }
    if (lineEnds != 1 || row.back() != '\n') std::abort();
    if (e.Position) {
        std::string point;
        AppendTrackPoint(ExportFormat::Gpx, point, TrackPoint{*e.Position, IsoDateTime(e.Header)}, 0);
        if (point.find('<', 1) == std::string::npos) std::abort();
    }
    return 0;
}
