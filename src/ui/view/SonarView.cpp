#include "ui/view/SonarView.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPaintEvent>

#include "core/LatencyProbe.h"
#include "core/Modes.h"
#include "image/ColorBar.h"
#include "image/NightColors.h"
#include "ui/view/ControlPanelPainter.h"
#include "ui/view/GpsBoxPainter.h"
#include "ui/view/ImageCursor.h"
#include "ui/view/Logo.h"
#include "ui/view/OverlayPainter.h"
#include "ui/view/PanelRect.h"

#if defined(__SANITIZE_THREAD__)
extern "C" void AnnotateIgnoreWritesBegin(const char* file, int line);
extern "C" void AnnotateIgnoreWritesEnd(const char* file, int line);
#endif

namespace tidemar {

namespace {

#if defined(__SANITIZE_THREAD__)
void IgnoreWritesBegin() { AnnotateIgnoreWritesBegin(__FILE__, __LINE__); }
void IgnoreWritesEnd() { AnnotateIgnoreWritesEnd(__FILE__, __LINE__); }
#else
void IgnoreWritesBegin() {}
void IgnoreWritesEnd() {}
#endif

const char* const NoConnectionText = "No Connection";
const char* const AdjustingText = "Wait - Adjusting Transducer";
const QRect ImageRect(ImageOffset, ImageOffset, ImageWidth, ImageHeight);
}  // namespace

SonarView::SonarView(const SonarImage& image, const ImageColorTable& colors, QWidget* parent)
    : QWidget(parent),
      image_(image),
      colors_(colors),
      shown_(image.Pixels.data(), ImageWidth, ImageHeight, ImageWidth, QImage::Format_Indexed8),
      rgb_(ImageWidth, ImageHeight, QImage::Format_RGB32) {
    setFixedSize(ClientWidth, ClientHeight);
    setAttribute(Qt::WA_OpaquePaintEvent);
    frameTimer_.setSingleShot(true);
    frameTimer_.setInterval(ImageRepaintMilliseconds);
    connect(&frameTimer_, &QTimer::timeout, this, &SonarView::ShowImage);

    // The layout follows the character cells of the default font and of a smaller one for
    // the strip texts, measured once.
    smallFont_ = font();
    if (smallFont_.pointSizeF() > 0)
        smallFont_.setPointSizeF(smallFont_.pointSizeF() * 0.85);
    else
        smallFont_.setPixelSize(std::max(8, smallFont_.pixelSize() * 85 / 100));
    const QFontMetrics metrics(font());
    const QFontMetrics small(smallFont_);
    PanelMetrics cells;
    cells.CharWidth = metrics.horizontalAdvance(QLatin1Char('X'));
    cells.CharHeight = metrics.height();
    cells.SmallCharWidth = small.horizontalAdvance(QLatin1Char('X'));
    cells.SmallCharHeight = small.height();
    layout_ = ComputePanelLayout(cells);

    repeatTimer_.setSingleShot(true);
    connect(&repeatTimer_, &QTimer::timeout, this, &SonarView::RepeatButton);
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    imageCursor_ = MakeImageCursor();
    ColorsChanged();
}

void SonarView::AttachPanel(SonarState& state, PanelHost host) {
    state_ = &state;
    host_ = std::move(host);
    update();
}

QColor SonarView::PaletteColor(int index) const {
    if (index == WhiteTextIndex) return TextColor();
    const bool night = night_ && !dayPaint_;
    const RgbQuad& entry = (night ? nightColors_ : colors_)[static_cast<size_t>(index & 0xFF)];
    return QColor(entry.Red, entry.Green, entry.Blue);
}

QColor SonarView::TextColor() const {
    if (!night_ || dayPaint_) return Qt::white;
    return QColor(NightTextColor.Red, NightTextColor.Green, NightTextColor.Blue);
}

QColor SonarView::MarkColor() const {
    if (!night_ || dayPaint_) return Qt::red;
    return QColor(NightMarkColor.Red, NightMarkColor.Green, NightMarkColor.Blue);
}

void SonarView::ColorsChanged() {
    nightColors_ = NightColorTable(colors_);
    RefreshShownColors();
    update();
}

void SonarView::RefreshShownColors() {
    QList<QRgb> table(256);
    for (int i = 0; i < 256; ++i) table[i] = lut_[static_cast<size_t>(i)] = PaletteColor(i).rgb();
    shown_.setColorTable(table);
    RenderZoom();
}

void SonarView::SetNightColors(bool night) {
    if (night == night_) return;
    night_ = night;
    ColorsChanged();
}

void SonarView::SetZoom(int percent) {
    zoomPercent_ = percent;
    scale_ = percent / 100.0;
    setFixedSize(qRound(ClientWidth * scale_), qRound(ClientHeight * scale_));
    // At 200% the picture is converted at twice its size, each pixel into a square of four,
    // and painted without scaling: scaling on every paint costs several times as much.
    // At 150% the picture starts half-way into a screen pixel, where the painter's own
    // scaling would sample each screen pixel from a neighbour of the logical pixel it
    // belongs to: the picture is converted at the screen's size too, through the same
    // pixel mapping as every other repaint, and painted without scaling.
    const int factor = percent == 200 ? 2 : percent == 100 ? 1 : 0;
    if (factor != pixelFactor_ || factor == 0) {
        pixelFactor_ = factor;
        const QRect device = ToDevice(ImageRect);
        rgb_ = factor ? QImage(ImageWidth * factor, ImageHeight * factor, QImage::Format_RGB32)
                      : QImage(device.size(), QImage::Format_RGB32);
        rgb_.setDevicePixelRatio(std::max(factor, 1));
        for (size_t i = 0; i < deviceEdges_.size(); ++i)
            deviceEdges_[i] = ToDevice(QRect(ImageOffset + static_cast<int>(i), 0, 1, 1)).left() - device.left();
    }
    for (QWidget* child : findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        const QVariant logical = child->property(LogicalGeometryProperty);
        if (logical.isValid()) child->setGeometry(ToDevice(logical.toRect()));
    }
    update();
}

void SonarView::PlaceChild(QWidget* child, const QRect& logical) {
    child->setProperty(LogicalGeometryProperty, logical);
    child->setGeometry(ToDevice(logical));
}

// A screen pixel belongs to the logical pixel its centre lies in, as the raster engine
// fills scaled rectangles: both ways give the same pixels, so a logical repaint never
// reaches into its neighbours.
QRect SonarView::ToDevice(const QRect& logical) const {
    if (scale_ == 1.0) return logical;
    const auto from = [this](int edge) { return static_cast<int>(std::ceil(edge * scale_ - 0.5)); };
    return QRect(QPoint(from(logical.left()), from(logical.top())),
                 QPoint(from(logical.right() + 1) - 1, from(logical.bottom() + 1) - 1));
}

QPoint SonarView::ToLogical(const QPointF& device) const {
    // The screen pixel under the pointer, then the logical pixel its centre lies in: the one
    // painted there (at 150% the left edge of a screen pixel may lie in the pixel before).
    const auto to = [this](double at) { return static_cast<int>(std::floor((std::floor(at) + 0.5) / scale_)); };
    return QPoint(to(device.x()), to(device.y()));
}

QRegion SonarView::ToLogical(const QRegion& device) const {
    // A day paint for a capture is drawn at 100%: its region is logical already.
    if (Scale() == 1.0) return device;
    QRegion logical;
    // The logical pixels of these screen pixels, no more: a wider area would have the
    // repaint of the dial under the panel's buttons paint the buttons too, every ping.
    for (const QRect& r : device)
        logical += QRect(ToLogical(QPointF(r.topLeft())), ToLogical(QPointF(r.bottomRight())));
    return logical;
}

void SonarView::Repaint(const QRect& logical) { QWidget::update(ToDevice(logical)); }

void SonarView::Repaint(const QRegion& logical) {
    for (const QRect& r : logical) Repaint(r);
}

void SonarView::RenderDay(QPainter& painter, const QPoint& at) {
    dayPaint_ = true;
    RefreshShownColors();
    render(&painter, at, QRegion(0, 0, ClientWidth, ClientHeight), QWidget::DrawWindowBackground);
    for (QWidget* child : findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        const QVariant logical = child->property(LogicalGeometryProperty);
        if (!logical.isValid() || child->isHidden()) continue;
        // Drawn at its 100% size: moved there for the moment, nothing is shown meanwhile.
        const QRect placed = child->geometry();
        const QRect rect = logical.toRect();
        child->setGeometry(rect);
        // Over the view's own pixels, as on the screen: no background of its own.
        child->render(&painter, at + rect.topLeft(), QRegion(), QWidget::DrawChildren);
        child->setGeometry(placed);
    }
    dayPaint_ = false;
    RefreshShownColors();
    // The rows converted for the capture hold the day colours.
    if (night_) Repaint(ImageRect);
}

void SonarView::ConvertPicture(const QRect& area) {
    const int first = std::max(area.top() - ImageOffset, 0);
    const int last = std::min(area.bottom() - ImageOffset, ImageHeight - 1);
    const int left = std::max(area.left() - ImageOffset, 0);
    const int right = std::min(area.right() - ImageOffset, ImageWidth - 1);
    // Qt may read the shown picture on its own worker threads while painting, ordered by
    // locks ThreadSanitizer cannot see; its checking of every pixel written here against
    // those reads would only slow a sanitized run to a crawl.
    IgnoreWritesBegin();
    for (int y = first; y <= last; ++y) {
        const uint8_t* from = image_.Pixels.data() + static_cast<size_t>(y) * ImageWidth;
        if (pixelFactor_ == 1) {
            auto* to = reinterpret_cast<QRgb*>(rgb_.scanLine(y));
            for (int x = left; x <= right; ++x) to[x] = lut_[from[x]];
            continue;
        }
        if (pixelFactor_ == 0) {
            const int firstRow = deviceEdges_[static_cast<size_t>(y)];
            const int rows = deviceEdges_[static_cast<size_t>(y) + 1] - firstRow;
            auto* to = reinterpret_cast<QRgb*>(rgb_.scanLine(firstRow));
            const int start = deviceEdges_[static_cast<size_t>(left)];
            const int end = deviceEdges_[static_cast<size_t>(right) + 1];
            for (int x = left; x <= right; ++x)
                std::fill(to + deviceEdges_[static_cast<size_t>(x)], to + deviceEdges_[static_cast<size_t>(x) + 1],
                          lut_[from[x]]);
            for (int r = 1; r < rows; ++r)
                std::copy(to + start, to + end, reinterpret_cast<QRgb*>(rgb_.scanLine(firstRow + r)) + start);
            continue;
        }
        auto* to = reinterpret_cast<QRgb*>(rgb_.scanLine(2 * y));
        for (int x = left; x <= right; ++x) to[2 * x] = to[2 * x + 1] = lut_[from[x]];
        std::copy_n(to + 2 * left, 2 * (right - left + 1),
                    reinterpret_cast<QRgb*>(rgb_.scanLine(2 * y + 1)) + 2 * left);
    }
    IgnoreWritesEnd();
}

void SonarView::KeepShown(const QRegion& device) {
    // What a paint puts on the screen is what the next frame compares with, so that a pixel
    // painted between frames and then set back is painted again. Only the picture pixels
    // painted whole count: an expose may cover part of one at a zoom.
    if (!shownPixelsValid_) return;
    for (const QRect& r : device) {
        QRect inner = ToLogical(QRegion(r)).boundingRect();
        if (ToDevice(QRect(inner.topLeft(), QSize(1, 1))).left() < r.left()) inner.setLeft(inner.left() + 1);
        if (ToDevice(QRect(inner.topLeft(), QSize(1, 1))).top() < r.top()) inner.setTop(inner.top() + 1);
        if (ToDevice(QRect(inner.bottomRight(), QSize(1, 1))).right() > r.right()) inner.setRight(inner.right() - 1);
        if (ToDevice(QRect(inner.bottomRight(), QSize(1, 1))).bottom() > r.bottom())
            inner.setBottom(inner.bottom() - 1);
        inner = inner.intersected(ImageRect);
        for (int y = inner.top(); y <= inner.bottom() && !inner.isEmpty(); ++y) {
            const size_t at = static_cast<size_t>(y - ImageOffset) * ImageWidth + (inner.left() - ImageOffset);
            std::memcpy(shownPixels_.data() + at, image_.Pixels.data() + at, static_cast<size_t>(inner.width()));
        }
    }
}

void SonarView::ScheduleImageRepaint() {
    if (frameTimer_.isActive()) return;
    ++repaintsScheduled_;
    StartFrameTimer();
}

void SonarView::SchedulePanelRepaint() {
    panelDirty_ = true;
    ScheduleImageRepaint();
}

void SonarView::StartFrameTimer() {
    // A change after a quiet frame is shown at once; the changes that follow it within the
    // same frame wait for its end, and are shown together.
    const qint64 since = lastFrame_.isValid() ? lastFrame_.elapsed() : ImageRepaintMilliseconds;
    frameTimer_.start(static_cast<int>(std::max<qint64>(0, ImageRepaintMilliseconds - since)));
}

void SonarView::ShowImage() {
    lastFrame_.start();
    QRegion dirty = overlaysDirty_ + ChangedPicture();
    if (panelDirty_) {
        // Everything right of and under the picture; the picture itself only where it changed.
        panelDirty_ = false;
        dirty += QRect(QPoint(ImageRect.right() + 1, 0), QPoint(ClientWidth - 1, ClientHeight - 1));
        dirty += QRect(QPoint(0, ImageRect.bottom() + 1), QPoint(ClientWidth - 1, ClientHeight - 1));
    }
    Repaint(dirty);
    overlaysDirty_ = QRegion();
}

QRect SonarView::ChangedPicture() {
    // A ping changes a thin wedge of the picture: only the pixels that differ from those
    // shown last are painted again, which at a large zoom saves copying megabytes a frame.
    if (!shownPixelsValid_) {
        shownPixels_ = image_.Pixels;
        shownPixelsValid_ = true;
        return ImageRect;
    }
    int top = -1, bottom = -1, left = ImageWidth, right = -1;
    for (int y = 0; y < ImageHeight; ++y) {
        const size_t row = static_cast<size_t>(y) * ImageWidth;
        const uint8_t* now = image_.Pixels.data() + row;
        uint8_t* was = shownPixels_.data() + row;
        if (std::memcmp(now, was, ImageWidth) == 0) continue;
        int first = 0;
        while (now[first] == was[first]) ++first;
        int last = ImageWidth - 1;
        while (now[last] == was[last]) --last;
        std::memcpy(was + first, now + first, static_cast<size_t>(last - first + 1));
        left = std::min(left, first);
        right = std::max(right, last);
        if (top < 0) top = y;
        bottom = y;
    }
    if (top < 0) return QRect();
    return QRect(QPoint(left + ImageOffset, top + ImageOffset), QPoint(right + ImageOffset, bottom + ImageOffset));
}

void SonarView::ScheduleOverlayRepaint(const QRect& area) {
    overlaysDirty_ += area;
    if (!frameTimer_.isActive()) StartFrameTimer();
}

void SonarView::SetNoConnectionShown(bool shown) {
    if (shown == noConnection_) return;
    noConnection_ = shown;
    StatusChanged();
}

void SonarView::SetStatusNotice(const char* text) {
    if (text == notice_) return;
    if (notice_) Repaint(StatusRect(notice_).adjusted(-1, -1, 1, 1));
    notice_ = text;
    StatusChanged();
}

const char* SonarView::ShownStatus() const {
    const bool positioning = state_ && state_->AutoProfileActive && state_->AutoProfilePositioning;
    if (noConnection_ || positioning) return Adjusting() ? AdjustingText : NoConnectionText;
    return notice_;
}

QString SonarView::StatusText() const {
    const char* text = ShownStatus();
    return text ? QString::fromLatin1(text) : QString();
}

void SonarView::SetRecordMark(const QString& text) {
    if (text == recordMark_) return;
    recordMark_ = text;
    Repaint(RecordMarkRect());
}

QRect SonarView::StripRect(int left, int right) const {
    const QFontMetrics metrics(smallFont_);
    return QRect(QPoint(left, 533), QPoint(right, 536 + metrics.height() - 1));
}

QRect SonarView::RecordMarkRect() const { return StripRect(428, FrameWidth - 1); }

void SonarView::PaintStrip(QPainter& painter, const QRect& box,
                           std::initializer_list<std::pair<QColor, QString>> pieces) const {
    painter.fillRect(box, PaletteColor(BackgroundIndex));
    painter.setFont(smallFont_);
    const QFontMetrics metrics(smallFont_);
    int left = 0;
    for (const auto& [color, text] : pieces) {
        painter.setPen(color);
        painter.drawText(box.adjusted(left, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, text);
        left += metrics.horizontalAdvance(text);
    }
    painter.setFont(font());
}

void SonarView::SetPlaybackRate(const QString& rate) {
    if (rate == playbackRate_) return;
    playbackRate_ = rate;
    Repaint(PlaybackRateRect());
}

QString SonarView::PlaybackRateText() const {
    if (playbackRate_.isEmpty() || !state_) return QString();
    return QStringLiteral("%1  %2").arg(state_->PlotSpeed).arg(playbackRate_);
}

// From just right of the Plot Speed right arrow up to the record mark.
QRect SonarView::PlaybackRateRect() const { return StripRect(354, 425); }

bool SonarView::Adjusting() const { return state_ && state_->AutoProfileActive; }

bool SonarView::StatusShown() const { return ShownStatus() != nullptr; }

void SonarView::StatusChanged() {
    // Either text may have been shown before: both areas are repainted.
    Repaint(StatusRect(NoConnectionText).adjusted(-1, -1, 1, 1));
    Repaint(StatusRect(AdjustingText).adjusted(-1, -1, 1, 1));
    if (notice_) Repaint(StatusRect(notice_).adjusted(-1, -1, 1, 1));
}

void SonarView::SetPingMark(bool on) {
    if (on == pingMark_) return;
    pingMark_ = on;
    Repaint(PingMarkRect());
}

void SonarView::SetGpsBox(const GpsBox& box) {
    gpsBox_ = box;
    Repaint(GpsBoxArea());
}

QRect SonarView::GpsBoxArea() const { return GpsBoxRect(font()); }

QRect SonarView::NoConnectionRect() const {
    const char* shown = ShownStatus();
    return StatusRect(shown ? shown : (Adjusting() ? AdjustingText : NoConnectionText));
}

QRect SonarView::StatusRect(const char* text) const {
    const QFontMetrics metrics(font());
    const int w = metrics.horizontalAdvance(QString::fromLatin1(text));
    const int h = metrics.height();
    // From x 296 - w/2 to 307 + w/2, y 512 to 513 + character height + 2.
    return QRect(QPoint(296 - w / 2, 512), QPoint(307 + w / 2 - 1, 513 + h + 2 - 1));
}

QRect SonarView::PingMarkRect() const {
    const QFontMetrics metrics(font());
    const int cw = metrics.horizontalAdvance(QLatin1Char('X'));
    return QRect(QPoint(600 - 19 * cw, 511), QPoint(600 - 17 * cw - 1, 514 + metrics.height() - 1));
}

void SonarView::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    const double scale = Scale();
    if (scale != 1.0) painter.scale(scale, scale);
    // Whole pixels of the picture, however it is scaled.
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    const QRegion region = ToLogical(event->region());
    const QRect dirty = region.boundingRect();
    // The picture covers its whole area: only the rest is cleared first.
    const QRegion around = region - ImageRect;
    for (const QRect& r : around) painter.fillRect(r, PaletteColor(BackgroundIndex));
    painter.setPen(PaletteColor(FrameIndex));
    painter.drawRect(QRect(FrameLeft, FrameTop, FrameWidth - 1, FrameHeight - 1));

    const QRect picture = region.intersects(ImageRect) ? dirty.intersected(ImageRect) : QRect();
    if (!picture.isEmpty()) ConvertPicture(picture);
    if (!picture.isEmpty() && !dayPaint_) KeepShown(event->region());
    PaintImageLayer(painter);

    // Most repaints are the image alone, many times a second: the bar only when touched.
    const QRect barRect(ColorBarLeft, ColorBarTop, ColorBarRight - ColorBarLeft + 1, ColorBarRows);
    const auto bar = ColorBarIndices();
    for (int k = 0; k < ColorBarRows && dirty.intersects(barRect); ++k)
        painter.fillRect(QRect(ColorBarLeft, ColorBarTop + k, ColorBarRight - ColorBarLeft + 1, 1),
                         PaletteColor(bar[static_cast<size_t>(k)]));

    if (state_) {
        // The panel's buttons and read-outs lie above the head dial and in the strip under
        // the image; the repaints of every ping (the image, the dial, the zoom) touch
        // neither, and its text is the dearest thing painted here.
        // The ping mark blinks with every ping and the measurement and GPS boxes paint
        // themselves: those three do not count.
        QRegion panel = QRegion(ImageRect.right() + 1, 0, ClientWidth, layout_.DialFrame.Top);
        panel += QRegion(0, layout_.ImageFrame.Bottom, ClientWidth, ClientHeight);
        panel -= PingMarkRect();
        panel -= ToQRect(layout_.MeasureBox);
        panel -= GpsBoxArea();
        if (region.intersects(panel)) {
            ControlPanelPainter panel(painter, layout_, night_ && !dayPaint_ ? nightColors_ : colors_, font(),
                                      smallFont_, TextColor());
            PanelView view;
            view.Pressed = pressed_;
            view.Entry = &entry_;
            view.ReverseAvailable = ReverseAvailable();
            panel.Paint(*state_, view);
        }
        PaintOverlays(painter, dirty);
    }

    if (dirty.intersects(GpsBoxArea()))
        PaintGpsBox(painter, font(), gpsBox_, [this](int index) { return PaletteColor(index); });

    const QFontMetrics metrics(font());
    if (StatusShown()) {
        // While a scan is being set up the box says so, on its own colour, even when the
        // head cannot be reached.
        const char* shown = ShownStatus();
        const QString text = QString::fromLatin1(shown);
        const QRect box = NoConnectionRect();
        painter.fillRect(box, PaletteColor(shown == AdjustingText ? 124 : 127));
        painter.setPen(PaletteColor(123));
        painter.drawRect(box.adjusted(0, 0, -1, -1));
        painter.setPen(TextColor());
        const int w = metrics.horizontalAdvance(text);
        painter.drawText(301 - w / 2, 513 + metrics.ascent(), text);
    }
    if (!playbackRate_.isEmpty() && dirty.intersects(PlaybackRateRect()))
        PaintStrip(painter, PlaybackRateRect(), {{TextColor(), PlaybackRateText()}});
    if (!recordMark_.isEmpty() && dirty.intersects(RecordMarkRect()))
        PaintStrip(painter, RecordMarkRect(), {{MarkColor(), QStringLiteral("REC ")}, {TextColor(), recordMark_}});
    if (pingMark_) {
        painter.setPen(TextColor());
        painter.drawText(PingMarkRect(), Qt::AlignCenter, QStringLiteral("*"));
    }
    if (!picture.isEmpty() && !dayPaint_) MarkLatency(LatencyMark::ImageShown);
}

bool SonarView::ReverseAvailable() const { return host_.ReverseAvailable && host_.ReverseAvailable(); }

void SonarView::Apply(const PanelUpdate& update) {
    if (update.ClearMeasureLock) ReleaseMeasureLock();
    if (host_.Apply) host_.Apply(update);
    if (update.MeasureTool) RefreshMeasureReadout();
    if (update.Any()) this->update();
}

void SonarView::mousePressEvent(QMouseEvent* event) {
    const QPoint at = ToLogical(event->position());
    tracked_ = {at.x(), at.y()};
    const bool inImage = layout_.MouseImageArea.Contains(at.x(), at.y());
    if (event->button() == Qt::LeftButton) {
        if (inImage && state_) ApplyPointerActions(LeftClickInImage(pointer_, at.x(), at.y(), state_->PixelZoom == 1));
        PanelClick(at.x(), at.y());
    } else if (event->button() == Qt::RightButton && inImage && state_) {
        ApplyPointerActions(RightClickInImage(pointer_, at.x(), at.y()));
    }
    QWidget::mousePressEvent(event);
}

void SonarView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) ReleaseButton();
    QWidget::mouseReleaseEvent(event);
}

