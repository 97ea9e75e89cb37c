// What is drawn over and beside the picture: the head dial with its sector and markers,
// the transducer pictogram, the pixel zoom following, freezing and skipping pings while a
// menu is open, the measurement read-out and line under the pointer, the arrow keys
// moving the pointer with acceleration, the pointer shapes, and the logo. Live pings come
// from tidemar-headsim on 127.0.0.65; 127.0.0.64 has no head.
#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QTest>

#include "UiTestSupport.h"
#include "ui/view/ControlPanelPainter.h"
#include "ui/view/Logo.h"
#include "ui/view/OverlayPainter.h"
#include "ui_core/HeadIndicator.h"

using namespace tidemar;
using namespace tidemar::uitest;

namespace {

const QString NoHead = QStringLiteral("IPAddress_Sonar1=127.0.0.64\nRange=9\n");

QColor TableColor(const ImageColorTable& table, int index) {
    const RgbQuad& entry = table[static_cast<size_t>(index)];
    return QColor(entry.Red, entry.Green, entry.Blue);
}

std::unique_ptr<MainWindow> Started(const TestFolder& folder, ScriptedPrompts& prompts) {
    auto window = MakeWindow(folder, prompts);
    window->Start();
    return window;
}

// The pointer moves as the platform reports it: straight to the view.
void MoveTo(SonarView* view, int x, int y) {
    const QPointF local(x, y);
    QMouseEvent move(QEvent::MouseMove, local, view->mapToGlobal(local), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(view, &move);
}

QImage Shown(MainWindow& window) {
    window.View()->repaint();
    return window.View()->grab().toImage();
}

// A pixel of the dial at `radius` towards a head angle (clockwise from up).
QPoint DialPoint(const PanelLayout& layout, double degrees, int radius) {
    const double a = degrees * 3.141592654 / 180.0;
    return QPoint(layout.DialCentre.X + static_cast<int>(std::lround(radius * std::sin(a))),
                  layout.DialCentre.Y - static_cast<int>(std::lround(radius * std::cos(a))));
}

int CountColor(const QImage& image, const QRect& r, const QColor& color) {
    int n = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x) n += image.pixelColor(x, y) == color;
    return n;
}

// Mean row of the pixels of one colour in a rectangle.
double MeanRow(const QImage& image, const QRect& r, const QColor& color) {
    double sum = 0;
    int n = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            if (image.pixelColor(x, y) == color) {
                sum += y;
                ++n;
            }
    return n ? sum / n : -1.0;
}

SonarImage& Picture(MainWindow& window) { return const_cast<ImageState&>(window.Image()).Image; }

}  // namespace

class OverlayTest : public QObject {
    Q_OBJECT
private slots:
    void dialShowsThePieOfTheSectorOrTheWholeCircle() {
        TestFolder folder(NoHead);
        ScriptedPrompts prompts;
        auto window = Started(folder, prompts);
        const PanelLayout& layout = window->View()->Layout();
        const QColor sector = TableColor(window->Colors(), DialSectorIndex);
        const QColor face = TableColor(window->Colors(), DialFaceIndex);
        SonarState& s = window->State();
        s.GridMode = DisplayMode::Sector;
        s.SectorSize = 90;
        s.Train = 0;
        QImage shown = Shown(*window);
        QCOMPARE(shown.pixelColor(DialPoint(layout, 0, 20)), sector);
        QCOMPARE(shown.pixelColor(DialPoint(layout, 35, 25)), sector);
        QCOMPARE(shown.pixelColor(DialPoint(layout, -35, 25)), sector);
        QCOMPARE(shown.pixelColor(DialPoint(layout, 60, 25)), face);
        QCOMPARE(shown.pixelColor(DialPoint(layout, 180, 20)), face);
        // The pie turns with the train.
        s.Train = 90;
        shown = Shown(*window);
        QCOMPARE(shown.pixelColor(DialPoint(layout, 90, 20)), sector);
        QCOMPARE(shown.pixelColor(DialPoint(layout, 0, 20)), face);
        // With the apex at the top the dial is drawn upside down.
        s.Train = 0;
        s.ProfileGrid = 1;
        s.ZeroDown = 0;
        shown = Shown(*window);
        QCOMPARE(shown.pixelColor(DialPoint(layout, 180, 20)), sector);
        QCOMPARE(shown.pixelColor(DialPoint(layout, 0, 20)), face);
        s.ProfileGrid = 0;
        // 360: the whole dial.
        s.SectorSize = 360;
        shown = Shown(*window);
        for (double a : {0.0, 90.0, 135.0, 180.0, 270.0}) QCOMPARE(shown.pixelColor(DialPoint(layout, a, 25)), sector);
        // 0: only a line towards the train.
        s.SectorSize = 0;
        s.Train = 90;
        shown = Shown(*window);
        QCOMPARE(shown.pixelColor(DialPoint(layout, 90, 20)), sector);
        QCOMPARE(shown.pixelColor(DialPoint(layout, 100, 25)), face);
    }

