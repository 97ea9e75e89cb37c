// tidemar-cli dump: every record of a sonar data file as one JSON object per line.
#include <algorithm>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "CliCommands.h"
#include "files/DataFileCheck.h"
#include "files/DataFileReader.h"
#include "files/DataRecord.h"

namespace tidemar::cli {

namespace {

const char* const DumpHelp =
    "Usage: tidemar-cli dump DATA.K7T\n"
    "\n"
    "Prints every whole record of a sonar data file as one JSON object per line, in file\n"
    "order, decoded as playback decodes it: offset, size, DataSizeCode,\n"
    "ExpectedReturnLength, DateText, TimeText, Hundredths, FileHasGps, StepDirection,\n"
    "Xdcr, GridMode, Speed, Gain, SectorSize, Train, Absorption, DataBits, PulseLength,\n"
    "Profile, FileSoundVelocity, FileUserText, FileFrequency, ReplyType, ReturnHeadID,\n"
    "SerialStatus, HeadPosition, ReturnRange, ProfileRange, DataByteCount,\n"
    "GpsPositionText and BackLink. Values a record does not carry are null. Texts are\n"
    "Windows-1252 in the file and printed as UTF-8. Damaged stretches are passed over as\n"
    "playback passes over them ('verify' lists them).\n"
    "\n"
    "Exit status: 0 done, 2 when the file cannot be read.\n";

class JsonLine {
public:
    void Number(const char* key, long long value) {
        char text[32];
        std::snprintf(text, sizeof text, "%lld", value);
        Add(key, text);
    }
    void Number(const char* key, const std::optional<int>& value) {
        if (value)
            Number(key, static_cast<long long>(*value));
        else
            Add(key, "null");
    }
    void Text(const char* key, const std::optional<std::string>& value) {
        Add(key, value ? JsonString(*value) : "null");
    }
    void Add(const char* key, const std::string& json) {
        line_ += line_.empty() ? "{" : ",";
        line_ += "\"";
        line_ += key;
        line_ += "\":" + json;
    }
    std::string Finish() const { return line_ + "}"; }

private:
    std::string line_;
};

std::string DumpRecord(const FileRecord& record) {
    const uint8_t* r = record.Bytes.data();
    const int size = static_cast<int>(record.Bytes.size());
    const RecordHeader h = DecodeRecordHeader(r);
    const RecordReply reply = DecodeRecordReply(r, h.ReplyLength);

    JsonLine json;
    json.Number("offset", static_cast<long long>(record.Offset));
    json.Number("size", size);
    json.Number("DataSizeCode", h.DataSizeCode);
    json.Number("ExpectedReturnLength", h.ReplyLength);
    json.Text("DateText", h.DateText);
    json.Text("TimeText", h.TimeText);
    json.Number("Hundredths", h.Hundredths);
    json.Number("FileHasGps", h.HasGps);
    json.Number("StepDirection", h.StepDirection);
    json.Number("Xdcr", h.Xdcr);
    json.Number("GridMode", h.GridMode);
    json.Number("Speed", h.Speed);
    json.Number("Gain", h.Gain);
    json.Number("SectorSize", h.SectorSize);
    json.Number("Train", h.Train);
    json.Number("Absorption", h.Absorption);
    json.Number("DataBits", h.DataBits ? std::optional<int>(h.DataBits) : std::nullopt);
    json.Number("PulseLength", h.PulseLength);
    json.Number("Profile", h.Profile);
    if (h.HasSoundVelocity) {
        char velocity[32];
        std::snprintf(velocity, sizeof velocity, "%.1f", static_cast<double>(h.SoundVelocity));
        json.Add("FileSoundVelocity", velocity);
    } else {
        json.Add("FileSoundVelocity", "null");
    }
    json.Text("FileUserText", h.UserText);
    json.Number("FileFrequency", h.Frequency);
    json.Text("ReplyType", reply.ReplyType
                               ? std::optional<std::string>(std::string(1, static_cast<char>(*reply.ReplyType)))
                               : std::nullopt);
    json.Number("ReturnHeadID", reply.ReturnHeadID);
    json.Number("SerialStatus", reply.SerialStatus);
    json.Number("HeadPosition", reply.HeadPosition);
    json.Number("ReturnRange", reply.ReturnRange);
    json.Number("ProfileRange", reply.ProfileRange);
    json.Number("DataByteCount", reply.DataByteCount);
    auto gps = RecordGpsText(r, size, h.HasGps != 0);
    if (gps) gps->erase(std::remove(gps->begin(), gps->end(), '\0'), gps->end());  // shown as the box shows it
    json.Text("GpsPositionText", gps);
    json.Number("BackLink", RecordBackLink(r, size));
    return json.Finish();
}

}  // namespace

int RunDump(const std::vector<std::string>& args) {
    std::string path;
    for (const std::string& arg : args) {
        if (arg == "--help" || arg == "-h") {
            std::fputs(DumpHelp, stdout);
            return 0;
        }
        if (!arg.empty() && arg[0] == '-') return UsageError("unknown option '" + arg + "' for dump");
        if (!path.empty()) return UsageError("dump takes one data file");
        path = arg;
    }
    if (path.empty()) return UsageError("dump needs a data file");

    DataFileReader reader;
    std::string reason;
    if (!reader.Open(path, &reason)) {
        std::fprintf(stderr, "tidemar-cli: cannot read %s: %s\n", path.c_str(), reason.c_str());
        return 2;
    }
    ScanDataFile(
        reader, [](const FileRecord& record) { std::printf("%s\n", DumpRecord(record).c_str()); }, nullptr);
    return 0;
}

}  // namespace tidemar::cli
