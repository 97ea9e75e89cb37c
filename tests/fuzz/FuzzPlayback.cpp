// Arbitrary bytes as a .K7T file: opened for playback, played forwards and backwards with
// slider seeks and a copy running, and walked by the file checks. Nothing may crash, hang
// or read outside a buffer; the read position stays inside the file, the copy holds only
// whole records, and every record the checks find is one playback accepts.
//
// Seeds in corpus/Playback: files written by Recorder (profile, image, GPS and head-scan
// pings), and two cut from them by hand: garbage between records and a record cut short.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "files/DataFileCheck.h"
#include "files/DataRecord.h"
#include "files/Playback.h"
#include "core/Clock.h"
#include "platform/ScriptedPrompts.h"

namespace {

using namespace tidemar;

void Require(bool condition) {
    if (!condition) std::abort();
}

std::string ScratchName(const char* what) {
    return "/tmp/tidemar-fuzz-playback-" + std::to_string(::getpid()) + "-" + what + ".K7T";
}

// The two scratch files of this process, removed when it exits.
struct ScratchFiles {
    std::string Input = ScratchName("input");
    std::string Copy = ScratchName("copy");
    ~ScratchFiles() {
        std::remove(Input.c_str());
        std::remove(Copy.c_str());
    }
};

bool WriteFile(const std::string& path, const uint8_t* data, size_t size) {
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return false;
    const bool ok = std::fwrite(data, 1, size, file) == size;
    return std::fclose(file) == 0 && ok;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const ScratchFiles scratch;
    const std::string& input = scratch.Input;
    const std::string& copy = scratch.Copy;
    if (!WriteFile(input, data, size)) return 0;

    ScriptedPrompts prompts;
    RecordedChrome chrome;
    SonarState state;
    state.RunMode = DataSource::File;
    state.AutoFrameCaptureOn = 1;
    DispatchTarget target;
    ManualClock clock;
    {
        Playback playback(prompts, chrome);
        prompts.FileAnswers.push_back(input);
        const bool opened = playback.OpenPlayback(state, target);
        Require(opened == (size >= 3 && IsRecordMarker(data)));
        if (opened) {
            prompts.FileAnswers.push_back(copy);
            Require(playback.StartCopy() == 1);
            for (int i = 0; i < 300; ++i) {
                if (i == 100) state.PlaybackReverse = 1;
                if (i == 220) state.PlaybackReverse = 0;
                if (i % 37 == 36) playback.SeekToPercent((i * 7) % 101);
                const PlaybackStepResult r = playback.PlaybackStep(state, clock, target);
                // The slowest plot speed, plus the pause that shows a frame capture's name.
                Require(r.WaitMilliseconds >= 0 && r.WaitMilliseconds <= 1200 + FrameCapturePauseMilliseconds);
                Require(playback.Offset() >= 0 && playback.Offset() <= playback.PlaybackFileLength());
                Require(playback.PlaybackPercent() >= 0 && playback.PlaybackPercent() <= 100);
                Require(state.ExpectedReturnLength >= 0 && state.ExpectedReturnLength <= 513);
                if (!playback.Copying()) break;
            }
            const int64_t copied = playback.CopiedBytes();
            playback.StopCopy();
            // The copy is a chain of whole records of its own.
            DataFileReader reader;
            Require(reader.Open(copy, nullptr));
            Require(reader.Length() == copied);
            int64_t total = 0;
            ScanDataFile(
                reader, [&](const FileRecord& r) { total += static_cast<int64_t>(r.Bytes.size()); }, nullptr);
            Require(total == copied);
            Require(copied == 0 || VerifyDataFile(reader).empty());
        }
    }

    DataFileReader reader;
    Require(reader.Open(input, nullptr));
    int64_t last = -1;
    ScanDataFile(
        reader,
        [&](const FileRecord& r) {
            Require(r.Offset > last);
            Require(CheckRecordHeader(r.Bytes.data()) == RecordDamage::None);
            Require(reader.WholeRecordAt(r.Offset));
            last = r.Offset;
        },
        nullptr);
    VerifyDataFile(reader);
    return 0;
}
