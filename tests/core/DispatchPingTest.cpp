// The order and the conditions of the steps one ping goes through, checked through a
// target that writes down every call.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ReplyTestSupport.h"
#include "core/DispatchPing.h"

namespace tidemar {
namespace {

using replytest::FramedReply;
using replytest::Receive;
using replytest::StateAt;

class CallLog : public DispatchTarget {
public:
    std::vector<std::string> Calls;
    bool Shown = false;
    bool IsRecording = false;
    int Records = 0;

    bool DiagnosticsShown() const override { return Shown; }
    void RefreshDiagnostics() override { Calls.push_back("diagnostics"); }
    void DrawPingIndicator(bool on) override { Calls.push_back(on ? "indicator*" : "indicator"); }
    bool Recording() const override { return IsRecording; }
    void WriteRecord(const SonarState&) override {
        Calls.push_back("record");
        ++Records;
    }
    void ResetEchoHistory() override { Calls.push_back("reset"); }
    void RedrawSonarImage() override { Calls.push_back("redraw"); }
    void DrawDateTime() override { Calls.push_back("datetime"); }
    void DrawFrequencyReadout() override { Calls.push_back("frequency"); }
    void DrawGpsPosition(bool available) override { Calls.push_back(available ? "gps+" : "gps-"); }
    void RemoveGrid() override { Calls.push_back("removegrid"); }
    void DrawGrid() override { Calls.push_back("drawgrid"); }
    void RefreshMeasurementReadout() override { Calls.push_back("measurereadout"); }
    void DrawUserTextBox() override { Calls.push_back("usertext"); }
    void RefreshChangedReadouts() override { Calls.push_back("readouts"); }
    void DrawHeadPosition() override { Calls.push_back("headpos"); }
    void PlotWaterfallPing(bool backwards) override { Calls.push_back(backwards ? "waterfall<" : "waterfall>"); }
    void PlotProfilePointOnly() override { Calls.push_back("pointonly"); }
    void AdvancePingHistory() override { Calls.push_back("history"); }
    void PlotSectorPing() override { Calls.push_back("sector"); }
    void PlotMixProfilePoint() override { Calls.push_back("mixpoint"); }
    void DrawDredgeLine() override { Calls.push_back("dredge"); }
    void EraseLinkStatus() override { Calls.push_back("erasestatus"); }
    void AddProfilePoint(const SonarState&) override { Calls.push_back("profilepoint"); }
    void RedrawMeasureLine() override { Calls.push_back("measureline"); }
    void UpdatePixelZoom() override { Calls.push_back("zoom"); }

    std::string Joined() const {
        std::string text;
        for (const auto& call : Calls) text += (text.empty() ? "" : " ") + call;
        return text;
    }
};

struct Fixture : ::testing::Test {
    SonarState state = StateAt(9, DisplayMode::Polar);
    ManualClock clock;
    CallLog log;

