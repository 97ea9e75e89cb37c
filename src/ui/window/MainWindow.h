#pragma once
// The program's one main window: the menu, the sonar image with its frame and colour bar,
// and the two data sources. It owns the state of the run (SonarState, the picture, the
// recording and playback files) and drives both the live ping cycle and playback from
// Qt's event loop, so nothing here ever blocks the window.
//
// Life: constructed (settings loaded, menu marks set, serial ports probed) -> Start()
// (colour table, picture, shown, grid, data source) -> running in HEAD or FILE ->
// closed (link and GPS stopped, files closed, settings written).

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>

#include <QMainWindow>
#include <QTimer>

#include "files/Playback.h"
#include "files/Recorder.h"
#include "gps/GpsInput.h"
#include "image/ImageColorTable.h"
#include "image/SonarImage.h"
#include "core/Clock.h"
#include "core/PingSource.h"
#include "files/PlaybackSource.h"
#include "link/LiveSource.h"
#include "core/SonarState.h"
#include "platform/QtPrompts.h"
#include "ui/window/AutoProfileController.h"
#include "ui/toolwindows/DiagnosticsWindow.h"
#include "ui/toolwindows/ScanWindow.h"
#include "ui/window/PlaybackSlider.h"
#include "ui/capture/PrintScreen.h"
#include "ui/capture/ScreenCapture.h"
#include "ui/view/SonarView.h"
#include "ui_core/PanelActions.h"
#include "ui/window/WindowDispatchTarget.h"

namespace tidemar {

inline constexpr int StatusTickMilliseconds = 250;
inline constexpr int NoReplyMilliseconds = 1000;    // a head silent this long is reported
inline constexpr int EndOfFileMilliseconds = 1000;  // the pause at the end of a played file
inline constexpr const char* NoReplyText = "No Reply";
inline constexpr const char* EndOfFileText = "End of File";

struct MainWindowOptions {
    // Folder of TIDEMAR.INI; empty: the working folder.
    std::string SettingsDirectory;
    // Where the serial ports are probed.
    std::string DeviceDirectory = "/dev";
    // Dialogs and message boxes; null: Qt's, owned by the window.
    Prompts* Dialogs = nullptr;
    int HeadPort = 4040;
    // The print dialog; null: Qt's.
    PrinterChoice* Printer = nullptr;
    // The source of HEAD mode; empty: the head over the link at HeadPort.
    PingSourceFactory HeadSource;
};

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(const MainWindowOptions& options = {});
    ~MainWindow() override;

    // The rest of the start-up once the window exists: colour table, picture, shown,
    // empty picture with grid, then the data source (the link, or the playback dialog).
    void Start();

    // A menu command by its id; ids the program does not know are ignored.
    void RunCommand(int id);

    // Makes RunMode take effect: stops what runs, swaps the head settings, sets menus and
    // title, then starts the link or asks for a file.
    void ApplyDataSource();
    // The data-source buttons: FILE asks for another file when already playing.
    void SelectDataSource(int runMode);

    // The Hold box and the "h" key: playback and the ping cycle pause or go on.
    void ToggleHold();
    // HoldActive was changed: playback and the ping cycle follow it.
    void HoldChanged();

    Prompts& Dialogs() { return prompts_; }
    WindowChrome& Chrome() { return chrome_; }
    SonarState& State() { return state_; }
    const ImageState& Image() const { return image_; }
    const ImageColorTable& Colors() const { return colors_; }
    SonarView* View() const { return view_; }
    Playback& PlaybackFile() { return playback_; }
    Recorder& RecordFile() { return recorder_; }
    // The ping cycle of the program's own head source (not there when another was given).
    PingCycle& Cycle() { return dynamic_cast<LiveSource&>(*headSource_).Cycle(); }
    // The source whose pings are shown now; null before the window started.
    PingSource* Source() const { return source_; }
    WindowDispatchTarget& Target() { return target_; }
    AutoProfileController& AutoProfile() { return *autoProfile_; }
    DiagnosticsWindow* Diagnostics() const { return diagnostics_; }
    ScanWindow* HeadScanWindow() const { return scanWindow_; }
    QAction* CommandAction(int id) const;
    const std::string& SettingsPath() const { return settingsPath_; }
    // The settings or configuration files refused at start-up (the defaults stand in for
    // them), one line each naming the file and why.
    const std::vector<std::string>& RefusedSettings() const { return refusedSettings_; }
    int PlaybackSteps() const { return playbackSteps_; }
    // The position slider; null in HEAD mode.
    PlaybackSlider* Slider() const { return slider_; }
    // What screen captures read: this window, its picture, colours and state.
    CaptureScene CaptureTarget();

