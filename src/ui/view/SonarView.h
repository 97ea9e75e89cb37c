#pragma once
// The main window's client area: 800 x 600 fixed pixels painted in palette colours, with
// the sonar image shown through an Indexed8 QImage at (3,3), its frame, the colour bar, and
// the two status marks under the image (the blinking "No Connection" box and the ping
// mark). The control panel right of the image is painted on top of this by the panel code,
// then the overlays: the head-position indicator, the transducer pictogram, the pixel zoom,
// the measurement read-out and, over the picture, the measurement line.
//
// The pointer over the picture drives the zoom and the measurement tool; the arrow keys
// move it with acceleration.
//
// Image changes arrive many times a second; they are shown at most once per display frame,
// the first change after a quiet frame at once.
//
// The whole area may be shown larger (150%, 200%): painting is scaled, the picture by
// whole pixels, the texts and lines drawn at the larger size, and pointer positions are
// divided back, so every coordinate here stays in the 800 x 600 logical space. At night
// everything is shown in the dark reds of NightColorTable; captures are drawn at 100% in
// the day colours whatever is shown.

#include <algorithm>
#include <array>
#include <functional>
#include <initializer_list>
#include <utility>

#include <QCursor>
#include <QElapsedTimer>
#include <QFont>
#include <QImage>
#include <QRegion>
#include <QTimer>
#include <QWidget>

#include "gps/GpsPositionBox.h"
#include "image/ImageColorTable.h"
#include "image/ImageBuffer.h"
#include "image/SonarImage.h"
#include "core/SonarState.h"
#include "ui_core/ImagePointer.h"
#include "ui_core/MeasureTool.h"
#include "ui_core/PanelActions.h"
#include "ui_core/PanelLayout.h"

namespace tidemar {

inline constexpr int ClientWidth = 800;
inline constexpr int ClientHeight = 600;
inline constexpr int BackgroundIndex = 121;
inline constexpr int FrameIndex = 123;
inline constexpr int FrameLeft = 2;
inline constexpr int FrameTop = 2;
inline constexpr int FrameWidth = 598;
inline constexpr int FrameHeight = 508;
inline constexpr int ImageRepaintMilliseconds = 16;        // one display frame
inline constexpr int ButtonRepeatDelayMilliseconds = 500;  // first repeat of a held arrow
inline constexpr int ButtonRepeatMilliseconds = 50;        // then this often
// The property of a child widget that holds its place in window pixels (SonarView::PlaceChild).
inline constexpr const char* LogicalGeometryProperty = "tidemarLogicalGeometry";

// What the panel needs of the window: the window applies the rest of an update (menus, the
// picture), switches the data source, follows the hold and shows messages.
struct PanelHost {
    std::function<void(const PanelUpdate&)> Apply;
    std::function<void(int runMode)> SelectDataSource;
    std::function<void()> HoldChanged;
    std::function<void(const PanelMessage&)> Message;
    std::function<bool()> ReverseAvailable;
};

class SonarView : public QWidget {
    Q_OBJECT
public:
    SonarView(const SonarImage& image, const ImageColorTable& colors, QWidget* parent = nullptr);

    // The colour table changed: the image, the frame and the bar are painted anew.
    void ColorsChanged();
    // The image changed: repainted with the next display frame.
    void ScheduleImageRepaint();
    // The panel's read-outs changed without a click (the clock, the values of a played
    // record); repainted with the next display frame, like the image.
    void SchedulePanelRepaint();
    int ImageRepaintsScheduled() const { return repaintsScheduled_; }

    // The "No Connection" box under the image, shown or erased.
    void SetNoConnectionShown(bool shown);
    bool NoConnectionShown() const { return noConnection_; }
    // What the status box says when neither the link nor an auto-profile scan needs it
    // ("No Reply", "End of File"); null erases it.
    void SetStatusNotice(const char* text);
    // The text the status box shows now; empty when it is erased.
    QString StatusText() const;
    // The mark of a file being written, right of the Plot Speed box: "REC", the file name
    // and its size; empty erases it.
    void SetRecordMark(const QString& text);
    const QString& RecordMark() const { return recordMark_; }
    QRect RecordMarkRect() const;
    // In FILE mode, right of the Plot Speed arrows: its value and the played rate
    // ("70  412/s"), the rate as last set (once a second); an empty rate erases it all.
    void SetPlaybackRate(const QString& rate);
    QString PlaybackRateText() const;
    QRect PlaybackRateRect() const;
    // The GPS position box under the panel, as DrawGpsPosition decided it.
    void SetGpsBox(const GpsBox& box);
    const GpsBox& ShownGpsBox() const { return gpsBox_; }
    QRect GpsBoxArea() const;
    // The "*" left of the status box.
    void SetPingMark(bool on);
    bool PingMarkShown() const { return pingMark_; }

