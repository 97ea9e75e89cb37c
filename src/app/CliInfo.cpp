// tidemar-cli info: a summary of a sonar data file.
#include <cstdio>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "CliCommands.h"
#include "files/DataFileCheck.h"
#include "files/DataFileReader.h"
#include "files/DataRecord.h"
#include "core/SonarTables.h"

namespace tidemar::cli {

namespace {

const char* const InfoHelp =
    "Usage: tidemar-cli info DATA.K7T\n"
    "\n"
    "Summary of a sonar data file, one item per line: its size, the number of whole\n"
    "records, the time stamps of the first and last record, the reply types, ranges and\n"
    "display modes found, the user texts (Windows-1252 in the file, printed as UTF-8 in\n"
    "JSON quotes), how many records carry a GPS position, whether it can be played\n"
    "backwards, and the damaged stretches that playback passes over.\n"
    "\n"
    "Exit status: 0 done, 2 when the file cannot be read.\n";

std::string Timestamp(const RecordHeader& h) {
    char hundredths[8];
    std::snprintf(hundredths, sizeof hundredths, ".%02d", h.Hundredths);
    return h.DateText + "  " + h.TimeText + hundredths;
}

std::string ReplyTypeName(int type) {
    char text[8];
    if (type > 0x20 && type < 0x7F)
        std::snprintf(text, sizeof text, "%c", type);
    else
        std::snprintf(text, sizeof text, "0x%02X", type);
    return text;
}

std::string DisplayModeName(int mode) {
    if (mode >= 0 && mode < static_cast<int>(DisplayModeLabels.size())) return DisplayModeLabels[mode];
    return "unknown " + std::to_string(mode);
}

template <typename Items, typename Format>
std::string JoinOrNone(const Items& items, Format format) {
    std::string text;
    for (const auto& item : items) text += (text.empty() ? "" : ", ") + format(item);
    return text.empty() ? "none" : text;
}

// A summary line stays a line: beyond this many different user texts only their number
// is given.
constexpr size_t ListedUserTexts = 8;

struct Summary {
    long long Records = 0;
    long long WithGps = 0;
    std::string First, Last;
    int FirstBackLink = -1;
    std::map<std::string, long long> ReplyTypes;
    std::set<int> Ranges;
    std::set<int> Modes;
    std::set<std::string> UserTexts;
    std::vector<std::string> ListedTexts;  // the first ListedUserTexts, as first met
};

void NoteUserText(Summary& s, const std::string& text) {
    if (text.empty() || !s.UserTexts.insert(text).second) return;
    if (s.ListedTexts.size() < ListedUserTexts) s.ListedTexts.push_back(text);
}

std::string UserTextLine(const Summary& s) {
    if (s.ListedTexts.empty()) return "none";
    std::string line;
    for (const std::string& text : s.ListedTexts) line += (line.empty() ? "" : ", ") + JsonString(text);
    if (s.UserTexts.size() > s.ListedTexts.size())
        line += " and " + std::to_string(s.UserTexts.size() - s.ListedTexts.size()) + " more";
    return line;
}

}  // namespace

int RunInfo(const std::vector<std::string>& args) {
    std::string path;
    for (const std::string& arg : args) {
        if (arg == "--help" || arg == "-h") {
            std::fputs(InfoHelp, stdout);
            return 0;
        }
        if (!arg.empty() && arg[0] == '-') return UsageError("unknown option '" + arg + "' for info");
        if (!path.empty()) return UsageError("info takes one data file");
        path = arg;
    }
    if (path.empty()) return UsageError("info needs a data file");

    DataFileReader reader;
    std::string reason;
    if (!reader.Open(path, &reason)) {
        std::fprintf(stderr, "tidemar-cli: cannot read %s: %s\n", path.c_str(), reason.c_str());
        return 2;
    }

    Summary s;
    std::vector<DamagedRegion> damage;
    ScanDataFile(
        reader,
        [&s](const FileRecord& record) {
            const uint8_t* r = record.Bytes.data();
            const int size = static_cast<int>(record.Bytes.size());
            const RecordHeader h = DecodeRecordHeader(r);
            const RecordReply reply = DecodeRecordReply(r, h.ReplyLength);
            if (s.Records++ == 0) {
                s.First = Timestamp(h);
                s.FirstBackLink = RecordBackLink(r, size);
            }
            s.Last = Timestamp(h);
            if (RecordGpsText(r, size, h.HasGps != 0)) ++s.WithGps;
            ++s.ReplyTypes[reply.ReplyType ? ReplyTypeName(*reply.ReplyType) : "none"];
            if (reply.ReturnRange) s.Ranges.insert(*reply.ReturnRange);
            s.Modes.insert(h.GridMode);
            NoteUserText(s, h.UserText);
        },
        &damage);

    std::printf("file: %s\n", path.c_str());
    std::printf("bytes: %lld\n", static_cast<long long>(reader.Length()));
    std::printf("records: %lld\n", s.Records);
    std::printf("first time: %s\n", s.Records ? s.First.c_str() : "none");
    std::printf("last time: %s\n", s.Records ? s.Last.c_str() : "none");
    std::printf("reply types: %s\n", JoinOrNone(s.ReplyTypes, [](const auto& t) {
                                         return t.first + " " + std::to_string(t.second);
                                     }).c_str());
    std::printf("ranges: %s\n", JoinOrNone(s.Ranges, [](int m) { return std::to_string(m) + " m"; }).c_str());
    std::printf("display modes: %s\n", JoinOrNone(s.Modes, DisplayModeName).c_str());
    std::printf("user text: %s\n", UserTextLine(s).c_str());
    std::printf("GPS: %lld of %lld records\n", s.WithGps, s.Records);
    if (s.Records == 0)
        std::printf("reverse play: no (no records)\n");
    else if (s.FirstBackLink == 0)
        std::printf("reverse play: no (the first record has no back-link)\n");
    else
        std::printf("reverse play: yes\n");
    if (damage.empty()) std::printf("damaged: none\n");
    for (const DamagedRegion& region : damage)
        std::printf("damaged: offset %lld, %lld bytes: %s\n", static_cast<long long>(region.Offset),
                    static_cast<long long>(region.Length), region.Reason.c_str());
    return 0;
}

}  // namespace tidemar::cli
