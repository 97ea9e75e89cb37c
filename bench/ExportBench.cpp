// Export throughput: records/s of tidemar-cli export's writers over a file of recorded
// pings with positions (one file, one core, from the page cache).
//   tidemar-bench-export [benchmark options]     the benchmarks
//   tidemar-bench-export --make FILE RECORDS    writes such a file for bench/export.sh
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#include "export/FileExport.h"
#include "files/DataRecord.h"
#include "files/RecordFile.h"

namespace tidemar {
namespace {

// Image pings of a Polar sweep, the boat moving one thousandth of a minute every ten
// pings, as a receiver at 1 Hz and a head at 10 pings/s would record it.
bool MakeFile(const std::string& path, long records) {
    RecordFile file;
    std::string reason;
    if (!file.Create(path, &reason)) return false;
    SonarState s;
    s.UseGPS = 1;
    s.DataBits = 8;
    s.DataSizeCode = 3;
    s.ExpectedReturnLength = 513;
    s.DateText = "07-DEC-2026";
    s.UserText = "Harbour survey, line 12";
    s.ReceiveBuffer[0] = 'B';
    s.ReceiveBuffer[1] = 'G';
    s.ReceiveBuffer[2] = 'L';
    s.ReceiveBuffer[7] = 50;
    s.ReceiveBuffer[512] = 0xFC;
    for (long i = 0; i < records; ++i) {
        const int position = static_cast<int>(i % 1200);
        s.ReceiveBuffer[5] = static_cast<uint8_t>(position & 0x7F);
        s.ReceiveBuffer[6] = static_cast<uint8_t>(position >> 7);
        const long second = i / 10;
        char text[32];
        std::snprintf(text, sizeof text, "%02ld:%02ld:%02ld", second / 3600 % 24, second / 60 % 60, second % 60);
        s.TimeText = text;
        s.Hundredths = static_cast<int>(i % 10 * 10);
        const long step = i / 10;
        std::snprintf(text, sizeof text, " 48.%02ld.%03ld N011.%02ld.%03ld E", step / 1000 % 60, step % 1000,
                      step / 1000 % 60, (step * 3) % 1000);
        s.GpsPositionText = text;
        if (!file.Append(BuildDataRecord(s, file.PreviousRecordSize()), &reason)) return false;
    }
    return file.Close(&reason);
}

const std::string& BenchFile() {
    static const std::string path = [] {
        const std::string p = (std::filesystem::temp_directory_path() / "tidemar-bench-export.K7T").string();
        if (!MakeFile(p, 200000)) std::abort();
        return p;
    }();
    return path;
}

void ExportFormatBench(benchmark::State& run, ExportFormat format) {
    DataFileReader reader;
    if (!reader.Open(BenchFile(), nullptr)) std::abort();
    int64_t records = 0, bytes = 0;
    for (auto _ : run) {
        const ExportResult result = ExportDataFile(reader, {format, "bench.K7T"}, [&](std::string_view piece) {
            bytes += static_cast<int64_t>(piece.size());
            return true;
        });
        records += result.Records;
    }
    run.SetItemsProcessed(records);
    run.SetBytesProcessed(bytes);
}
BENCHMARK_CAPTURE(ExportFormatBench, csv, ExportFormat::Csv)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ExportFormatBench, geojson, ExportFormat::GeoJson)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ExportFormatBench, kml, ExportFormat::Kml)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ExportFormatBench, gpx, ExportFormat::Gpx)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tidemar

int main(int argc, char** argv) {
    if (argc == 4 && std::strcmp(argv[1], "--make") == 0) return tidemar::MakeFile(argv[2], std::atol(argv[3])) ? 0 : 1;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    std::filesystem::remove(std::filesystem::temp_directory_path() / "tidemar-bench-export.K7T");
    return 0;
}