    void headMarkerFollowsTheHead() {
        TestFolder folder(NoHead);
        ScriptedPrompts prompts;
        auto window = Started(folder, prompts);
        const PanelLayout& layout = window->View()->Layout();
        const QColor head = TableColor(window->Colors(), HeadMarkerIndex);
        const QColor rotation = TableColor(window->Colors(), RotationMarkerIndex);
        SonarState& s = window->State();
        s.HeadAngleDeg = 0.0f;
        s.ImageRotation = 0.0f;
        QImage shown = Shown(*window);
        const Point up = HeadMarkerPoint(layout, s);
        QCOMPARE(up, (Point{layout.DialCentre.X, layout.DialCentre.Y - 42}));
        QCOMPARE(shown.pixelColor(up.X, up.Y), head);

        s.HeadAngleDeg = 90.0f;
        s.ImageRotation = 180.0f;
        window->Target().DrawHeadPosition();
        QTest::qWait(30);
        shown = window->View()->grab().toImage();
        const Point right = HeadMarkerPoint(layout, s);
        QCOMPARE(right, (Point{layout.DialCentre.X + 42, layout.DialCentre.Y}));
        QCOMPARE(shown.pixelColor(right.X, right.Y), head);
        // The old place is the frame's fill again; the rotation marker shows at the bottom.
        QCOMPARE(shown.pixelColor(up.X, up.Y), TableColor(window->Colors(), ReadoutFillIndex));
        const Point turned = RotationMarkerPoint(layout, s);
        QCOMPARE(turned, (Point{layout.DialCentre.X, layout.DialCentre.Y + 42}));
        QCOMPARE(shown.pixelColor(turned.X, turned.Y), rotation);
    }

    void transducerPictogramFlipsWithXdcr() {
        TestFolder folder(NoHead);
        ScriptedPrompts prompts;
        auto window = Started(folder, prompts);
        const QRect area = XdcrArea(window->View()->Layout());
        const QColor face = TableColor(window->Colors(), XdcrFaceIndex);
        window->State().Xdcr = Transducer::Down;
        const QImage down = Shown(*window).copy(area);
        window->State().Xdcr = Transducer::Up;
        window->Target().RefreshChangedReadouts();  // a ping notices the change
        QTest::qWait(30);
        const QImage up = window->View()->grab().toImage().copy(area);
        QVERIFY(down != up);
        const QRect all(0, 0, area.width(), area.height());
        const QColor housing = TableColor(window->Colors(), ButtonFaceIndex);
        QVERIFY(MeanRow(down, all, face) > 0 && MeanRow(up, all, face) > 0);
        // The acoustic window faces down under the housing, or up above it.
        QVERIFY(MeanRow(down, all, face) > MeanRow(down, all, housing));
        QVERIFY(MeanRow(up, all, face) < MeanRow(up, all, housing));
        // Labels are drawn (white text) in both.
        QVERIFY(CountColor(down, all, Qt::white) > 10);
        QVERIFY(CountColor(up, all, Qt::white) > 10);
    }

