#pragma once
// The one record of everything that makes up a ping request and its display: the
// operator's settings (named after their TIDEMAR.INI keys), values derived from them,
// one-shot requests that ride on the next command block, and what the last reply said.
//
// One instance lives for the whole run and is owned by the main thread; the link thread
// only ever sees copies of command blocks and replies.

#include <array>
#include <cstdint>
#include <string>

#include "core/Modes.h"
#include "core/UserConfigTable.h"

namespace tidemar {

inline constexpr int CommandBlockBytes = 27;
inline constexpr int CommandTemplateBytes = 33;  // the block plus six bytes never sent
inline constexpr int MaxReplyBytes = 513;        // 12 header bytes, 500 data bytes, end byte
inline constexpr int SampleLineSize = 1024;      // room for blanking plus 504 unpacked 4-bit samples
inline constexpr int MaxEchoLevel = 107;

// Text limits of the fixed buffers the settings travel in.
inline constexpr int UserTextCapacity = 79;   // char[80]; 32 bytes reach the data records
inline constexpr int IpAddressCapacity = 20;  // characters of IPAddress_Sonar1 that are used
inline constexpr int PathCapacity = 255;      // file names

// The live values that playback overwrites from each file record; saved on entering
// playback and put back on leaving it.
struct HeadSettings {
    int Xdcr = Transducer::Down;
    int RangeMeters = 50;
    int Range = 9;
    int Speed = 2;
    int Gain = 6;
    int SectorSize = 360;
    int Train = 0;
    int Absorption = 20;
    int DataBits = 8;
    int PulseLength = 100;
    int GridMode = DisplayMode::Polar;
    float SoundVelocityMeters = 1500.0f;
    std::string UserText = "Braxtel Technology Corp.";
    float ProfileDredgeDepth = 0.0f;
};

// WindowX and WindowY before the window was ever closed: the window system places it.
inline constexpr int NoWindowPosition = -32768;

// The zoom levels of the window, in percent; WindowZoomFit picks the largest that fits the screen.
inline constexpr int WindowZoomFit = 0;
inline constexpr int WindowZoomLevels[] = {100, 150, 200};

struct SonarState {
    // ---- persistent settings (TIDEMAR.INI keys) -------------------------------------
    int MasterHeadID = 17;
    std::string UserText = "Braxtel Technology Corp.";
    int ComPortGPS = 0;
    int Grid = 1;
    int Colors = 0;
    int Xdcr = Transducer::Down;  // 1 = Up, 0 = Down
    int Range = 9;
    int RunMode = DataSource::Head;     // 0 = head, 1 = playback
    int GridMode = DisplayMode::Polar;  // 0 Sector, 1 Polar, 2 SS
    int SSTrain = SideScanSide::Port;   // 0 Port, 2 Stbd
    int Gain = 6;
    int Speed = 2;
    int SectorSectorSize = 180;
    int PolarSectorSize = 360;
    int PulseLength = 100;
    int Train = 0;
    int Absorption = 20;
    int Profile = 0;  // 0 Off, 1 Points Only, 2..4 Low/Med/High Mix
    int PixelZoom = 1;
    int Units = 0;  // 0 metres, 1 feet
    float SoundVelocityMeters = 1500.0f;
    int IOCard = 1;
    int ProfileGrid = 0;
    int ZeroDown = 1;
    int UseGPS = 0;
    int GPSType = 1;  // 0 GLL, 1 GGA
    int SwitchDelay = 0;
    int SendDelay = 0;
    int PlotSpeed = 100;
    int Frequency = 675;
    int ConfigType = 1;  // 0 manual, 1 from the user configuration table
    std::string ConfigFile = "Default";
    float ProfileChainage = 0.0f;
    float ProfileElevation = 0.0f;
    float ProfileXOffset = 0.0f;
    float ProfileDredgeDepth = 0.0f;
    int ProfileDigitizationSource = 0;  // 0 Sonar Head, 1 Surface
    int ProfileDetectionType = 0;       // 0 Start of Pulse, 1 Center of Pulse
    float ProfileMinimumRange = 0.0f;   // in Units
    int ProfileMinimumLevel = 70;
    int AutoProfileXYZ = 1;
    int AutoProfileBMP = 1;
    int AutoProfileSaveConfirmation = 1;
    int AutoProfilePromptForScan = 1;
    float VerticalAngleOffset = 0.0f;
    int XYZTimestamp = 1;
    int XYZRangeHorVer = 1;
    std::string IPAddress_Sonar1 = "192.168.0.5";
    int ExternalTriggerControl = 0;
    std::string SerialPortPaths;     // extra serial devices, colon-separated
    int WindowZoom = 100;            // client area scale in percent: 100, 150, 200, 0 fits the screen
    int NightColors = 0;             // 1: the screen in dark reds; captures and prints keep the day colours
    int WindowX = NoWindowPosition;  // the window's top-left corner on the desktop at the last exit
    int WindowY = NoWindowPosition;

