#pragma once
// The GPS track of a recording as GeoJSON (RFC 7946), KML 2.2 and GPX 1.1 documents.
//
// A document is written in three pieces so that a file of any size needs flat memory: the
// points one by one as the records come (kept aside by the caller), then the head, which
// names the file and its first and last time, the points, and the tail. Coordinates are
// decimal degrees with six decimals: longitude first in GeoJSON and KML, attributes in GPX.
//
// A line needs two points: a track of one position is a Point (KML) or the two point
// features alone (GeoJSON); a track of none is a document without geometry.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "export/ExportRecord.h"

namespace tidemar {

enum class ExportFormat { Csv, GeoJson, Kml, Gpx };

// "csv", "geojson", "kml" or "gpx".
std::optional<ExportFormat> ParseExportFormat(std::string_view name);
// ".csv", ".geojson", ".kml", ".gpx".
const char* ExportExtension(ExportFormat format);

struct TrackPoint {
    GeoPosition Position;
    std::optional<std::string> Time;  // IsoDateTime of its record
};

struct TrackSummary {
    std::string Name;  // the data file's name
    int64_t Records = 0;
    std::optional<std::string> FirstDate, FirstTime, LastDate, LastTime;
    int64_t Points = 0;
    std::optional<TrackPoint> First, Last;

    // Counts a record, its time and, when `point` is given, a point of the track.
    void Add(const ExportRecord& record, const TrackPoint* point);
};

// Tells which positions start a new point: a repeat of the position before is none.
class TrackCollapser {
public:
    bool IsNew(const GeoPosition& position);

private:
    std::optional<GeoPosition> last_;
};

// The point with its line end, the n-th of the track (0-based).
void AppendTrackPoint(ExportFormat format, std::string& out, const TrackPoint& point, int64_t n);

// Whether the points go between head and tail (a line needs two).
bool TrackHasBody(ExportFormat format, const TrackSummary& summary);

std::string TrackHead(ExportFormat format, const TrackSummary& summary);
std::string TrackTail(ExportFormat format, const TrackSummary& summary);

}  // namespace tidemar
