#include "export/ExportRecord.h"

#include <cctype>
#include <cstdio>

#include "core/Modes.h"
#include "core/SonarTables.h"

namespace tidemar {

namespace {

bool AllDigits(std::string_view text) {
    for (const char c : text)
        if (c < '0' || c > '9') return false;
    return !text.empty();
}

int Number(std::string_view digits) {
    int value = 0;
    for (const char c : digits) value = value * 10 + (c - '0');
    return value;
}

int DaysInMonth(int year, int month) {
    static constexpr int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : days[month - 1];
}

}  // namespace

ExportRecord DecodeExportRecord(const uint8_t* record, int size, int64_t index, int64_t offset) {
    ExportRecord e;
    e.Index = index;
    e.Offset = offset;
    e.Header = DecodeRecordHeader(record);
    e.Reply = DecodeRecordReply(record, e.Header.ReplyLength);
    if (e.Header.ReplyLength > 6) e.StepDirection = (record[RecordHeaderBytes + 6] >> 6) & 1;
    if (const auto text = RecordGpsText(record, size, e.Header.HasGps != 0)) e.Position = ParsePositionText(*text);
    return e;
}

float SoundVelocityInEffect::Next(const RecordHeader& header) {
    if (!header.HasSoundVelocity) return settings_;
    if (header.SoundVelocity >= MinFileSoundVelocity && header.SoundVelocity <= MaxFileSoundVelocity)
        played_ = header.SoundVelocity;
    return played_;
}

std::optional<std::string> IsoDate(std::string_view date) {
    if (date.size() != 11 || date[2] != '-' || date[6] != '-') return std::nullopt;
    const std::string_view day = date.substr(0, 2), year = date.substr(7, 4);
    if (!AllDigits(day) || !AllDigits(year)) return std::nullopt;
    int month = 0;
    for (int m = 0; m < 12 && month == 0; ++m) {
        const char* name = MonthAbbreviations[static_cast<size_t>(m)];
        bool same = true;
        for (int i = 0; i < 3; ++i)
            same = same && std::toupper(static_cast<unsigned char>(date[3 + static_cast<size_t>(i)])) == name[i];
        if (same) month = m + 1;
    }
    const int y = Number(year), d = Number(day);
    if (month == 0 || d < 1 || d > DaysInMonth(y, month)) return std::nullopt;
    char text[40];  // room for any int, so the compiler sees no truncation
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", y, month, d);
    return std::string(text);
}

std::string TimeWithHundredths(const RecordHeader& header) {
    if (header.TimeText.empty()) return "";
    char hundredths[8];
    std::snprintf(hundredths, sizeof hundredths, ".%02d", header.Hundredths % 100);
    return header.TimeText + hundredths;
}

std::optional<std::string> IsoDateTime(const RecordHeader& header) {
    const auto date = IsoDate(header.DateText);
    const std::string& t = header.TimeText;
    if (!date || t.size() != 8 || t[2] != ':' || t[5] != ':') return std::nullopt;
    const std::string_view hh(t.data(), 2), mm(t.data() + 3, 2), ss(t.data() + 6, 2);
    if (!AllDigits(hh) || !AllDigits(mm) || !AllDigits(ss) || Number(hh) > 23 || Number(mm) > 59 || Number(ss) > 59)
        return std::nullopt;
    return *date + "T" + TimeWithHundredths(header);
}

std::string ModeName(int gridMode) {
    switch (gridMode) {
    case DisplayMode::Sector: return "Sector";
    case DisplayMode::Polar: return "Polar";
    case DisplayMode::SideScan: return "SS";
    case DisplayMode::Profile: return "Profile";
    default: return std::to_string(gridMode);
    }
}

}  // namespace tidemar
