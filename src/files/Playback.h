#pragma once
// Playback of a .K7T file: each step reads one record into SonarState and ReceiveBuffer
// and sends it down the same DispatchPing road as a live ping. Plays forwards, or
// backwards through the back-links when the file has them; at either end it starts over.
// Copying ("&Copy Start...", menu item 16) writes the records as they are played into a
// second file, up to the end of the played file: the copy is then closed and the count of
// records copied is said, so a copy never wraps round to the start and runs time backwards. The position slider seeks
// by percent to the next record marker.
//
// Damaged files never stop playback: a stretch without a marker, an impossible record
// size or reply length, or a back-link that leads nowhere is passed over to the next
// whole record; a record cut short by the end of the file is the end of the file.
//
// Main thread only: the window's idle loop calls PlaybackStep and waits, without
// blocking, for the time the step returns before it calls again.

#include <cstdint>
#include <string>
#include <vector>

#include "files/DataFileReader.h"
#include "files/RecordFile.h"
#include "core/Clock.h"
#include "core/DispatchPing.h"
#include "core/SonarState.h"
#include "core/Prompts.h"

namespace tidemar {

inline constexpr int CopyMenuItem = 16;
inline constexpr const char* CopyStartText = "&Copy Start...";
inline constexpr const char* CopyStopText = "&Copy Stop...";
inline constexpr const char* CopyDialogTitle = "Open a Sonar File For Copying";
inline constexpr const char* PlaybackDialogTitle = "Open a Sonar File For Playback";
inline constexpr int AutoFrameCaptureMenuItem = 208;
inline constexpr const char* AutoFrameCaptureStartText = "&Auto Frame Capture Start...";
inline constexpr const char* AutoFrameCaptureStopText = "&Auto Frame Capture Stop...";
inline constexpr const char* AutoFrameCaptureCaption = "Auto Frame Capture";
// The name of a frame capture stays on screen this long, and playback waits for it, so
// the operator can read which file the sweep went to.
inline constexpr int FrameCapturePauseMilliseconds = 1500;

// The name of the next frame capture of the played file `playbackFileName`: the name
// without its extension, a dash, one more than the largest four-digit number such a
// capture already carries in the file's folder (at most 9999, which is then replaced)
// and ".BMP": survey.K7T gives survey-0001.BMP, then survey-0002.BMP. Existing names
// are compared without regard to case; their number is read from its leading digits.
std::string FrameCaptureName(const std::string& playbackFileName);

struct PlaybackStepResult {
    // Milliseconds to wait before the next step: the pacing of PlotSpeed, or a short pause
    // when a whole pass over the file found nothing to show.
    int WaitMilliseconds = 0;
    bool Dispatched = false;  // a record went through DispatchPing
    // The end of the file was reached and playback went back to its start: the caller
    // sets the reset flag of the ping history, so the next wedge is not blended with the
    // last ping of the file.
    bool Rewound = false;
};

class Playback {
public:
    Playback(Prompts& prompts, WindowChrome& chrome) : prompts_(prompts), chrome_(chrome) {}
    Playback(const Playback&) = delete;
    Playback& operator=(const Playback&) = delete;

    // "&Playback..." (menu item 10) and the switch to playback: asks for the file and
    // opens it. Returns true when a file is open afterwards. Cancel and a wrong extension
    // change nothing; a file that cannot be read or does not start with a record marker
    // closes playback with a message and the title "No File".
    bool OpenPlayback(SonarState& state, DispatchTarget& target);
    // The same without the dialog, for a name already chosen.
    bool OpenPlaybackFile(const std::string& name, SonarState& state, DispatchTarget& target);
    void ClosePlayback();

    // Reads and plays one record.
    PlaybackStepResult PlaybackStep(SonarState& state, const Clock& clock, DispatchTarget& target);

    // Moves the read position forward to the next record marker; false (position
    // unchanged) when there is none before the end of the file.
    bool ResyncRecord();

    // The slider: p of 1..99 moves to the first record marker at or after p percent of the
    // file, or to the last record when there is none after that point. Other values, no
    // file open, or a file without a whole record: false and nothing moves.
    bool SeekToPercent(int percent);

    // Copying of the played records.
    int StartCopy();
    void StopCopy();
    bool Copying() const { return copy_.IsOpen(); }
    int64_t CopiedBytes() const { return copy_.BytesWritten(); }
    const std::string& CopyFileName() const { return copy_.Name(); }

    bool PlaybackOpen() const { return reader_.IsOpen(); }
    const std::string& FileName() const { return name_; }
    int64_t PlaybackFileLength() const { return reader_.Length(); }
    int64_t Offset() const { return offset_; }  // where the next record is read
    int64_t PlaybackPosition() const { return position_; }
    int PlaybackPercent() const { return percent_; }
    bool ReverseAvailable() const { return reverseAvailable_; }
    bool SkipDispatch() const { return skipDispatch_; }

private:
    void ApplyRecord(const FileRecord& record, SonarState& state);
    void MoveBackwards(int64_t recordStart, int size, int backLink);
    void WrapToLastRecord(int64_t fallback);
    void CopyRecord(const FileRecord& record, const SonarState& state);
    bool CheckFrameCapture(SonarState& state, DispatchTarget& target);
    PlaybackStepResult EndOfFile(SonarState& state);
    void EndCopy();
    void FinishCopyAtEnd();
    // Closes the copy (a failed close is said) and restores title and menu; false when
    // the close failed.
    bool CloseCopy();

    Prompts& prompts_;
    WindowChrome& chrome_;
    DataFileReader reader_;
    std::string name_;
    int64_t offset_ = 0;
    int64_t position_ = 0;
    int percent_ = 0;
    bool reverseAvailable_ = false;
    bool firstRecord_ = false;
    bool skipDispatch_ = true;  // the first record after start and after each rewind
    int dispatchedSinceRewind_ = 0;
    int captureHeadPosition_ = 600;  // auto frame capture: head position of the last record
    int captureDirection_ = -1;      // and step direction of the last capture (-1: none yet)
    RecordFile copy_;
    int copiedRecords_ = 0;
};

}  // namespace tidemar
