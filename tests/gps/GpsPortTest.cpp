// Opening, reading and closing a GPS port through pseudo-terminals: what opening does
// without UseGPS or with a device that is not there, the line settings and their undoing,
// lines arriving through the reader thread, and a receiver that goes away.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <cerrno>
#include <memory>
#include <thread>

#include "GpsTestSupport.h"
#include "gps/GpsInput.h"

namespace tidemar {
namespace {

const std::string Gll = "$GPGLL,4916.4512,N,12311.1234,W,225444,A\r\n";
const std::string Gll2 = "$GPGLL,3854.5087,N,07726.4523,W,125106,V\r\n";

struct PortFixture : ::testing::Test {
    gpstest::TempDir devices;  // an empty device directory: only the listed ports exist
    gpstest::Pty receiver;
    SonarState state;
    gpstest::BoxTarget target;
    GpsInput gps{nullptr};

    void SetUp() override {
        ASSERT_TRUE(receiver.Ok());
        std::ofstream(devices.File("plain")) << "x";
        state.UseGPS = 1;
        state.GPSType = GpsTypeGLL;
        state.SerialPortPaths = receiver.SlavePath() + ":" + devices.File("plain");
        state.ComPortGPS = 0;
        gps.ProbeComPorts(state, devices.Path());
    }

