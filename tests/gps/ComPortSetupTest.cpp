// The "ComPort Setup" dialog: the controls it opens with, what each click does to the
// pending values, and what Ok and Cancel leave behind (the port really reopened).
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "GpsTestSupport.h"
#include "gps/ComPortSetup.h"
#include "gps/GpsPositionBox.h"

namespace tidemar {
namespace {

struct SetupFixture : ::testing::Test {
    gpstest::TempDir devices;
    gpstest::Pty first, second;
    SonarState state;
    gpstest::BoxTarget target;
    GpsInput gps{nullptr};

    void SetUp() override {
        ASSERT_TRUE(first.Ok() && second.Ok());
        // COM1 and COM3 exist, COM2 is listed but missing.
        state.SerialPortPaths = first.SlavePath() + ":/nonexistent/gps:" + second.SlavePath();
        state.ComPortGPS = 2;
        state.GPSType = GpsTypeGGA;
        gps.ProbeComPorts(state, devices.Path());
    }

    bool Receives(gpstest::Pty& pty, const std::string& sentence) {
        if (!pty.Send(sentence)) return false;
        for (int i = 0; i < 400; ++i) {
            if (gps.Poll(state, target) > 0) return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        return false;
    }
};

TEST_F(SetupFixture, OpensWithTheSettingsAndTheAvailablePorts) {
    state.UseGPS = 1;
    ComPortSetup dialog(state, gps.Ports());
    ASSERT_EQ(dialog.PortList().size(), 2u);
    EXPECT_EQ(dialog.PortList()[0].Name, "COM1");
    EXPECT_EQ(dialog.PortList()[0].Path, first.SlavePath());
    EXPECT_EQ(dialog.PortList()[1].Name, "COM3");
    EXPECT_EQ(dialog.PortList()[1].Path, second.SlavePath());
    EXPECT_EQ(dialog.SelectedListIndex(), 1) << "ComPortGPS is COM3";
    EXPECT_TRUE(dialog.EnableChecked());
    EXPECT_FALSE(dialog.SentenceButtonsInactive());
    EXPECT_EQ(dialog.CheckedType(), GpsTypeGGA);
    EXPECT_STREQ(ComPortSetup::ParameterLabel, "(4800,N,8,1)");

    state.UseGPS = 0;
    ComPortSetup disabled(state, gps.Ports());
    EXPECT_FALSE(disabled.EnableChecked());
    EXPECT_TRUE(disabled.SentenceButtonsInactive());
    EXPECT_EQ(disabled.CheckedType(), -1);
    EXPECT_EQ(disabled.PendingType(), GpsTypeGGA);

    state.UseGPS = 1;
    GpsInput unprobed(nullptr);
    ComPortSetup na(state, unprobed.Ports());
    ASSERT_EQ(na.PortList().size(), 1u);
    EXPECT_EQ(na.PortList()[0].Name, " N/A");
    EXPECT_TRUE(na.SentenceButtonsInactive()) << "no ports probed: no sentence choice";
    EXPECT_EQ(na.CheckedType(), -1);
}

TEST_F(SetupFixture, ClicksChangeOnlyThePendingValues) {
    state.UseGPS = 1;
    ComPortSetup dialog(state, gps.Ports());
    dialog.ChooseType(GpsTypeGLL);
    EXPECT_EQ(dialog.CheckedType(), GpsTypeGLL);
    dialog.ChooseDisable();
    EXPECT_FALSE(dialog.EnableChecked());
    EXPECT_TRUE(dialog.SentenceButtonsInactive());
    EXPECT_EQ(dialog.CheckedType(), -1);
    dialog.ChooseType(GpsTypeGGA);
    EXPECT_EQ(dialog.CheckedType(), -1) << "no choice while disabled";
    EXPECT_EQ(dialog.PendingType(), GpsTypeGLL);
    dialog.ChooseEnable();
    EXPECT_FALSE(dialog.SentenceButtonsInactive());
    EXPECT_EQ(dialog.CheckedType(), GpsTypeGLL) << "the pending type comes back";
    dialog.ChooseType(7);
    EXPECT_EQ(dialog.PendingType(), GpsTypeGLL);
    dialog.SelectListIndex(5);
    EXPECT_EQ(dialog.SelectedListIndex(), 1) << "no such entry";
    // Nothing reached the settings: Cancel is closing without Ok.
    EXPECT_EQ(state.UseGPS, 1);
    EXPECT_EQ(state.GPSType, GpsTypeGGA);
    EXPECT_EQ(state.ComPortGPS, 2);
}

TEST_F(SetupFixture, OkEnablesAndReopensOnTheChosenPort) {
    state.UseGPS = 0;
    ComPortSetup dialog(state, gps.Ports());
    dialog.ChooseEnable();
    dialog.ChooseType(GpsTypeGLL);
    dialog.SelectListIndex(0);
    EXPECT_TRUE(dialog.Ok(state, gps, target));
    EXPECT_EQ(state.UseGPS, 1);
    EXPECT_EQ(state.GPSType, GpsTypeGLL);
    EXPECT_EQ(state.ComPortGPS, 0);
    ASSERT_TRUE(Receives(first, "$GPGLL,4916.4512,N,12311.1234,W,225444,A\r\n"));
    EXPECT_EQ(state.GpsPositionText, " 49.16.451 N123.11.123 W");

    ComPortSetup again(state, gps.Ports());
    again.SelectListIndex(1);
    EXPECT_TRUE(again.Ok(state, gps, target));
    EXPECT_EQ(state.ComPortGPS, 2);
    EXPECT_FALSE(Receives(first, "$GPGLL,1111.1111,N,02222.2222,W,1,A\r\n")) << "COM1 is closed";
    ASSERT_TRUE(Receives(second, "$GPGLL,3854.5087,N,07726.4523,W,125106,V\r\n"));
    EXPECT_EQ(state.GpsPositionText, " 38.54.508 N077.26.452 W");
}

TEST_F(SetupFixture, OkWithDisableClosesThePortAndEmptiesTheBox) {
    state.UseGPS = 1;
    ASSERT_TRUE(StartLiveGps(state, gps));
    ComPortSetup dialog(state, gps.Ports());
    dialog.ChooseDisable();
    EXPECT_FALSE(dialog.Ok(state, gps, target));
    EXPECT_EQ(state.UseGPS, 0);
    EXPECT_FALSE(gps.PortOpen());
    EXPECT_EQ(state.GpsSilenceCount, 50);
    EXPECT_EQ(target.Boxes, std::vector<bool>{false});
    bool blink = false;
    EXPECT_FALSE(DecideGpsBox(state, false, blink).Shown) << "the box is wiped";
    EXPECT_EQ(state.ComPortGPS, 2) << "the port choice is kept for next time";
}

TEST_F(SetupFixture, OkWithoutProbedPortsOnlyStoresTheChoice) {
    GpsInput unprobed(nullptr);
    state.UseGPS = 0;
    ComPortSetup dialog(state, unprobed.Ports());
    dialog.ChooseEnable();
    dialog.ChooseType(GpsTypeGLL);
    EXPECT_FALSE(dialog.Ok(state, unprobed, target));
    EXPECT_EQ(state.UseGPS, 1);
    EXPECT_EQ(state.GPSType, GpsTypeGGA) << "the type cannot be chosen without ports";
    EXPECT_FALSE(unprobed.PortOpen());
    EXPECT_EQ(state.GpsSilenceCount, 50);
    EXPECT_EQ(target.Boxes, std::vector<bool>{false});
}

}  // namespace
}  // namespace tidemar
