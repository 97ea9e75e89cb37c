// The scan list, the end of a sweep, and what a finished scan is turned into.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ReplyTestSupport.h"
#include "core/AutoProfile.h"
#include "core/DispatchPing.h"
#include "core/SwitchCommand.h"

namespace tidemar {
namespace {

using replytest::FramedReply;
using replytest::Receive;
using replytest::StateAt;

ProfileScanRecord Point(float range) {
    ProfileScanRecord record;
    record.Range = range;
    return record;
}

void Fill(ProfileScan& scan, int count) { scan.Records.assign(count, Point(1.0f)); }

// A completion that writes down what was asked of it.
class CompletionLog : public ScanCompletion {
public:
    bool Answer = true;
    std::vector<std::string> Calls;
    size_t WrittenPoints = 0;

    bool ConfirmSave() override {
        Calls.push_back("confirm");
        return Answer;
    }
    void WriteXyz(const std::vector<ProfileScanRecord>& records) override {
        Calls.push_back("xyz");
        WrittenPoints = records.size();
    }
    void CaptureScreen() override { Calls.push_back("bmp"); }
    void PromptForScan() override { Calls.push_back("prompt"); }
    void ClearProfileMarks() override { Calls.push_back("marks"); }
};

TEST(ProfilePoint, RangeScalesWithTheDisplayMode) {
    SonarState state = StateAt(9, DisplayMode::Sector);
    state.RangeMeters = 50;
    state.ProfileSample = 250;
    EXPECT_FLOAT_EQ(ProfilePointOf(state).Range, 25.0f);  // 250 x 50 x 0.002
    state.GridMode = DisplayMode::Polar;
    EXPECT_FLOAT_EQ(ProfilePointOf(state).Range, 50.0f);  // 250 x 50 x 0.004
}

TEST(ProfilePoint, AngleIsBroughtIntoOneTurnAndCarriesStampAndDirection) {
    SonarState state;
    state.TimestampText = "07-DEC-2026  10:11:12.34";
    state.StepDirection = 1;
    state.HeadAngleDeg = 350.0f;
    state.VerticalAngleOffset = 20.0f;
    ProfileScanRecord record = ProfilePointOf(state);
    EXPECT_FLOAT_EQ(record.Angle, 10.0f);
    EXPECT_EQ(record.Timestamp, "07-DEC-2026  10:11:12.34");
    EXPECT_EQ(record.Direction, 1u);

    state.HeadAngleDeg = 5.0f;
    state.VerticalAngleOffset = -15.0f;
    EXPECT_FLOAT_EQ(ProfilePointOf(state).Angle, 350.0f);
    state.VerticalAngleOffset = 355.0f;  // exactly one turn: 0, not 360
    EXPECT_FLOAT_EQ(ProfilePointOf(state).Angle, 0.0f);
}

TEST(ProfilePoint, AnOverlongTimestampIsCutToItsBuffer) {
    SonarState state;
    state.TimestampText = std::string(60, '9');
    EXPECT_EQ(ProfilePointOf(state).Timestamp.size(), 39u);
}

TEST(ScanList, StopsAtTwelveHundredPoints) {
    SonarState state;
    ProfileScan scan;
    for (int i = 0; i < 1300; ++i) {
        state.ProfileSample = i;
        RecordProfilePoint(state, scan);
    }
    ASSERT_EQ(scan.Records.size(), 1200u);
    EXPECT_FLOAT_EQ(scan.Records.back().Range, ProfilePointOf([] {
                                                   SonarState s;
                                                   s.ProfileSample = 1199;
                                                   return s;
                                               }())
                                                   .Range);
}

TEST(ScanList, NothingIsCollectedWhileTheHeadIsPositioned) {
    SonarState state;
    ProfileScan scan;
    state.AutoProfilePositioning = 1;
    state.BusyCursorOn = 1;
    RecordProfilePoint(state, scan);
    EXPECT_TRUE(scan.Records.empty());
    EXPECT_EQ(state.BusyCursorOn, 1);
    state.AutoProfilePositioning = 0;
    RecordProfilePoint(state, scan);
    EXPECT_EQ(scan.Records.size(), 1u);
    EXPECT_EQ(state.BusyCursorOn, 0);
}

TEST(ScanComplete, ASectorEndsWhenTheHeadTurns) {
    SonarState state;
    state.SectorSize = 90;
    ProfileScan scan;
    state.AutoProfileScanDirection = 0;
    state.StepDirection = 0;
    EXPECT_FALSE(CheckScanComplete(state, scan, {}));
    state.StepDirection = 1;
    EXPECT_TRUE(CheckScanComplete(state, scan, {}));
}

TEST(ScanComplete, WhilePositioningOnlyTheDirectionIsNoted) {
    SonarState state;
    state.SectorSize = 90;
    state.AutoProfilePositioning = 1;
    state.AutoProfileScanDirection = 0;
    state.StepDirection = 1;
    ProfileScan scan;
    EXPECT_FALSE(CheckScanComplete(state, scan, {}));
    EXPECT_EQ(state.AutoProfileScanDirection, 1);
}

TEST(ScanComplete, AFullCircleEndsAtPositionsZeroToEightAfterTheEnd) {
    const ScanGeometry circle{60, 0, 1200};
    struct Case {
        const char* legend;
        int last, position, points;
        bool complete;
    };
    const Case cases[] = {
        {"came round from the end", 1197, 3, 101, true},
        {"eight positions past zero", 1195, 8, 101, true},
        {"nine is too far", 1195, 9, 101, false},
        {"too few points", 1197, 3, 100, false},
        {"last position short of the end", 1190, 2, 500, false},
        {"mid-circle", 597, 600, 500, false},
    };
    for (const Case& c : cases) {
        SonarState state;
        state.SectorSize = 360;
        state.AutoProfileLastPosition = c.last;
        state.HeadPosition = c.position;
        ProfileScan scan;
        Fill(scan, c.points);
        EXPECT_EQ(CheckScanComplete(state, scan, circle), c.complete) << c.legend;
        EXPECT_EQ(state.AutoProfileLastPosition, c.position) << c.legend;
    }
}

TEST(ScanComplete, AFullCircleIgnoresTheDirection) {
    SonarState state;
    state.SectorSize = 360;
    state.AutoProfileScanDirection = 0;
    state.StepDirection = 1;
    state.HeadPosition = 600;
    ProfileScan scan;
    Fill(scan, 200);
    EXPECT_FALSE(CheckScanComplete(state, scan, {60, 0, 1200}));
}

TEST(FinishScan, ConfirmedScansAreWrittenCapturedAndTheNextIsOffered) {
    SonarState state;
    ProfileScan scan;
    Fill(scan, 7);
    CompletionLog log;
    FinishScan(state, scan, log);
    EXPECT_EQ(log.Calls, (std::vector<std::string>{"confirm", "xyz", "bmp", "prompt", "marks"}));
    EXPECT_EQ(log.WrittenPoints, 7u);
    EXPECT_TRUE(scan.Records.empty());
}

TEST(FinishScan, ARefusedScanIsDroppedButTheNextIsStillOffered) {
    SonarState state;
    ProfileScan scan;
    Fill(scan, 7);
    CompletionLog log;
    log.Answer = false;
    FinishScan(state, scan, log);
    EXPECT_EQ(log.Calls, (std::vector<std::string>{"confirm", "prompt", "marks"}));
    EXPECT_TRUE(scan.Records.empty());
}

TEST(FinishScan, EachOptionHasItsEffect) {
    SonarState state;
    state.AutoProfileSaveConfirmation = 0;
    state.AutoProfileBMP = 0;
    state.AutoProfilePromptForScan = 0;
    ProfileScan scan;
    CompletionLog log;
    FinishScan(state, scan, log);
    EXPECT_EQ(log.Calls, (std::vector<std::string>{"xyz", "marks"}));

    state.AutoProfileXYZ = 0;
    state.AutoProfileBMP = 1;
    log.Calls.clear();
    FinishScan(state, scan, log);
    EXPECT_EQ(log.Calls, (std::vector<std::string>{"bmp", "marks"}));
}

TEST(StartScan, EmptiesTheListAndSendsOnePositioningBlock) {
    SonarState state = StateAt(9, DisplayMode::Sector);
    state.SectorSize = 90;
    state.StepDirection = 1;
    ProfileScan scan;
    Fill(scan, 5);
    PrepareSend(state);  // an ordinary block in the template first
    const CommandBlock ordinary = PrepareSend(state);

    StartScan(state, scan, {45, 450, 750});
    EXPECT_TRUE(scan.Records.empty());
    EXPECT_EQ(state.AutoProfilePositioning, 1);
    EXPECT_EQ(state.BusyCursorOn, 1);
    EXPECT_EQ(state.AutoProfileStartPosition, 450);
    EXPECT_EQ(state.AutoProfileScanDirection, 1);

    CommandBlock positioning = PrepareSend(state);
    EXPECT_EQ(positioning[11], 45);
    EXPECT_EQ(positioning[12], 0);
    EXPECT_EQ(positioning[13], 1);
    for (int i : {0, 1, 2, 3, 8, 10, 14, 25, 26}) EXPECT_EQ(positioning[i], ordinary[i]) << "byte " << i;
    EXPECT_EQ(PrepareSend(state), ordinary);  // building resumes
}

TEST(AcceptSettings, OnlyTheLiveSwitchOnStartsAScan) {
    SonarState state;
    ProfileScan scan;
    const ScanGeometry geometry{45, 450, 750};
    state.AutoProfileActive = 1;
    EXPECT_TRUE(AcceptAutoProfileSettings(state, scan, geometry));
    state.AutoProfilePositioning = 0;
    EXPECT_FALSE(AcceptAutoProfileSettings(state, scan, geometry)) << "already on";

    state.AutoProfileActive = 0;
    state.AutoProfilePositioning = 1;
    state.BusyCursorOn = 1;
    EXPECT_FALSE(AcceptAutoProfileSettings(state, scan, geometry));
    EXPECT_EQ(state.AutoProfilePositioning, 0) << "switched off while positioning";
    EXPECT_EQ(state.BusyCursorOn, 0);

    state.RunMode = DataSource::File;
    state.AutoProfileActive = 1;
    EXPECT_FALSE(AcceptAutoProfileSettings(state, scan, geometry)) << "playback";
    EXPECT_EQ(scan.PreviousActive, 1);
}

// The dispatch's part and the cycle's part together over one sector sweep.
class ScanTarget : public DispatchTarget {
public:
    int Erased = 0;
    void EraseLinkStatus() override { ++Erased; }
};

void Ping(SonarState& state, const Clock& clock, DispatchTarget& target, ProfileScan& scan, int position,
          int direction) {
    std::vector<uint8_t> reply = FramedReply('G', 500, 0);
    reply[5] = static_cast<uint8_t>(position & 0x7F);
    reply[6] = static_cast<uint8_t>(((position >> 7) & 0x3F) | (direction << 6));
    Receive(state, reply);
    DispatchPing(state, clock, target);
    if (state.AutoProfileActive) RecordProfilePoint(state, scan);
}

TEST(ScanCycle, OneSweepFromTheStartToTheTurnIsOneScan) {
    SonarState state = StateAt(9, DisplayMode::Sector);
    state.SectorSize = 90;
    state.AutoProfileActive = 1;
    state.AutoProfilePromptForScan = 0;
    state.AutoProfileSaveConfirmation = 0;
    ManualClock clock;
    ProfileScan scan;
    ScanTarget target;
    CompletionLog log;
    const ScanGeometry geometry{45, 450, 750};
    ASSERT_TRUE(AcceptAutoProfileSettings(state, scan, geometry));

    int finished = 0;
    auto step = [&](int position, int direction) {
        Ping(state, clock, target, scan, position, direction);
        finished += AutoProfileCycleStep(state, scan, geometry, log);
    };
    for (int p = 390; p <= 444; p += 3) step(p, 1);  // on the way to the start
    EXPECT_EQ(state.AutoProfilePositioning, 1);
    EXPECT_TRUE(scan.Records.empty());
    for (int p = 447; p <= 750; p += 3) step(p, 1);  // 450 is reached at the second of these
    EXPECT_EQ(target.Erased, 1);
    EXPECT_EQ(state.AutoProfilePositioning, 0);
    EXPECT_EQ(state.BusyCursorOn, 0);
    EXPECT_EQ(finished, 0);
    EXPECT_EQ(scan.Records.size(), 101u);  // 450..750

    step(747, 0);  // the head turns
    EXPECT_EQ(finished, 1);
    EXPECT_EQ(log.WrittenPoints, 102u);
    EXPECT_TRUE(scan.Records.empty());
    for (int p = 744; p >= 450; p -= 3) step(p, 0);
    EXPECT_EQ(finished, 1);
    step(453, 1);
    EXPECT_EQ(finished, 2);
    EXPECT_EQ(log.WrittenPoints, 100u);  // 744..450 and the turn
}

}  // namespace
}  // namespace tidemar
