#pragma once
// "Export &Video..." of the File menu, in playback: asks how fast and how large (speed,
// frames per second, size and the date and time strip, as tidemar-cli video takes them,
// remembered for the next time) and for an MP4 name, then plays the open file once more into a video on a worker
// thread with a copy of the window's settings, behind a progress dialog whose Cancel
// stops it and removes the partial file.
// The window stays responsive meanwhile (its playback waits, as under any dialog, and
// goes on when the dialog is finished); the worker never touches it.

#include <optional>
#include <string>

#include "core/Prompts.h"
#include "core/SonarState.h"
#include "video/VideoExport.h"

class QWidget;

namespace tidemar {

inline constexpr const char* ExportVideoTitle = "Export Video";
inline constexpr const char* ExportVideoProgressName = "tidemarVideoExportProgress";
inline constexpr const char* Mp4ExtensionMessage = "File extension must be .MP4";
inline constexpr const char* VideoOptionsName = "tidemarVideoOptions";

// The options dialog: "Speed (x real time)" 0.1..1000, "Frames per second" 1..120, "Size"
// (as shown, double, half) and "Date and time under the picture", filled from `options`;
// nothing on Cancel.
std::optional<VideoOptions> AskVideoOptions(QWidget* parent, const VideoOptions& options);

// The save dialog: "MP4 Video    (*.MP4)", default extension MP4, the played file's name
// with .mp4 to begin with, a question before a file is replaced.
FileDialogRequest ExportVideoDialog(const std::string& playedFile);

// Runs the command for `playedFile` (empty: no file open, which is said). Returns when
// the video is written, cancelled or failed; true when written (the name and length are
// said).
bool RunExportVideo(QWidget* parent, const SonarState& state, const std::string& playedFile, Prompts& prompts);

}  // namespace tidemar
