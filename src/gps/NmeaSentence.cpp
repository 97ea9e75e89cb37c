#include "gps/NmeaSentence.h"

#include <cstddef>

namespace tidemar {

namespace {

constexpr size_t PositionStart = 7;  // just past "$ttGGA,"
constexpr size_t TimeLimit = 12;
constexpr size_t WholeLimit = 6;
constexpr size_t FractionLimit = 11;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The sentence without its line end: everything before the first CR or LF.
std::string_view SentenceBody(std::string_view line) {
    const size_t end = line.find_first_of("\r\n");
    return end == std::string_view::npos ? line : line.substr(0, end);
}

// Field `index` of the comma-separated body (0 is "$ttGGA"); empty when there is none.
std::string_view Field(std::string_view body, int index) {
    size_t start = 0;
    for (int i = 0; i < index; ++i) {
        const size_t comma = body.find(',', start);
        if (comma == std::string_view::npos) return {};
        start = comma + 1;
    }
    const size_t comma = body.find(',', start);
    return body.substr(start, comma == std::string_view::npos ? std::string_view::npos : comma - start);
}

class Scanner {
public:
    Scanner(std::string_view body, size_t at) : body_(body), at_(at) {}

    // Reads until `stop` has been read or `limit` characters have been read; returns the
    // decimal digits among them.
    std::string DigitsUntil(char stop, size_t limit) {
        std::string digits;
        for (size_t read = 0; read < limit && at_ < body_.size(); ++read) {
            const char c = body_[at_++];
            if (IsDigit(c)) digits += c;
            if (c == stop) break;
        }
        return digits;
    }

    // The next character, if the body has one.
    std::optional<char> Next() {
        if (at_ >= body_.size()) return std::nullopt;
        return body_[at_++];
    }

    void Skip(size_t n) { at_ += n; }

private:
    std::string_view body_;
    size_t at_;
};

}  // namespace

bool IsChosenGpsSentence(std::string_view line, int gpsType) {
    if (line.size() < 8 || line[0] != '$') return false;
    if (line[line.size() - 1] != '\n' || line[line.size() - 2] != '\r') return false;
    const std::string_view type = line.substr(3, 3);
    return (gpsType == GpsTypeGGA && type == "GGA") || (gpsType == GpsTypeGLL && type == "GLL");
}

std::optional<NmeaPosition> ScanNmeaPosition(std::string_view line, int gpsType) {
    const std::string_view body = SentenceBody(line);
    const bool gga = gpsType == GpsTypeGGA;
    // A receiver without a fix sends the sentence with empty position fields; the scan
    // below would still find digits in the fields after them (the GGA fix quality "0"
    // becomes a latitude digit), so such a sentence is no position at all.
    if (Field(body, gga ? 2 : 1).empty() || Field(body, gga ? 4 : 3).empty()) return std::nullopt;
    if (body.size() <= PositionStart) return std::nullopt;

    Scanner scan(body, PositionStart);
    if (gga) scan.DigitsUntil(',', TimeLimit);
    NmeaPosition p;
    p.LatitudeWhole = scan.DigitsUntil('.', WholeLimit);
    p.LatitudeFraction = scan.DigitsUntil(',', FractionLimit);
    const std::optional<char> latitudeHemisphere = scan.Next();
    if (!latitudeHemisphere) return std::nullopt;
    p.LatitudeHemisphere = *latitudeHemisphere;
    scan.Skip(1);  // the comma after it
    p.LongitudeWhole = scan.DigitsUntil('.', WholeLimit);
    p.LongitudeFraction = scan.DigitsUntil(',', FractionLimit);
    const std::optional<char> longitudeHemisphere = scan.Next();
    if (!longitudeHemisphere) return std::nullopt;
    p.LongitudeHemisphere = *longitudeHemisphere;
    return p;
}

bool HemispheresValid(const NmeaPosition& p) {
    return (p.LatitudeHemisphere == 'N' || p.LatitudeHemisphere == 'S') &&
           (p.LongitudeHemisphere == 'E' || p.LongitudeHemisphere == 'W');
}

}  // namespace tidemar