void SonarView::PanelClick(int x, int y) {
    if (!state_) return;
    const bool reverse = ReverseAvailable();
    const PanelHit hit = HitTest(layout_, x, y, *state_, reverse);
    if (!hit.Active) return;
    SonarState& state = *state_;
    switch (hit.Element) {
    case PanelElement::HeadButton:
        if (host_.SelectDataSource) host_.SelectDataSource(DataSource::Head);
        update();
        return;
    case PanelElement::FileButton:
        if (host_.SelectDataSource) host_.SelectDataSource(DataSource::File);
        update();
        return;
    case PanelElement::HoldBox:
        Apply(HoldToggle(state));
        if (host_.HoldChanged) host_.HoldChanged();
        return;
    case PanelElement::RevBox: Apply(ReversePulse(state)); return;
    case PanelElement::PlaybackReverseBox: Apply(PlaybackReverseToggle(state, reverse)); return;
    default: break;
    }
    if (!IsParameterArrow(hit.Element) && hit.Element != PanelElement::PlotSpeedLeft &&
        hit.Element != PanelElement::PlotSpeedRight)
        return;
    // The arrow is drawn pressed while held and steps once now; held arrows repeat after a
    // pause until released or at their limit.
    pressed_ = hit.Element;
    Apply(PressButton(state, hit.Element));
    update();
    if (ButtonRepeats(hit.Element) && !ButtonAtLimit(hit.Element, state))
        repeatTimer_.start(ButtonRepeatDelayMilliseconds);
}