    void zoomShowsTwiceThePixelsAroundThePointerAndFreezes() {
        TestFolder folder(NoHead + QStringLiteral("Grid=0\nPixelZoom=1\n"));
        ScriptedPrompts prompts;
        auto window = Started(folder, prompts);
        SonarView* view = window->View();
        SonarImage& picture = Picture(*window);
        picture.At(197, 197) = 100;  // window (200, 200)
        picture.At(198, 197) = 50;   // one to the right
        const QColor hundred = TableColor(window->Colors(), 100);
        const QColor fifty = TableColor(window->Colors(), 50);

        MoveTo(view, 200, 200);
        QCOMPARE(view->Pointer().ZoomCentre, (Point{200, 200}));
        QCOMPARE(view->ZoomView().size(), QSize(78, 78));
        QCOMPARE(view->ZoomView().pixelColor(39, 39), hundred);
        QCOMPARE(view->ZoomView().pixelColor(40, 39), fifty);
        QImage shown = Shown(*window);
        const QRect zoom = view->ZoomArea();
        QCOMPARE(zoom.size(), QSize(156, 156));
        // Each window pixel becomes a 2 x 2 block.
        for (int dx = 0; dx < 2; ++dx)
            for (int dy = 0; dy < 2; ++dy) {
                QCOMPARE(shown.pixelColor(zoom.left() + 78 + dx, zoom.top() + 78 + dy), hundred);
                QCOMPARE(shown.pixelColor(zoom.left() + 80 + dx, zoom.top() + 78 + dy), fifty);
            }
        QCOMPARE(shown.pixelColor(zoom.left() + 76, zoom.top() + 78), TableColor(window->Colors(), 0));
        // The frame around it: index 122.
        QCOMPARE(shown.pixelColor(zoom.left() - 1, zoom.top() - 1), TableColor(window->Colors(), ZoomFramePenIndex));

        // A ping follows the picture at the last centre.
        picture.At(197, 197) = 20;
        window->Target().UpdatePixelZoom();
        QCOMPARE(view->ZoomView().pixelColor(39, 39), TableColor(window->Colors(), 20));

        // A left click freezes the view: moves and pings leave it as it is.
        QTest::mouseClick(view, Qt::LeftButton, {}, QPoint(200, 200));
        QVERIFY(view->Pointer().ZoomFrozen);
        const QImage frozen = view->ZoomView();
        MoveTo(view, 400, 300);
        picture.At(197, 197) = 90;
        window->Target().UpdatePixelZoom();
        QCOMPARE(view->ZoomView(), frozen);
        QCOMPARE(view->Pointer().ZoomCentre, (Point{200, 200}));
        // The next click unfreezes it at the click point.
        QTest::mouseClick(view, Qt::LeftButton, {}, QPoint(400, 300));
        QVERIFY(!view->Pointer().ZoomFrozen);
        QCOMPARE(view->Pointer().ZoomCentre, (Point{400, 300}));

        // Near the edge the square stays inside the picture.
        MoveTo(view, 5, 507);
        QCOMPARE(view->Pointer().ZoomCentre, (Point{43, 469}));

        // An open menu keeps pings from refreshing the zoom until the pointer moves.
        MoveTo(view, 200, 200);
        view->SetMenuOpen();
        picture.At(197, 197) = 60;
        window->Target().UpdatePixelZoom();
        QCOMPARE(view->ZoomView().pixelColor(39, 39), TableColor(window->Colors(), 90));
        MoveTo(view, 200, 200);
        QCOMPARE(view->ZoomView().pixelColor(39, 39), TableColor(window->Colors(), 60));

        // Pixel Zoom off: frozen cleared, the area erased in the panel colour.
        QTest::mouseClick(view, Qt::LeftButton, {}, QPoint(200, 200));
        QVERIFY(view->Pointer().ZoomFrozen);
        window->State().PixelZoom = 0;
        view->PixelZoomChanged();
        QVERIFY(!view->Pointer().ZoomFrozen);
        shown = Shown(*window);
        QCOMPARE(CountColor(shown, zoom.adjusted(-1, -1, 1, 1), TableColor(window->Colors(), PanelBackgroundIndex)),
                 158 * 158);
        MoveTo(view, 300, 300);
        QVERIFY(view->ZoomView().isNull());
    }

