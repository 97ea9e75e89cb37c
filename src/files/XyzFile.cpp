#include "files/XyzFile.h"

#include <sys/stat.h>

#include <cctype>
#include <cmath>
#include <cstdio>

namespace tidemar {

namespace {

constexpr double FeetPerMetre = 3.2808399;
constexpr double Pi = 3.141592654;

// "%07.2f" cut to its first 7 characters: 12345.68 gives 12345.6.
std::string HeaderValue(double value) {
    char text[64];
    std::snprintf(text, sizeof text, "%07.2f", value);
    return std::string(text).substr(0, 7);
}

void AppendField(std::string& line, double value) {
    char text[64];
    std::snprintf(text, sizeof text, "% 07.3f", value);
    line += text;
}

bool HasXyzExtension(const std::string& path) {
    if (path.size() < 3) return false;
    const char* tail = path.c_str() + path.size() - 3;
    return std::tolower(static_cast<unsigned char>(tail[0])) == 'x' &&
           std::tolower(static_cast<unsigned char>(tail[1])) == 'y' &&
           std::tolower(static_cast<unsigned char>(tail[2])) == 'z';
}

}  // namespace

std::string XyzFileContent(const SonarState& state, const std::vector<ProfileScanRecord>& records) {
    const bool feet = state.Units == 1;
    std::string text;
    text += HeaderValue(state.ProfileChainage) + (feet ? ",F" : ",M") + "\r\n";
    text += HeaderValue(state.ProfileElevation) + "\r\n";
    text += HeaderValue(state.ProfileXOffset) + "\r\n";
    text += HeaderValue(feet ? state.SoundVelocityMeters * FeetPerMetre : state.SoundVelocityMeters) + "\r\n";

    const int count = static_cast<int>(records.size());
    for (int i = 1; i < count - 1; ++i) {
        const ProfileScanRecord& record = records[i];
        double r = static_cast<double>(record.Range) * state.SoundVelocityMeters / 1500.0;
        if (feet) r *= FeetPerMetre;
        const double a = record.Angle * Pi / 180.0;
        const double x = state.ProfileXOffset + r * std::sin(a);
        const double y = state.ProfileChainage;
        const double down = r * std::cos(a);
        const double z = state.ProfileElevation + (state.ZeroDown == 1 ? down : -down);

        std::string line;
        if (state.XYZTimestamp == 1) {
            // "DD-MMM-YYYY  HH:MM:SS.hh": the date, then the time from character 13.
            const std::string& stamp = record.Timestamp;
            line += stamp.substr(0, 11) + "\t";
            line += (stamp.size() > 13 ? stamp.substr(13, 11) : std::string()) + "\t";
        }
        if (state.XYZRangeHorVer == 1) {
            AppendField(line, r);
            line += "\t";
            AppendField(line, 0.0);
            line += "\t";
            AppendField(line, record.Angle);
            line += "\t";
        }
        AppendField(line, x);
        line += "\t";
        AppendField(line, y);
        line += "\t";
        AppendField(line, z);
        text += line + "\r\n";
    }
    return text;
}

XyzWrite WriteXyzFile(const std::string& path, const SonarState& state, const std::vector<ProfileScanRecord>& records,
                      Prompts& prompts) {
    if (!HasXyzExtension(path)) {
        prompts.Message(XyzFileCaption, XyzExtensionMessage, MessageIcon::Exclamation);
        return XyzWrite::WrongExtension;
    }
    const std::string content = XyzFileContent(state, records);
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return XyzWrite::NotCreated;
    // Only a file made here is removed after a failure, never a device the operator named.
    struct stat info {};
    const bool removable = fstat(fileno(file), &info) == 0 && S_ISREG(info.st_mode);
    const bool written = std::fwrite(content.data(), 1, content.size(), file) == content.size();
    const bool closed = std::fclose(file) == 0;
    if (written && closed) return XyzWrite::Written;
    if (removable) std::remove(path.c_str());
    return XyzWrite::WriteFailed;
}

}  // namespace tidemar
