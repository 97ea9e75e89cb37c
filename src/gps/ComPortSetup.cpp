#include "gps/ComPortSetup.h"

#include "gps/NmeaSentence.h"

namespace tidemar {

namespace {

constexpr int SilenceAfterDisable = 50;  // far past the watchdog: the box shows no position

}  // namespace

ComPortSetup::ComPortSetup(const SonarState& state, const ComPorts& ports) : ports_(ports) {
    pendingEnable_ = state.UseGPS ? 1 : 0;
    pendingType_ = state.GPSType;
    pendingPort_ = state.ComPortGPS;
    const bool probed = ports.ComPortsProbed != 0;
    if (probed) {
        for (int i = 0; i < MaxComPorts && ports.AvailableComPorts[static_cast<size_t>(i)] >= 0; ++i) {
            const int port = ports.AvailableComPorts[static_cast<size_t>(i)];
            list_.push_back({ComPortName(port), ports.PathOf(port)});
            if (port == state.ComPortGPS) selected_ = i;
        }
    } else {
        list_.push_back({NoPortsEntry, ""});
        selected_ = 0;
    }
    if (state.UseGPS && probed) {
        typeInactive_ = false;
        checkedType_ = state.GPSType;
    }
}

void ComPortSetup::ChooseEnable() {
    pendingEnable_ = 1;
    typeInactive_ = false;
    checkedType_ = pendingType_;
}

void ComPortSetup::ChooseDisable() {
    pendingEnable_ = 0;
    typeInactive_ = true;
    checkedType_ = -1;
}

void ComPortSetup::ChooseType(int gpsType) {
    if (pendingEnable_ != 1 || !ports_.ComPortsProbed) return;
    if (gpsType != GpsTypeGLL && gpsType != GpsTypeGGA) return;
    pendingType_ = gpsType;
    checkedType_ = gpsType;
}

void ComPortSetup::SelectListIndex(int index) {
    if (index >= 0 && index < static_cast<int>(list_.size())) selected_ = index;
}

bool ComPortSetup::Ok(SonarState& state, GpsInput& gps, DispatchTarget& target) {
    state.UseGPS = pendingEnable_;
    const bool probed = ports_.ComPortsProbed != 0;
    if (probed) {
        if (selected_ >= 0 && selected_ < MaxComPorts)
            pendingPort_ = ports_.AvailableComPorts[static_cast<size_t>(selected_)];
        gps.CloseGpsPort();
    }
    state.GPSType = pendingType_;
    if (state.UseGPS && probed) {
        state.ComPortGPS = pendingPort_;
        return gps.OpenGpsPort(state, state.ComPortGPS) && gps.StartGpsReader(state);
    }
    state.GpsSilenceCount = SilenceAfterDisable;
    target.DrawGpsPosition(false);
    return false;
}

}  // namespace tidemar
