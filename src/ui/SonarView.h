#pragma once
// The main window's client area: 800 x 600 fixed pixels painted in palette colours, with
// the sonar image shown through an Indexed8 QImage at (3,3), its frame, the colour bar, and
// the two status marks under the image (the blinking "No Connection" box and the ping
// mark). The control panel right of the image is painted on top of this by the panel code.
//
// Image changes arrive many times a second; they are collected and shown at most once per
// display frame.

#include <QImage>
#include <QTimer>
#include <QWidget>

#include "image/ImageColorTable.h"
#include "image/SonarImage.h"

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

class SonarView : public QWidget {
    Q_OBJECT
public:
    SonarView(const SonarImage& image, const ImageColorTable& colors, QWidget* parent = nullptr);

    // The colour table changed: the image, the frame and the bar are painted anew.
    void ColorsChanged();
    // The image changed: repainted with the next display frame.
    void ScheduleImageRepaint();
    int ImageRepaintsScheduled() const { return repaintsScheduled_; }

    // The "No Connection" box under the image, shown or erased.
    void SetNoConnectionShown(bool shown);
    bool NoConnectionShown() const { return noConnection_; }
    // The "*" left of the status box.
    void SetPingMark(bool on);
    bool PingMarkShown() const { return pingMark_; }

    QColor PaletteColor(int index) const;
    QRect NoConnectionRect() const;
    QRect PingMarkRect() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void ShowImage();

    const SonarImage& image_;
    const ImageColorTable& colors_;
    QImage shown_;
    QTimer frameTimer_;
    bool noConnection_ = false;
    bool pingMark_ = false;
    int repaintsScheduled_ = 0;
};

}  // namespace tidemar
