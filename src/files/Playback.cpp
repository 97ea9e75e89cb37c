#include "files/Playback.h"

#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "files/CaptureNames.h"
#include "files/DataFileChoice.h"
#include "files/DataRecord.h"
#include "core/Reply.h"
#include "core/SonarTables.h"

namespace tidemar {

namespace {

constexpr int LastDisplayMode = DisplayMode::Profile;
constexpr int ForgottenValue = 1000;  // differs from any real value: the next ping redraws
constexpr int MaxGpsSilence = 10;
constexpr int EmptyPassPauseMs = 100;  // a pass over the file that showed nothing
constexpr int FullCircleJump = 1100;   // head positions between two records of a new turn
constexpr const char* CopyErrorCaption = "Copy Error";
constexpr const char* CopyExtensionCaption = "Copy a Sonar File";

bool SameFile(const std::string& path, int fd) {
    struct stat a = {};
    struct stat b = {};
    return ::stat(path.c_str(), &a) == 0 && ::fstat(fd, &b) == 0 && a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

}  // namespace

bool Playback::OpenPlayback(SonarState& state, DispatchTarget& target) {
    const auto name = ChooseDataFile(prompts_, DataFileUse::Open, PlaybackDialogTitle, PlaybackDialogTitle, name_);
    if (!name) return false;
    return OpenPlaybackFile(*name, state, target);
}

bool Playback::OpenPlaybackFile(const std::string& name, SonarState& state, DispatchTarget& target) {
    ClosePlayback();
    name_ = name;
    std::string problem;
    std::string reason;
    if (!reader_.Open(name, &reason)) {
        problem = "Cannot open " + name + ":\n" + reason;
    } else {
        uint8_t magic[3];
        if (reader_.ReadAt(0, magic, sizeof magic) < sizeof magic || !IsRecordMarker(magic))
            problem = "Data type is incorrect --> check file format";
    }

    if (!problem.empty()) {
        ClosePlayback();
        prompts_.Message(PlaybackDialogTitle, problem, MessageIcon::Exclamation);
        chrome_.SetTitle(std::string(ProgramTitle) + " - [No File]");
    } else {
        offset_ = 0;
        position_ = 0;
        percent_ = 0;
        state.ShownSoundVelocity = 0.0f;
        state.FileUserText.clear();
        chrome_.SetTitle(ActivityTitle("Playback of", name));
        state.DrawnRange = ForgottenValue;
        state.DrawnGridMode = ForgottenValue;
        state.ShownPlayedSecond = ForgottenValue;
        state.ShownFileFrequency = -1;
        firstRecord_ = true;
        reverseAvailable_ = false;
        dispatchedSinceRewind_ = 0;
        captureHeadPosition_ = HeadPositionAhead;
        captureDirection_ = -1;
        state.GpsSilenceCount = 5;
        target.DrawGpsPosition(false);
    }
    target.ResetEchoHistory();
    target.RedrawSonarImage();
    return problem.empty();
}

void Playback::ClosePlayback() {
    reader_.Close();
    reverseAvailable_ = false;  // a closed file plays neither way
}

PlaybackStepResult Playback::PlaybackStep(SonarState& state, const Clock& clock, DispatchTarget& target) {
    PlaybackStepResult result;
    if (!PlaybackOpen()) return result;
    state.PingValid = 0;

    const std::optional<FileRecord> record = reader_.ReadNextRecord(offset_, nullptr);
    if (!record) return EndOfFile(state);
    const int size = static_cast<int>(record->Bytes.size());
    const int64_t start = record->Offset;
    offset_ = start + size;
    ApplyRecord(*record, state);

    const int backLink = RecordBackLink(record->Bytes.data(), size);
    state.PlaybackBackLink = backLink;
    if (firstRecord_) {
        firstRecord_ = false;
        reverseAvailable_ = backLink != 0;
        if (!reverseAvailable_) state.PlaybackReverse = 0;
        target.DrawReverseControl();
        state.DrawnRange = ForgottenValue;
        state.DrawnGridMode = ForgottenValue;
        state.ShownPlayedSecond = ForgottenValue;
    }
    if (state.PlaybackReverse && backLink != 0) MoveBackwards(start, size, backLink);

    state.ReplyType = state.ReceiveBuffer[1];
    if (state.ReplyType == 'G') state.PlotSampleCount = state.DataBits == 16 ? 250 : 499;
    if (state.ReplyType == 'M' || state.GridMode == DisplayMode::Polar) state.PlotSampleCount = 250;

    position_ = offset_;
    const double percent = static_cast<double>(position_) * 100.0 / static_cast<double>(reader_.Length()) + 0.5;
    percent_ = static_cast<int>(percent);
    if (percent_ > 100) percent_ = 0;
    target.SetPlaybackSlider(percent_);

    if (!skipDispatch_) {
        result.WaitMilliseconds = DispatchPing(state, clock, target).PauseMilliseconds;
        result.Dispatched = true;
        ++dispatchedSinceRewind_;
    }
    skipDispatch_ = false;

    if (Copying() && !state.PlaybackReverse) CopyRecord(*record, state);
    if (CheckFrameCapture(state, target)) result.WaitMilliseconds += FrameCapturePauseMilliseconds;
    return result;
}

void Playback::ApplyRecord(const FileRecord& record, SonarState& state) {
    const uint8_t* r = record.Bytes.data();
    const int size = static_cast<int>(record.Bytes.size());
    const RecordHeader h = DecodeRecordHeader(r);

    state.DataSizeCode = h.DataSizeCode;
    state.ExpectedReturnLength = h.ReplyLength;
    state.DateText = h.DateText;
    state.TimeText = h.TimeText;
    state.DateTimeText = h.DateText + "  " + h.TimeText;
    state.PlayedSecond = h.PlayedSecond;
    state.Hundredths = h.Hundredths;
    char hundredths[8];
    std::snprintf(hundredths, sizeof hundredths, ".%02d", h.Hundredths);
    state.TimestampText = state.DateTimeText + hundredths;

    state.FileHasGps = h.HasGps;
    state.StepDirection = h.StepDirection;
    state.Xdcr = h.Xdcr;
    // Display modes and speeds index tables: a value no recorder writes keeps the last one.
    if (h.GridMode <= LastDisplayMode) state.GridMode = h.GridMode;
    if (h.Speed < SpeedCount) state.Speed = h.Speed;
    state.Gain = h.Gain;
    state.PreviousSectorSize = state.SectorSize;
    state.SectorSize = h.SectorSize;
    state.Train = h.Train;
    if (state.GridMode == DisplayMode::SideScan) {
        if (state.Train == 90) state.SSTrain = SideScanSide::Starboard;
        if (state.Train == 270) state.SSTrain = SideScanSide::Port;
    }
    state.Absorption = h.Absorption;
    if (h.DataBits != 0) state.DataBits = h.DataBits;
    state.PulseLength = h.PulseLength;

    if (!h.HasSoundVelocity)
        state.FileSoundVelocity = state.SoundVelocityMeters;
    else if (h.SoundVelocity >= MinFileSoundVelocity && h.SoundVelocity <= MaxFileSoundVelocity)
        state.FileSoundVelocity = h.SoundVelocity;
    if (!h.UserText.empty()) state.FileUserText = h.UserText;
    state.FileFrequency = h.Frequency;

    std::copy_n(r + RecordHeaderBytes, h.ReplyLength, state.ReceiveBuffer.begin());

    if (h.HasGps) {
        const std::optional<std::string> gps = RecordGpsText(r, size, true);
        if (gps) {
            state.GpsSilenceCount = 0;
            state.GpsPositionText = *gps;
        } else {
            state.GpsSilenceCount = std::min(state.GpsSilenceCount + 1, MaxGpsSilence);
        }
    }
}

// The end of a record minus its back-link is the start of the record before it. The
// first record links to itself; from there play goes on at the last record of the file. A
// link that leads anywhere but to a whole earlier record is passed over by searching
// backwards for one, so every step backwards moves back or wraps, whatever the file holds.
void Playback::MoveBackwards(int64_t recordStart, int size, int backLink) {
    const int64_t target = recordStart + size - backLink;
    if (target == recordStart) {
        WrapToLastRecord(recordStart);
    } else if (target >= 0 && target < recordStart && reader_.WholeRecordAt(target)) {
        offset_ = target;
    } else if (const auto earlier = reader_.FindWholeRecordBefore(recordStart)) {
        offset_ = *earlier;
    } else {
        WrapToLastRecord(recordStart);
    }
}

void Playback::WrapToLastRecord(int64_t fallback) {
    offset_ = reader_.FindWholeRecordBefore(reader_.Length()).value_or(fallback);
}

PlaybackStepResult Playback::EndOfFile(SonarState& state) {
    PlaybackStepResult result;
    result.Rewound = true;
    offset_ = 0;
    skipDispatch_ = true;
    if (state.PlaybackReverse && state.PlaybackBackLink != 0) {
        position_ = reader_.Length();
        percent_ = 100;
    } else {
        position_ = 0;
        percent_ = 0;
    }
    if (Copying() && !(state.PlaybackReverse && state.PlaybackBackLink != 0)) FinishCopyAtEnd();
    // A file with nothing to show is polled, not spun on.
    if (dispatchedSinceRewind_ == 0) result.WaitMilliseconds = EmptyPassPauseMs;
    dispatchedSinceRewind_ = 0;
    if (state.AutoFrameCaptureOn) {
        state.AutoFrameCaptureOn = 0;
        chrome_.SetMenuText(AutoFrameCaptureMenuItem, AutoFrameCaptureStartText);
        prompts_.Message(AutoFrameCaptureCaption, "End of File, Capture Stopped!", MessageIcon::None);
    }
    return result;
}

// One capture per sweep: with a full circle when the head position jumps back by most of a
// turn, otherwise when the scan turns round. True when a capture was asked for.
bool Playback::CheckFrameCapture(SonarState& state, DispatchTarget& target) {
    const int previousPosition = captureHeadPosition_;
    captureHeadPosition_ = state.HeadPosition;
    if (!state.AutoFrameCaptureOn || (state.GridMode != DisplayMode::Sector && state.GridMode != DisplayMode::Polar))
        return false;
    if (state.SectorSize == 360) {
        if (std::abs(state.HeadPosition - previousPosition) <= FullCircleJump) return false;
    } else {
        if (state.StepDirection == captureDirection_) return false;
        captureDirection_ = state.StepDirection;
    }
    target.FrameCapture();
    return true;
}

bool Playback::ResyncRecord() {
    const std::optional<int64_t> marker = reader_.FindMarker(offset_);
    if (!marker) return false;
    offset_ = *marker;
    return true;
}

bool Playback::SeekToPercent(int percent) {
    if (!PlaybackOpen() || percent <= 0 || percent >= 100) return false;
    const int64_t from = static_cast<int64_t>(percent * 0.01 * static_cast<double>(reader_.Length()));
    if (const auto next = reader_.FindWholeRecordFrom(from)) {
        offset_ = *next;
        return true;
    }
    // Past the last marker: the last record of the file.
    if (const auto last = reader_.FindWholeRecordBefore(reader_.Length())) {
        offset_ = *last;
        return true;
    }
    return false;
}

int Playback::StartCopy() {
    if (Copying()) return 0;
    // Creating the file being played would empty it before a single record is copied; it
    // is refused before the operator is asked whether to replace it.
    const auto playedFile = [this](const std::string& name) {
        if (!PlaybackOpen() || !SameFile(name, reader_.Descriptor())) return false;
        prompts_.Message(CopyExtensionCaption, "Cannot copy " + name + " onto itself: it is the file being played.",
                         MessageIcon::Exclamation);
        return true;
    };
    const auto name =
        ChooseDataFile(prompts_, DataFileUse::Save, CopyDialogTitle, CopyExtensionCaption, "", playedFile);
    if (!name) return 0;
    std::string reason;
    if (!copy_.Create(*name, &reason)) {
        prompts_.Message(CopyExtensionCaption, "Cannot create " + *name + ":\n" + reason, MessageIcon::Exclamation);
        return 0;
    }
    copiedRecords_ = 0;
    chrome_.SetTitle(ActivityTitle("Copying to", *name));
    chrome_.SetMenuText(CopyMenuItem, CopyStopText);
    return 1;
}

void Playback::StopCopy() {
    if (!Copying()) return;
    prompts_.Message("Close Copy File", copy_.Name(), MessageIcon::None);
    CloseCopy();
}

bool Playback::CloseCopy() {
    const std::string name = copy_.Name();
    std::string reason;
    const bool kept = copy_.Close(&reason);
    if (!kept) prompts_.Message(CopyErrorCaption, "Cannot write to " + name + ":\n" + reason, MessageIcon::Exclamation);
    EndCopy();
    return kept;
}

// The copy carries the profile range of the played reply (the surface detection may have
// replaced the head's) and back-links of its own, so that it plays backwards from its
// own first record whatever part of the source was copied.
void Playback::CopyRecord(const FileRecord& record, const SonarState& state) {
    std::vector<uint8_t> bytes = record.Bytes;
    const int size = static_cast<int>(bytes.size());
    if (DecodeRecordHeader(bytes.data()).ReplyLength > 9) {
        bytes[RecordHeaderBytes + 8] = state.ReceiveBuffer[8];
        bytes[RecordHeaderBytes + 9] = state.ReceiveBuffer[9];
    }
    const int backLink = (copy_.PreviousRecordSize() + size) & 0xFFFF;
    bytes[size - 2] = static_cast<uint8_t>(backLink >> 8);
    bytes[size - 1] = static_cast<uint8_t>(backLink & 0xFF);

    std::string reason;
    if (!copy_.Append(bytes, &reason)) {
        const std::string name = copy_.Name();
        std::string ignored;
        copy_.Close(&ignored);
        EndCopy();
        prompts_.Message(
            CopyErrorCaption,
            "Cannot write to " + name + ":\n" + reason + "\nCopying has stopped; the records written before are kept.",
            MessageIcon::Exclamation);
        return;
    }
    ++copiedRecords_;
    if (copy_.KilobytesChanged())
        chrome_.SetTitle(ActivityTitle("Copying to", copy_.Name(), copy_.BytesWritten() / 1024));
}

void Playback::FinishCopyAtEnd() {
    const std::string name = copy_.Name();
    if (!CloseCopy()) return;
    prompts_.Message(CopyExtensionCaption,
                     "End of file: " + std::to_string(copiedRecords_) + (copiedRecords_ == 1 ? " record" : " records") +
                         " copied to " + name + ".",
                     MessageIcon::Information);
}

void Playback::EndCopy() {
    chrome_.SetTitle(ActivityTitle("Playback of", name_));
    chrome_.SetMenuText(CopyMenuItem, CopyStartText);
}

std::string FrameCaptureName(const std::string& playbackFileName) {
    const size_t slash = playbackFileName.find_last_of('/');
    const std::string folder = slash == std::string::npos ? std::string() : playbackFileName.substr(0, slash + 1);
    std::string base = slash == std::string::npos ? playbackFileName : playbackFileName.substr(slash + 1);
    // Played names end in ".K7T"; anything else keeps its whole name.
    if (base.size() > 4 && base[base.size() - 4] == '.') base.resize(base.size() - 4);
    return NextNumberedName(folder, base + "-", ".BMP");
}

}  // namespace tidemar
