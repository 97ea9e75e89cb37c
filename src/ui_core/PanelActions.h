#pragma once
// What the panel's buttons, boxes and typed keys do to SonarState, as pure functions. Each
// returns what the window must repaint or do next (PanelUpdate); none of them draws. The
// window paints the named elements from the state afterwards, so it never has to know the
// rules behind a change.

#include <optional>
#include <string>

#include "core/SonarState.h"
#include "ui_core/PanelLayout.h"

namespace tidemar {

// Everything a change can ask of the window. Flags add up with |=.
struct PanelUpdate {
    bool RangeReadout = false;  // the Range box
    bool ModeReadout = false;
    bool GainReadout = false;
    bool SpeedReadout = false;
    bool SectorReadout = false;
    bool TrainReadout = false;
    bool FrequencyReadout = false;            // the transmit frequency changed or its place was covered
    bool GridLabel = false;                   // the grid label under the image (only when Grid is on)
    bool GridRedraw = false;                  // SS side changed with Grid on: take the old side's grid
                                              // off and draw the new one (DrawImageGrid with Grid 0 on
                                              // the old SsSide, then with Grid 1)
    int PreviousSsSide = SideScanSide::Port;  // the side whose grid GridRedraw removes
    bool RedrawImage = false;                 // clear and redraw the picture with its grid
    bool ResetEchoHistory = false;            // forget the ping history before the redraw
    bool PanelRowsInvalidated = false;        // PanelRowsArea: arrows change between normal and inactive
    bool HeadIndicator = false;               // the head-position indicator (sector dial)
    bool MeasureTool = false;                 // recompute the measurement read-out at the last pointer
    bool ClearMeasureLock = false;            // SS mode was entered: the measurement origin is released
    bool ProfileGridTurnedOff = false;        // ProfileGrid was cleared here; the window does the
                                              // rest of a profile-grid toggle (menu items 1000/1010,
                                              // Up/Down texts, depth line reset, indicators)
    bool ProfileMenuItems = false;            // enable 1000 (and 1010 with ProfileGrid) outside SS, gray in SS
    bool HoldBox = false;                     // Hold box changed
    bool HoldMenuItems = false;               // gray 200/201 while HoldActive, enable them otherwise
    bool RevFlash = false;                    // draw the Rev box on and off again
    bool PlaybackReverseBox = false;
    bool PlotSpeedBar = false;
    bool KeyEntryBox = false;    // draw the keyboard entry box (KeyEntryDisplayText)
    bool KeyEntryErase = false;  // erase the entry box (then FrequencyReadout)
    bool ClearScreen = false;    // "c": redraw the picture