    // ---- derived and in-effect values ------------------------------------------------
    int RangeMeters = 50;
    float RangeScale = 1.0f;
    float SampleSpacing = 0.1f;
    int SectorSize = 360;
    int PreviousSectorSize = 360;
    int DataBits = 8;
    int SectorTrain = 0;
    int PolarTrain = 0;
    float ImageRotation = 0.0f;
    int AutoProfileActive = 0;
    float StepAngle = 0.9f;
    int AutoProfileMargin = 3;
    int LastDataSource = DataSource::Head;  // the data source the window was last laid out for
    // Two values that every data record carries as they are (record bytes 41 and the
    // low bits of 43).
    int RecordByte41 = 0;
    int RecordFormatBits = 1;

    // ---- operator flags and one-shot requests ----------------------------------------
    int HoldActive = 0;
    int HoldRequest = 0;
    int ReverseRequest = 0;
    int CalibrateRequest = 0;
    int RequestedProfile = 0;
    int HeadScanMode = 0;
    int AutoProfileRequest = 0;
    int AutoProfilePositioning = 0;  // the head is being moved to a scan's start
    int SuppressCommandBuild = 0;    // the next send reuses the positioning block as it is

    // Head programming (sent only through the programming block).
    int HeadIdChangeRequest = 0;
    int NewHeadID = 16;
    int HeadProgramRequest = 0;
    int ProgramSerialNumber = 0;
    int ProgramDepthRating = 0;
    int ScanHeadID = 16;

    // ---- manual transmit settings and the configuration tables ------------------------
    int ManualFrequency = 675;
    int ManualAbsorption = 20;
    int ManualPulseLength = 100;
    UserConfigTables UserConfig;
    std::string EditConfigName = "Default";
    std::string ConfigPathBuffer = "Default";

    // ---- command block and the reply it asks for ---------------------------------------
    std::array<uint8_t, CommandTemplateBytes> CommandTemplate{};
    int ReplyType = 'G';
    int ExpectedReturnLength = 513;
    int DataSizeCode = 3;
    int PlotSampleCount = 499;

    // ---- last reply ---------------------------------------------------------------------
    std::array<uint8_t, MaxReplyBytes> ReceiveBuffer{};
    int PingValid = 0;
    std::array<uint8_t, 12> LastHeader{};
    int LastTermByte = 0;
    std::array<uint8_t, 64> HeadNvRam{};  // data bytes of the last valid 'T' (head information) reply
    int ReturnHeadID = 0;
    int SerialStatus = 0;
    int HeadPosition = 600;
    int LastHeadPosition = 600;
    int StepDirection = 0;
    int DrawDirection = 0;
    float HeadAngleRad = 0.0f;
    float HeadAngleDeg = 0.0f;
    int ReturnRange = 0;
    int ProfileRange = 0;
    int DataByteCount = 0;
    int PulseBlankSamples = 0;
    int ProfileSample = 0;
    std::array<uint8_t, SampleLineSize> SampleLine{};
    int DisplaySpeed = 2;