void SonarView::RepeatButton() {
    if (!state_ || pressed_ == PanelElement::None) return;
    if (!ElementActive(pressed_, *state_, ReverseAvailable())) return;  // the hold or the source changed
    Apply(PressButton(*state_, pressed_));
    if (!ButtonAtLimit(pressed_, *state_)) repeatTimer_.start(ButtonRepeatMilliseconds);
}

void SonarView::ReleaseButton() {
    repeatTimer_.stop();
    if (pressed_ == PanelElement::None) return;
    pressed_ = PanelElement::None;
    update();
}

void SonarView::keyPressEvent(QKeyEvent* event) {
    // Every key press, an arrow or not, speeds up the next arrow step until a key is let go.
    struct StepCounter {
        ImagePointer& Pointer;
        ~StepCounter() { Pointer.CursorStep = NextCursorStep(Pointer.CursorStep); }
    } counter{pointer_};
    switch (event->key()) {
    case Qt::Key_Left: ArrowKeyPressed(ArrowKey::Left); return;
    case Qt::Key_Up: ArrowKeyPressed(ArrowKey::Up); return;
    case Qt::Key_Right: ArrowKeyPressed(ArrowKey::Right); return;
    case Qt::Key_Down: ArrowKeyPressed(ArrowKey::Down); return;
    default: break;
    }
    char key = 0;
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        key = 13;
    else if (event->key() == Qt::Key_Escape)
        key = 27;
    else if (event->key() == Qt::Key_Backspace)
        key = 8;
    else if (event->text().size() == 1 && event->text().at(0).unicode() < 128)
        key = static_cast<char>(event->text().at(0).unicode());
    if (key == 0 || !state_) {
        QWidget::keyPressEvent(event);
        return;
    }
    TypeKey(key);
}

void SonarView::keyReleaseEvent(QKeyEvent* event) {
    // A held key repeats as press and release pairs on some systems: only a real release counts.
    if (!event->isAutoRepeat()) pointer_.CursorStep = CursorStepStart;
    QWidget::keyReleaseEvent(event);
}

void SonarView::TypeKey(char key) {
    if (!state_) return;
    const int hold = state_->HoldActive;
    const KeyResult result = HandleTypedKey(entry_, *state_, key, ReverseAvailable());
    if (result.Message && host_.Message) host_.Message(*result.Message);
    Apply(result.Update);
    if (state_->HoldActive != hold && host_.HoldChanged) host_.HoldChanged();
}

}  // namespace tidemar
