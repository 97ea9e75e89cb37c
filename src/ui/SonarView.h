#pragma once
// The main window's client area: 800 x 600 fixed pixels painted in palette colours, with
// the sonar image shown through an Indexed8 QImage at (3,3), its frame, the colour bar, and
// the two status marks under the image (the blinking "No Connection" box and the ping
// mark). The control panel right of the image is painted on top of this by the panel code.
//
// Image changes arrive many times a second; they are collected and shown at most once per
// display frame.

#include <functional>

#include <QFont>
#include <QImage>
#include <QTimer>
#include <QWidget>

#include "gps/GpsPositionBox.h"
#include "image/ImageColorTable.h"
#include "image/SonarImage.h"
#include "link/SonarState.h"
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
inline constexpr int ImageRepaintMilliseconds = 16;  // one display frame
inline constexpr int ButtonRepeatDelayMilliseconds = 500;   // first repeat of a held arrow
inline constexpr int ButtonRepeatMilliseconds = 50;         // then this often

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

    QColor PaletteColor(int index) const;
    QRect NoConnectionRect() const;
    QRect PingMarkRect() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void ShowImage();
    void PanelClick(int x, int y);
    void RepeatButton();
    void ReleaseButton();
    void Apply(const PanelUpdate& update);
    bool ReverseAvailable() const;

    const SonarImage& image_;
    const ImageColorTable& colors_;
    QImage shown_;
    QTimer frameTimer_;
    bool panelDirty_ = false;
    bool noConnection_ = false;
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
};

}  // namespace tidemar
