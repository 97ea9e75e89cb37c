#pragma once
// A data file played without a window into a picture of its own: the program starting in
// playback with the given settings (the played file's values take over, the picture is
// cleared and the grid drawn), then stepped record by record down the same playback,
// dispatch and image code as the window. tidemar-cli render and video, and the window's
// video export (on a worker thread, with a copy of the window's settings), play files
// through it; it touches nothing but what it owns.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/Clock.h"
#include "core/PingSource.h"
#include "core/Prompts.h"
#include "core/SonarState.h"
#include "files/DataFileReader.h"
#include "files/Playback.h"
#include "files/PlaybackSource.h"
#include "image/ImageColorTable.h"
#include "image/ImageDispatch.h"
#include "image/SonarImage.h"

namespace tidemar {

class PlayedPicture {
public:
    // `settings`: the state the program would start playback from (settings file loaded,
    // or the window's own). Reverse play, auto frame capture and the hold are left out:
    // the file plays forwards once.
    explicit PlayedPicture(const SonarState& settings);
    PlayedPicture(const PlayedPicture&) = delete;
    PlayedPicture& operator=(const PlayedPicture&) = delete;

    // Opens the file; false when it cannot be played, with what playback said in Messages().
    bool Start(const std::string& path);
    const std::vector<std::string>& Messages() const { return prompts_.Texts; }

    // The record the next Step() plays: where it starts and its time stamp (see
    // StampHundredths); nothing when the file has no record left.
    struct NextRecord {
        int64_t Offset = 0;
        std::optional<int64_t> Stamp;
    };
    std::optional<NextRecord> PeekNext() const;
    int64_t FileLength() const { return playback_.PlaybackFileLength(); }

    // Moves to the first record at or after `percent` (1..99) of the file.
    bool SeekToPercent(int percent) { return playback_.SeekToPercent(percent); }
    // Plays one record (the pacing the step asks for is the caller's to keep or ignore).
    SourceStep Step() { return source_.Step(); }
    int Percent() const { return source_.Percent(); }

    const SonarState& State() const { return state_; }
    const uint8_t* Pixels() const { return image_.Image.Pixels.data(); }
    // The picture's colour table as a BMP carries it (blue, green, red, 0 per index).
    const std::array<uint8_t, ImageColorTableBytesSize>& ColorTable() const { return colorTable_; }

private:
    // Dialogs are cancelled and messages kept: nobody is there to answer.
    struct KeptPrompts : Prompts {
        std::vector<std::string> Texts;
        void Message(const std::string&, const std::string& text, MessageIcon) override { Texts.push_back(text); }
        bool AskYesCancel(const std::string&, const std::string&) override { return false; }
        std::optional<std::string> OpenFileName(const FileDialogRequest&) override { return std::nullopt; }
        std::optional<std::string> SaveFileName(const FileDialogRequest&) override { return std::nullopt; }
    };
    struct NoChrome : WindowChrome {
        void SetTitle(const std::string&) override {}
        void SetMenuText(int, const std::string&) override {}
    };

    SonarState state_;
    ImageState image_;
    std::array<uint8_t, ImageColorTableBytesSize> colorTable_{};
    ImageDispatchTarget target_;
    KeptPrompts prompts_;
    NoChrome chrome_;
    SystemClock clock_;
    Playback playback_;
    PlaybackSource source_;
    DataFileReader peek_;
};

}  // namespace tidemar
