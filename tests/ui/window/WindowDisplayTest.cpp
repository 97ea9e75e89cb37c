// The window drawn larger and in the night colours: what it shows, where clicks and the
// pointer land, what captures keep, and what the settings remember.
#include <QFile>
#include <QMenuBar>
#include <QMouseEvent>
#include <QBackingStore>
#include <QTest>

#include "UiTestSupport.h"
#include "ui/capture/ScreenCapture.h"
#include "ui/view/NightPalette.h"
#include "ui/window/MainMenu.h"

using namespace tidemar;
using namespace tidemar::uitest;

namespace {

const QString NoHead = QStringLiteral("IPAddress_Sonar1=127.0.0.64\n");

QPoint Centre(const Rect& r) { return QPoint((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2); }

// A window pixel as the zoomed view shows it: a screen pixel inside the logical one.
QPoint Scaled(QPoint logical, int percent) {
    return QPoint((logical.x() * percent + 99) / 100, (logical.y() * percent + 99) / 100);
}

void MoveTo(SonarView* view, QPoint at) {
    const QPointF local(at);
    QMouseEvent move(QEvent::MouseMove, local, view->mapToGlobal(local), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(view, &move);
}

QByteArray Capture(MainWindow& window, ScriptedPrompts& prompts, const QString& path) {
    prompts.FileAnswers.push_back(path.toStdString());
    if (!SaveScreen(window.CaptureTarget(), prompts, false)) return QByteArray();
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The first pixel from row `top` down that is brighter than a dim red, or an empty text.
QString BrightPixel(const QImage& shown, int top) {
    const QImage image = shown.convertToFormat(QImage::Format_RGB32);
    for (int y = top; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb c = image.pixel(x, y);
            if (qGreen(c) > qRed(c) || qBlue(c) > qRed(c) || qRed(c) > 96)
                return QStringLiteral("pixel %1,%2 is %3").arg(x).arg(y).arg(c, 6, 16);
        }
    return QString();
}

// The first picture pixel the window's backing store (what the screen shows, not a fresh
// rendering of the view) does not show in its colour on every screen pixel of its square.
QString StalePicturePixel(MainWindow& window, int dpr) {
    SonarView* view = window.View();
    const QPoint viewAt = view->mapTo(&window, QPoint(0, 0));
    const auto* stored = dynamic_cast<QImage*>(window.backingStore()->paintDevice());
    if (!stored) return QStringLiteral("no backing store");
    const QImage shown = stored->copy(QRect(viewAt * dpr, view->size() * dpr)).convertToFormat(QImage::Format_RGB32);
    const SonarImage& image = window.Image().Image;
    for (int y = 0; y < ImageHeight; ++y)
        for (int x = 0; x < ImageWidth; ++x) {
            const QRgb expected = view->PaletteColor(image.At(x, y)).rgb();
            const QRect square = view->ToDevice(QRect(x + ImageOffset, y + ImageOffset, 1, 1));
            for (int sy = square.top() * dpr; sy < (square.bottom() + 1) * dpr; ++sy)
                for (int sx = square.left() * dpr; sx < (square.right() + 1) * dpr; ++sx)
                    if (shown.pixel(sx, sy) != expected)
                        return QStringLiteral("%1%: picture pixel %2,%3 at %4,%5")
                            .arg(view->ZoomPercent())
                            .arg(x)
                            .arg(y)
                            .arg(sx)
                            .arg(sy);
        }
    return QString();
}

std::unique_ptr<MainWindow> Started(const TestFolder& folder, ScriptedPrompts& prompts) {
    auto window = MakeWindow(folder, prompts);
    window->Start();
    return QTest::qWaitForWindowExposed(window.get()) ? std::move(window) : nullptr;
}

}  // namespace

class WindowDisplayTest : public QObject {
    Q_OBJECT
private slots:
    void zoomScalesTheAreaAndMapsClicksBack() {
        TestFolder folder(NoHead), plainFolder(NoHead);
        ScriptedPrompts prompts, plainPrompts;
        auto zoomed = Started(folder, prompts);
        auto plain = Started(plainFolder, plainPrompts);
        QVERIFY(zoomed && plain);
        zoomed->RunCommand(Command::Zoom200);
        QCOMPARE(zoomed->State().WindowZoom, 200);
        QVERIFY(zoomed->CommandAction(Command::Zoom200)->isChecked());
        QVERIFY(!zoomed->CommandAction(Command::Zoom100)->isChecked());
        QCOMPARE(zoomed->View()->grab().deviceIndependentSize().toSize(), QSize(1600, 1200));
        QCOMPARE(zoomed->grab().deviceIndependentSize().width(), 1600.0);

        const PanelLayout& layout = zoomed->View()->Layout();
        const auto widget = [&layout](PanelParameter p) { return layout.Widget(p); };
        // Each row: the button clicked, the field it changes.
        const struct {
            const char* Legend;
            Rect Button;
            int SonarState::*Field;
        } rows[] = {
            {"Range up", widget(PanelParameter::Range).UpArrow, &SonarState::Range},
            {"Gain down", widget(PanelParameter::Gain).DownArrow, &SonarState::Gain},
            {"Speed up", widget(PanelParameter::Speed).UpArrow, &SonarState::Speed},
            {"Mode up", widget(PanelParameter::Mode).UpArrow, &SonarState::GridMode},
            {"Hold box", layout.HoldHit, &SonarState::HoldActive},
        };
        for (const auto& row : rows) {
            const int before = zoomed->State().*row.Field;
            QCOMPARE(plain->State().*row.Field, before);
            QTest::mouseClick(plain->View(), Qt::LeftButton, {}, Centre(row.Button));
            QTest::mouseClick(zoomed->View(), Qt::LeftButton, {}, Scaled(Centre(row.Button), 200));
            QVERIFY2(plain->State().*row.Field != before, row.Legend);
            QVERIFY2(zoomed->State().*row.Field == plain->State().*row.Field, row.Legend);
        }
    }

    void zoomedPointerReadsAsAt100() {
        TestFolder folder(NoHead + QStringLiteral("GridMode=0\n")),
            plainFolder(NoHead + QStringLiteral("GridMode=0\n"));
        ScriptedPrompts prompts, plainPrompts;
        auto zoomed = Started(folder, prompts);
        auto plain = Started(plainFolder, plainPrompts);
        QVERIFY(zoomed && plain);
        for (const int command : {Command::Zoom150, Command::Zoom200}) {
            zoomed->RunCommand(command);
            const int percent = zoomed->View()->ZoomPercent();
            // Each row: a logical point of the picture (the read-out and the pixel zoom follow it).
            for (const QPoint logical : {QPoint(300, 408), QPoint(150, 200), QPoint(520, 90), QPoint(3, 3),
                                         QPoint(598, 508), QPoint(40, 470)}) {
                MoveTo(plain->View(), logical);
                MoveTo(zoomed->View(), Scaled(logical, percent));
                const MeasureReadout a = plain->View()->ShownMeasure();
                const MeasureReadout b = zoomed->View()->ShownMeasure();
                const QString where = QStringLiteral("%1% at %2,%3").arg(percent).arg(logical.x()).arg(logical.y());
                QVERIFY2(a.Lines == b.Lines, qPrintable(where));
                QVERIFY2(plain->View()->TrackedPointer() == zoomed->View()->TrackedPointer(), qPrintable(where));
                QVERIFY2(plain->View()->Pointer().ZoomCentre == zoomed->View()->Pointer().ZoomCentre,
                         qPrintable(where));
            }
            // The arrow keys step in logical pixels too.
            for (QWidget* view : {static_cast<QWidget*>(plain->View()), static_cast<QWidget*>(zoomed->View())}) {
                QTest::keyClick(view, Qt::Key_Left);
                QTest::keyClick(view, Qt::Key_Up);
            }
            QCOMPARE(zoomed->View()->TrackedPointer(), plain->View()->TrackedPointer());
            // Each row: a window pixel; every screen pixel the zoom paints it on points at it.
            for (const QPoint logical : {QPoint(3, 3), QPoint(598, 508), QPoint(101, 57), QPoint(799, 599)}) {
                const QRect shown = zoomed->View()->ToDevice(QRect(logical, QSize(1, 1)));
                for (const QPoint device : {shown.topLeft(), shown.bottomRight()}) {
                    MoveTo(zoomed->View(), device);
                    const Point tracked = zoomed->View()->TrackedPointer();
                    QVERIFY2(QPoint(tracked.X, tracked.Y) == logical,
                             qPrintable(QStringLiteral("%1% at %2,%3 read %4,%5")
                                            .arg(percent)
                                            .arg(device.x())
                                            .arg(device.y())
                                            .arg(tracked.X)
                                            .arg(tracked.Y)));
                }
            }
        }
    }

    void capturesKeep100AndTheDayColours() {
        TestFolder folder(NoHead + QStringLiteral("RunMode=1\nPlotSpeed=100\nGrid=1\n"));
        ScriptedPrompts prompts;
        prompts.FileAnswers.push_back(SectorRecording().toStdString());
        auto window = Started(folder, prompts);
        QVERIFY(window);
        for (int i = 0; i < 1000 && EchoPixels(window->Image().Image) < 3000; ++i) QTest::qWait(10);
        window->ToggleHold();
        QTest::qWait(50);

        const QByteArray day = Capture(*window, prompts, folder.Path(QStringLiteral("day.bmp")));
        QCOMPARE(day.size(), 481078);
        // Each row: a zoom whose capture must equal the one at 100%.
        for (const int command : {Command::Zoom150, Command::Zoom200}) {
            window->RunCommand(command);
            QTest::qWait(20);
            QVERIFY(Capture(*window, prompts, folder.Path(QStringLiteral("zoomed.bmp"))) == day);
        }

        window->RunCommand(Command::NightColors);
        QVERIFY(window->View()->NightColors() && NightPaletteApplied());
        QVERIFY(window->CommandAction(Command::NightColors)->isChecked());
        QVERIFY(Capture(*window, prompts, folder.Path(QStringLiteral("night.bmp"))) == day);

        // On the screen, below the menu bar, nothing is brighter than a dim red.
        window->View()->repaint();
        const QImage shown = window->grab().toImage();
        const int dpr = qRound(shown.devicePixelRatio());  // 2 on a high-density screen
        const int top = window->menuBar()->height() * dpr;
        QCOMPARE(shown.height() - top, 1200 * dpr);
        QCOMPARE(BrightPixel(shown, top), QString());
        window->RunCommand(Command::Diagnostics);
        QVERIFY(window->Diagnostics()->isVisible());
        QCOMPARE(BrightPixel(window->Diagnostics()->grab().toImage(), 0), QString());

        // Played on at each zoom, every picture pixel covers the screen pixels of its square
        // in its colour: the parts repainted ping by ping leave nothing behind.
        for (const int command : {Command::Zoom200, Command::Zoom150}) {
            window->RunCommand(command);
            window->ToggleHold();
            QTest::qWait(300);
            // Held without the whole window painted anew, as the Hold box would have it.
            window->State().HoldActive = 1;
            window->HoldChanged();
            QTest::qWait(50);
            QCOMPARE(StalePicturePixel(*window, dpr), QString());
        }
        window->RunCommand(Command::NightColors);
        QVERIFY(!NightPaletteApplied());
        QVERIFY(prompts.Messages.empty());
    }

    void picturePaintedBetweenFramesThenUndoneIsShownAsItIs() {
        // A pixel painted between two frames (by the measurement line's repaint, an expose)
        // and then set back to what the last frame showed, as a scrolling waterfall may do
        // before the next frame: the frame shows it as it is, at each zoom.
        TestFolder folder(NoHead + QStringLiteral("RunMode=1\nPlotSpeed=100\n"));
        ScriptedPrompts prompts;
        prompts.FileAnswers.push_back(SectorRecording().toStdString());
        auto window = Started(folder, prompts);
        QVERIFY(window);
        for (int i = 0; i < 1000 && EchoPixels(window->Image().Image) < 3000; ++i) QTest::qWait(10);
        window->ToggleHold();
        QTest::qWait(50);
        const int dpr = qRound(window->grab().toImage().devicePixelRatio());
        auto& pixels = const_cast<SonarImage&>(window->Image().Image).Pixels;
        for (const int command : {Command::Zoom100, Command::Zoom150}) {
            window->RunCommand(command);
            QTest::qWait(50);
            const auto before = pixels;
            const QRect area(100, 100, 40, 40);  // window pixels over the picture
            for (int y = area.top(); y <= area.bottom(); ++y)
                for (int x = area.left(); x <= area.right(); ++x)
                    pixels[static_cast<size_t>(y - ImageOffset) * ImageWidth + static_cast<size_t>(x - ImageOffset)] ^=
                        1;
            window->View()->repaint(window->View()->ToDevice(area));
            pixels = before;
            window->View()->ScheduleImageRepaint();
            QTest::qWait(50);
            QCOMPARE(StalePicturePixel(*window, dpr), QString());
        }
    }

    void settingsKeepZoomNightAndPlace() {
        // Each row: the keys written, the zoom shown, the window's place kept or left to the system.
        const struct {
            const char* Legend;
            const char* Keys;
            int Percent;
            bool Night;
            QPoint Place;
        } rows[] = {
            {"150%, night, on the screen", "WindowZoom=150\nNightColors=1\nWindowX=30\nWindowY=40\n", 150, true,
             QPoint(30, 40)},
            {"a place off every screen", "WindowX=5000\nWindowY=40\n", 100, false, QPoint(-1, -1)},
            {"no place kept", "WindowZoom=200\n", 200, false, QPoint(-1, -1)},
        };
        for (const auto& row : rows) {
            TestFolder folder(NoHead + QString::fromLatin1(row.Keys));
            ScriptedPrompts prompts;
            auto window = MakeWindow(folder, prompts);
            window->Start();
            QVERIFY2(window->View()->ZoomPercent() == row.Percent, row.Legend);
            QVERIFY2(window->View()->NightColors() == row.Night, row.Legend);
            QVERIFY2(window->CommandAction(Command::NightColors)->isChecked() == row.Night, row.Legend);
            if (row.Place.x() >= 0) QVERIFY2(window->pos() == row.Place, row.Legend);
            if (row.Place.x() < 0) QVERIFY2(window->pos().x() != 5000, row.Legend);
            window->RunCommand(Command::ZoomFit);
            window->move(12, 34);
            window->close();
            window.reset();
            const QString ini = folder.IniText();
            QVERIFY2(ini.contains(QStringLiteral("WindowZoom=0\n")), row.Legend);
            QVERIFY2(ini.contains(QStringLiteral("NightColors=%1\n").arg(row.Night ? 1 : 0)), row.Legend);
            QVERIFY2(ini.contains(QStringLiteral("WindowX=12\nWindowY=34\n")), row.Legend);
            QVERIFY2(!NightPaletteApplied(), row.Legend);
        }
    }
};

QTEST_MAIN(WindowDisplayTest)
#include "WindowDisplayTest.moc"
