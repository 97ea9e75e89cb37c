#include "video/PlayedPicture.h"

#include "core/Modes.h"
#include "files/DataRecord.h"
#include "video/VideoClock.h"

namespace tidemar {

namespace {

SonarState PlaybackStart(const SonarState& settings) {
    SonarState state = settings;
    state.RunMode = DataSource::File;
    state.PlaybackReverse = 0;
    state.AutoFrameCaptureOn = 0;
    state.HoldActive = 0;
    EnterPlayback(state);
    return state;
}

}  // namespace

PlayedPicture::PlayedPicture(const SonarState& settings)
    : state_(PlaybackStart(settings)),
      target_(state_, image_),
      playback_(prompts_, chrome_),
      source_(playback_, SourceContext{state_, clock_, target_, {}}) {
    ImageColorTable colors;
    InitImageColorTable(colors);
    BuildColorTableEntries(colors, state_.Colors);
    colorTable_ = ImageColorTableBytes(colors);
    target_.ResetEchoHistory();
    target_.RedrawSonarImage();
}

bool PlayedPicture::Start(const std::string& path) {
    source_.SetFileName(path);
    if (!source_.Start()) return false;
    target_.SetPlaybackOpen(true);
    // A second reader looks ahead without moving playback.
    std::string reason;
    if (peek_.Open(path, &reason)) return true;
    prompts_.Texts.push_back(reason);
    return false;
}

std::optional<PlayedPicture::NextRecord> PlayedPicture::PeekNext() const {
    if (!playback_.PlaybackOpen() || !peek_.IsOpen()) return std::nullopt;
    const std::optional<FileRecord> record = peek_.ReadNextRecord(playback_.Offset(), nullptr);
    if (!record) return std::nullopt;
    const RecordHeader header = DecodeRecordHeader(record->Bytes.data());
    return NextRecord{record->Offset, StampHundredths(header.DateText, header.TimeText, header.Hundredths)};
}

}  // namespace tidemar
