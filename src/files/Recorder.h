#pragma once
// Recording of live pings into a .K7T file: the "&Record Start..." command (menu item 15)
// and its stop, one record per valid ping (the dispatch calls WriteRecord), and the
// window title with the file name and the kB counter.
//
// Main thread only, like the dispatch that calls WriteRecord.

#include <cstdint>
#include <string>

#include "files/RecordFile.h"
#include "core/SonarState.h"
#include "core/Prompts.h"

namespace tidemar {

inline constexpr int RecordMenuItem = 15;
inline constexpr const char* RecordStartText = "&Record Start...";
inline constexpr const char* RecordStopText = "&Record Stop...";
inline constexpr const char* RecordDialogTitle = "Open a Sonar File For Recording";

class Recorder {
public:
    Recorder(Prompts& prompts, WindowChrome& chrome) : prompts_(prompts), chrome_(chrome) {}

    // Asks for the file and starts recording into it. Returns 1 when recording started,
    // 0 on Cancel, a wrong extension or a file that cannot be created (which is said).
    // While recording already, changes nothing and returns 0.
    int StartRecording();

    // Shows the file name under "Close Record File", closes the file and puts back the
    // plain title and the menu text. Nothing happens when not recording.
    void StopRecording();

    bool Recording() const { return file_.IsOpen(); }

    // Appends the record of the ping in state and renews the kB title. A write that fails
    // is told once under "Record Error" and stops the recording; the file keeps every
    // whole record written before. True when the record reached the file.
    bool WriteRecord(const SonarState& state);

    int64_t RecordedBytes() const { return file_.BytesWritten(); }
    const std::string& FileName() const { return file_.Name(); }

private:
    void EndRecording();

    Prompts& prompts_;
    WindowChrome& chrome_;
    RecordFile file_;
};

}  // namespace tidemar
