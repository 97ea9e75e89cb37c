// Playback of files made by the recorder: opening, every field a record loads, forward and
// backward play, the rewind at the end, pacing, GPS and auto frame capture.
#include <gtest/gtest.h>

#include "FilesTestSupport.h"
#include "files/Playback.h"

namespace tidemar {
namespace {

using filestest::Bytes;
using filestest::LivePing;
using filestest::TempDir;

struct PlaybackFixture : ::testing::Test {
    TempDir dir;
    ScriptedPrompts prompts;
    RecordedChrome chrome;
    Playback playback{prompts, chrome};
    SonarState state = filestest::PlaybackState();
    filestest::CountingTarget target{state};
    ManualClock clock;

    std::string Recorded(int count, bool withGps = false) {
        const std::string name = dir.File("Survey.K7T");
        filestest::MakeRecordedFile(name, count, withGps);
        return name;
    }
    void Open(const std::string& name) { ASSERT_TRUE(playback.OpenPlaybackFile(name, state, target)); }
    PlaybackStepResult Step() { return playback.PlaybackStep(state, clock, target); }
    void Steps(int n) {
        for (int i = 0; i < n; ++i) Step();
    }
};

TEST_F(PlaybackFixture, OpenAsksForAFileAndResetsTheReadouts) {
    const std::string name = Recorded(2);
    prompts.FileAnswers.push_back(name);
    state.ShownFileFrequency = 675;
    state.DrawnRange = 50;
    state.FileUserText = "old";
    ASSERT_TRUE(playback.OpenPlayback(state, target));
    const FileDialogRequest& dialog = prompts.FileDialogs.at(0);
    EXPECT_EQ(dialog.Title, "Open a Sonar File For Playback");
    EXPECT_EQ(dialog.FilterName, "SK7T Sonar Files (*.K7T)");
    EXPECT_TRUE(dialog.FileMustExist);
    EXPECT_TRUE(dialog.PathMustExist);
    EXPECT_FALSE(dialog.PromptOverwrite);
    EXPECT_EQ(chrome.Title, "Tidemar Digital Sonar - Playback of " + name);
    EXPECT_EQ(playback.PlaybackFileLength(), 1280);
    EXPECT_EQ(state.ShownFileFrequency, -1);
    EXPECT_EQ(state.DrawnRange, 1000);
    EXPECT_EQ(state.ShownSoundVelocity, 0.0f);
    EXPECT_EQ(state.FileUserText, "");
    EXPECT_EQ(state.GpsSilenceCount, 5);
    EXPECT_EQ(target.GpsBoxes, 1);
    EXPECT_FALSE(target.LastGpsAvailable);
    EXPECT_EQ(target.Redraws, 1) << "the picture is cleared";
    EXPECT_TRUE(prompts.Messages.empty());

    prompts.FileAnswers.push_back(std::nullopt);
    EXPECT_FALSE(playback.OpenPlayback(state, target));
    EXPECT_EQ(prompts.FileDialogs.at(1).InitialName, name) << "the dialog offers the last file";
    EXPECT_TRUE(playback.PlaybackOpen()) << "Cancel keeps the file open";
}

TEST_F(PlaybackFixture, FilesThatCannotBePlayedAreRefused) {
    struct Case {
        const char* legend;
        Bytes content;
        const char* name;
        const char* message;
    } cases[] = {
        {"wrong magic", {'K', '7', 'X', 0, 0}, "wrong.K7T", "Data type is incorrect --> check file format"},
        {"empty file", {}, "empty.K7T", "Data type is incorrect --> check file format"},
        {"two bytes", {'K', '7'}, "short.K7T", "Data type is incorrect --> check file format"},
    };
    for (const Case& c : cases) {
        prompts.Messages.clear();
        filestest::WriteAll(dir.File(c.name), c.content);
        EXPECT_FALSE(playback.OpenPlaybackFile(dir.File(c.name), state, target)) << c.legend;
        EXPECT_FALSE(playback.PlaybackOpen()) << c.legend;
        ASSERT_EQ(prompts.Messages.size(), 1u) << c.legend;
        EXPECT_EQ(prompts.Messages[0].Caption, "Open a Sonar File For Playback");
        EXPECT_EQ(prompts.Messages[0].Text, c.message) << c.legend;
        EXPECT_EQ(chrome.Title, "Tidemar Digital Sonar - [No File]") << c.legend;
    }
    prompts.Messages.clear();
    EXPECT_FALSE(playback.OpenPlaybackFile(dir.File("none.K7T"), state, target));
    ASSERT_EQ(prompts.Messages.size(), 1u);
    EXPECT_EQ(prompts.Messages[0].Text, "Cannot open " + dir.File("none.K7T") + ":\nNo such file or directory");
    EXPECT_FALSE(playback.PlaybackStep(state, clock, target).Dispatched) << "no file: the step does nothing";
}

TEST_F(PlaybackFixture, WrongExtensionKeepsTheOpenFile) {
    const std::string name = Recorded(2);
    Open(name);
    prompts.FileAnswers.push_back(dir.File("notes.txt"));
    EXPECT_FALSE(playback.OpenPlayback(state, target));
    ASSERT_EQ(prompts.Messages.size(), 1u);
    EXPECT_EQ(prompts.Messages[0].Caption, "Open a Sonar File For Playback");
    EXPECT_EQ(prompts.Messages[0].Text, "File extension must be .K7T");
    EXPECT_TRUE(playback.PlaybackOpen());
    EXPECT_EQ(playback.FileName(), name);
}

TEST_F(PlaybackFixture, ForwardPlayRewindsAndSkipsTheFirstRecordAfterIt) {
    Open(Recorded(4));
    EXPECT_FALSE(Step().Dispatched) << "the first record after start is read, not shown";
    EXPECT_EQ(playback.PlaybackPosition(), 640);
    EXPECT_EQ(playback.PlaybackPercent(), 25);
    EXPECT_EQ(target.LastSlider, 25);
    Steps(3);
    EXPECT_EQ(target.Played, (std::vector<int>{200, 300, 400}));
    EXPECT_EQ(playback.PlaybackPercent(), 100);

    const PlaybackStepResult end = Step();
    EXPECT_TRUE(end.Rewound);
    EXPECT_FALSE(end.Dispatched);
    EXPECT_EQ(playback.Offset(), 0);
    EXPECT_EQ(playback.PlaybackPosition(), 0);
    EXPECT_EQ(playback.PlaybackPercent(), 0);
    EXPECT_EQ(end.WaitMilliseconds, 0);

    EXPECT_FALSE(Step().Dispatched) << "first record after the rewind";
    Steps(1);
    EXPECT_EQ(target.Played, (std::vector<int>{200, 300, 400, 200}));
}

TEST_F(PlaybackFixture, RecordLoadsItsSettingsIntoTheState) {
    SonarState ping = LivePing(600, 42);
    ping.DateText = "17-OCT-2023";
    ping.Hundredths = 9;
    ping.StepDirection = 1;
    ping.Xdcr = Transducer::Down;
    ping.GridMode = DisplayMode::SideScan;
    ping.Speed = 4;
    ping.Gain = 33;
    ping.SectorSize = 120;
    ping.Train = 90;
    ping.Absorption = 77;
    ping.DataBits = 16;
    ping.PulseLength = 350;
    ping.Profile = 3;
    ping.SoundVelocityMeters = 1480.5f;
    ping.UserText = "Pier 4";
    ping.Frequency = 1100;
    filestest::WriteAll(dir.File("one.K7T"), BuildDataRecord(ping, 0));
    state.Profile = 0;
    state.SectorSize = 360;
    Open(dir.File("one.K7T"));
    Step();

    EXPECT_EQ(state.DataSizeCode, 3);
    EXPECT_EQ(state.ExpectedReturnLength, 513);
    EXPECT_EQ(state.DateText, "17-OCT-2023");
    EXPECT_EQ(state.TimeText, "10:15:42");
    EXPECT_EQ(state.DateTimeText, "17-OCT-2023  10:15:42");
    EXPECT_EQ(state.PlayedSecond, 42);
    EXPECT_EQ(state.Hundredths, 9);
    EXPECT_EQ(state.StepDirection, 1);
    EXPECT_EQ(state.GridMode, 2);
    EXPECT_EQ(state.Speed, 4);
    EXPECT_EQ(state.Gain, 33);
    EXPECT_EQ(state.PreviousSectorSize, 360);
    EXPECT_EQ(state.SectorSize, 120);
    EXPECT_EQ(state.Train, 90);
    EXPECT_EQ(state.SSTrain, 2) << "a train of 90 in SS mode is starboard";
    EXPECT_EQ(state.Absorption, 77);
    EXPECT_EQ(state.DataBits, 16);
    EXPECT_EQ(state.PulseLength, 350);
    EXPECT_EQ(state.Profile, 0) << "the profile mode is not taken from the file";
    EXPECT_FLOAT_EQ(state.FileSoundVelocity, 1480.5f);
    EXPECT_EQ(state.FileUserText, "Pier 4");
    EXPECT_EQ(state.FileFrequency, 1100);
    EXPECT_EQ(state.ReplyType, 'G');
    EXPECT_EQ(state.PlotSampleCount, 250) << "16-bit data";
    EXPECT_TRUE(std::equal(state.ReceiveBuffer.begin(), state.ReceiveBuffer.begin() + 513,
                           filestest::HeadReply('G', 500, 600).begin()));
    EXPECT_EQ(state.PlaybackBackLink, 640);
    EXPECT_TRUE(playback.ReverseAvailable());
    EXPECT_EQ(target.ReverseBoxes, 1);
}

TEST_F(PlaybackFixture, FieldsOutsideTheirRangeKeepThePreviousValue) {
    Bytes r = BuildDataRecord(LivePing(600), 0);
    r[37] = (7 << 3) | 6;               // display mode 7, speed 6: no table has them
    r[43] = (4 << 3) | 1;               // sample width code 4
    r[46] = 0x80 | 0x75, r[47] = 0x30;  // 0x7530 = 30000 tenths: 3000 m/s
    r[48] = 0;
    filestest::WriteAll(dir.File("odd.K7T"), r);
    state.GridMode = DisplayMode::Polar;
    state.Speed = 2;
    state.DataBits = 8;
    state.FileSoundVelocity = 1490.0f;
    state.FileUserText = "kept";
    Open(dir.File("odd.K7T"));
    state.FileUserText = "kept";
    Step();
    EXPECT_EQ(state.GridMode, 1);
    EXPECT_EQ(state.Speed, 2);
    EXPECT_EQ(state.DataBits, 8);
    EXPECT_FLOAT_EQ(state.FileSoundVelocity, 1490.0f) << "3000 m/s is ignored";
    EXPECT_EQ(state.FileUserText, "kept") << "an empty user text leaves the last one";

    r[46] = 0x3A;  // no velocity stored: the setting is used
    filestest::WriteAll(dir.File("odd.K7T"), r);
    state.SoundVelocityMeters = 1510.0f;
    Open(dir.File("odd.K7T"));
    Step();
    EXPECT_FLOAT_EQ(state.FileSoundVelocity, 1510.0f);
}

TEST_F(PlaybackFixture, GpsTextIsPutBackAndItsSilenceCounted) {
    const std::string name = Recorded(3, true);
    Bytes file = filestest::ReadAll(name);
    file[2 * 768 + 640] = 0;  // the third record carries an empty position
    filestest::WriteAll(name, file);
    Open(name);
    Steps(2);
    EXPECT_EQ(state.FileHasGps, 1);
    EXPECT_EQ(state.GpsPositionText, " 49.16.451 N123.11.123 W");
    EXPECT_EQ(state.GpsSilenceCount, 0);
    EXPECT_TRUE(target.LastGpsAvailable);
    state.GpsSilenceCount = 9;
    Steps(1);
    EXPECT_EQ(state.GpsSilenceCount, 10);
    Steps(4);  // the end, the first record, the second, the empty third again
    EXPECT_EQ(state.GpsSilenceCount, 1);
    Steps(3);
    state.GpsSilenceCount = 10;
    Steps(1);
    EXPECT_EQ(state.GpsSilenceCount, 10) << "at most 10";
}

TEST_F(PlaybackFixture, BackwardsPlayWalksTheBackLinksAndWraps) {
    Open(Recorded(5));
    Steps(3);  // the first (not shown), 200, 300
    state.PlaybackReverse = 1;
    Steps(7);
    EXPECT_EQ(target.Played, (std::vector<int>{200, 300, 400, 300, 200, 100, 500, 400, 300}));
    EXPECT_EQ(playback.Offset(), 640);
}

TEST_F(PlaybackFixture, BackwardsFromTheSecondRecordWrapsToTheEnd) {
    Open(Recorded(3));
    Steps(1);
    state.PlaybackReverse = 1;
    Steps(1);  // the second record, then back to the first
    EXPECT_EQ(playback.Offset(), 0);
    EXPECT_EQ(playback.PlaybackPercent(), 0);
    Steps(1);  // the first record, then round to the last
    EXPECT_EQ(playback.Offset(), 1280);
    Steps(1);
    EXPECT_EQ(target.Played, (std::vector<int>{200, 100, 300}));
}

TEST_F(PlaybackFixture, FirstBackLinkOfZeroMeansNoReverse) {
    const std::string name = Recorded(3);
    Bytes file = filestest::ReadAll(name);
    for (size_t end = 640; end <= file.size(); end += 640) file[end - 2] = file[end - 1] = 0;
    filestest::WriteAll(name, file);
    Open(name);
    state.PlaybackReverse = 1;
    Steps(3);
    EXPECT_FALSE(playback.ReverseAvailable());
    EXPECT_EQ(state.PlaybackReverse, 0);
    EXPECT_EQ(target.ReverseBoxes, 1);
    EXPECT_EQ(target.Played, (std::vector<int>{200, 300}));
}

TEST_F(PlaybackFixture, OneRecordFilePlaysBackwardsOverAndOver) {
    Open(Recorded(1));
    state.PlaybackReverse = 1;
    Steps(4);
    EXPECT_EQ(target.Played, (std::vector<int>{100, 100, 100}));
    EXPECT_EQ(playback.Offset(), 0);
}

// Reverse pressed just as the last record played: the end is reached going backwards, so
// the slider shows the end, and play goes on from the last record.
TEST_F(PlaybackFixture, EndOfFileWhileReversedShowsTheEnd) {
    Open(Recorded(2));
    Steps(2);
    state.PlaybackReverse = 1;
    const PlaybackStepResult end = Step();
    EXPECT_TRUE(end.Rewound);
    EXPECT_EQ(playback.Offset(), 0);
    EXPECT_EQ(playback.PlaybackPosition(), 1280);
    EXPECT_EQ(playback.PlaybackPercent(), 100);
    Steps(2);  // the first record, not shown, then round to the last
    EXPECT_EQ(target.Played, (std::vector<int>{200, 200}));
}

TEST_F(PlaybackFixture, PlotSpeedSetsTheWait) {
    Open(Recorded(3));
    state.PlotSpeed = 50;
    EXPECT_EQ(Step().WaitMilliseconds, 0) << "not dispatched: no pacing";
    EXPECT_EQ(Step().WaitMilliseconds, 100);
    state.PlotSpeed = 0;
    EXPECT_EQ(Step().WaitMilliseconds, 1200);
}

TEST_F(PlaybackFixture, FileWithNothingToShowIsPolledNotSpun) {
    filestest::WriteAll(dir.File("marker.K7T"), {'K', '7', 'T', 0, 0, 0});
    Open(dir.File("marker.K7T"));
    for (int i = 0; i < 3; ++i) {
        const PlaybackStepResult r = Step();
        EXPECT_TRUE(r.Rewound);
        EXPECT_EQ(r.WaitMilliseconds, 100);
    }
    EXPECT_TRUE(target.Played.empty());
}

TEST_F(PlaybackFixture, AutoFrameCaptureAtTurnsAndEndsAtTheEndOfTheFile) {
    // A sector scan in Sector mode: the head turns round after the second ping.
    const std::string name = dir.File("sector.K7T");
    Bytes file;
    int previous = 0;
    const int directions[] = {0, 0, 1, 1};
    for (int i = 0; i < 4; ++i) {
        SonarState ping = LivePing(500 + 10 * i);
        ping.ReceiveBuffer[6] = static_cast<uint8_t>(ping.ReceiveBuffer[6] | (directions[i] << 6));
        ping.GridMode = DisplayMode::Sector;
        ping.SectorSize = 90;
        const Bytes r = BuildDataRecord(ping, previous);
        previous = static_cast<int>(r.size());
        filestest::Append(file, r);
    }
    filestest::WriteAll(name, file);
    Open(name);
    state.AutoFrameCaptureOn = 1;
    Steps(4);
    EXPECT_EQ(target.Captures, 2) << "the first direction seen, then the turn";
    Step();
    EXPECT_EQ(state.AutoFrameCaptureOn, 0);
    EXPECT_EQ(chrome.MenuTexts[208], "&Auto Frame Capture Start...");
    ASSERT_EQ(prompts.Messages.size(), 1u);
    EXPECT_EQ(prompts.Messages[0].Caption, "Auto Frame Capture");
    EXPECT_EQ(prompts.Messages[0].Text, "End of File, Capture Stopped!");
}

TEST_F(PlaybackFixture, AutoFrameCaptureOfFullCirclesAtEachNewTurn) {
    const std::string name = dir.File("circle.K7T");
    Bytes file;
    int previous = 0;
    const int positions[] = {600, 900, 1195, 3, 300, 1190, 10};
    for (int p : positions) {
        SonarState ping = LivePing(p);
        ping.GridMode = DisplayMode::Polar;
        ping.SectorSize = 360;
        const Bytes r = BuildDataRecord(ping, previous);
        previous = static_cast<int>(r.size());
        filestest::Append(file, r);
    }
    filestest::WriteAll(name, file);
    Open(name);
    state.AutoFrameCaptureOn = 1;
    Steps(7);
    EXPECT_EQ(target.Captures, 2);
}

}  // namespace
}  // namespace tidemar