    PanelUpdate& operator|=(const PanelUpdate& other);
    bool Any() const;
};

// ---- arrow buttons ----------------------------------------------------------------------------

// Applies one step of an arrow button (a parameter arrow or a Plot Speed arrow) with its
// limits and wraps and every side effect of the read-outs it refreshes. A button that is
// not active in the current state (ElementActive) changes nothing and returns no update.
// Range, Gain, Speed, Mode and Plot Speed do nothing at their ends; Sector and Train wrap.
PanelUpdate PressButton(SonarState& state, PanelElement button);

// Whether holding the button down should stop repeating: the value reached its limit.
// Range up at 14, down at 0; Gain up at 40 or more, down below 1; Plot Speed right at 100
// or more, left below 1. Other buttons never stop by themselves.
bool ButtonAtLimit(PanelElement button, const SonarState& state);

// Whether the button repeats while held (every arrow except the Mode arrows).
bool ButtonRepeats(PanelElement button);

// Mode up (+1) or down (-1), Sector to SS, no change at the ends. Remembers the sector of the old
// mode, restores the new mode's sector and train, SS: sector 0, Train 270 (Port) or 90
// (Stbd), measurement lock cleared, profile grid turned off.
PanelUpdate ChangeMode(SonarState& state, int delta);

// ---- read-out side effects ---------------------------------------------------------------------
// Each of these is what refreshing the read-out does to the state besides drawing it; the
// returned update names that read-out and any others it pulls along.

// SetRange for the current Range (RangeMeters, RangeScale, SampleSpacing; the user
// configuration row in HEAD mode with ConfigType 1), FrequencyReadout when that changed the
// frequency, then the Speed read-out.
PanelUpdate RangeReadout(SonarState& state);

// StepAngle and AutoProfileMargin from Speed.
PanelUpdate SpeedReadout(SonarState& state);

// Stores SectorSize as the mode's sector (SectorSectorSize in Sector and Profile,
// PolarSectorSize in Polar); outside SS a 360 sector sets Train 0; then the Train read-out
// and the head indicator.
PanelUpdate SectorReadout(SonarState& state);

// Outside SS: a 360 sector sets Train 0. In SS: SsSide = SSTrain, SectorSize 0, Train 270
// (Port) or 90 (Stbd), and with Grid on the grid of the old side is replaced. Stores Train
// as the mode's train (SectorTrain in Sector and Profile, PolarTrain in Polar); head indicator
// and measurement read-out.
PanelUpdate TrainReadout(SonarState& state);

// The profile-grid menu items follow the mode, then the Range read-out.
PanelUpdate ModeReadout(SonarState& state);

// ---- toggles --------------------------------------------------------------------------------

// Hold on/off. HoldRequest follows the hold in HEAD mode; turning the hold off clears it in
// either mode so a hold set live and released during playback never keeps the head held.
PanelUpdate HoldToggle(SonarState& state);

// HEAD: one-shot reverse request for the next command block, the Rev box flashes.
PanelUpdate ReversePulse(SonarState& state);

// FILE: play backwards or forwards; does nothing unless the file can run backwards.
PanelUpdate PlaybackReverseToggle(SonarState& state, bool reverseAvailable);

// ---- keyboard entry of range and gain ----------------------------------------------------------

enum class KeyEntryKind { None = 0, Range = 1, Gain = 2 };

struct KeyEntry {
    KeyEntryKind Mode = KeyEntryKind::None;
    std::string Text;  // typed characters ("0".."9", "."), at most 3
};

inline constexpr int KeyEntryMaxLength = 3;

struct PanelMessage {
    std::string Caption;
    std::string Text;  // shown with the exclamation icon
};

inline constexpr const char* KeyboardRangeCaption = "Keyboard Range";
inline constexpr const char* KeyboardGainCaption = "Keyboard Gain";
inline constexpr const char* KeyboardRangeMetersText =
    "Please use one of the following ranges:\n 1, 2, 3, 4, 5, 10, 20, 30, 40, 50, 60, 80, 100, 150, or 200 Meters    ";
inline constexpr const char* KeyboardRangeFeetText =
    "Please use one of the following ranges:\n 3, 6, 9, 12, 15, 30, 60, 90, 120, 150, 180, 240, 300, 450, or 600 Feet  "
    "  ";
inline constexpr const char* KeyboardGainText = "Entered Gain is out of range!\nUse 0 to 40 dB";

struct KeyResult {
    PanelUpdate Update;
    std::optional<PanelMessage> Message;  // show this message box (before the repaints)
    bool Handled = false;                 // the key meant something in this state
};

// One typed character (WM_CHAR), with the whole key table: "r"/"R" and "g"/"G" start an
// entry (HEAD), digits and "." append while fewer than 3 are typed (HEAD, entry open),
// Enter (13) finishes, Backspace (8) takes back the last character, Escape (27) cancels and
// changes nothing else, "h"/"H" toggles the hold, space is the reverse
// pulse (HEAD) or the playback reverse toggle (FILE), "c"/"C" clears the screen. In FILE
// mode only "h", "c" and space do anything.
KeyResult HandleTypedKey(KeyEntry& entry, SonarState& state, char key, bool reverseAvailable = false);

// Enter on an open entry: range looked up in the list of the current Units (refused values
// keep Range and return the message), gain 0..40 (else the message); the entry is closed in
// every case. With nothing typed the entry just closes.
KeyResult FinishKeyEntry(KeyEntry& entry, SonarState& state);

// Closes an entry: the box is erased and the frequency read-out it covered redrawn.
PanelUpdate CancelKeyEntry(KeyEntry& entry);

// Range index of a keyed range in the list of the units (metres 1..200, feet 3..600), or -1.
int KeyedRangeIndex(int value, int units);

}  // namespace tidemar
