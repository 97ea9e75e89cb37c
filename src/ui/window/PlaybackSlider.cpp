#include "ui/window/PlaybackSlider.h"

namespace tidemar {

PlaybackSlider::PlaybackSlider(QWidget* parent, std::function<void(int percent)> seek)
    : QSlider(Qt::Horizontal, parent), seek_(std::move(seek)) {
    setObjectName(QStringLiteral("PlaybackSlider"));
    setGeometry(PlaybackSliderLeft, PlaybackSliderTop, PlaybackSliderWidth, PlaybackSliderHeight);
    setRange(0, 100);
    setPageStep(10);
    setSingleStep(1);
    setTickPosition(QSlider::TicksBelow);
    setTickInterval(10);
    setValue(0);
    // Keys stay with the picture: range and gain entry, hold, arrow keys.
    setFocusPolicy(Qt::NoFocus);
    connect(this, &QSlider::valueChanged, this, [this](int value) {
        if (!showing_ && seek_) seek_(value);
    });
}

void PlaybackSlider::ShowPercent(int percent) {
    if (percent == value() || isSliderDown()) return;  // never fight the operator's drag
    showing_ = true;
    setValue(percent);
    showing_ = false;
}

}  // namespace tidemar