    void measureReadoutFollowsThePointer() {
        TestFolder folder(NoHead + QStringLiteral("SoundVelocityMeters=1500\n"));
        ScriptedPrompts prompts;
        auto window = Started(folder, prompts);
        SonarView* view = window->View();
        SonarState& s = window->State();
        const PanelLayout& layout = view->Layout();
        const QRect box(layout.MeasureBox.Left, layout.MeasureBox.Top, layout.MeasureBox.Width(),
                        layout.MeasureBox.Height());
        const QColor black = TableColor(window->Colors(), BlackIndex);
        QCOMPARE(s.SampleSpacing, 0.1f);  // 50 m

        // Sector: 100 pixels above the apex.
        s.GridMode = DisplayMode::Sector;
        s.Train = 0;
        MoveTo(view, 300, 408);
        MeasureReadout r = view->ShownMeasure();
        QCOMPARE(QString::fromStdString(r.Lines[0]), QStringLiteral("Org: 000.00 M, 000.0 Deg"));
        QCOMPARE(QString::fromStdString(r.Lines[1]), QStringLiteral("Tar: 010.00 M, 000.0 Deg"));
        QCOMPARE(QString::fromStdString(r.Lines[2]), QStringLiteral("Diff: 010.00 M, 000.0 Deg"));
        QImage shown = Shown(*window);
        const int outline = 2 * (box.width() + box.height()) - 4;
        QVERIFY(CountColor(shown, box, black) > outline + 50);  // three lines of text

        // Polar doubles the distance.
        s.GridMode = DisplayMode::Polar;
        MoveTo(view, 300, 155);
        QCOMPARE(QString::fromStdString(view->ShownMeasure().Lines[1]), QStringLiteral("Tar: 020.00 M, 000.0 Deg"));
        // SS, port side: 200 samples from the range-zero column.
        s.GridMode = DisplayMode::SideScan;
        s.SsSide = SideScanSide::Port;
        MoveTo(view, 398, 100);
        r = view->ShownMeasure();
        QCOMPARE(QString::fromStdString(r.Lines[0]), QStringLiteral("Org: 020.00 M, Port Side"));
        QCOMPARE(QString::fromStdString(r.Lines[2]), QStringLiteral("Diff: 020.00 M                "));
        // Cartesian: the profile grid, origin row 507.
        s.GridMode = DisplayMode::Sector;
        s.ProfileGrid = 1;
        s.ZeroDown = 1;
        MoveTo(view, 400, 407);
        r = view->ShownMeasure();
        QVERIFY(r.Cartesian);
        QCOMPARE(QString::fromStdString(r.Values[1]), QStringLiteral(" 10.00 M,  10.00 M"));
        QCOMPARE(QString::fromStdString(r.Labels[2]), QStringLiteral("Diff:"));
        s.ProfileGrid = 0;

        // Feet follow at once, at the same point.
        s.Units = 1;
        MoveTo(view, 300, 408);
        QCOMPARE(QString::fromStdString(view->ShownMeasure().Lines[1]), QStringLiteral("Tar: 032.81 FT, 000.0 Deg"));
        s.Units = 0;

        // Outside the picture the box is drawn empty.
        MoveTo(view, 700, 100);
        QVERIFY(view->ShownMeasure().Empty);
        shown = Shown(*window);
        QCOMPARE(CountColor(shown, box, black), outline);
    }

