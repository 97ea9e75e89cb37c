// The record values the export formats write: dates, times, modes, CSV fields.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "ExportTestSupport.h"
#include "export/CsvRow.h"
#include "export/ExportRecord.h"

namespace tidemar {
namespace {

TEST(RecordFields, DatesAndTimesInIsoForm) {
    struct Case {
        const char* legend;
        const char* date;
        const char* time;
        int hundredths;
        std::optional<std::string> isoDate, isoDateTime;
    };
    const Case cases[] = {
        {"as recorded", "07-DEC-2026", "12:35:19", 25, "2026-12-07", "2026-12-07T12:35:19.25"},
        {"month in any case", "29-feb-2024", "00:00:00", 0, "2024-02-29", "2024-02-29T00:00:00.00"},
        {"year 2000 of an old recorder, as playback reads it", "01-JAN-2000", "23:59:59", 99, "2000-01-01",
         "2000-01-01T23:59:59.99"},
        {"no 29 February in 2023", "29-FEB-2023", "00:00:00", 0, std::nullopt, std::nullopt},
        {"unknown month", "07-XYZ-2026", "12:35:19", 0, std::nullopt, std::nullopt},
        {"day 0", "00-DEC-2026", "12:35:19", 0, std::nullopt, std::nullopt},
        {"hour 24", "07-DEC-2026", "24:00:00", 0, "2026-12-07", std::nullopt},
        {"time not a time", "07-DEC-2026", "12-35-19", 0, "2026-12-07", std::nullopt},
        {"empty", "", "", 0, std::nullopt, std::nullopt},
    };
    for (const Case& c : cases) {
        RecordHeader h;
        h.DateText = c.date;
        h.TimeText = c.time;
        h.Hundredths = c.hundredths;
        EXPECT_EQ(IsoDate(c.date), c.isoDate) << c.legend;
        EXPECT_EQ(IsoDateTime(h), c.isoDateTime) << c.legend;
    }
}

TEST(RecordFields, DatesAsPlaybackReadsThem) {
    struct Case {
        const char* legend;
        const char* stored;  // the 12 bytes at offset 8
        std::optional<std::string> isoDate;
    };
    const Case cases[] = {
        {"four-digit year", "07-DEC-2026", "2026-12-07"},
        {"century and three-digit year", "01-JAN-19100", "2000-01-01"},
        {"three-digit year 126", "28-FEB-19126", "2026-02-28"},
        {"garbage", "yesterday", std::nullopt},
    };
    for (const Case& c : cases) {
        SonarDataRecord record = BuildDataRecord(exporttest::ExportPing(600, 0), 0);
        std::fill_n(record.begin() + 8, 12, 0);
        std::copy_n(c.stored, std::char_traits<char>::length(c.stored), record.begin() + 8);
        const ExportRecord e = DecodeExportRecord(record.data(), static_cast<int>(record.size()), 0, 0);
        EXPECT_EQ(IsoDate(e.Header.DateText), c.isoDate) << c.legend;
    }
}

TEST(RecordFields, ModeNamesAndCsvQuoting) {
    const std::pair<int, const char*> modes[] = {{0, "Sector"}, {1, "Polar"}, {2, "SS"}, {3, "Profile"}, {6, "6"}};
    for (const auto& [mode, name] : modes) EXPECT_EQ(ModeName(mode), name) << mode;

    struct Case {
        const char* legend;
        const char* field;
        const char* written;
    };
    const Case cases[] = {
        {"plain", "Pier 7", "Pier 7"},
        {"comma", "a,b", "\"a,b\""},
        {"quotes doubled", "say \"hi\"", "\"say \"\"hi\"\"\""},
        {"line ends", "a\r\nb", "\"a\r\nb\""},
        {"empty", "", ""},
    };
    for (const Case& c : cases) {
        std::string out;
        AppendCsvField(out, c.field);
        EXPECT_EQ(out, c.written) << c.legend;
    }
}

}  // namespace
}  // namespace tidemar
