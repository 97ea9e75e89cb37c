#pragma once
// The playback position slider right of the image, shown only while the data source is
// FILE: 0..100 percent of the file, ticks every 10. Playback moves it as it reads; the
// operator drags it to seek. Only the operator's moves are reported, so playback setting
// the position never seeks.

#include <functional>

#include <QSlider>

namespace tidemar {

inline constexpr int PlaybackSliderLeft = 620;
inline constexpr int PlaybackSliderTop = 43;
inline constexpr int PlaybackSliderWidth = 154;
inline constexpr int PlaybackSliderHeight = 20;

class PlaybackSlider : public QSlider {
    Q_OBJECT
public:
    // `seek` gets the position the operator moved the slider to.
    PlaybackSlider(QWidget* parent, std::function<void(int percent)> seek);

    // Playback's own progress: moves the thumb without seeking.
    void ShowPercent(int percent);

private:
    std::function<void(int)> seek_;
    bool showing_ = false;
};

}  // namespace tidemar