    void measureLinesAreCentredWithTheirSpaces() {
        PanelMetrics cells;
        cells.CharWidth = 8;
        cells.CharHeight = 16;
        const PanelLayout layout = ComputePanelLayout(cells);
        QFont small;
        small.setPixelSize(11);
        const PaletteLookup color = [](int index) {
            return index == BlackIndex ? QColor(Qt::black) : QColor(Qt::gray);
        };
        // Leftmost black column inside the box's outline in a band of rows, or -1.
        auto inkLeft = [&layout](const QImage& image, int top, int bottom) {
            for (int x = layout.MeasureBox.Left + 1; x < layout.MeasureBox.Right - 1; ++x)
                for (int y = top; y < bottom; ++y)
                    if (image.pixelColor(x, y) == Qt::black) return x;
            return -1;
        };
        struct Row {
            int mode, side, units;
            const char* diff;
        };
        const Row rows[] = {
            {DisplayMode::SideScan, SideScanSide::Port, 0, "Diff: 020.00 M                "},         // 16 spaces
            {DisplayMode::SideScan, SideScanSide::Starboard, 1, "Diff: 098.43 FT                 "},  // 17 spaces
            {DisplayMode::Sector, SideScanSide::Port, 0, "Diff: 010.00 M, 000.0 Deg"},  // no spaces to keep
        };
        for (const Row& row : rows) {
            SonarState s;
            SetRange(s, 9);
            s.GridMode = row.mode;
            s.SsSide = row.side;
            s.Units = row.units;
            const MeasureReadout readout =
                ComputeMeasure(s, MeasureInput{row.mode == DisplayMode::Sector ? 300 : 398,
                                               row.mode == DisplayMode::Sector ? 408 : 300, true, false, 0, 0});
            QCOMPARE(QString::fromStdString(readout.Lines[2]), QString::fromLatin1(row.diff));

            QImage painted(800, 600, QImage::Format_RGB32);
            painted.fill(Qt::white);
            QPainter painter(&painted);
            PaintMeasureBox(painter, layout, readout, small, color);
            painter.end();
            // The same text, spaces and all, at the left edge that centres its whole width.
            const QFont font = MeasureReadoutFont(small, layout, readout);
            const QString text = QString::fromLatin1(row.diff);
            QImage alone(800, 600, QImage::Format_RGB32);
            alone.fill(Qt::white);
            QPainter reference(&alone);
            reference.setFont(font);
            reference.setPen(Qt::black);
            const int top = MeasureLineTop(layout, 2);
            const int left = MeasureLineLeft(layout, QFontMetrics(font).horizontalAdvance(text));
            reference.drawText(left, top + QFontMetrics(font).ascent(), text);
            reference.end();
            QVERIFY(left > layout.MeasureBox.Left);
            QCOMPARE(inkLeft(painted, top, top + cells.CharHeight), inkLeft(alone, top, top + cells.CharHeight));
        }
    }

    void rightClickFixesTheOriginAndDrawsTheLine() {
        TestFolder folder(NoHead + QStringLiteral("Grid=0\nColors=0\n"));
        ScriptedPrompts prompts;
        auto window = Started(folder, prompts);
        SonarView* view = window->View();
        view->DataSourceChanged();  // as every data-source change does
        SonarState& s = window->State();
        s.GridMode = DisplayMode::Sector;
        s.Train = 0;
        const QColor light = TableColor(window->Colors(), ButtonFaceIndex);
        const QColor empty = TableColor(window->Colors(), 0);

        MoveTo(view, 300, 408);
        QCOMPARE(view->ShownCursor(), Qt::BitmapCursor);
        QTest::mouseClick(view, Qt::RightButton, {}, QPoint(300, 408));
        QVERIFY(view->Pointer().MeasureLock);
        QCOMPARE(view->ShownCursor(), Qt::BlankCursor);
        // Straight right of the origin: bearing 90, 50 pixels.
        MoveTo(view, 350, 408);
        MeasureReadout r = view->ShownMeasure();
        QCOMPARE(QString::fromStdString(r.Lines[0]), QStringLiteral("Org: 010.00 M, 000.0 Deg"));
        QCOMPARE(QString::fromStdString(r.Lines[2]), QStringLiteral("Diff: 005.00 M, 090.0 Deg"));
        // Below and left: 180 and 270.
        MoveTo(view, 300, 458);
        QVERIFY(std::abs(view->ShownMeasure().Second[2] - 180.0) < 1e-6);
        MoveTo(view, 250, 408);
        QVERIFY(std::abs(view->ShownMeasure().Second[2] - 270.0) < 1e-6);

        MoveTo(view, 350, 408);
        QImage shown = Shown(*window);
        QCOMPARE(shown.pixelColor(325, 408), light);          // the line
        QCOMPARE(shown.pixelColor(350 - 7, 408 - 3), light);  // target marker square
        QCOMPARE(shown.pixelColor(350 - 8, 408 - 3), TableColor(window->Colors(), BlackIndex));
        QCOMPARE(shown.pixelColor(300 - 5, 408 - 3), light);  // origin marker
        // The picture itself is untouched.
        QCOMPARE(int(window->Image().Image.At(322, 405)), 0);

        // A second right click releases the origin and takes the line away.
        QTest::mouseClick(view, Qt::RightButton, {}, QPoint(350, 408));
        QVERIFY(!view->Pointer().MeasureLock);
        QCOMPARE(view->ShownCursor(), Qt::BitmapCursor);
        shown = Shown(*window);
        QCOMPARE(shown.pixelColor(325, 408), empty);

        // Entering SS releases it too, as does a change of data source.
        QTest::mouseClick(view, Qt::RightButton, {}, QPoint(300, 408));
        QVERIFY(view->Pointer().MeasureLock);
        s.GridMode = DisplayMode::Polar;
        const Rect& modeUp = view->Layout().Widget(PanelParameter::Mode).UpArrow;
        QTest::mouseClick(view, Qt::LeftButton, {}, QPoint(modeUp.Left + 4, modeUp.Top + 4));
        QCOMPARE(s.GridMode, 2);
        QVERIFY(!view->Pointer().MeasureLock);
        QTest::mouseClick(view, Qt::RightButton, {}, QPoint(300, 408));
        QVERIFY(view->Pointer().MeasureLock);
        view->DataSourceChanged();
        QVERIFY(!view->Pointer().MeasureLock);
    }

