#include "export/CsvRow.h"

#include <charconv>
#include <cmath>

#include "core/Cp1252.h"

namespace tidemar {

namespace {

constexpr int StraightAhead = 600;
constexpr int MaxHeadPosition = 1200;

void AppendNumber(std::string& out, long long value) {
    char text[24];
    const auto result = std::to_chars(text, text + sizeof text, value);
    out.append(text, result.ptr);
}

// A value in tenths, as "-12.3".
void AppendTenths(std::string& out, long long tenths) {
    if (tenths < 0) {
        out += '-';
        tenths = -tenths;
    }
    AppendNumber(out, tenths / 10);
    out += '.';
    out += static_cast<char>('0' + tenths % 10);
}

// The head's profile range counts 2 mm steps below a 5 m range and centimetres from there.
void AppendProfileRange(std::string& out, int profileRange, int returnRange) {
    if (profileRange == 0) return;
    const long long millimetres = static_cast<long long>(profileRange) * (returnRange < 5 ? 2 : 10);
    AppendNumber(out, millimetres / 1000);
    out += '.';
    const long long rest = millimetres % 1000;
    out += static_cast<char>('0' + rest / 100);
    out += static_cast<char>('0' + rest / 10 % 10);
    out += static_cast<char>('0' + rest % 10);
}

}  // namespace

const std::string& CsvHeader() {
    static const std::string header =
        "record,offset,date,time,head_position,head_angle_deg,step_direction,range_m,gain,mode,speed,sector_deg,"
        "train_deg,frequency_khz,sound_velocity_ms,data_bits,profile_range_m,latitude,longitude,user_text\n";
    return header;
}

void AppendCsvField(std::string& out, std::string_view field) {
    if (field.find_first_of(",\"\r\n") == std::string_view::npos) {
        out += field;
        return;
    }
    out += '"';
    for (const char c : field) {
        if (c == '"') out += '"';
        out += c;
    }
    out += '"';
}

void AppendCsvRow(std::string& out, const ExportRecord& r) {
    const RecordHeader& h = r.Header;
    AppendNumber(out, r.Index);
    out += ',';
    AppendNumber(out, r.Offset);
    out += ',';
    if (const auto date = IsoDate(h.DateText)) out += *date;
    out += ',';
    AppendCsvField(out, Cp1252ToUtf8(TimeWithHundredths(h)));
    out += ',';
    const std::optional<int> position = r.Reply.HeadPosition;
    if (position && *position <= MaxHeadPosition) {
        AppendNumber(out, *position);
        out += ',';
        AppendTenths(out, (*position - StraightAhead) * 3LL);
    } else {
        out += ',';
    }
    out += ',';
    AppendNumber(out, r.StepDirection.value_or(h.StepDirection));
    out += ',';
    if (r.Reply.ReturnRange) AppendNumber(out, *r.Reply.ReturnRange);
    out += ',';
    AppendNumber(out, h.Gain);
    out += ',';
    out += ModeName(h.GridMode);
    out += ',';
    AppendNumber(out, h.Speed);
    out += ',';
    AppendNumber(out, h.SectorSize);
    out += ',';
    AppendNumber(out, h.Train);
    out += ',';
    AppendNumber(out, h.Frequency);
    out += ',';
    if (r.SoundVelocity > 0.0f) AppendTenths(out, std::lround(r.SoundVelocity * 10.0f));
    out += ',';
    if (h.DataBits) AppendNumber(out, h.DataBits);
    out += ',';
    if (r.Reply.ProfileRange) AppendProfileRange(out, *r.Reply.ProfileRange, r.Reply.ReturnRange.value_or(0));
    out += ',';
    if (r.Position) {
        out += FormatDegrees(r.Position->Latitude);
        out += ',';
        out += FormatDegrees(r.Position->Longitude);
    } else {
        out += ',';
    }
    out += ',';
    AppendCsvField(out, Cp1252ToUtf8(h.UserText));
    out += '\n';
}

}  // namespace tidemar
