#pragma once
// The main window's menu bar: every command with its id, text and accelerator, grouped
// File, Display, Sonar, Profile, Help. Actions carry their id (CommandIdProperty), so the
// window, the chrome and the tests reach an item by the id the rest of the program uses.

#include <QObject>

#include "core/Modes.h"

class QAction;
class QMenuBar;

namespace tidemar {

namespace Command {
inline constexpr int Playback = 10;
inline constexpr int RecordStart = 15;
inline constexpr int CopyStart = 16;
inline constexpr int Exit = 18;
inline constexpr int PrintScreen = 20;
inline constexpr int ColorTableFirst = 80;  // 80..88, one per colour table
inline constexpr int ColorTableLast = 88;
inline constexpr int About = 100;
inline constexpr int ComPorts = 105;
inline constexpr int XdcrUp = 200;
inline constexpr int XdcrDown = 201;
inline constexpr int ClearScreen = 205;
inline constexpr int GridOnOff = 206;
inline constexpr int SaveScreen = 207;
inline constexpr int AutoFrameCapture = 208;
inline constexpr int ExportVideo = 209;
inline constexpr int Settings = 310;
inline constexpr int Diagnostics = 600;
inline constexpr int HeadScan = 655;
inline constexpr int PixelZoom = 700;
inline constexpr int Zoom100 = 720;  // the Zoom submenu: 100%, 150%, 200%, Fit to Screen
inline constexpr int Zoom150 = 721;
inline constexpr int Zoom200 = 722;
inline constexpr int ZoomFit = 723;
inline constexpr int NightColors = 730;
inline constexpr int Meters = 810;
inline constexpr int Feet = 811;
inline constexpr int SoundVelocity = 820;
inline constexpr int OffsetAngle = 825;
inline constexpr int UserText = 830;
inline constexpr int ProfileOff = 950;  // 950..954 Off, Points Only, Low, Med, High Mix
inline constexpr int ProfileHighMix = 954;
inline constexpr int CalibrateHead = 960;
inline constexpr int ProfileSetup = 970;
inline constexpr int AutoProfile = 980;
inline constexpr int ProfileGrid = 1000;
inline constexpr int ZeroDown = 1010;
}  // namespace Command

// The items that belong to one data source: enabled while its pings are shown, grayed
// while the other source's are.
struct SourceMenuItem {
    int Id;
    int Source;  // DataSource::Head or DataSource::File
};
inline constexpr SourceMenuItem SourceMenuItems[] = {
    {Command::Playback, DataSource::File},         {Command::RecordStart, DataSource::Head},
    {Command::CopyStart, DataSource::File},        {Command::XdcrUp, DataSource::Head},
    {Command::XdcrDown, DataSource::Head},         {Command::ComPorts, DataSource::Head},
    {Command::CalibrateHead, DataSource::Head},    {Command::AutoProfile, DataSource::Head},
    {Command::AutoFrameCapture, DataSource::File}, {Command::ExportVideo, DataSource::File},
};

// Builds the menus into `bar`; every action's triggered() is sent to `onCommand` with the
// action's id. Items 1010 starts grayed; check marks are the window's to set.
void BuildMainMenu(QMenuBar* bar, QObject* receiver, void (*onCommand)(QObject* receiver, int id));

}  // namespace tidemar
