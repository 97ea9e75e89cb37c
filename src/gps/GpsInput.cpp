#include "gps/GpsInput.h"

#include <climits>

#include "core/Modes.h"
#include "gps/GpsPositionText.h"
#include "gps/NmeaSentence.h"

namespace tidemar {

namespace {

constexpr int ClearAfterSeconds = 10;

}  // namespace

GpsInput::GpsInput(std::function<void()> wake) : reader_(std::move(wake)) {}

GpsInput::~GpsInput() { CloseGpsPort(); }

void GpsInput::ProbeComPorts(SonarState& state, const std::string& deviceDirectory) {
    tidemar::ProbeComPorts(state, ports_, deviceDirectory);
}

bool GpsInput::OpenGpsPort(const SonarState& state, int port) {
    if (!state.UseGPS) return false;
    CloseGpsPort();
    const std::string path = ports_.PathOf(port);
    if (path.empty()) {
        error_ = port < 0 ? "no serial port found" : ComPortName(port) + " is not a serial port of this machine";
        return false;
    }
    if (!port_.Open(path)) {
        error_ = ComPortName(port) + " (" + path + "): " + port_.Error();
        return false;
    }
    error_.clear();
    return true;
}

bool GpsInput::StartGpsReader(const SonarState& state) {
    if (!state.UseGPS || !port_.IsOpen()) return false;
    if (!port_.ApplyLineSettings()) {
        error_ = port_.Path() + ": cannot set 4800 8N1: " + port_.Error();
        return false;
    }
    if (!reader_.Start(port_)) {
        error_ = port_.Path() + ": cannot start the reader thread";
        return false;
    }
    port_.SetDtr(true);
    return true;
}

void GpsInput::CloseGpsPort() {
    if (!port_.IsOpen()) return;
    reader_.Stop();
    reader_.TakeLines();
    port_.SetDtr(false);
    port_.PurgeOutput();
    port_.Close();
}

int GpsInput::Poll(SonarState& state, DispatchTarget& target) {
    const std::vector<std::string> lines = reader_.TakeLines();
    for (const std::string& line : lines) HandleGpsLine(state, line, target);
    return static_cast<int>(lines.size());
}

GpsLineUse HandleGpsLine(SonarState& state, std::string_view line, DispatchTarget& target) {
    if (state.RunMode != DataSource::Head || state.HoldActive) return GpsLineUse::Dropped;
    if (!IsChosenGpsSentence(line, state.GPSType)) return GpsLineUse::Dropped;
    const std::optional<NmeaPosition> position = ScanNmeaPosition(line, state.GPSType);
    if (!position) return GpsLineUse::Dropped;
    state.GpsSilenceCount = 0;
    BuildGpsPositionText(*position, state.GpsPositionText);
    if (!HemispheresValid(*position)) return GpsLineUse::NotShown;
    target.DrawGpsPosition(true);
    return GpsLineUse::Shown;
}

void GpsSecondTick(SonarState& state, DispatchTarget& target) {
    if (!state.UseGPS) return;
    if (state.GpsSilenceCount < INT_MAX) ++state.GpsSilenceCount;
    if (state.GpsSilenceCount == ClearAfterSeconds) {
        target.DrawGpsPosition(false);
        ClearGpsPositionText(state.GpsPositionText);
    }
}

bool StartLiveGps(SonarState& state, GpsInput& gps) {
    if (!state.UseGPS || !gps.ComPortsProbed()) return false;
    if (!gps.OpenGpsPort(state, state.ComPortGPS)) return false;
    if (gps.StartGpsReader(state)) return true;
    gps.CloseGpsPort();
    return false;
}

void StopLiveGps(SonarState& state, GpsInput& gps) {
    if (!gps.ComPortsProbed()) return;
    gps.CloseGpsPort();
    ClearGpsPositionText(state.GpsPositionText);
}

}  // namespace tidemar
