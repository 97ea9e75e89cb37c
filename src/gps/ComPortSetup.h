#pragma once
// What the "ComPort Setup" dialog (template NEWCOMPORTSETUP) does, apart from painting:
// it works on three pending values (enable, port, sentence type) and applies them on Ok.
// The window builds the controls from this and forwards each click here. Offered only
// in live mode; the window marks the settings as changed after it closes.
//
//   control  id   role
//   Enable   117  GPS input on   } radio pair
//   Disable  116  GPS input off  }
//   list     200  available ports: "COMn" with the device beside it
//   label    150  "(4800,N,8,1)"
//   GLL      113  sentence type 0 } radio pair, inactive-looking while
//   GGA      114  sentence type 1 } GPS input is off or no ports were probed
//   Ok         1
//   Cancel     2  closes without changes

#include <string>
#include <vector>

#include "gps/ComPorts.h"
#include "gps/GpsInput.h"
#include "core/DispatchPing.h"
#include "core/SonarState.h"

namespace tidemar {

struct ComPortListEntry {
    std::string Name;  // "COM1"; " N/A" when the ports were never probed
    std::string Path;  // the device, empty for " N/A"
};

class ComPortSetup {
public:
    static constexpr int EnableId = 117, DisableId = 116, PortListId = 200, ParameterLabelId = 150;
    static constexpr int GllId = 113, GgaId = 114, OkId = 1, CancelId = 2;
    static constexpr int DialogWidth = 204, DialogHeight = 88;  // dialog units
    static constexpr const char* Title = "ComPort Setup";
    static constexpr const char* ParameterLabel = "(4800,N,8,1)";
    static constexpr const char* NoPortsEntry = " N/A";

    // Opening: the controls as the settings and the probed ports give them.
    ComPortSetup(const SonarState& state, const ComPorts& ports);

    const std::vector<ComPortListEntry>& PortList() const { return list_; }
    int SelectedListIndex() const { return selected_; }  // -1: none
    bool EnableChecked() const { return pendingEnable_ == 1; }
    bool SentenceButtonsInactive() const { return typeInactive_; }
    int CheckedType() const { return checkedType_; }  // -1: neither
    int PendingPort() const { return pendingPort_; }
    int PendingType() const { return pendingType_; }

    // Clicks.
    void ChooseEnable();
    void ChooseDisable();
    void ChooseType(int gpsType);
    void SelectListIndex(int index);

    // Ok: takes the pending values into the settings and closes and reopens the port.
    // Returns whether GPS input now reads a port.
    bool Ok(SonarState& state, GpsInput& gps, DispatchTarget& target);

private:
    const ComPorts& ports_;
    std::vector<ComPortListEntry> list_;
    int selected_ = -1;
    int pendingEnable_ = 0;
    int pendingPort_ = -1;
    int pendingType_ = 1;
    int checkedType_ = -1;
    bool typeInactive_ = true;
};

}  // namespace tidemar
