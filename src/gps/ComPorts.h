#pragma once
// The machine's serial ports as the operator chooses among them: port index n is shown as
// "COM<n+1>" and names the n-th serial device in a stable order. First come the devices
// listed in the SerialPortPaths setting (colon-separated; for devices that are not found
// on their own, such as a pseudo-terminal fed by a network GPS), each keeping its place
// whether it is there or not; then the /dev/ttyS*, /dev/ttyUSB* and /dev/ttyACM* devices
// that can be opened, each family in natural order (ttyS2 before ttyS10).

#include <array>
#include <string>
#include <vector>

#include "core/SonarState.h"

namespace tidemar {

inline constexpr int MaxComPorts = 32;

struct ComPorts {
    int ComPortsProbed = 0;
    std::vector<std::string> Paths;             // device of port index n
    std::array<bool, MaxComPorts> Available{};  // opened at probing
    // Indexes of the available ports in ascending order, then -1 entries.
    std::array<int, MaxComPorts> AvailableComPorts = MakeEmptyList();

    int AvailableCount() const;
    // The device of a port index, empty when there is none.
    std::string PathOf(int port) const;

    static std::array<int, MaxComPorts> MakeEmptyList() {
        std::array<int, MaxComPorts> list;
        list.fill(-1);
        return list;
    }
};

// "COM1" for port index 0.
std::string ComPortName(int port);

// Natural order of device names: digit runs compare as numbers.
bool NaturalLess(const std::string& a, const std::string& b);

// The devices of the port list before probing: the listed paths (empty entries and
// repeats dropped), then the entries of `deviceNames` (names found in the device
// directory) that belong to the ttyS, ttyUSB and ttyACM families, family by family in
// natural order, as paths under `deviceDirectory`. At most 32.
std::vector<std::string> SerialDeviceCandidates(const std::string& serialPortPaths,
                                                const std::vector<std::string>& deviceNames,
                                                const std::string& deviceDirectory);

// Probes every candidate (opened and closed at once) and fills `ports`. Devices found in
// the directory that cannot be opened are left out of the list; listed devices keep
// their index and are marked unavailable. When ComPortGPS is not an available port it
// becomes the first available one, or -1 when there is none.
void ProbeComPorts(SonarState& state, ComPorts& ports, const std::string& deviceDirectory = "/dev");

}  // namespace tidemar
