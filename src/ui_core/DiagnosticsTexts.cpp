#include "ui_core/DiagnosticsTexts.h"

#include <cstdio>

namespace tidemar {

namespace {

// Values of the link settings are small numbers; a generous buffer keeps any int whole.
template <typename... Args>
std::string Printed(const char* format, Args... args) {
    char text[64];
    std::snprintf(text, sizeof text, format, args...);
    return text;
}

}  // namespace

std::array<DiagnosticsRow, DiagnosticsRowCount> DiagnosticsRows(const SonarState& state) {
    std::array<DiagnosticsRow, DiagnosticsRowCount> rows;
    const char* labels[DiagnosticsRowCount] = {
        "Header",     "Head ID",  "Serial Stat",  "Head Pos",    "Range",    "Profile",  "Data Bytes",  "Term",
        "Send Delay", "Tx Delay", "Switch Delay", "Delay Count", "Rep Rate", "IP Sonar", "Recv Errors", "Ext Trigger"};
    for (int r = 0; r < DiagnosticsRowCount; ++r) rows[r].Label = labels[r];

    const auto& header = state.LastHeader;
    if (header[0] == 0) {
        for (int r = 0; r < DiagnosticsHeaderRows; ++r) rows[r].Value = "n/a";
    } else {
        rows[0].Value = Printed("%c%c%c", header[0], header[1], header[2]);
        rows[1].Value = Printed("0x%02X (0x%02X)", state.ReturnHeadID, state.MasterHeadID);
        rows[2].Value = Printed("0x%02X", state.SerialStatus);
        rows[3].Value = Printed("%d", state.HeadPosition);
        rows[4].Value = state.Units == 1 ? Printed("%d FT", header[7] * 3) : Printed("%d M", header[7]);
        rows[5].Value = Printed("%d", state.ProfileRange);
        rows[6].Value = Printed("%d", state.DataByteCount);
        rows[7].Value = Printed("0x%02X", state.LastTermByte);
    }
    rows[8].Value = Printed("%d ms", state.SendDelay);
    // The program sets no transmit delay of its own; the head counts it in 100 us.
    rows[9].Value = Printed("%d us", 0 * 100);
    rows[10].Value = Printed("%d ms", state.SwitchDelay);
    // The program times its waits with the system clock and calibrates no delay loop, so
    // there is no loop count to show.
    rows[11].Value = "n/a";
    rows[12].Value = state.RepRateText;
    rows[13].Value = state.IPAddress_Sonar1.substr(0, IpAddressCapacity);
    // The row left free by the layout counts failed receives, time-outs of a silent head
    // among them, so a head that stops answering shows here as well as under the picture.
    rows[14].Value = Printed("%d", state.RecvErrorCount);
    rows[15].Value = Printed("0x%02X", state.ExternalTriggerControl);
    return rows;
}

}  // namespace tidemar