    // The panel works on `state` from now on; without it only the image side is painted.
    void AttachPanel(SonarState& state, PanelHost host);
    const PanelLayout& Layout() const { return layout_; }
    const KeyEntry& Entry() const { return entry_; }
    PanelElement PressedButton() const { return pressed_; }
    // One typed character, as a key press delivers it.
    void TypeKey(char key);

    // The colour shown for a palette index (WhiteTextIndex: the white of texts).
    QColor PaletteColor(int index) const;
    QColor TextColor() const;
    QColor MarkColor() const;  // the red of the REC mark

    // ---- zoom and night colours --------------------------------------------------------
    // The client area `percent` / 100 times as large: 100, 150 or 200.
    void SetZoom(int percent);
    int ZoomPercent() const { return zoomPercent_; }
    double Scale() const { return dayPaint_ ? 1.0 : scale_; }
    void SetNightColors(bool night);
    bool NightColors() const { return night_; }
    // A child widget at `logical` window pixels, moved and sized with the zoom.
    void PlaceChild(QWidget* child, const QRect& logical);
    // Schedules the repaint of `logical` window pixels.
    void Repaint(const QRect& logical);
    void Repaint(const QRegion& logical);
    // Window pixels to the view's own and back, as the zoom scales them.
    QRect ToDevice(const QRect& logical) const;
    QPoint ToLogical(const QPointF& device) const;
    // The client area as it is at 100% in the day colours, its visible children included,
    // drawn with its top-left corner at `at`: what captures and prints read.
    void RenderDay(QPainter& painter, const QPoint& at);
    // The status box as it stands: "No Connection", or the auto-profile's positioning text.
    QRect NoConnectionRect() const;
    bool StatusShown() const;
    // The auto-profile state changed what the status box says.
    void StatusChanged();
    QRect PingMarkRect() const;

    // ---- the pointer over the picture ---------------------------------------------------
    // A menu of the menu bar is about to show: pings leave the zoom alone until the pointer
    // moves again.
    void SetMenuOpen();
    // PixelZoom was just toggled: the view is live again, the frame drawn or erased.
    void PixelZoomChanged();
    // The data source changed: the measurement origin is released, the pointer shown again
    // and the measurement line armed.
    void DataSourceChanged();
    // SS was entered: the measurement origin is released.
    void ReleaseMeasureLock();
    // BusyCursorOn changed: the pointer takes its shape at once.
    void RefreshCursor();

    // The mouse moved to a window point (also where an arrow key put the pointer).
    void PointerMovedTo(int x, int y);
    // An arrow key: the pointer moves by CursorStep (the caller then counts the key press).
    void ArrowKeyPressed(ArrowKey key);

    // ---- per ping -----------------------------------------------------------------------
    void UpdatePixelZoom();        // the zoom follows the picture unless frozen or a menu opened
    void RedrawMeasureLine();      // the line stays over the fresh picture
    void RefreshMeasureReadout();  // the read-out at the last pointer, with the state as it is now
    void HeadPositionChanged();    // dial markers
    void XdcrChanged();            // transducer pictogram
    // Read-outs refreshed from a played record: side effects go through the host, the
    // changed elements are repainted.
    void ApplyReadoutUpdate(const PanelUpdate& update);