    void arrowKeysMoveThePointerFasterWhileHeld() {
        TestFolder folder(NoHead);
        ScriptedPrompts prompts;
        auto window = Started(folder, prompts);
        SonarView* view = window->View();
        MoveTo(view, 100, 200);
        QList<int> xs;
        for (int press = 0; press < 4; ++press) {
            QTest::keyPress(view, Qt::Key_Right);
            xs << view->TrackedPointer().X;
        }
        QCOMPARE(xs, (QList<int>{101, 102, 104, 106}));
        // A release starts again at one.
        QTest::keyRelease(view, Qt::Key_Right);
        QCOMPARE(view->Pointer().CursorStep, 1.0f);
        // Any key press counts, an arrow or not; the step grows to 16 and stays there.
        QTest::keyPress(view, Qt::Key_Shift);
        QCOMPARE(view->Pointer().CursorStep, 1.5f);
        for (int press = 0; press < 40; ++press) QTest::keyPress(view, Qt::Key_Shift);
        QCOMPARE(view->Pointer().CursorStep, 16.0f);
        const int y = view->TrackedPointer().Y;
        QTest::keyPress(view, Qt::Key_Up);
        QCOMPARE(view->TrackedPointer().Y, y - 16);
        QTest::keyRelease(view, Qt::Key_Up);
        const Point before = view->TrackedPointer();
        QTest::keyPress(view, Qt::Key_Left);
        QCOMPARE(view->TrackedPointer(), (Point{before.X - 1, before.Y}));
        QTest::keyRelease(view, Qt::Key_Left);
        // The moved pointer acts as a mouse move: the read-out and the zoom follow it.
        QCOMPARE(view->Pointer().LastPointer, view->TrackedPointer());
        QCOMPARE(view->Pointer().ZoomCentre, view->TrackedPointer());
        // And the system pointer went there.
        QTRY_COMPARE(view->mapFromGlobal(QCursor::pos()), QPoint(before.X - 1, before.Y));
    }

    void busyCursorReplacesEveryPointer() {
        TestFolder folder(NoHead);
        ScriptedPrompts prompts;
        auto window = Started(folder, prompts);
        SonarView* view = window->View();
        MoveTo(view, 700, 100);
        QCOMPARE(view->ShownCursor(), Qt::ArrowCursor);
        window->State().BusyCursorOn = 1;
        view->RefreshCursor();
        QCOMPARE(view->ShownCursor(), Qt::WaitCursor);
        MoveTo(view, 200, 200);
        QCOMPARE(view->ShownCursor(), Qt::WaitCursor);
        window->State().BusyCursorOn = 0;
        MoveTo(view, 201, 200);
        QCOMPARE(view->ShownCursor(), Qt::BitmapCursor);
        QCOMPARE(view->cursor().shape(), Qt::BitmapCursor);
        QCOMPARE(view->cursor().hotSpot(), QPoint(15, 15));
    }

