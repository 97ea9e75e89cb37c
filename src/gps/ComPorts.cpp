#include "gps/ComPorts.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

#include "gps/SerialPort.h"

namespace tidemar {

namespace {

const char* const DeviceFamilies[] = {"ttyS", "ttyUSB", "ttyACM"};

bool IsDigit(char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; }

// The family of a device name ("ttyUSB" for "ttyUSB0"), or nothing: the prefix must be
// followed by digits only.
int FamilyOf(const std::string& name) {
    for (int f = 0; f < 3; ++f) {
        const std::string prefix = DeviceFamilies[f];
        if (name.size() > prefix.size() && name.compare(0, prefix.size(), prefix) == 0 &&
            std::all_of(name.begin() + static_cast<long>(prefix.size()), name.end(), IsDigit))
            return f;
    }
    return -1;
}

std::vector<std::string> SplitPaths(const std::string& list) {
    std::vector<std::string> paths;
    size_t start = 0;
    while (start <= list.size()) {
        size_t end = list.find(':', start);
        if (end == std::string::npos) end = list.size();
        std::string path = list.substr(start, end - start);
        if (!path.empty() && std::find(paths.begin(), paths.end(), path) == paths.end()) paths.push_back(path);
        start = end + 1;
    }
    return paths;
}

std::vector<std::string> DirectoryNames(const std::string& directory) {
    std::vector<std::string> names;
    std::error_code error;
    for (std::filesystem::directory_iterator it(directory, error), end; !error && it != end; it.increment(error))
        names.push_back(it->path().filename().string());
    return names;
}

}  // namespace

int ComPorts::AvailableCount() const {
    return static_cast<int>(
        std::count_if(AvailableComPorts.begin(), AvailableComPorts.end(), [](int port) { return port >= 0; }));
}

std::string ComPorts::PathOf(int port) const {
    if (port < 0 || port >= static_cast<int>(Paths.size())) return {};
    return Paths[static_cast<size_t>(port)];
}

std::string ComPortName(int port) { return "COM" + std::to_string(port + 1); }

bool NaturalLess(const std::string& a, const std::string& b) {
    size_t i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        if (IsDigit(a[i]) && IsDigit(b[j])) {
            size_t ie = i, je = j;
            while (ie < a.size() && IsDigit(a[ie])) ++ie;
            while (je < b.size() && IsDigit(b[je])) ++je;
            // Compare the numbers without converting them: strip leading zeros, then the
            // longer run is larger, then digit by digit.
            size_t is = i, js = j;
            while (is + 1 < ie && a[is] == '0') ++is;
            while (js + 1 < je && b[js] == '0') ++js;
            if (ie - is != je - js) return ie - is < je - js;
            const int order = a.compare(is, ie - is, b, js, je - js);
            if (order != 0) return order < 0;
            if (ie - i != je - j) return ie - i < je - j;  // "01" after "1": fewer zeros first
            i = ie;
            j = je;
            continue;
        }
        if (a[i] != b[j]) return a[i] < b[j];
        ++i;
        ++j;
    }
    return a.size() - i < b.size() - j;
}

std::vector<std::string> SerialDeviceCandidates(const std::string& serialPortPaths,
                                                const std::vector<std::string>& deviceNames,
                                                const std::string& deviceDirectory) {
    std::vector<std::string> paths = SplitPaths(serialPortPaths);
    for (int f = 0; f < 3; ++f) {
        std::vector<std::string> family;
        for (const std::string& name : deviceNames)
            if (FamilyOf(name) == f) family.push_back(name);
        std::sort(family.begin(), family.end(), NaturalLess);
        family.erase(std::unique(family.begin(), family.end()), family.end());
        for (const std::string& name : family) {
            const std::string path = (std::filesystem::path(deviceDirectory) / name).string();
            if (std::find(paths.begin(), paths.end(), path) == paths.end()) paths.push_back(path);
        }
    }
    if (paths.size() > static_cast<size_t>(MaxComPorts)) paths.resize(MaxComPorts);
    return paths;
}

void ProbeComPorts(SonarState& state, ComPorts& ports, const std::string& deviceDirectory) {
    const size_t listed = std::min(SplitPaths(state.SerialPortPaths).size(), static_cast<size_t>(MaxComPorts));
    const std::vector<std::string> candidates =
        SerialDeviceCandidates(state.SerialPortPaths, DirectoryNames(deviceDirectory), deviceDirectory);

    ports = ComPorts{};
    for (size_t i = 0; i < candidates.size(); ++i) {
        const bool opens = SerialPort::CanOpen(candidates[i]);
        if (i >= listed && !opens) continue;  // a device of the machine that is not usable
        if (opens) ports.Available[ports.Paths.size()] = true;
        ports.Paths.push_back(candidates[i]);
    }
    int filled = 0;
    for (int port = 0; port < MaxComPorts; ++port)
        if (ports.Available[static_cast<size_t>(port)]) ports.AvailableComPorts[static_cast<size_t>(filled++)] = port;

    const bool stored = state.ComPortGPS >= 0 && state.ComPortGPS < MaxComPorts &&
                        ports.Available[static_cast<size_t>(state.ComPortGPS)];
    if (!stored) state.ComPortGPS = ports.AvailableComPorts[0];
    ports.ComPortsProbed = 1;
}

}  // namespace tidemar
