// tidemar-cli export: data files into the tables and tracks other tools read (CSV,
// GeoJSON, KML, GPX), one record at a time, several files side by side.
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "CliCommands.h"
#include "CliOptions.h"
#include "CliJobs.h"
#include "export/FileExport.h"
#include "files/DataFileReader.h"
#include "settings/FileReplace.h"

namespace tidemar::cli {

namespace {

const char* const ExportHelp =
    "Usage: tidemar-cli export DATA.K7T... --format csv|geojson|kml|gpx\n"
    "                          [--out FILE | --out-dir DIR] [--settings FILE] [--jobs N]\n"
    "\n"
    "Reads each data file once, record by record, and writes:\n"
    "  csv      one row per record: record, offset, date, time, head_position,\n"
    "           head_angle_deg, step_direction, range_m, gain, mode, speed, sector_deg,\n"
    "           train_deg, frequency_khz, sound_velocity_ms, data_bits, profile_range_m,\n"
    "           latitude, longitude, user_text (RFC 4180, UTF-8, LF line ends)\n"
    "  geojson  the GPS track as a LineString with a Point at its first and last position\n"
    "  kml      the GPS track as one Placemark with a LineString\n"
    "  gpx      the GPS track as one trk with a trkpt per position\n"
    "Positions are decimal degrees (six decimals) from the recorded position text; a\n"
    "position repeated by the records that follow is one point of a track.\n"
    "\n"
    "The output goes to stdout, to FILE with --out (one data file), or with --out-dir to\n"
    "DIR/<data file name>.csv|.geojson|.kml|.gpx, one per data file, the files worked on\n"
    "side by side (--jobs N threads, default: one per core). Each output is written under\n"
    "a temporary name and renamed when whole; interrupted (Ctrl+C or a kill), the\n"
    "outputs being written are given up and their temporary files removed. Sound\n"
    "velocities of records that store none come from the settings (FILE, default\n"
    "./TIDEMAR.INI).\n"
    "\n"
    "Damaged stretches are passed over as playback passes over them; the bytes skipped\n"
    "are reported on stderr.\n"
    "\n"
    "Exit status: 0 every file gave at least one record, 1 a file gave none or an output\n"
    "could not be written, 2 usage error.\n";

struct ExportJob {
    std::string Input;
    std::string Output;  // empty: stdout
};

std::string Plural(long long n, const char* one, const char* many) {
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

// Exports one file; the messages name it. Once options.Stop is set (Ctrl+C or a kill), the
// file being written is given up (its temporary file removed) and one not begun is not begun.
int ExportOne(const ExportJob& job, ExportOptions options) {
    const char* input = job.Input.c_str();
    const auto stopped = [&options] { return options.Stop && options.Stop->load(); };
    if (stopped()) return 1;
    DataFileReader reader;
    std::string reason;
    if (!reader.Open(job.Input, &reason)) {
        std::fprintf(stderr, "tidemar-cli: %s: %s\n", input, reason.c_str());
        return 1;
    }
    options.Name = std::filesystem::path(job.Input).filename().string();

    ExportResult result;
    if (job.Output.empty()) {
        result = ExportDataFile(reader, options, [](std::string_view bytes) {
            return std::fwrite(bytes.data(), 1, bytes.size(), stdout) == bytes.size();
        });
        if (std::fflush(stdout) != 0 && !result.Failed) {
            result.Failed = true;
            result.FailReason = "write failed";
        }
    } else {
        errno = 0;
        ReplacingFile out(job.Output);
        if (!out.IsOpen()) {
            std::error_code error;
            const char* why = std::filesystem::is_directory(job.Output, error) ? "it is a folder"
                              : OtherThanARegularFile(job.Output)              ? "it is not a regular file"
                              : errno != 0                                     ? std::strerror(errno)
                                                                               : "cannot create a file beside it";
            std::fprintf(stderr, "tidemar-cli: %s: cannot write %s: %s\n", input, job.Output.c_str(), why);
            return 1;
        }
        result = ExportDataFile(reader, options,
                                [&out](std::string_view bytes) { return out.Write(bytes.data(), bytes.size()); });
        if (result.Records > 0 && !result.Failed && !out.Commit()) {
            result.Failed = true;
            result.FailReason = std::strerror(errno);
        }
    }

    if (stopped() && result.Failed) {
        std::fprintf(stderr, "tidemar-cli: %s: interrupted%s%s\n", input,
                     job.Output.empty() ? "" : "; nothing written to ", job.Output.c_str());
        return 1;
    }
    if (result.SkippedBytes > 0)
        std::fprintf(stderr, "tidemar-cli: %s: skipped %s of damaged data in %s (the first at offset %lld: %s)\n",
                     input, Plural(result.SkippedBytes, "byte", "bytes").c_str(),
                     Plural(result.DamagedStretches, "stretch", "stretches").c_str(),
                     static_cast<long long>(result.FirstDamageOffset), result.FirstDamageReason.c_str());
    if (result.Failed) {
        const std::string where = job.Output.empty() ? "stdout" : job.Output;
        std::fprintf(stderr, "tidemar-cli: %s: cannot write %s: %s\n", input, where.c_str(), result.FailReason.c_str());
        return 1;
    }
    if (result.Records == 0) {
        std::fprintf(stderr, "tidemar-cli: %s: no whole record in the file%s\n", input,
                     job.Output.empty() ? "" : "; nothing written");
        return 1;
    }
    if (options.Format != ExportFormat::Csv && result.Positions == 0)
        std::fprintf(stderr, "tidemar-cli: warning: %s: no record carries a position; the track is empty\n", input);
    std::fprintf(
        stderr, "tidemar-cli: %s: %s, %s%s -> %s\n", input, Plural(result.Records, "record", "records").c_str(),
        (std::to_string(result.Positions) + " with a position").c_str(),
        options.Format == ExportFormat::Csv ? ""
                                            : (", " + Plural(result.Points, "track point", "track points")).c_str(),
        job.Output.empty() ? "stdout" : job.Output.c_str());
    return 0;
}

bool SameFile(const std::string& a, const std::string& b) {
    std::error_code error;
    return std::filesystem::equivalent(a, b, error);
}

}  // namespace

int RunExport(const std::vector<std::string>& args) {
    std::vector<std::string> inputs;
    std::string formatName, outFile, outDir, settingsPath = "TIDEMAR.INI";
    int jobs = DefaultJobCount();
    const CommandOptions command{"export", ExportHelp, {"--format", "--out", "--out-dir", "--settings", "--jobs"}, {}};
    const int optionsStatus = ReadOptions(
        args, command,
        [&](std::string_view option, const std::string& value) {
            if (option == "--format") formatName = value;
            if (option == "--out") outFile = value;
            if (option == "--out-dir") outDir = value;
            if (option == "--settings") settingsPath = value;
            if (option == "--jobs" && !ParseJobCount(value, jobs))
                return std::string("--jobs needs a whole number above 0");
            return std::string();
        },
        inputs);
    if (optionsStatus >= 0) return optionsStatus;
    if (inputs.empty()) return UsageError("export needs a data file");
    if (formatName.empty()) return UsageError("export needs --format csv|geojson|kml|gpx");
    const auto format = ParseExportFormat(formatName);
    if (!format) return UsageError("unknown format '" + formatName + "' (csv, geojson, kml or gpx)");
    if (!outFile.empty() && !outDir.empty()) return UsageError("give --out or --out-dir, not both");
    if (inputs.size() > 1 && outDir.empty()) return UsageError("several data files need --out-dir DIR");

    std::vector<ExportJob> work;
    std::map<std::string, std::string> outputs;
    for (const std::string& input : inputs) {
        ExportJob job{input, outFile};
        if (!outDir.empty())
            job.Output = (std::filesystem::path(outDir) / std::filesystem::path(input).stem()).string() +
                         ExportExtension(*format);
        if (!job.Output.empty()) {
            const auto [at, fresh] = outputs.emplace(job.Output, input);
            if (!fresh) return UsageError(at->second + " and " + input + " would both be written to " + job.Output);
            for (const std::string& other : inputs)
                if (SameFile(job.Output, other))
                    return UsageError("the output " + job.Output + " is a data file given");
        }
        work.push_back(std::move(job));
    }
    if (!outDir.empty() && !OutputFolder(outDir)) return 1;

    ExportOptions options;
    options.Format = *format;
    options.SettingsSoundVelocity = LoadStateFor(settingsPath, DataSource::File).SoundVelocityMeters;
    options.Stop = &WatchStopSignals();
    return RunJobs(work.size(), jobs, [&](size_t i) { return ExportOne(work[i], options); });
}

}  // namespace tidemar::cli