    void playedReadoutsTakeTheFileRangeButKeepTheOperatorsSectors() {
        TestFolder folder(NoHead + QStringLiteral("RunMode=1\nPlotSpeed=100\nSectorSectorSize=150\nGridMode=1\n"));
        ScriptedPrompts prompts;
        prompts.FileAnswers.push_back(SectorRecording().toStdString());
        auto window = Started(folder, prompts);
        QTRY_VERIFY_WITH_TIMEOUT(window->PlaybackSteps() > 5, 10000);
        window->ToggleHold();
        const SonarState& s = window->State();
        // The recording is 20 m in Sector mode: the read-outs took its range and spacing.
        QCOMPARE(s.RangeMeters, 20);
        QCOMPARE(s.SampleSpacing, 0.04f);
        QCOMPARE(s.GridMode, 0);
        QCOMPARE(window->Target().Shown().Range, 20);
        QCOMPARE(window->Target().Shown().Sector, 120);
        QCOMPARE(s.SectorSectorSize, 150);
    }

    void livePingsMoveTheMarkerAndFeedTheZoom() {
        HeadSim head;
        QVERIFY(head.Start(QStringLiteral("127.0.0.65")));
        TestFolder folder(QStringLiteral("IPAddress_Sonar1=127.0.0.65\nGridMode=0\nRange=6\nSpeed=4\nPixelZoom=1\n"));
        ScriptedPrompts prompts;
        auto window = Started(folder, prompts);
        SonarView* view = window->View();
        view->DataSourceChanged();
        QTRY_VERIFY_WITH_TIMEOUT(EchoPixels(window->Image().Image) > 2000, 10000);

        // The head marker sits where the last reply said the head points.
        const float angle = window->State().HeadAngleDeg;
        QTRY_VERIFY_WITH_TIMEOUT(window->State().HeadAngleDeg != angle, 5000);
        const Point marker = HeadMarkerPoint(view->Layout(), window->State());
        const QImage shown = view->grab().toImage();
        QCOMPARE(shown.pixelColor(marker.X, marker.Y), TableColor(window->Colors(), HeadMarkerIndex));

        // Pings refresh the zoom at the pointer's place without the pointer moving.
        MoveTo(view, 330, 430);
        const QImage first = view->ZoomView();
        QTRY_VERIFY_WITH_TIMEOUT(view->ZoomView() != first, 5000);
        QCOMPARE(view->Pointer().ZoomCentre, (Point{330, 430}));
        // Frozen, the pings leave it alone.
        QTest::mouseClick(view, Qt::LeftButton, {}, QPoint(330, 430));
        const QImage frozen = view->ZoomView();
        QTest::qWait(300);
        QCOMPARE(view->ZoomView(), frozen);
        QTest::mouseClick(view, Qt::LeftButton, {}, QPoint(330, 430));

        // The measurement line stays over the fresh pings.
        QTest::mouseClick(view, Qt::RightButton, {}, QPoint(300, 400));
        MoveTo(view, 360, 400);
        QTest::qWait(300);
        QCOMPARE(view->grab().toImage().pixelColor(330, 400), TableColor(window->Colors(), ButtonFaceIndex));
        QVERIFY(prompts.Messages.empty());
    }

    void logoIsDrawnInItsBox() {
        QImage image(300, 100, QImage::Format_RGB32);
        image.fill(Qt::magenta);
        QPainter painter(&image);
        PaintLogo(painter, QRect(10, 10, 280, 80));
        painter.end();
        QCOMPARE(image.pixelColor(5, 5), QColor(Qt::magenta));  // nothing outside
        QVERIFY(image.pixelColor(20, 20) != QColor(Qt::magenta));
        // The name is drawn in light text right of the fan.
        int light = 0;
        for (int y = 10; y < 90; ++y)
            for (int x = 100; x < 290; ++x) light += image.pixelColor(x, y).lightness() > 200;
        QVERIFY(light > 100);

        // And in the small box under the zoom.
        TestFolder folder(NoHead);
        ScriptedPrompts prompts;
        auto window = Started(folder, prompts);
        const Rect& box = window->View()->Layout().LogoBox;
        const QImage shown = Shown(*window);
        QVERIFY(shown.pixelColor(box.Left + 5, box.Top + 5) != TableColor(window->Colors(), PanelBackgroundIndex));
    }
};

QTEST_MAIN(OverlayTest)
#include "OverlayTest.moc"