    DispatchResult Dispatch(const std::vector<uint8_t>& reply) {
        Receive(state, reply);
        log.Calls.clear();
        return DispatchPing(state, clock, log);
    }
};

using DispatchOrder = Fixture;

TEST_F(DispatchOrder, LivePolarPingRunsEveryStepInOrder) {
    log.Shown = true;
    log.IsRecording = true;
    state.PixelZoom = 1;
    DispatchResult result = Dispatch(FramedReply('G', 500, 40));
    EXPECT_EQ(log.Joined(), "diagnostics indicator* record readouts headpos history sector dredge measureline zoom");
    EXPECT_EQ(result.PauseMilliseconds, 0);
}

TEST_F(DispatchOrder, InvalidReplyOnlyBlinksAndPausesLive) {
    log.IsRecording = true;
    std::vector<uint8_t> reply = FramedReply('G', 500, 40);
    reply.back() = 0xFB;
    DispatchResult result = Dispatch(reply);
    EXPECT_EQ(log.Joined(), "indicator");
    EXPECT_EQ(result.PauseMilliseconds, 100);
    EXPECT_EQ(log.Records, 0);

    state.RunMode = DataSource::File;  // a bad record in playback costs no pause
    EXPECT_EQ(Dispatch(reply).PauseMilliseconds, 0);
}

TEST_F(DispatchOrder, AsteriskBlinksAtHalfThePingRate) {
    std::vector<std::string> seen;
    for (int i = 0; i < 4; ++i) {
        Dispatch(FramedReply('G', 500));
        seen.push_back(log.Calls.front());
    }
    EXPECT_EQ(seen, (std::vector<std::string>{"indicator*", "indicator", "indicator*", "indicator"}));
}

TEST_F(DispatchOrder, HeadScanReplyStopsAfterTheIndicator) {
    state.HeadScanMode = 1;
    log.IsRecording = true;
    DispatchResult result = Dispatch(FramedReply('T', 64));
    EXPECT_EQ(log.Joined(), "indicator*");
    EXPECT_EQ(result.PauseMilliseconds, 100);
    EXPECT_EQ(state.PingValid, 1);
}

TEST_F(DispatchOrder, PendingRangeChangeRedrawsInsteadOfPlotting) {
    state.RangeChangedPending = 1;
    state.PixelZoom = 1;
    Dispatch(FramedReply('G', 500));
    EXPECT_EQ(log.Joined(), "indicator* readouts headpos reset redraw zoom");
    EXPECT_EQ(state.RangeChangedPending, 0);
    Dispatch(FramedReply('G', 500));
    EXPECT_EQ(log.Joined(), "indicator readouts headpos history sector dredge measureline zoom");
}

TEST_F(DispatchOrder, ProfileModesChooseThePlot) {
    state.PixelZoom = 0;
    state.Profile = 3;
    Dispatch(FramedReply('G', 500));
    EXPECT_EQ(log.Joined(), "indicator* readouts headpos history sector mixpoint dredge measureline");

    state.Profile = 1;
    Dispatch(FramedReply('P', 0));
    EXPECT_EQ(log.Joined(), "indicator readouts headpos pointonly dredge measureline");
}

TEST_F(DispatchOrder, SideScanScrollsTheWaterfall) {
    state.GridMode = DisplayMode::SideScan;
    state.PixelZoom = 0;
    Dispatch(FramedReply('G', 500));
    EXPECT_EQ(log.Joined(), "indicator* readouts headpos waterfall> measureline");
}

TEST_F(DispatchOrder, RecordingOnlyLive) {
    log.IsRecording = true;
    Dispatch(FramedReply('G', 500));
    state.RunMode = DataSource::File;
    Dispatch(FramedReply('G', 500));
    EXPECT_EQ(log.Records, 1);
}

using PlayedPing = Fixture;

TEST_F(PlayedPing, FirstRecordShowsEveryPlayedValue) {
    state.RunMode = DataSource::File;
    state.PixelZoom = 0;
    state.Grid = 1;
    state.PlayedSecond = 12;
    state.FileFrequency = 675;
    state.FileHasGps = 1;
    state.GpsSilenceCount = 0;
    state.FileSoundVelocity = 1480.0f;
    state.FileUserText = "pier survey";
    DispatchResult result = Dispatch(FramedReply('G', 500));
    EXPECT_EQ(log.Joined(),
              "indicator* datetime frequency gps+ redraw removegrid drawgrid measurereadout usertext "
              "readouts headpos history sector dredge measureline");
    EXPECT_EQ(state.SoundVelocityMeters, 1480.0f);
    EXPECT_EQ(state.UserText, "pier survey");
    EXPECT_EQ(result.PauseMilliseconds, 0);  // PlotSpeed 100

    // The same values again: nothing to redraw.
    Dispatch(FramedReply('G', 500));
    EXPECT_EQ(log.Joined(), "indicator gps+ readouts headpos history sector dredge measureline");
}

TEST_F(PlayedPing, DisplayCheckRedrawsOnceForWidthOrShrinkingSector) {
    state.RunMode = DataSource::File;
    state.PixelZoom = 0;
    state.DrawnRange = 50;
    state.DrawnGridMode = DisplayMode::Polar;
    state.ShownFileFrequency = state.FileFrequency;
    state.ShownPlayedSecond = state.PlayedSecond;
    state.ShownSoundVelocity = state.FileSoundVelocity;

    state.DataBits = 16;
    state.ReturnRange = 20;  // a range change too: still only one redraw
    std::vector<uint8_t> reply = FramedReply('G', 500);
    reply[7] = 20;
    Dispatch(reply);
    EXPECT_EQ(log.Joined(), "indicator* reset redraw readouts headpos history sector dredge measureline");

    state.PreviousSectorSize = 360;
    state.SectorSize = 180;
    Dispatch(reply);
    EXPECT_EQ(log.Joined(), "indicator reset redraw readouts headpos history sector dredge measureline");

    reply[7] = 50;  // the range in the file changes back
    state.PreviousSectorSize = 180;
    Dispatch(reply);
    EXPECT_EQ(log.Joined(), "indicator* redraw readouts headpos history sector dredge measureline");
}

TEST_F(PlayedPing, WithoutGridTheSoundVelocityChangesQuietly) {
    state.RunMode = DataSource::File;
    state.Grid = 0;
    state.ShownSoundVelocity = 1500.0f;
    state.FileSoundVelocity = 1450.0f;
    Dispatch(FramedReply('G', 500));
    EXPECT_EQ(log.Joined().find("grid"), std::string::npos);
    EXPECT_NE(log.Joined().find("measurereadout"), std::string::npos);
    EXPECT_EQ(state.SoundVelocityMeters, 1450.0f);
}

TEST_F(PlayedPing, BackwardsPlayTurnsTheDrawingDirection) {
    state.RunMode = DataSource::File;
    state.GridMode = DisplayMode::SideScan;
    state.PlaybackReverse = 1;
    state.PlaybackBackLink = 640;
    std::vector<uint8_t> reply = FramedReply('G', 500);
    reply[6] |= 0x40;  // stepping direction 1
    Dispatch(reply);
    EXPECT_EQ(state.DrawDirection, 0);
    EXPECT_NE(log.Joined().find("waterfall<"), std::string::npos);

    state.PlaybackBackLink = 0;  // the first record has nothing behind it
    Dispatch(reply);
    EXPECT_EQ(state.DrawDirection, 1);
    EXPECT_NE(log.Joined().find("waterfall>"), std::string::npos);
}

TEST_F(PlayedPing, PlotSpeedPacesPlayback) {
    state.RunMode = DataSource::File;
    struct Case {
        int plotSpeed, ms;
    } cases[] = {{100, 0}, {99, 0}, {50, 100}, {0, 1200}, {75, 18}};
    for (const auto& c : cases) {
        state.PlotSpeed = c.plotSpeed;
        EXPECT_EQ(Dispatch(FramedReply('G', 500)).PauseMilliseconds, c.ms) << "PlotSpeed " << c.plotSpeed;
    }
}

TEST(PlotDelay, BandsOfTheSpeedBar) {
    struct Case {
        int d, ms;
    } cases[] = {
        {1, 0},   {4, 1},    {10, 2},   {11, 5},   {20, 10},  {21, 15},  {30, 22},   {31, 31},    {40, 40},
        {41, 82}, {50, 100}, {51, 204}, {61, 366}, {71, 568}, {81, 810}, {91, 1092}, {100, 1200},
    };
    for (const auto& c : cases) EXPECT_EQ(PlotDelayMilliseconds(c.d), c.ms) << "d " << c.d;
}

using AutoProfileScan = Fixture;

TEST_F(AutoProfileScan, PingsAgainstTheScanAreCollectedButNotDrawn) {
    state.PixelZoom = 0;
    state.AutoProfileActive = 1;
    state.AutoProfileScanDirection = 1;
    Dispatch(FramedReply('G', 500));  // direction 0
    EXPECT_EQ(log.Joined(), "indicator* readouts headpos dredge profilepoint measureline");
}

TEST_F(AutoProfileScan, PositioningEndsWhenTheHeadReachesTheStart) {
    state.PixelZoom = 0;
    state.AutoProfileActive = 1;
    state.AutoProfilePositioning = 1;
    state.AutoProfileStartPosition = 610;
    state.AutoProfileLastPosition = 1200;
    auto at = [](int position, int direction) {
        std::vector<uint8_t> reply = FramedReply('G', 500);
        reply[5] = position & 0x7F;
        reply[6] = ((position >> 7) & 0x3F) | (direction << 6);
        return reply;
    };
    Dispatch(at(600, 1));  // first ping: not past the last position (1200)
    EXPECT_EQ(state.AutoProfilePositioning, 1);
    Dispatch(at(605, 1));  // moving, not there yet
    EXPECT_EQ(state.AutoProfilePositioning, 1);
    Dispatch(at(611, 1));
    EXPECT_EQ(state.AutoProfilePositioning, 0);
    EXPECT_EQ(state.AutoProfileScanDirection, 1);
    EXPECT_NE(log.Joined().find("erasestatus"), std::string::npos);
    Dispatch(at(614, 1));
    EXPECT_EQ(state.AutoProfileLastPosition, 1200);
}

}  // namespace
}  // namespace tidemar
