#include "ui/window/MainWindow.h"

#include <algorithm>
#include <filesystem>

#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>

#include "settings/Settings.h"
#include "ui/dialogs/ComPortSetupDialog.h"
#include "ui_core/PanelActions.h"
#include "ui/view/NightPalette.h"
#include "ui/window/MainMenu.h"
#include "ui/capture/ScreenCapture.h"

namespace tidemar {

namespace {

std::string SettingsFolder(const std::string& directory) {
    if (!directory.empty()) return directory;
    std::error_code error;
    const auto current = std::filesystem::current_path(error);
    return error ? std::string() : current.string();
}

void DispatchCommand(QObject* receiver, int id) { static_cast<MainWindow*>(receiver)->RunCommand(id); }

}  // namespace

MainWindow::MainWindow(const MainWindowOptions& options)
    : ownPrompts_(options.Dialogs ? nullptr : std::make_unique<QtPrompts>(this)),
      prompts_(options.Dialogs ? *options.Dialogs : *ownPrompts_),
      ownPrinter_(options.Printer ? nullptr : std::make_unique<DialogPrinterChoice>()),
      printer_(options.Printer ? *options.Printer : *ownPrinter_),
      chrome_(this),
      recorder_(prompts_, chrome_),
      playback_(prompts_, chrome_),
      target_(state_, image_, recorder_),
      settingsPath_(SettingsPathIn(SettingsFolder(options.SettingsDirectory))),
      fileSource_(playback_, SourceContext{state_, clock_, target_, {}}),
      gps_([this] {
          if (!gpsPollPosted_.exchange(true))
              QMetaObject::invokeMethod(this, &MainWindow::PollGps, Qt::QueuedConnection);
      }) {
    const PingSourceFactory headFactory = options.HeadSource ? options.HeadSource : LiveSourceFactory(options.HeadPort);
    SourceContext headContext{state_, clock_, target_, [this] {
                                  if (sourceWakePosted_.exchange(true)) return;
                                  QMetaObject::invokeMethod(
                                      this, [this] { WakeSource(headSource_.get()); }, Qt::QueuedConnection);
                              }};
    headContext.Message = [this](const std::string& caption, const std::string& text) {
        prompts_.Message(caption, text, MessageIcon::Exclamation);
    };
    headSource_ = headFactory(headContext);
    setWindowTitle(QString::fromLatin1(ProgramTitle));
    BuildMainMenu(menuBar(), this, &DispatchCommand);

    InitImageColorTable(colors_);
    view_ = new SonarView(image_.Image, colors_, this);
    setCentralWidget(view_);
    target_.SetView(view_);
    PanelHost host;
    host.Apply = [this](const PanelUpdate& update) { ApplyPanelUpdate(update); };
    host.SelectDataSource = [this](int runMode) { SelectDataSource(runMode); };
    host.HoldChanged = [this] { HoldChanged(); };
    host.Message = [this](const PanelMessage& message) {
        prompts_.Message(message.Caption, message.Text, MessageIcon::Exclamation);
    };
    host.ReverseAvailable = [this] { return playback_.ReverseAvailable(); };
    view_->AttachPanel(state_, std::move(host));

    AutoProfileHooks scanHooks;
    // The capture takes the same automatic name the controller announces.
    scanHooks.CaptureScreen = [this](const std::string&) { SaveScreen(CaptureTarget(), prompts_, true); };
    scanHooks.RedrawDredgeLine = [this] { target_.DrawDredgeLine(); };
    scanHooks.StatusChanged = [this] {
        view_->RefreshCursor();
        view_->StatusChanged();
    };
    autoProfile_ =
        std::make_unique<AutoProfileController>(state_, image_, prompts_, this, std::string(), std::move(scanHooks));
    // The two tool windows exist from the start, hidden until asked for.
    diagnostics_ = new DiagnosticsWindow(state_, this);
    scanWindow_ = new ScanWindow(state_, prompts_, this);
    connect(scanWindow_, &ScanWindow::Closed, this, [this] {
        SetMenuMarks();
        view_->StatusChanged();
    });

    WindowHooks hooks;
    hooks.FrameCapture = [this] { tidemar::FrameCapture(CaptureTarget(), playback_.FileName(), prompts_, chrome_); };
    hooks.AddProfilePoint = [this] { autoProfile_->AddProfilePoint(); };
    hooks.AutoProfileCycleStep = [this] { autoProfile_->AutoProfileCycleStep(); };
    hooks.RunAutoProfileDialog = [this] { autoProfile_->RunAutoProfileDialog(); };
    hooks.DiagnosticsShown = [this] { return diagnostics_->isVisible(); };
    hooks.RefreshDiagnostics = [this] { diagnostics_->Refresh(); };
    hooks.RefreshHeadScan = [this] {
        if (scanWindow_->isVisible()) scanWindow_->Refresh();
    };
    target_.SetHooks(std::move(hooks));
    // The pixel zoom leaves out the pings that arrive while a menu is open.
    for (QMenu* menu : menuBar()->findChildren<QMenu*>())
        connect(menu, &QMenu::aboutToShow, view_, &SonarView::SetMenuOpen);

    // Window creation: the settings first, then everything that shows them.
    state_.UserText.clear();
    refusedSettings_ = LoadSettings(state_, settingsPath_);
    RangeReadout(state_);
    state_.SsSide = state_.SSTrain;
    SetMenuMarks();
    gps_.ProbeComPorts(state_, options.DeviceDirectory);

    sourceIdle_.setInterval(0);  // runs when the event queue is empty
    connect(&sourceIdle_, &QTimer::timeout, this, &MainWindow::StepSource);
    sourceWait_.setSingleShot(true);
    connect(&sourceWait_, &QTimer::timeout, this, &MainWindow::ScheduleSource);
    statusTick_.setInterval(StatusTickMilliseconds);
    connect(&statusTick_, &QTimer::timeout, this, &MainWindow::TickStatus);

    layout()->setSizeConstraint(QLayout::SetFixedSize);
}

MainWindow::~MainWindow() {
    ShutDown();
    ApplyNightPalette(false);  // the application outlives the window
}

CaptureScene MainWindow::CaptureTarget() { return CaptureScene{this, view_, &colors_, &state_}; }

void MainWindow::Start() {
    BuildColorTableEntries(colors_, state_.Colors);
    view_->ColorsChanged();
    target_.ResetEchoHistory();
    ApplyDisplaySettings();
    RestoreWindowPosition();
    show();
    target_.RedrawSonarImage();
    ApplyDataSource();
    statusTick_.start();
    activateWindow();
}

void MainWindow::SelectDataSource(int runMode) {
    if (runMode == DataSource::File && state_.RunMode == DataSource::File) {
        OpenPlayback();
        return;
    }
    if (runMode == state_.RunMode) return;
    state_.RunMode = runMode;
    ApplyDataSource();
}

void MainWindow::ApplyDataSource() {
    view_->DataSourceChanged();
    state_.ShownSoundVelocity = 0.0f;
    state_.PlaybackReverse = 0;
    if (recorder_.Recording()) recorder_.StopRecording();
    sourceIdle_.stop();
    sourceWait_.stop();
    if (source_) source_->Stop();
    target_.SetPlaybackOpen(false);
    if (gps_.ComPortsProbed()) StopLiveGps(state_, gps_);
    autoProfile_->ResetCycle();

    const bool file = state_.RunMode == DataSource::File;
    source_ = file ? static_cast<PingSource*>(&fileSource_) : headSource_.get();
    for (const SourceMenuItem& item : SourceMenuItems) Enable(item.Id, item.Source == state_.RunMode);
    if (file) {
        target_.EraseLinkStatus();
        EnterPlayback(state_);
        if (!playback_.PlaybackOpen()) chrome_.SetTitle(std::string(ProgramTitle) + " - [No File]");
        target_.DrawGpsPosition(false);
        state_.DateTimeText.clear();
        if (!slider_) {
            slider_ = new PlaybackSlider(view_, [this](int percent) { SeekPlayback(percent); });
            view_->PlaceChild(slider_, slider_->geometry());
            slider_->show();
        }
    } else {
        delete slider_;
        slider_ = nullptr;
        LeavePlayback(state_);
        ApplyPanelUpdate(ModeReadout(state_));  // the head's mode again, with its profile menu items
        source_->Start();
        StartLiveGps(state_, gps_);
        target_.DrawGpsPosition(false);
        chrome_.SetTitle(ProgramTitle);
    }

    if (state_.RunMode != state_.LastDataSource) {
        state_.LastDataSource = state_.RunMode;
        view_->update();
        Redraw();
    }
    target_.DrawPingIndicator(false);
    if (file) OpenPlayback();
}

void MainWindow::OpenPlayback() {
    fileSource_.Start();
    target_.SetPlaybackOpen(playback_.PlaybackOpen());
    ScheduleSource();
}

void MainWindow::ToggleHold() {
    ApplyPanelUpdate(HoldToggle(state_));
    HoldChanged();
}

void MainWindow::ApplyPanelUpdate(const PanelUpdate& update) {
    if (update.HoldMenuItems) {
        const bool enabled = state_.RunMode == DataSource::Head && !state_.HoldActive;
        Enable(Command::XdcrUp, enabled);
        Enable(Command::XdcrDown, enabled);
    }
    if (update.ProfileGridTurnedOff) ToggleProfileGrid();
    if (update.ProfileMenuItems) ShowProfileMenuItems();
    if (update.GridRedraw && state_.Grid) {
        // Off the side shown before, onto the new one.
        const int side = state_.SsSide;
        state_.SsSide = update.PreviousSsSide;
        target_.RemoveGrid();
        state_.SsSide = side;
        target_.DrawGrid();
    }
    if (update.ResetEchoHistory || update.ClearScreen) target_.ResetEchoHistory();
    if (update.RedrawImage || update.ClearScreen) target_.RedrawSonarImage();
    // The panel paints every element from the state.
    if (update.Any()) view_->update();
}

void MainWindow::HoldChanged() {
    if (source_) source_->Hold(state_.HoldActive);
    ScheduleSource();
}

void MainWindow::ScheduleSource() {
    const bool run = source_ && source_->Active() && !state_.HoldActive && !closed_;
    if (run && !sourceWait_.isActive()) {
        if (!sourceIdle_.isActive()) sourceIdle_.start();
    } else {
        sourceIdle_.stop();
    }
}

void MainWindow::StepSource() {
    if (!source_ || !source_->Active() || state_.HoldActive || closed_) {
        sourceIdle_.stop();  // waits for a file or the end of the hold instead of spinning
        return;
    }
    const bool file = source_->Kind() == DataSource::File;
    if (file && WaitForModalDialog()) return;
    const SourceStep step = source_->Step();
    int wait = step.WaitMilliseconds;
    if (file) {
        ++playbackSteps_;
        if (step.Dispatched) ++playedPings_;
        if (slider_) slider_->ShowPercent(source_->Percent());
    }
    if (step.Rewound) {
        image_.History.Reset = true;
        // The start of the file again, after a pause that says why the picture begins anew.
        ShowEndOfFile();
        wait = std::max(wait, EndOfFileMilliseconds);
    }
    if (wait != 0) sourceIdle_.stop();
    if (wait > 0) sourceWait_.start(wait);
}

// A played file stands still while a message box or dialog is open, so that its messages
// do not pile up behind the first one and a capture is not taken under a dialog.
bool MainWindow::WaitForModalDialog() {
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal) return false;
    sourceIdle_.stop();
    if (auto* dialog = qobject_cast<QDialog*>(modal)) {
        // Queued: when it runs, the dialog's own event loop has ended.
        connect(dialog, &QDialog::finished, this, &MainWindow::ResumeAfterDialog,
                static_cast<Qt::ConnectionType>(Qt::QueuedConnection | Qt::UniqueConnection));
    } else if (!sourceWait_.isActive()) {
        sourceWait_.start(ModalRecheckMilliseconds);  // no signal to wait for: look again later
    }
    return true;
}

