// The menu: check marks and gray states from the state, and every command the menu or
// a key runs, with the redraws that follow it.
#include <QAction>

#include "ui/window/DialogCommands.h"
#include "ui/window/MainMenu.h"
#include "ui/window/MainWindow.h"
#include "ui/capture/ScreenCapture.h"
#include "ui/dialogs/VideoExportDialog.h"

namespace tidemar {

QAction* MainWindow::CommandAction(int id) const { return FindCommandAction(const_cast<MainWindow*>(this), id); }

void MainWindow::Check(int id, bool on) {
    if (QAction* action = CommandAction(id)) action->setChecked(on);
}

void MainWindow::Enable(int id, bool on) {
    if (QAction* action = CommandAction(id)) action->setEnabled(on);
}

void MainWindow::SetMenuMarks() {
    for (int id = Command::ColorTableFirst; id <= Command::ColorTableLast; ++id)
        Check(id, id == Command::ColorTableFirst + state_.Colors);
    Check(Command::XdcrUp, state_.Xdcr == Transducer::Up);
    Check(Command::XdcrDown, state_.Xdcr != Transducer::Up);
    Check(Command::GridOnOff, state_.Grid == 1);
    Check(Command::Meters, state_.Units == 0);
    Check(Command::Feet, state_.Units == 1);
    Check(Command::PixelZoom, state_.PixelZoom == 1);
    ShowDisplayMarks();
    Check(Command::ZeroDown, state_.ZeroDown == 0);
    for (int id = Command::ProfileOff; id <= Command::ProfileHighMix; ++id)
        Check(id, id == Command::ProfileOff + state_.RequestedProfile);
    const bool profileGrid = state_.ProfileGrid == 1;
    Check(Command::ProfileGrid, profileGrid);
    Check(Command::HeadScan, state_.HeadScanMode == 1);
    ShowProfileMenuItems();
    chrome_.SetMenuText(Command::XdcrUp, profileGrid ? "&Aft" : "&Up");
    chrome_.SetMenuText(Command::XdcrDown, profileGrid ? "&Fwd" : "&Down");
}

void MainWindow::ShowProfileMenuItems() {
    // Neither applies to the SS picture.
    const bool ss = state_.GridMode == DisplayMode::SideScan;
    Enable(Command::ProfileGrid, !ss);
    Enable(Command::ZeroDown, !ss && state_.ProfileGrid == 1);
}

void MainWindow::RunCommand(int id) {
    const bool head = state_.RunMode == DataSource::Head;
    switch (id) {
    case Command::Playback:
        if (!head) OpenPlayback();
        break;
    case Command::RecordStart:
        if (recorder_.Recording())
            recorder_.StopRecording();
        else if (head)
            recorder_.StartRecording();
        break;
    case Command::CopyStart:
        if (playback_.Copying())
            playback_.StopCopy();
        else if (!head)
            playback_.StartCopy();
        break;
    case Command::ComPorts:
        if (head) RunComPortSetup();
        break;
    case Command::Exit: close(); break;
    case Command::PrintScreen:
        PrintScreen(CaptureTarget(), prompts_, printer_, head ? "" : playback_.FileName());
        break;
    case Command::SaveScreen: SaveScreen(CaptureTarget(), prompts_, false); break;
    case Command::AutoFrameCapture: ToggleAutoFrameCapture(state_, prompts_, chrome_); break;
    case Command::ExportVideo:
        if (!head) RunExportVideo(this, state_, playback_.PlaybackOpen() ? playback_.FileName() : "", prompts_);
        break;
    case Command::Diagnostics:
        diagnostics_->show();
        diagnostics_->raise();
        diagnostics_->Refresh();
        break;
    case Command::HeadScan: ToggleHeadScan(); break;
    case Command::About: RunAboutCommand(this); break;
    case Command::Settings: ApplyPanelUpdate(RunSettingsCommand(this, state_, prompts_, target_)); break;
    case Command::SoundVelocity: ApplyPanelUpdate(RunSoundVelocityCommand(this, state_, prompts_, target_)); break;
    case Command::OffsetAngle:
        ApplyPanelUpdate(RunOffsetAngleCommand(this, state_, prompts_, target_));
        view_->HeadPositionChanged();
        break;
    case Command::UserText: ApplyPanelUpdate(RunUserTextCommand(this, state_, prompts_, target_)); break;
    case Command::ProfileSetup: ApplyPanelUpdate(RunProfileSetupCommand(this, state_, prompts_, target_)); break;
    case Command::XdcrUp:
    case Command::XdcrDown: SetXdcr(id == Command::XdcrUp ? Transducer::Up : Transducer::Down); break;
    case Command::ClearScreen: Redraw(); break;
    case Command::GridOnOff:
        state_.Grid = state_.Grid ? 0 : 1;
        target_.DrawGrid();
        break;
    case Command::PixelZoom:
        state_.PixelZoom = state_.PixelZoom ? 0 : 1;
        view_->PixelZoomChanged();
        break;
    case Command::Zoom100: SetWindowZoom(100); break;
    case Command::Zoom150: SetWindowZoom(150); break;
    case Command::Zoom200: SetWindowZoom(200); break;
    case Command::ZoomFit: SetWindowZoom(WindowZoomFit); break;
    case Command::NightColors: SetNightColors(!state_.NightColors); break;
    case Command::Meters:
    case Command::Feet: SetUnits(id - Command::Meters); break;
    case Command::CalibrateHead:
        if (head) state_.CalibrateRequest = 1;
        break;
    case Command::AutoProfile:
        if (head) state_.AutoProfileRequest = 1;  // served by the ping cycle between pings
        break;
    case Command::ProfileGrid:
        state_.ProfileGrid = state_.ProfileGrid ? 0 : 1;
        ToggleProfileGrid();
        break;
    case Command::ZeroDown:
        state_.ZeroDown = state_.ZeroDown ? 0 : 1;
        image_.Profile.LastDredgeDepth = -1000.0f;
        Redraw();
        view_->HeadPositionChanged();
        break;
    default:
        if (id >= Command::ColorTableFirst && id <= Command::ColorTableLast) SetColors(id - Command::ColorTableFirst);
        if (id >= Command::ProfileOff && id <= Command::ProfileHighMix) SetRequestedProfile(id - Command::ProfileOff);
        break;
    }
    // Qt flips a checkable item by itself; the marks always follow the state.
    SetMenuMarks();
}

void MainWindow::Redraw() {
    target_.ResetEchoHistory();
    target_.RedrawSonarImage();
}

void MainWindow::SetColors(int colors) {
    state_.Colors = colors;
    BuildColorTableEntries(colors_, colors);
    view_->ColorsChanged();
}

void MainWindow::SetUnits(int units) {
    if (units == state_.Units) return;
    if (state_.Grid) target_.RemoveGrid();  // the grid drawn in the old units
    state_.Units = units;
    ApplyPanelUpdate(RangeReadout(state_));
    if (state_.Grid) target_.DrawGrid();
}

void MainWindow::SetXdcr(int xdcr) {
    state_.Xdcr = xdcr;
    target_.RedrawSonarImage();
    view_->HeadPositionChanged();
}

void MainWindow::SetRequestedProfile(int profile) {
    state_.RequestedProfile = profile;
    if (state_.RunMode == DataSource::File) state_.Profile = profile;  // live: taken over between pings
    if (profile == 1) {
        target_.RedrawSonarImage();
        state_.DisplayCheckPending = 1;
    }
}

void MainWindow::ToggleProfileGrid() {
    SetMenuMarks();
    if (state_.RunMode == DataSource::File) {
        Enable(Command::XdcrUp, false);
        Enable(Command::XdcrDown, false);
    }
    image_.Profile.LastDredgeDepth = -1000.0f;
    target_.RedrawSonarImage();
    view_->HeadPositionChanged();
}

void MainWindow::ToggleHeadScan() {
    if (state_.HeadScanMode) {
        scanWindow_->close();  // ends the scan mode and says so through Closed()
        return;
    }
    // The next command block asks for head information instead of a ping.
    state_.HeadScanMode = 1;
    scanWindow_->show();
    scanWindow_->raise();
    view_->StatusChanged();
}

}  // namespace tidemar
