#include "export/TrackDocument.h"

#include "core/Cp1252.h"
#include "export/MarkupText.h"

namespace tidemar {

namespace {

std::string JsonOrNull(const std::optional<std::string>& text) { return text ? JsonQuoted(*text) : "null"; }

std::string LonLat(const GeoPosition& p) { return FormatDegrees(p.Longitude) + "," + FormatDegrees(p.Latitude); }

std::string GeoJsonPointFeature(const char* name, const TrackPoint& point) {
    return "{\"type\":\"Feature\",\"properties\":{\"name\":\"" + std::string(name) +
           "\",\"time\":" + JsonOrNull(point.Time) + "},\"geometry\":{\"type\":\"Point\",\"coordinates\":[" +
           LonLat(point.Position) + "]}}";
}

std::string Readable(const std::optional<std::string>& date, const std::optional<std::string>& time) {
    if (!date && !time) return "unknown";
    return date.value_or("?") + " " + time.value_or("?");
}

std::string Description(const TrackSummary& s) {
    return "First: " + Readable(s.FirstDate, s.FirstTime) + "; last: " + Readable(s.LastDate, s.LastTime) + "; " +
           std::to_string(s.Records) + " records, " + std::to_string(s.Points) + " positions";
}

const char* const XmlDeclaration = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";

}  // namespace

std::optional<ExportFormat> ParseExportFormat(std::string_view name) {
    if (name == "csv") return ExportFormat::Csv;
    if (name == "geojson") return ExportFormat::GeoJson;
    if (name == "kml") return ExportFormat::Kml;
    if (name == "gpx") return ExportFormat::Gpx;
    return std::nullopt;
}

const char* ExportExtension(ExportFormat format) {
    switch (format) {
    case ExportFormat::Csv: return ".csv";
    case ExportFormat::GeoJson: return ".geojson";
    case ExportFormat::Kml: return ".kml";
    case ExportFormat::Gpx: return ".gpx";
    }
    return "";
}

void TrackSummary::Add(const ExportRecord& record, const TrackPoint* point) {
    std::optional<std::string> date = IsoDate(record.Header.DateText);
    std::optional<std::string> time;
    if (!record.Header.TimeText.empty()) time = ValidUtf8(TimeWithHundredths(record.Header));
    if (Records == 0) {
        FirstDate = date;
        FirstTime = time;
    }
    LastDate = std::move(date);
    LastTime = std::move(time);
    ++Records;
    if (!point) return;
    if (Points == 0) First = *point;
    Last = *point;
    ++Points;
}

bool TrackCollapser::IsNew(const GeoPosition& position) {
    if (last_ && *last_ == position) return false;
    last_ = position;
    return true;
}

void AppendTrackPoint(ExportFormat format, std::string& out, const TrackPoint& point, int64_t n) {
    switch (format) {
    case ExportFormat::GeoJson:
        out += n == 0 ? "[" : ",[";
        out += LonLat(point.Position);
        out += "]\n";
        break;
    case ExportFormat::Kml:
        out += LonLat(point.Position);
        out += ",0\n";
        break;
    case ExportFormat::Gpx:
        out += "<trkpt lat=\"" + FormatDegrees(point.Position.Latitude) + "\" lon=\"" +
               FormatDegrees(point.Position.Longitude) + "\">";
        if (point.Time) out += "<time>" + *point.Time + "</time>";
        out += "</trkpt>\n";
        break;
    case ExportFormat::Csv: break;
    }
}

bool TrackHasBody(ExportFormat format, const TrackSummary& summary) {
    return summary.Points >= (format == ExportFormat::Gpx ? 1 : 2);
}

std::string TrackHead(ExportFormat format, const TrackSummary& s) {
    const bool line = TrackHasBody(format, s);
    switch (format) {
    case ExportFormat::GeoJson:
        return "{\"type\":\"FeatureCollection\",\"features\":[\n{\"type\":\"Feature\",\"properties\":{\"name\":" +
               JsonQuoted(s.Name) + ",\"records\":" + std::to_string(s.Records) +
               ",\"positions\":" + std::to_string(s.Points) + ",\"first_date\":" + JsonOrNull(s.FirstDate) +
               ",\"first_time\":" + JsonOrNull(s.FirstTime) + ",\"last_date\":" + JsonOrNull(s.LastDate) +
               ",\"last_time\":" + JsonOrNull(s.LastTime) +
               "},\"geometry\":" + (line ? "{\"type\":\"LineString\",\"coordinates\":[\n" : "null");
    case ExportFormat::Kml: {
        std::string head = std::string(XmlDeclaration) +
                           "<kml xmlns=\"http://www.opengis.net/kml/2.2\">\n<Document>\n" + "<name>" +
                           XmlEscaped(s.Name) + "</name>\n<Placemark>\n<name>" + XmlEscaped(s.Name) +
                           "</name>\n<description>" + XmlEscaped(Description(s)) + "</description>\n";
        if (line) head += "<LineString>\n<tessellate>1</tessellate>\n<coordinates>\n";
        return head;
    }
    case ExportFormat::Gpx: {
        std::string head = std::string(XmlDeclaration) +
                           "<gpx version=\"1.1\" creator=\"tidemar-cli\" xmlns=\"http://www.topografix.com/GPX/1/1\">\n"
                           "<metadata><name>" +
                           XmlEscaped(s.Name) + "</name></metadata>\n<trk>\n<name>" + XmlEscaped(s.Name) +
                           "</name>\n<desc>" + XmlEscaped(Description(s)) + "</desc>\n";
        if (line) head += "<trkseg>\n";
        return head;
    }
    case ExportFormat::Csv: break;
    }
    return "";
}

std::string TrackTail(ExportFormat format, const TrackSummary& s) {
    const bool line = TrackHasBody(format, s);
    switch (format) {
    case ExportFormat::GeoJson: {
        std::string tail = line ? "]}}" : "}";
        if (s.First) tail += ",\n" + GeoJsonPointFeature("first", *s.First);
        if (s.Last) tail += ",\n" + GeoJsonPointFeature("last", *s.Last);
        return tail + "\n]}\n";
    }
    case ExportFormat::Kml: {
        std::string tail;
        if (line)
            tail = "</coordinates>\n</LineString>\n";
        else if (s.First)
            tail = "<Point>\n<coordinates>" + LonLat(s.First->Position) + ",0</coordinates>\n</Point>\n";
        return tail + "</Placemark>\n</Document>\n</kml>\n";
    }
    case ExportFormat::Gpx: return std::string(line ? "</trkseg>\n" : "") + "</trk>\n</gpx>\n";
    case ExportFormat::Csv: break;
    }
    return "";
}

}  // namespace tidemar
