#include "files/PlaybackSource.h"

namespace tidemar {

bool PlaybackSource::Start() {
    // Cancel in the dialog leaves a file already playing as it was.
    if (fileName_.empty()) return playback_.OpenPlayback(state_, target_);
    return playback_.OpenPlaybackFile(fileName_, state_, target_);
}

void PlaybackSource::Stop() {
    if (playback_.Copying()) playback_.StopCopy();
    playback_.ClosePlayback();
}

SourceStep PlaybackSource::Step() {
    const PlaybackStepResult played = playback_.PlaybackStep(state_, clock_, target_);
    SourceStep step;
    step.WaitMilliseconds = played.WaitMilliseconds;
    step.Dispatched = played.Dispatched;
    step.Rewound = played.Rewound;
    return step;
}

}  // namespace tidemar
