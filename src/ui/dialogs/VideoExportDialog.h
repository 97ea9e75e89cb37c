#pragma once
// "Export &Video..." of the File menu, in playback: asks for an MP4 name, then plays the
// open file once more into a video (tidemar-cli video's encoder, at its defaults: 25
// frames/s, real time, 596 x 506) on a worker thread with a copy of the window's
// settings, behind a progress dialog whose Cancel stops it and removes the partial file.
// The window stays responsive meanwhile (its playback waits, as under any dialog, and
// goes on when the dialog is finished); the worker never touches it.

#include <string>

#include "core/Prompts.h"
#include "core/SonarState.h"

class QWidget;

namespace tidemar {

inline constexpr const char* ExportVideoTitle = "Export Video";
inline constexpr const char* ExportVideoProgressName = "tidemarVideoExportProgress";
inline constexpr const char* Mp4ExtensionMessage = "File extension must be .MP4";

// The save dialog: "MP4 Video    (*.MP4)", default extension MP4, the played file's name
// with .mp4 to begin with, a question before a file is replaced.
FileDialogRequest ExportVideoDialog(const std::string& playedFile);

// Runs the command for `playedFile` (empty: no file open, which is said). Returns when
// the video is written, cancelled or failed; true when written (the name and length are
// said).
bool RunExportVideo(QWidget* parent, const SonarState& state, const std::string& playedFile, Prompts& prompts);

}  // namespace tidemar
