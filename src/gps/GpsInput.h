#pragma once
// The main thread's side of GPS input: the probed ports, the open port with its reader
// thread, and what becomes of each line the reader posts. Everything here runs on the
// main thread, which alone writes GpsPositionText and GpsSilenceCount; the reader thread
// only touches the port and its line queue, so the text needs no busy flag.
//
// Port states: closed -> open (OpenGpsPort) -> reading (StartGpsReader) -> closed
// (CloseGpsPort). A port that cannot be opened, set up or given a thread leaves GPS input
// off without a message; PortError() says why, for tools that want to tell.

#include <functional>
#include <string>
#include <string_view>

#include "gps/ComPorts.h"
#include "gps/GpsReader.h"
#include "gps/NmeaSentence.h"
#include "gps/SerialPort.h"
#include "core/DispatchPing.h"
#include "core/SonarState.h"

namespace tidemar {

class GpsInput {
public:
    // `wake` is called from the reader thread when lines are waiting (see GpsReader).
    explicit GpsInput(std::function<void()> wake);
    ~GpsInput();
    GpsInput(const GpsInput&) = delete;
    GpsInput& operator=(const GpsInput&) = delete;

    // Once, as the main window is made. `deviceDirectory` is for the tests.
    void ProbeComPorts(SonarState& state, const std::string& deviceDirectory = "/dev");
    const ComPorts& Ports() const { return ports_; }
    bool ComPortsProbed() const { return ports_.ComPortsProbed != 0; }

    // Nothing unless UseGPS. Opens the device of port index `port` for reading (a port
    // open before is closed first).
    bool OpenGpsPort(const SonarState& state, int port);
    // Nothing unless UseGPS and a port is open: 4800 8N1, then the reader thread, then DTR.
    bool StartGpsReader(const SonarState& state);
    // Stops the reader (waiting until it has left any read), lowers DTR, purges the
    // transmit side, restores the device and closes it; lines not yet handled are
    // dropped. Nothing when no port is open.
    void CloseGpsPort();

    bool PortOpen() const { return port_.IsOpen(); }
    bool Reading() const { return reader_.Running(); }
    const std::string& PortError() const { return error_; }

    // Handles the lines the reader posted; call whenever the wake-up callback fired.
    // Returns how many lines there were.
    int Poll(SonarState& state, DispatchTarget& target);

private:
    ComPorts ports_;
    SerialPort port_;
    GpsReader reader_;
    std::string error_;
};

enum class GpsLineUse {
    Dropped,   // not live, on hold, not the chosen sentence, or no position in it
    Shown,     // the position text changed and the box was redrawn as fresh
    NotShown,  // the text changed, but the hemispheres are not N/S and E/W
};

// One complete line from the reader. Taken only in live mode (DataSource::Head) with the hold
// off, when it is a sentence of GPSType that carries a position: the silence count goes
// to 0 and the position is written into GpsPositionText.
GpsLineUse HandleGpsLine(SonarState& state, std::string_view line, DispatchTarget& target);

// Once a second of the live ping cycle's clock, with UseGPS: counts a second without a
// position; at the tenth the box shows "GPS Lat / Lng Not Available" and the text is
// cleared, so recorded pings stop carrying a stale position.
void GpsSecondTick(SonarState& state, DispatchTarget& target);

// When live mode starts: with UseGPS on a probed machine, opens ComPortGPS and starts
// reading. Returns whether the reader runs.
bool StartLiveGps(SonarState& state, GpsInput& gps);
// When live mode ends: closes the port and clears the position text.
void StopLiveGps(SonarState& state, GpsInput& gps);

}  // namespace tidemar