    const ImagePointer& Pointer() const { return pointer_; }
    Point TrackedPointer() const { return tracked_; }
    MeasureReadout ShownMeasure() const;
    // The window pixels shown twice as large in the zoom area (78 x 78); null before the first zoom.
    const QImage& ZoomView() const { return zoom_; }
    QRect ZoomArea() const;
    Qt::CursorShape ShownCursor() const { return cursorShape_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;

private:
    void RefreshShownColors();
    void RenderZoom();
    QRegion ToLogical(const QRegion& device) const;
    void ApplyPointerActions(const PointerActions& actions);
    void MeasureTool(Point at);
    void ZoomPixels(Point centre);
    // The picture with what is drawn over it, as the window shows it.
    // The strip under the panel right of Plot Speed, from `left` to `right`; a line of the
    // small font painted there in coloured pieces, one after the other.
    QRect StripRect(int left, int right) const;
    void PaintStrip(QPainter& painter, const QRect& box,
                    std::initializer_list<std::pair<QColor, QString>> pieces) const;
    void PaintImageLayer(QPainter& painter);
    void PaintOverlays(QPainter& painter, const QRect& dirty);
    void RefreshMeasureLineArea();
    void UpdateCursorShape();
    bool MeasureLineShown() const;
    void ShowImage();
    void StartFrameTimer();
    // The picture's window pixels that changed since this was last asked; empty if none.
    QRect ChangedPicture();
    // The picture pixels a paint of `device` screen pixels showed whole are shown now.
    void KeepShown(const QRegion& device);
    // Overlays that change with every ping are repainted with the next display frame too.
    void ScheduleOverlayRepaint(const QRect& area);
    void PanelClick(int x, int y);
    void RepeatButton();
    void ReleaseButton();
    void Apply(const PanelUpdate& update);
    bool ReverseAvailable() const;
    bool Adjusting() const;
    // The picture's pixels inside `area` (window pixels) into rgb_.
    void ConvertPicture(const QRect& area);
    QRect StatusRect(const char* text) const;
    const char* ShownStatus() const;

    const SonarImage& image_;
    const ImageColorTable& colors_;
    QImage shown_;
    // The picture as shown, in screen pixels: converted from the buffer through `lut_` for
    // the part a repaint needs, in place, without the allocation a paint of an indexed
    // image would cost every frame.
    QImage rgb_;
    int pixelFactor_ = 1;  // rgb_ holds each picture pixel as a square of this many; 0: of deviceEdges_
    // Where each picture column (and row) starts in rgb_ at a zoom that is no whole factor;
    // the last entry is its end.
    std::array<int, std::max(ImageWidth, ImageHeight) + 1> deviceEdges_{};
    // The picture as last painted or scheduled to be: what a new frame must show is what differs.
    std::array<uint8_t, ImageWidth * ImageHeight> shownPixels_{};
    bool shownPixelsValid_ = false;
    std::array<QRgb, 256> lut_{};
    QTimer frameTimer_;
    QElapsedTimer lastFrame_;  // since the last frame was shown
    bool panelDirty_ = false;
    QRegion overlaysDirty_;
    bool noConnection_ = false;
    const char* notice_ = nullptr;
    QString recordMark_;
    QString playbackRate_;
    bool pingMark_ = false;
    GpsBox gpsBox_;
    int repaintsScheduled_ = 0;

    QFont smallFont_;
    PanelLayout layout_;
    SonarState* state_ = nullptr;
    PanelHost host_;
    KeyEntry entry_;
    PanelElement pressed_ = PanelElement::None;
    QTimer repeatTimer_;

    ImagePointer pointer_;
    Point tracked_;              // where the pointer is, as far as the window knows
    MeasureInput measureInput_;  // what the read-out was last computed for
    QRect lineArea_;             // window pixels the shown measurement line covers
    QImage zoom_;
    // What the zoom shows, kept as palette indexes and the line over them, so that it can
    // be shown in either colours.
    ZoomSquare zoomSquare_;
    QImage zoomIndexes_;
    bool zoomLine_ = false;
    Point zoomLineFrom_, zoomLineTo_;
    int zoomLineColors_ = 0;
    QCursor imageCursor_;

    int zoomPercent_ = 100;
    double scale_ = 1.0;
    bool night_ = false;
    bool dayPaint_ = false;  // painting for a capture: 100%, day colours
    ImageColorTable nightColors_{};
    Qt::CursorShape cursorShape_ = Qt::ArrowCursor;
};

}  // namespace tidemar
