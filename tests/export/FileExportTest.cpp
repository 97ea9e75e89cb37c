// Whole data files exported: the CSV table and the three track documents byte for byte,
// repeats collapsed, damaged stretches passed over and counted, tracks of one point and
// of none, and output that cannot be written.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ExportTestSupport.h"
#include "TempDir.h"
#include "export/FileExport.h"
#include "export/MarkupText.h"
#include "files/DataFileReader.h"

namespace tidemar {
namespace {

using namespace exporttest;

const std::string NoPosition(24, '\0');

// Four pings: a position, the same again, a new one, none; sound velocities stored, out
// of range (the one before stays) and not stored (the settings' is used).
std::vector<SonarState> FourPings() {
    std::vector<SonarState> pings = {ExportPing(633, 19, " 48.07.038 N011.31.000 E"),
                                     ExportPing(636, 19, " 48.07.038 N011.31.000 E"),
                                     ExportPing(639, 20, " 48.07.040 N011.31.006 E"), ExportPing(590, 21, NoPosition)};
    pings[1].GridMode = DisplayMode::Polar;
    pings[2].GridMode = DisplayMode::SideScan;
    pings[2].SoundVelocityMeters = 3000.0f;
    pings[2].UserText.clear();
    pings[3].SoundVelocityMeters = -1.0f;
    return pings;
}

struct Exported {
    ExportResult Result;
    std::string Text;
};

Exported Export(const Bytes& file, ExportFormat format, size_t spoolMemory = 4 * 1024 * 1024) {
    testing::TempDir dir;
    const std::string path = dir.File("track.K7T");
    testing::WriteBytes(path, std::string(file.begin(), file.end()));
    DataFileReader reader;
    EXPECT_TRUE(reader.Open(path, nullptr));
    Exported out;
    ExportOptions options{format, "track.K7T", 1500.0f, spoolMemory};
    out.Result = ExportDataFile(reader, options, [&](std::string_view bytes) {
        out.Text += bytes;
        return true;
    });
    return out;
}

const char* const Header =
    "record,offset,date,time,head_position,head_angle_deg,step_direction,range_m,gain,mode,speed,sector_deg,"
    "train_deg,frequency_khz,sound_velocity_ms,data_bits,profile_range_m,latitude,longitude,user_text\n";

const std::string Description = "First: 2026-12-07 12:35:19.25; last: 2026-12-07 12:35:21.25; 4 records, 2 positions";

TEST(FileExport, WritesEveryFormatByteForByte) {
    struct Case {
        const char* legend;
        ExportFormat format;
        std::string expected;
    };
    const Case cases[] = {
        {"csv: a row per record, quoted user text in UTF-8", ExportFormat::Csv,
         std::string(Header) +
             "0,0,2026-12-07,12:35:19.25,633,9.9,1,50,40,Sector,2,90,30,900,1480.5,8,11.700,48.117300,11.516667,"
             "\"Pier \"\"7\"\", east\xC3\xA9\"\n"
             "1,768,2026-12-07,12:35:19.25,636,10.8,1,50,40,Polar,2,90,30,900,1480.5,8,11.700,48.117300,11.516667,"
             "\"Pier \"\"7\"\", east\xC3\xA9\"\n"
             "2,1536,2026-12-07,12:35:20.25,639,11.7,1,50,40,SS,2,90,30,900,1480.5,8,11.700,48.117333,11.516767,\n"
             "3,2304,2026-12-07,12:35:21.25,590,-3.0,1,50,40,Sector,2,90,30,900,1500.0,8,11.700,,,"
             "\"Pier \"\"7\"\", east\xC3\xA9\"\n"},
        {"geojson: the line without the repeat, a point at each end", ExportFormat::GeoJson,
         "{\"type\":\"FeatureCollection\",\"features\":[\n"
         "{\"type\":\"Feature\",\"properties\":{\"name\":\"track.K7T\",\"records\":4,\"positions\":2,"
         "\"first_date\":\"2026-12-07\",\"first_time\":\"12:35:19.25\",\"last_date\":\"2026-12-07\","
         "\"last_time\":\"12:35:21.25\"},\"geometry\":{\"type\":\"LineString\",\"coordinates\":[\n"
         "[11.516667,48.117300]\n"
         ",[11.516767,48.117333]\n"
         "]}},\n"
         "{\"type\":\"Feature\",\"properties\":{\"name\":\"first\",\"time\":\"2026-12-07T12:35:19.25\"},"
         "\"geometry\":{\"type\":\"Point\",\"coordinates\":[11.516667,48.117300]}},\n"
         "{\"type\":\"Feature\",\"properties\":{\"name\":\"last\",\"time\":\"2026-12-07T12:35:20.25\"},"
         "\"geometry\":{\"type\":\"Point\",\"coordinates\":[11.516767,48.117333]}}\n"
         "]}\n"},
        {"kml: one placemark, lon,lat,0", ExportFormat::Kml,
         "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<kml xmlns=\"http://www.opengis.net/kml/2.2\">\n<Document>\n"
         "<name>track.K7T</name>\n<Placemark>\n<name>track.K7T</name>\n<description>" +
             Description +
             "</description>\n<LineString>\n<tessellate>1</tessellate>\n<coordinates>\n"
             "11.516667,48.117300,0\n11.516767,48.117333,0\n</coordinates>\n</LineString>\n</Placemark>\n"
             "</Document>\n</kml>\n"},
        {"gpx: a trkpt per distinct position with its local time", ExportFormat::Gpx,
         "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
         "<gpx version=\"1.1\" creator=\"tidemar-cli\" xmlns=\"http://www.topografix.com/GPX/1/1\">\n"
         "<metadata><name>track.K7T</name></metadata>\n<trk>\n<name>track.K7T</name>\n<desc>" +
             Description +
             "</desc>\n<trkseg>\n"
             "<trkpt lat=\"48.117300\" lon=\"11.516667\"><time>2026-12-07T12:35:19.25</time></trkpt>\n"
             "<trkpt lat=\"48.117333\" lon=\"11.516767\"><time>2026-12-07T12:35:20.25</time></trkpt>\n"
             "</trkseg>\n</trk>\n</gpx>\n"},
    };
    const Bytes file = RecordFileOf(FourPings());
    for (const Case& c : cases) {
        const Exported out = Export(file, c.format);
        EXPECT_EQ(out.Text, c.expected) << c.legend;
        EXPECT_EQ(out.Result.Records, 4) << c.legend;
        EXPECT_EQ(out.Result.Positions, 3) << c.legend;
        EXPECT_FALSE(out.Result.Failed) << c.legend;
        // Points kept aside in a temporary file give the same document.
        EXPECT_EQ(Export(file, c.format, 0).Text, c.expected) << c.legend << " (spooled)";
    }
}

TEST(FileExport, TracksOfOnePointOrNoneAreStillDocuments) {
    struct Case {
        const char* legend;
        ExportFormat format;
        std::vector<std::string> present, absent;
    };
    const SonarState one = ExportPing(600, 1, " 48.07.038 N011.31.000 E");
    const SonarState none = ExportPing(600, 1);
    const std::vector<Case> withOne = {
        {"geojson: no line, both end points",
         ExportFormat::GeoJson,
         {"\"geometry\":null", "\"name\":\"first\"", "\"name\":\"last\""},
         {"LineString"}},
        {"kml: a Point",
         ExportFormat::Kml,
         {"<Point>\n<coordinates>11.516667,48.117300,0</coordinates>"},
         {"LineString"}},
        {"gpx: one trkpt", ExportFormat::Gpx, {"<trkseg>\n<trkpt lat=\"48.117300\""}, {}},
    };
    const std::vector<Case> withNone = {
        {"geojson: the track feature alone", ExportFormat::GeoJson, {"\"geometry\":null}\n]}\n"}, {"Point"}},
        {"kml: a placemark without geometry", ExportFormat::Kml, {"</description>\n</Placemark>"}, {"coordinates"}},
        {"gpx: a trk without trkseg", ExportFormat::Gpx, {"</desc>\n</trk>"}, {"trkseg"}},
    };
    for (const auto& [pings, cases] :
         {std::pair{std::vector{one, one}, withOne}, std::pair{std::vector{none}, withNone}})
        for (const Case& c : cases) {
            const std::string text = Export(RecordFileOf(pings), c.format).Text;
            for (const std::string& s : c.present) EXPECT_NE(text.find(s), std::string::npos) << c.legend << ": " << s;
            for (const std::string& s : c.absent) EXPECT_EQ(text.find(s), std::string::npos) << c.legend << ": " << s;
        }
}

TEST(FileExport, DamageIsPassedOverAndCounted) {
    struct Case {
        const char* legend;
        size_t from, to;        // bytes overwritten
        size_t prepended, cut;  // garbage put before the first record, bytes cut off the end
        int64_t records, skipped, stretches;
    };
    const Case cases[] = {
        {"marker of the second record gone: the record is skipped", 700, 1000, 0, 0, 3, 768, 1},
        {"garbage before the first record", 0, 0, 50, 0, 4, 50, 1},
        {"the last record cut short", 0, 0, 0, 68, 3, 700, 1},
    };
    for (const Case& c : cases) {
        Bytes file = RecordFileOf(FourPings());
        std::fill(file.begin() + static_cast<long>(c.from), file.begin() + static_cast<long>(c.to), 0xAA);
        file.insert(file.begin(), c.prepended, 0x55);
        file.erase(file.end() - static_cast<long>(c.cut), file.end());
        const Exported out = Export(file, ExportFormat::Csv);
        EXPECT_EQ(out.Result.Records, c.records) << c.legend;
        EXPECT_EQ(out.Result.SkippedBytes, c.skipped) << c.legend;
        EXPECT_EQ(out.Result.DamagedStretches, c.stretches) << c.legend;
    }
}

TEST(FileExport, ARefusedWriteStopsTheExport) {
    testing::TempDir dir;
    const Bytes file = RecordFileOf(FourPings());
    testing::WriteBytes(dir.File("a.K7T"), std::string(file.begin(), file.end()));
    DataFileReader reader;
    ASSERT_TRUE(reader.Open(dir.File("a.K7T"), nullptr));
    for (const ExportFormat format : {ExportFormat::Csv, ExportFormat::Gpx}) {
        int calls = 0;
        const ExportResult result = ExportDataFile(reader, {format, "a.K7T"}, [&](std::string_view) {
            ++calls;
            return false;
        });
        EXPECT_TRUE(result.Failed);
        EXPECT_EQ(calls, 1);
    }
}

TEST(MarkupText, AnyBytesBecomeValidText) {
    struct Case {
        const char* legend;
        std::string in, json, xml;
    };
    const Case cases[] = {
        {"plain", "a.K7T", "\"a.K7T\"", "a.K7T"},
        {"markup characters", "<a&\"b'>", "\"<a&\\\"b'>\"", "&lt;a&amp;&quot;b&apos;&gt;"},
        {"controls", "a\tb\x01\\", "\"a\\tb\\u0001\\\\\"", "a\tb\\"},
        {"valid UTF-8 kept", "\xC3\xA9\xF0\x9F\x90\x9F", "\"\xC3\xA9\xF0\x9F\x90\x9F\"", "\xC3\xA9\xF0\x9F\x90\x9F"},
        {"a Latin-1 byte replaced", "caf\xE9", "\"caf\xEF\xBF\xBD\"", "caf\xEF\xBF\xBD"},
        {"overlong and surrogate replaced", "\xC0\xAF\xED\xA0\x80",
         "\"\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\"",
         "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"},
        {"DEL and a C1 control escaped, the character after them kept", "\x7F\xC2\x85\xC2\xA0",
         "\"\\u007f\\u0085\xC2\xA0\"", "\x7F\xC2\x85\xC2\xA0"},
        {"cut short at the end", "a\xE2\x82", "\"a\xEF\xBF\xBD\xEF\xBF\xBD\"", "a\xEF\xBF\xBD\xEF\xBF\xBD"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(JsonQuoted(c.in), c.json) << c.legend;
        EXPECT_EQ(XmlEscaped(c.in), c.xml) << c.legend;
    }
}

}  // namespace
}  // namespace tidemar
