#pragma once
// Helpers of the data file tests: a scratch directory, pings to record, files written by
// the recorder itself, and a dispatch target that counts what reached it.

#include "TempDir.h"
#include <atomic>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "files/DataRecord.h"
#include "files/Recorder.h"
#include "core/DispatchPing.h"
#include "core/SonarState.h"
#include "platform/ScriptedPrompts.h"

namespace tidemar::filestest {

using TempDir = tidemar::testing::TempDir;

using Bytes = std::vector<uint8_t>;

inline Bytes ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

inline void WriteAll(const std::string& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

inline void Append(Bytes& to, const Bytes& more) { to.insert(to.end(), more.begin(), more.end()); }

// A valid reply of the head; the head position carries the ping's number, so a test can
// tell which record was played.
inline Bytes HeadReply(uint8_t type, int dataBytes, int headPosition, int range = 50) {
    Bytes r(static_cast<size_t>(13 + dataBytes), 0x55);
    const uint8_t header[12] = {'B',
                                type,
                                'L',
                                17,
                                0,
                                static_cast<uint8_t>(headPosition & 0x7F),
                                static_cast<uint8_t>((headPosition >> 7) & 0x3F),
                                static_cast<uint8_t>(range),
                                0x12,
                                0x09,
                                static_cast<uint8_t>(dataBytes & 0x7F),
                                static_cast<uint8_t>((dataBytes >> 7) & 0x7F)};
    std::copy(header, header + 12, r.begin());
    r.back() = 0xFC;
    return r;
}

// A live ping as the dispatch hands it to the recorder: an 8-bit image reply in Polar
// mode at 50 m, time stamped 10:15:<second>.
inline SonarState LivePing(int headPosition, int second = 7, uint8_t type = 'G') {
    SonarState state;
    state.RunMode = DataSource::Head;
    state.DataBits = 8;
    const Bytes reply = HeadReply(type, type == 'P' ? 0 : 500, headPosition);
    std::copy(reply.begin(), reply.end(), state.ReceiveBuffer.begin());
    state.ExpectedReturnLength = static_cast<int>(reply.size());
    state.DataSizeCode = type == 'P' ? 0 : 3;
    state.ReplyType = type;
    state.DateText = "05-MAR-2024";
    char time[16];
    std::snprintf(time, sizeof time, "10:15:%02d", second % 60);
    state.TimeText = time;
    state.Hundredths = 25;
    return state;
}

// Records the pings through the recorder, as the program does; head positions 100,
// 200, ... tell the records apart.
inline void MakeRecordedFile(const std::string& path, int count, bool withGps = false) {
    ScriptedPrompts prompts;
    RecordedChrome chrome;
    Recorder recorder(prompts, chrome);
    prompts.FileAnswers.push_back(path);
    recorder.StartRecording();
    for (int i = 0; i < count; ++i) {
        SonarState ping = LivePing(100 * (i + 1), i);
        ping.UseGPS = withGps ? 1 : 0;
        ping.GpsPositionText = " 49.16.451 N123.11.123 W";
        recorder.WriteRecord(ping);
    }
    recorder.StopRecording();
}

// A state ready to play: playback mode with the settings of a fresh start.
inline SonarState PlaybackState() {
    SonarState state;
    state.RunMode = DataSource::File;
    state.PlotSpeed = 100;
    return state;
}

// Counts what the dispatch and playback asked of the window.
class CountingTarget : public DispatchTarget {
public:
    explicit CountingTarget(const SonarState& state) : state_(state) {}

    std::vector<int> Played;  // head position of every ping plotted
    int Indicators = 0;       // every DispatchPing, valid or not
    int Captures = 0;
    int Redraws = 0;
    int ReverseBoxes = 0;
    int LastSlider = -1;
    int GpsBoxes = 0;
    bool LastGpsAvailable = false;

    void DrawPingIndicator(bool) override { ++Indicators; }
    void RefreshChangedReadouts() override { Played.push_back(state_.HeadPosition); }
    void RedrawSonarImage() override { ++Redraws; }
    void DrawReverseControl() override { ++ReverseBoxes; }
    void SetPlaybackSlider(int percent) override { LastSlider = percent; }
    void FrameCapture() override { ++Captures; }
    void DrawGpsPosition(bool available) override {
        ++GpsBoxes;
        LastGpsAvailable = available;
    }

private:
    const SonarState& state_;
};

}  // namespace tidemar::filestest
