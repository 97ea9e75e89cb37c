#pragma once
// A paint device that keeps the strings drawn on it and nothing else, so that a test can
// tell which characters a widget or painter put on the screen.

#include <QPaintDevice>
#include <QPaintEngine>
#include <QStringList>

namespace tidemar::uitest {

class DrawnTexts : public QPaintDevice {
public:
    DrawnTexts() : engine_(this) {}
    ~DrawnTexts() override = default;

    QStringList Texts;

    QPaintEngine* paintEngine() const override { return &engine_; }

protected:
    int metric(PaintDeviceMetric metric) const override {
        switch (metric) {
        case PdmWidth: return 800;
        case PdmHeight: return 600;
        case PdmDpiX:
        case PdmDpiY:
        case PdmPhysicalDpiX:
        case PdmPhysicalDpiY: return 96;
        case PdmDepth: return 32;
        case PdmNumColors: return 0x7FFFFFFF;
        case PdmDevicePixelRatio: return 1;
        case PdmDevicePixelRatioScaled: return static_cast<int>(devicePixelRatioFScale());
        default: return 0;
        }
    }

private:
    // Claims every feature, so that the painter hands text over as text, never as outlines.
    class Engine : public QPaintEngine {
    public:
        explicit Engine(DrawnTexts* owner) : QPaintEngine(AllFeatures), owner_(owner) {}
        bool begin(QPaintDevice*) override { return true; }
        bool end() override { return true; }
        void updateState(const QPaintEngineState&) override {}
        void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {}
        void drawPath(const QPainterPath&) override {}
        void drawPolygon(const QPointF*, int, PolygonDrawMode) override {}
        void drawTextItem(const QPointF&, const QTextItem& item) override { owner_->Texts << item.text(); }
        Type type() const override { return User; }

    private:
        DrawnTexts* owner_;
    };
    mutable Engine engine_;
};

}  // namespace tidemar::uitest