    // The Zoom menu (100, 150, 200, WindowZoomFit) and Night Colors: kept in the settings
    // and shown at once.
    void SetWindowZoom(int windowZoom);
    void SetNightColors(bool night);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void SetMenuMarks();
    // The zoom, the night colours and the place of the window (MainWindowDisplay.cpp).
    void ShowDisplayMarks();
    void ApplyDisplaySettings();
    void RestoreWindowPosition();
    void KeepWindowPosition();
    int FittingZoom() const;
    // Profile Grid and Zero Down follow the display mode, as the Mode read-out shows it.
    void ShowProfileMenuItems();
    void ApplyPanelUpdate(const PanelUpdate& update);
    void Check(int id, bool on);
    void Enable(int id, bool on);
    bool ConfirmExit();
    void ShutDown();
    void OpenPlayback();
    void StepSource();
    bool WaitForModalDialog();
    void ResumeAfterDialog();
    void SeekPlayback(int percent);
    void ScheduleSource();
    void WakeSource(PingSource* source);
    void PollGps();
    void RunComPortSetup();
    void SetColors(int colors);
    void SetUnits(int units);
    void SetXdcr(int xdcr);
    void SetRequestedProfile(int profile);
    void ToggleProfileGrid();
    void ToggleHeadScan();
    void Redraw();
    // Four times a second: the status box's "No Reply" and "End of File", and the clock of
    // HEAD mode while no ping renews it.
    void TickStatus();
    void ShowEndOfFile();
    void ShowPlaybackRate(int64_t now);
    void ShowRecordMark();

    std::unique_ptr<Prompts> ownPrompts_;
    Prompts& prompts_;
    std::unique_ptr<PrinterChoice> ownPrinter_;
    PrinterChoice& printer_;
    QtWindowChrome chrome_;
    SonarState state_;
    ImageState image_;
    ImageColorTable colors_{};
    SystemClock clock_;
    Recorder recorder_;
    Playback playback_;
    WindowDispatchTarget target_;
    SonarView* view_ = nullptr;
    PlaybackSlider* slider_ = nullptr;
    std::unique_ptr<AutoProfileController> autoProfile_;
    DiagnosticsWindow* diagnostics_ = nullptr;
    ScanWindow* scanWindow_ = nullptr;
    std::string settingsPath_;
    std::vector<std::string> refusedSettings_;
    QTimer sourceIdle_;
    QTimer sourceWait_;
    static constexpr int ModalRecheckMilliseconds = 100;
    QTimer statusTick_;
    uint64_t pingsHeard_ = 0;
    int64_t heardAt_ = 0;  // tick of the last reply, or of the link coming up
    int64_t endOfFileShownAt_ = -1;
    int64_t recordMarkAt_ = 0;
    uint64_t playedPings_ = 0;  // pings of the played file dispatched
    uint64_t ratePings_ = 0;    // and their count when the rate was last shown
    int64_t rateAt_ = -1;
    int playbackSteps_ = 0;
    bool closed_ = false;
    std::atomic<bool> sourceWakePosted_{false};
    std::atomic<bool> gpsPollPosted_{false};
    PlaybackSource fileSource_;
    PingSource* source_ = nullptr;
    // Last: their threads call back into the window until they are stopped.
    GpsInput gps_;
    std::unique_ptr<PingSource> headSource_;
};

}  // namespace tidemar
