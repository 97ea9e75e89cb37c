// Real receiver logs played through a socat pseudo-terminal pair into the program's
// reader, one sentence at a time with CR LF: every position text must be the one worked
// out from the sentence's fields by the test's own rule. Each ping recorded meanwhile
// carries the position of its moment, and playing the file back puts those positions
// back.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "GpsTestSupport.h"
#include "files/Playback.h"
#include "files/Recorder.h"
#include "gps/GpsInput.h"
#include "platform/ScriptedPrompts.h"

namespace tidemar {
namespace {

struct LogCase {
    const char* log;
    int gpsType;
    int positions;  // sentences of the type that carry a position
};

std::ostream& operator<<(std::ostream& out, const LogCase& c) { return out << c.log << " type " << c.gpsType; }

// A profile ping of the head, as the dispatch hands it to the recorder.
void PrepareProfilePing(SonarState& state, int number) {
    const int position = 100 + number % 1000;
    const uint8_t reply[13] = {'B',
                               'P',
                               'L',
                               17,
                               0,
                               static_cast<uint8_t>(position & 0x7F),
                               static_cast<uint8_t>((position >> 7) & 0x3F),
                               50,
                               0x12,
                               0x09,
                               0,
                               0,
                               0xFC};
    std::copy(reply, reply + 13, state.ReceiveBuffer.begin());
    state.ExpectedReturnLength = 13;
    state.DataSizeCode = 0;
    state.ReplyType = 'P';
    state.DateText = "05-MAR-2024";
    state.TimeText = "10:15:00";
}

class ReceiverLog : public ::testing::TestWithParam<LogCase> {};

TEST_P(ReceiverLog, PositionsMatchTheSentencesAndSurviveRecording) {
    if (!gpstest::SocatInstalled()) GTEST_SKIP() << "socat is not installed (scripts/install-deps installs it)";
    const LogCase& c = GetParam();
    gpstest::TempDir dir;
    gpstest::SocatPair pair(dir.Path());
    ASSERT_TRUE(pair.Ok()) << "socat did not make its pseudo-terminals";

    SonarState state;
    state.UseGPS = 1;
    state.GPSType = c.gpsType;
    state.SerialPortPaths = pair.ReaderPath();
    state.ComPortGPS = 0;
    GpsInput gps(nullptr);
    gps.ProbeComPorts(state, dir.File("no-devices"));
    ASSERT_TRUE(StartLiveGps(state, gps)) << gps.PortError();

    ScriptedPrompts prompts;
    RecordedChrome chrome;
    Recorder recorder(prompts, chrome);
    const std::string file = dir.File("gps.K7T");
    prompts.FileAnswers.push_back(file);
    ASSERT_EQ(recorder.StartRecording(), 1);

    gpstest::BoxTarget target;
    std::optional<std::string> current;  // the position the program should hold now
    std::vector<std::optional<std::string>> recorded;
    int positions = 0, handled = 0, sent = 0;
    for (const std::string& sentence : gpstest::LogSentences(c.log)) {
        ASSERT_TRUE(pair.Send(sentence + "\r\n"));
        ++sent;
        // One sentence at a time: the reader purges its queue after each line, as a
        // receiver that talks faster than the display would otherwise fill it.
        for (int i = 0; i < 1500 && handled < sent; ++i) {
            handled += gps.Poll(state, target);
            if (handled < sent) std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        ASSERT_EQ(handled, sent) << "the reader did not pass on: " << sentence;
        if (const auto expected = gpstest::ExpectedText(sentence, c.gpsType)) {
            current = expected;
            ++positions;
            EXPECT_EQ(state.GpsSilenceCount, 0) << sentence;
        }
        EXPECT_EQ(state.GpsPositionText, current.value_or(std::string(24, '\0'))) << sentence;
        PrepareProfilePing(state, sent);
        recorder.WriteRecord(state);
        recorded.push_back(current);
    }
    EXPECT_EQ(positions, c.positions);
    EXPECT_EQ(static_cast<int>(target.Boxes.size()), positions) << "every position is shown fresh";
    StopLiveGps(state, gps);
    recorder.StopRecording();

    SonarState played;
    played.RunMode = DataSource::File;
    Playback playback(prompts, chrome);
    ManualClock clock;
    gpstest::BoxTarget playedTarget;
    ASSERT_TRUE(playback.OpenPlaybackFile(file, played, playedTarget));
    std::string shown = played.GpsPositionText;
    int silence = played.GpsSilenceCount;
    for (size_t i = 0; i < recorded.size(); ++i) {
        playback.PlaybackStep(played, clock, playedTarget);
        ASSERT_EQ(played.FileHasGps, 1);
        if (recorded[i]) {
            shown = *recorded[i];
            silence = 0;
        } else {
            silence = std::min(silence + 1, 10);
        }
        ASSERT_EQ(played.GpsPositionText, shown) << "record " << i;
        ASSERT_EQ(played.GpsSilenceCount, silence) << "record " << i;
    }
}

INSTANTIATE_TEST_SUITE_P(Logs, ReceiverLog,
                         ::testing::Values(LogCase{"GPSmap-76S.log", GpsTypeGGA, 12},
                                           LogCase{"GPSmap-76S.log", GpsTypeGLL, 12},
                                           LogCase{"bu353s4.log", GpsTypeGGA, 25},
                                           LogCase{"nl551e.log", GpsTypeGLL, 14}, LogCase{"nl551e.log", GpsTypeGGA, 14},
                                           LogCase{"rx210.log", GpsTypeGGA, 40},
                                           LogCase{"sirfstarv-nmea.log", GpsTypeGGA, 118}),
                         [](const auto& info) {
                             std::string name = info.param.log;
                             name = name.substr(0, name.find('.'));
                             name.erase(std::remove(name.begin(), name.end(), '-'), name.end());
                             return name + (info.param.gpsType == GpsTypeGGA ? "Gga" : "Gll");
                         });

}  // namespace
}  // namespace tidemar