void MainWindow::ResumeAfterDialog() { ScheduleSource(); }

void MainWindow::SeekPlayback(int percent) {
    if (state_.RunMode != DataSource::File || !playback_.PlaybackOpen()) return;
    if (playback_.SeekToPercent(percent)) Redraw();
}

void MainWindow::WakeSource(PingSource* source) {
    sourceWakePosted_ = false;
    if (!closed_ && source == source_) source->Step();
}

void MainWindow::PollGps() {
    gpsPollPosted_ = false;
    if (!closed_) gps_.Poll(state_, target_);
}

void MainWindow::RunComPortSetup() {
    ComPortSetupDialog dialog(state_, gps_, target_, this);
    dialog.PlaceOver(this);
    if (dialog.exec() == QDialog::Accepted && state_.UseGPS) target_.DrawGpsPosition(false);
    // The settings are written as they stand when the window closes.
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (!closed_ && !ConfirmExit()) {
        event->ignore();  // the recording or copy goes on
        return;
    }
    ShutDown();
    event->accept();
}

// An open record or copy file is not closed behind the operator's back.
bool MainWindow::ConfirmExit() {
    if (recorder_.Recording() && !prompts_.AskYesCancel(ProgramTitle, "Recording to " + recorder_.FileName() +
                                                                          " is open. Stop recording and exit?"))
        return false;
    if (playback_.Copying() && !prompts_.AskYesCancel(ProgramTitle, "Copying to " + playback_.CopyFileName() +
                                                                        " is open. Stop copying and exit?"))
        return false;
    return true;
}

void MainWindow::ShutDown() {
    if (closed_) return;
    closed_ = true;
    statusTick_.stop();
    sourceIdle_.stop();
    sourceWait_.stop();
    if (state_.RunMode == DataSource::Head && gps_.ComPortsProbed()) StopLiveGps(state_, gps_);
    if (source_) source_->Stop();
    // The record file is closed before the settings are written.
    if (recorder_.Recording()) recorder_.StopRecording();
    KeepWindowPosition();
    if (!SaveSettings(state_, settingsPath_))
        prompts_.Message(ProgramTitle, "The settings could not be written to " + settingsPath_ + ".",
                         MessageIcon::Exclamation);
    target_.RedrawSonarImage();
}

}  // namespace tidemar