    // Interval between replies, averaged over ten for the "Rep Rate" read-out.
    int64_t RepRateLastTick = -1;  // -1: no reply seen yet
    int64_t RepRateSum = 0;
    int RepRateCount = 0;
    std::string RepRateText = "0 ms";

    // ---- time stamp of the current ping ---------------------------------------------------
    std::string DateText = "01-JAN-2000";
    std::string TimeText = "00:00:00";
    int Hundredths = 0;
    std::string DateTimeText = "01-JAN-2000  00:00:00";
    std::string TimestampText = "01-JAN-2000  00:00:00.00";
    int ClockSecond = -1;
    int TextSecond = -1;  // second at which the texts were last rebuilt

    // ---- link ---------------------------------------------------------------------------
    int LoopsPerSecond = 20000;
    int SendErrorCount = 0;
    int RecvErrorCount = 0;

    // ---- GPS position (written by the GPS side, stored with each recorded ping) ---------
    std::string GpsPositionText = std::string(24, '\0');  // 24 characters, zero bytes where nothing is known
    int GpsSilenceCount = 5;                              // seconds (or played records) without a position

    // ---- values of the record being played back ------------------------------------------
    int PlaybackReverse = 0;   // playing backwards through the back-links
    int PlaybackBackLink = 0;  // back-link of the record being played
    float FileSoundVelocity = 1500.0f;
    int FileFrequency = 675;
    std::string FileUserText;  // at most 31 characters
    int FileHasGps = 0;
    int PlayedSecond = 0;             // seconds of the played TimeText
    int AutoFrameCaptureOn = 0;       // a screen capture at every scan edge while playing
    int SsSide = SideScanSide::Port;  // side of the SS picture: 0 Port, 1 Both, 2 Stbd (SSTrain when SS was set up)

    // ---- display bookkeeping of the ping dispatch ------------------------------------------
    int RangeChangedPending = 0;  // the range changed: redraw instead of plotting the next ping
    int DisplayCheckPending = 0;  // compare sample width, profile mode and sector next ping
    int PingIndicatorOn = 0;
    int CheckedDataBits = 8;  // sample width and profile mode at the last display check
    int CheckedProfile = 0;
    int DrawnRange = 1000;  // range and display mode the picture was last drawn for
    int DrawnGridMode = 1000;
    int ShownPlayedSecond = 1000;  // played values last shown in the read-outs
    int ShownFileFrequency = -1;
    float ShownSoundVelocity = 0.0f;

    // ---- auto-profile scan --------------------------------------------------------------
    int AutoProfileScanDirection = 0;    // step direction of the scan being collected
    int AutoProfileLastPosition = 1200;  // head position at the previous ping while positioning
    int AutoProfileStartPosition = 0;    // head position of the sector start
    int BusyCursorOn = 0;                // the hourglass replaces every pointer (head moving to a scan start)

    HeadSettings HeadSettingsBackup;
};

// Sets Range and the values derived from it (RangeMeters, RangeScale, SampleSpacing).
// In head mode with the table-driven setup it then takes frequency, absorption and pulse
// length from the table row of the range. Returns true when Frequency changed, so the
// caller knows to redraw the frequency read-out.
bool SetRange(SonarState& state, int rangeIndex);

// Takes frequency, absorption and pulse length from the active table row of the current
// range; the pulse length is doubled in Polar mode, at most 1000 microseconds.
void ApplyUserConfig(SonarState& state);

// The speed-derived values (StepAngle, AutoProfileMargin) for the current Speed.
void ApplySpeed(SonarState& state);

// Saves the live head settings before a file's settings replace them, and puts them
// back afterwards (RequestedProfile then follows Profile).
void EnterPlayback(SonarState& state);
void LeavePlayback(SonarState& state);

}  // namespace tidemar