    // Polls until `lines` lines were handled (or two seconds passed); returns how many.
    int WaitForLines(int lines) {
        int handled = 0;
        for (int i = 0; i < 400 && handled < lines; ++i) {
            handled += gps.Poll(state, target);
            if (handled < lines) std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        return handled;
    }
};

TEST_F(PortFixture, NothingOpensWithoutUseGpsOrAUsableDevice) {
    state.UseGPS = 0;
    EXPECT_FALSE(gps.OpenGpsPort(state, 0));
    EXPECT_FALSE(gps.PortOpen());
    EXPECT_FALSE(gps.StartGpsReader(state));
    state.UseGPS = 1;
    EXPECT_FALSE(gps.StartGpsReader(state)) << "no port open";
    EXPECT_FALSE(gps.OpenGpsPort(state, 1));
    EXPECT_NE(gps.PortError().find(devices.File("plain")), std::string::npos) << gps.PortError();
    EXPECT_NE(gps.PortError().find("not a serial device"), std::string::npos) << gps.PortError();
    EXPECT_FALSE(gps.OpenGpsPort(state, 7));
    EXPECT_EQ(gps.PortError(), "COM8 is not a serial port of this machine");
    EXPECT_FALSE(gps.OpenGpsPort(state, -1));
    EXPECT_EQ(gps.PortError(), "no serial port found");
    EXPECT_FALSE(gps.PortOpen());
    gps.CloseGpsPort();  // harmless when closed
}

TEST_F(PortFixture, SentencesArriveThroughTheReaderThread) {
    ASSERT_TRUE(StartLiveGps(state, gps)) << gps.PortError();
    EXPECT_TRUE(gps.Reading());
    ASSERT_TRUE(receiver.Send(Gll));
    ASSERT_EQ(WaitForLines(1), 1);
    EXPECT_EQ(state.GpsPositionText, " 49.16.451 N123.11.123 W");
    EXPECT_EQ(state.GpsSilenceCount, 0);
    EXPECT_EQ(target.Boxes, std::vector<bool>{true});

    // Split into pieces with pauses: the reader keeps the partial line between reads.
    for (const std::string piece : {"$GPGLL,3854.50", "87,N,07726.4523,W,1", "25106,V\r", "\n"}) {
        ASSERT_TRUE(receiver.Send(piece));
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    ASSERT_EQ(WaitForLines(1), 1);
    EXPECT_EQ(state.GpsPositionText, " 38.54.508 N077.26.452 W");

    StopLiveGps(state, gps);
    EXPECT_FALSE(gps.PortOpen());
    EXPECT_FALSE(gps.Reading());
    EXPECT_EQ(state.GpsPositionText, std::string(24, '\0')) << "leaving live mode clears the text";
}

TEST_F(PortFixture, OpeningDropsWhatWasQueuedAndClosingDropsWhatWasNotHandled) {
    ASSERT_TRUE(receiver.Send(Gll));  // queued before the port is opened
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    ASSERT_TRUE(StartLiveGps(state, gps)) << gps.PortError();
    ASSERT_TRUE(receiver.Send(Gll2));
    ASSERT_EQ(WaitForLines(2), 1) << "only the sentence sent after opening";
    EXPECT_EQ(state.GpsPositionText, " 38.54.508 N077.26.452 W");

    ASSERT_TRUE(receiver.Send(Gll));
    std::this_thread::sleep_for(std::chrono::milliseconds(100));  // posted, not yet handled
    gps.CloseGpsPort();
    EXPECT_EQ(gps.Poll(state, target), 0);
    EXPECT_EQ(state.GpsPositionText, " 38.54.508 N077.26.452 W");
}

TEST_F(PortFixture, LineSettingsWhileReadingAndTheOldOnesAfter) {
    const int probe = open(receiver.SlavePath().c_str(), O_RDONLY | O_NOCTTY | O_NONBLOCK);
    ASSERT_GE(probe, 0);
    termios before{};
    ASSERT_EQ(tcgetattr(probe, &before), 0);
    close(probe);

    ASSERT_TRUE(StartLiveGps(state, gps)) << gps.PortError();
    const int second = open(receiver.SlavePath().c_str(), O_RDONLY | O_NOCTTY | O_NONBLOCK);
    if (geteuid() != 0) {
        EXPECT_LT(second, 0) << "the port is ours alone while open";
        EXPECT_EQ(errno, EBUSY);
        if (second >= 0) close(second);
        return;
    }
    // Exclusive use does not bind root; use the chance to look at the settings.
    ASSERT_GE(second, 0);
    termios t{};
    ASSERT_EQ(tcgetattr(second, &t), 0);
    EXPECT_EQ(cfgetispeed(&t), static_cast<speed_t>(B4800));
    EXPECT_EQ(t.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
    EXPECT_EQ(t.c_cflag & (PARENB | CSTOPB | CRTSCTS), 0u);
    EXPECT_NE(t.c_cflag & CLOCAL, 0u) << "no carrier needed";
    EXPECT_EQ(t.c_lflag & (ICANON | ECHO | ISIG), 0u);
    EXPECT_EQ(t.c_iflag & (IXON | ICRNL | INLCR | IGNCR), 0u) << "CR and LF reach us as sent";
    gps.CloseGpsPort();
    termios after{};
    ASSERT_EQ(tcgetattr(second, &after), 0);
    EXPECT_EQ(cfgetispeed(&after), cfgetispeed(&before));
    EXPECT_EQ(after.c_lflag, before.c_lflag);
    EXPECT_EQ(after.c_iflag, before.c_iflag);
    close(second);
}

TEST_F(PortFixture, AReceiverThatGoesAwayDoesNotHoldUpClosing) {
    auto gone = std::make_unique<gpstest::Pty>();
    ASSERT_TRUE(gone->Ok());
    state.SerialPortPaths = gone->SlavePath();
    gps.ProbeComPorts(state, devices.Path());
    ASSERT_TRUE(StartLiveGps(state, gps)) << gps.PortError();
    ASSERT_TRUE(gone->Send(Gll));
    ASSERT_EQ(WaitForLines(1), 1);
    gone.reset();  // the other end closes: the device hangs up
    std::this_thread::sleep_for(std::chrono::milliseconds(250));
    EXPECT_TRUE(gps.Reading());
    gps.CloseGpsPort();  // returns: the reader is not stuck in a read
    EXPECT_FALSE(gps.Reading());
}

}  // namespace
}  // namespace tidemar
