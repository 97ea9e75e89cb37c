// Screen captures of a real window: the BMP byte for byte, its pixels against what the
// window shows, the names chosen, built from the date or from the played file, the name
// strip, and auto frame capture over a whole played file.
#include <QDir>
#include <QFile>
#include <QImage>
#include <QMenuBar>
#include <QTest>

#include "UiTestSupport.h"
#include "files/Playback.h"
#include "image/ColorBar.h"
#include "image/PaletteMatch.h"
#include "ui/capture/ScreenCapture.h"

using namespace tidemar;
using namespace tidemar::uitest;

namespace {

const QString NoHead = QStringLiteral("IPAddress_Sonar1=127.0.0.63\n");

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QColor EntryColor(const DisplayPalette& palette, int index) {
    const PaletteEntry& e = palette.Entries[static_cast<size_t>(index)];
    return QColor(e.Red, e.Green, e.Blue);
}

QColor TableColor(const ImageColorTable& table, int index) {
    const RgbQuad& e = table[static_cast<size_t>(index)];
    return QColor(e.Red, e.Green, e.Blue);
}

// The palette index stored for window pixel (x, y): rows are stored bottom first.
uint8_t Stored(const QByteArray& bmp, int x, int y) { return uint8_t(bmp[1078 + (599 - y) * 800 + x]); }

// A window playing the sector recording, held once the picture has a good part of a sweep.
std::unique_ptr<MainWindow> PlayingWindow(const TestFolder& folder, ScriptedPrompts& prompts, const QString& file) {
    prompts.FileAnswers.push_back(file.toStdString());
    auto window = MakeWindow(folder, prompts);
    window->Start();
    if (!QTest::qWaitForWindowExposed(window.get())) return nullptr;
    for (int i = 0; i < 1000 && EchoPixels(window->Image().Image) < 3000; ++i) QTest::qWait(10);
    window->ToggleHold();
    QTest::qWait(50);
    return window;
}

class CountingTarget : public DispatchTarget {
public:
    int Captures = 0;
    void FrameCapture() override { ++Captures; }
};

}  // namespace

class CaptureTest : public QObject {
    Q_OBJECT
private slots:
    void saveScreenWritesWhatTheWindowShows() {
        TestFolder folder(NoHead + QStringLiteral("RunMode=1\nPlotSpeed=100\nGrid=1\n"));
        ScriptedPrompts prompts;
        auto window = PlayingWindow(folder, prompts, SectorRecording());
        QVERIFY(window);
        QVERIFY(EchoPixels(window->Image().Image) >= 3000);

        const QString path = folder.Path(QStringLiteral("Harbour Wall.Bmp"));
        prompts.FileAnswers.push_back(path.toStdString());
        QVERIFY(SaveScreen(window->CaptureTarget(), prompts, false));
        QVERIFY(prompts.Messages.empty());
        const FileDialogRequest& dialog = prompts.FileDialogs.back();
        QCOMPARE(QString::fromStdString(dialog.Title), QStringLiteral("Save Screen As"));
        QCOMPARE(QString::fromStdString(dialog.FilterName), QStringLiteral("BITMAP File    (*.BMP)"));
        QCOMPARE(QString::fromStdString(dialog.Pattern), QStringLiteral("*.BMP"));
        QCOMPARE(QString::fromStdString(dialog.DefaultExtension), QStringLiteral("BMP"));
        QVERIFY(dialog.PromptOverwrite && dialog.HideReadOnly && dialog.PathMustExist && !dialog.FileMustExist);

        // The name as chosen, case and all.
        QVERIFY(QDir(folder.Dir.path()).entryList(QDir::Files).contains(QStringLiteral("Harbour Wall.Bmp")));
        const QByteArray bmp = ReadAll(path);
        QCOMPARE(bmp.size(), 481078);
        const QByteArray header = QByteArray::fromHex(
            "424d365707000000000036040000280000002003000058020000010008000000000000530700000000000000000000010000000000"
            "00");
        QCOMPARE(bmp.left(54).toHex(), header.toHex());

        const DisplayPalette palette = BuildDisplayPalette(window->Colors());
        for (int i = 0; i < 256; ++i) {
            const PaletteEntry& e = palette.Entries[static_cast<size_t>(i)];
            QCOMPARE(uint8_t(bmp[54 + 4 * i]), e.Blue);
            QCOMPARE(uint8_t(bmp[54 + 4 * i + 1]), e.Green);
            QCOMPARE(uint8_t(bmp[54 + 4 * i + 2]), e.Red);
            QCOMPARE(uint8_t(bmp[54 + 4 * i + 3]), uint8_t(0));
        }

        // Every pixel is the nearest palette entry of the window's own pixel, rows bottom first.
        const QImage shown = window->grab(QRect(0, 0, 800, 600)).toImage().convertToFormat(QImage::Format_RGB32);
        QCOMPARE(shown.size(), QSize(800, 600));
        for (int y = 0; y < 600; ++y)
            for (int x = 0; x < 800; ++x) {
                const QRgb c = shown.pixel(x, y);
                if (Stored(bmp, x, y) != NearestPaletteIndex(palette, qRed(c), qGreen(c), qBlue(c)))
                    QFAIL(qPrintable(QStringLiteral("pixel %1,%2").arg(x).arg(y)));
            }
        QCOMPARE(uint8_t(bmp[1078]), Stored(bmp, 0, 599));

        // The menu bar is on top; the client area follows under it.
        const int top = window->View()->mapTo(window.get(), QPoint(0, 0)).y();
        QVERIFY(top > 0 && top < 60);
        QCOMPARE(window->menuBar()->mapTo(window.get(), QPoint(0, 0)), QPoint(0, 0));
        // The image frame, the colour bar and the picture, in the colours the window uses.
        QCOMPARE(EntryColor(palette, Stored(bmp, 2, top + 2)), TableColor(window->Colors(), 123));
        QCOMPARE(EntryColor(palette, Stored(bmp, 599, top + 300)), TableColor(window->Colors(), 123));
        const auto bar = ColorBarIndices();
        for (int k = 0; k < ColorBarRows && top + ColorBarTop + k < 600; ++k)
            QCOMPARE(EntryColor(palette, Stored(bmp, ColorBarLeft + 2, top + ColorBarTop + k)),
                     TableColor(window->Colors(), bar[static_cast<size_t>(k)]));
        int echoes = 0;
        for (int y = 0; y < ImageHeight && y + ImageOffset + top < 600; y += 3)
            for (int x = 0; x < ImageWidth; x += 3) {
                const int value = window->Image().Image.At(x, y);
                QCOMPARE(EntryColor(palette, Stored(bmp, x + ImageOffset, y + ImageOffset + top)),
                         TableColor(window->Colors(), value));
                echoes += value > 0 && value <= MaxEchoLevel;
            }
        QVERIFY2(echoes > 100, qPrintable(QString::number(echoes)));

        // PNG is offered beside BMP and holds the same pixels: both decoded, every one alike.
        QCOMPARE(dialog.MoreFilters.size(), size_t(1));
        QCOMPARE(QString::fromStdString(dialog.MoreFilters[0].Name), QStringLiteral("PNG File    (*.PNG)"));
        QCOMPARE(QString::fromStdString(dialog.MoreFilters[0].Extension), QStringLiteral("PNG"));
        const QString pngPath = folder.Path(QStringLiteral("Harbour Wall.png"));
        prompts.FileAnswers.push_back(pngPath.toStdString());
        QVERIFY(SaveScreen(window->CaptureTarget(), prompts, false));
        QVERIFY(prompts.Messages.empty());
        QImage png(pngPath, "PNG");
        QCOMPARE(png.format(), QImage::Format_Indexed8);
        const QImage fromBmp = QImage(path, "BMP").convertToFormat(QImage::Format_RGB32);
        png = png.convertToFormat(QImage::Format_RGB32);
        QCOMPARE(png.size(), QSize(800, 600));
        QVERIFY(png == fromBmp);
    }

    void wrongExtensionOrCancelWritesNothing() {
        TestFolder folder(NoHead);
        ScriptedPrompts prompts;
        auto window = MakeWindow(folder, prompts);
        window->Start();

        prompts.FileAnswers.push_back(folder.Path(QStringLiteral("shot.jpg")).toStdString());
        QVERIFY(!SaveScreen(window->CaptureTarget(), prompts, false));
        QCOMPARE(prompts.Messages.size(), size_t(1));
        QCOMPARE(QString::fromStdString(prompts.Messages[0].Caption), QStringLiteral("Save Screen As"));
        QCOMPARE(QString::fromStdString(prompts.Messages[0].Text), QStringLiteral("File extension must be .BMP"));
        QCOMPARE(prompts.Messages[0].Icon, MessageIcon::Exclamation);
        QVERIFY(!QFile::exists(folder.Path(QStringLiteral("shot.jpg"))));

        prompts.Messages.clear();
        QVERIFY(!SaveScreen(window->CaptureTarget(), prompts, false));  // Cancel: no answer left
        QVERIFY(prompts.Messages.empty());

        // A folder that is not there: said, not silently dropped.
        prompts.FileAnswers.push_back(folder.Path(QStringLiteral("gone/shot.bmp")).toStdString());
        QVERIFY(!SaveScreen(window->CaptureTarget(), prompts, false));
        QCOMPARE(prompts.Messages.size(), size_t(1));
        QCOMPARE(QString::fromStdString(prompts.Messages[0].Caption), QStringLiteral("Save Screen As"));
        QVERIFY(QString::fromStdString(prompts.Messages[0].Text).startsWith(QStringLiteral("Cannot create ")));
        QCOMPARE(
            QDir(folder.Dir.path())
                .entryList({QStringLiteral("*.bmp"), QStringLiteral("*.BMP"), QStringLiteral("*.png")}, QDir::Files)
                .size(),
            0);
    }

    void autoProfileCaptureIsNamedAfterTheDate() {
        TestFolder folder(NoHead);
        ScriptedPrompts prompts;
        auto window = MakeWindow(folder, prompts);
        window->Start();
        const QString previous = QDir::currentPath();
        QVERIFY(QDir::setCurrent(folder.Dir.path()));
        for (const char* name : {"07Dec2026-0001.BMP", "07Dec2026-0007.BMP", "08Dec2026-0020.BMP"}) {
            QFile file(folder.Path(QString::fromLatin1(name)));
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        window->State().DateText = "07-Dec-2026";
        const size_t dialogs = prompts.FileDialogs.size();
        const bool saved = SaveScreen(window->CaptureTarget(), prompts, true);
        QDir::setCurrent(previous);
        QVERIFY(saved);
        QCOMPARE(prompts.FileDialogs.size(), dialogs);  // no dialog
        QCOMPARE(ReadAll(folder.Path(QStringLiteral("07Dec2026-0008.BMP"))).size(), 481078);
        QCOMPARE(ReadAll(folder.Path(QStringLiteral("07Dec2026-0007.BMP"))).size(), 0);
    }

    void frameCaptureNamesFollowThePlayedFile() {
        QTemporaryDir dir;
        auto touch = [&](const QString& name) {
            QFile file(dir.filePath(name));
            return file.open(QIODevice::WriteOnly);
        };
        const std::string played = dir.filePath(QStringLiteral("Survey.K7T")).toStdString();
        QCOMPARE(QString::fromStdString(FrameCaptureName(played)), dir.filePath(QStringLiteral("Survey-0001.BMP")));
        QVERIFY(touch(QStringLiteral("Survey-0001.BMP")));
        QVERIFY(touch(QStringLiteral("survey-0004.bmp")));   // case does not matter
        QVERIFY(touch(QStringLiteral("Survey-12ab.BMP")));   // leading digits: 12
        QVERIFY(touch(QStringLiteral("Survey-00100.BMP")));  // five digits: another name
        QVERIFY(touch(QStringLiteral("Survey-0050.XYZ")));
        QVERIFY(touch(QStringLiteral("Other-0070.BMP")));
        QCOMPARE(QString::fromStdString(FrameCaptureName(played)), dir.filePath(QStringLiteral("Survey-0013.BMP")));
        QVERIFY(touch(QStringLiteral("Survey-9999.BMP")));
        QCOMPARE(QString::fromStdString(FrameCaptureName(played)), dir.filePath(QStringLiteral("Survey-9999.BMP")));
        // A name without a folder is looked for in the working folder.
        QCOMPARE(QString::fromStdString(FrameCaptureName("nowhere-at-all.k7t")),
                 QStringLiteral("nowhere-at-all-0001.BMP"));
    }

    void frameCaptureShowsTheNameAndLeavesItOutOfThePicture() {
        TestFolder folder(NoHead + QStringLiteral("RunMode=1\nPlotSpeed=100\n"));
        const QString played = folder.Path(QStringLiteral("Survey.K7T"));
        QVERIFY(QFile::copy(SectorRecording(), played));
        ScriptedPrompts prompts;
        auto window = PlayingWindow(folder, prompts, played);
        QVERIFY(window);
        RecordedChrome chrome;
        const DisplayPalette palette = BuildDisplayPalette(window->Colors());
        const std::vector<uint8_t> before = CaptureWindowIndexes(window.get(), palette);

        window->State().AutoFrameCaptureOn = 1;
        QVERIFY(FrameCapture(window->CaptureTarget(), window->PlaybackFile().FileName(), prompts, chrome));
        QVERIFY(prompts.Messages.empty());
        const QString first = folder.Path(QStringLiteral("Survey-0001.BMP"));
        QCOMPARE(ShownCaptureName(window->View()).value_or("<none>"), first.toStdString());
        const QByteArray bmp = ReadAll(first);
        QCOMPARE(bmp.size(), 481078);
        QByteArray rows;  // what the window showed before the strip, bottom row first
        for (int y = 599; y >= 0; --y) rows.append(reinterpret_cast<const char*>(before.data()) + y * 800, 800);
        QVERIFY(bmp.mid(1078) == rows);

        // The strip is on screen, in its colour, over the bottom of the image.
        const QImage view = window->View()->grab().toImage();
        QCOMPARE(view.pixelColor(3, 492), TableColor(window->Colors(), CaptureNameIndex));
        QCOMPARE(view.pixelColor(598, 508), TableColor(window->Colors(), CaptureNameIndex));
        QVERIFY(view.pixelColor(598, 509) != TableColor(window->Colors(), CaptureNameIndex));
        int white = 0;
        for (int x = 5; x < 300; ++x)
            for (int y = 494; y < 508; ++y) white += view.pixelColor(x, y) == QColor(Qt::white);
        QVERIFY(white > 20);

        QVERIFY(FrameCapture(window->CaptureTarget(), window->PlaybackFile().FileName(), prompts, chrome));
        QCOMPARE(ShownCaptureName(window->View()).value_or("<none>"),
                 folder.Path(QStringLiteral("Survey-0002.BMP")).toStdString());
        QCOMPARE(ReadAll(folder.Path(QStringLiteral("Survey-0002.BMP"))), bmp);  // held: the same picture

        // The strip goes after its time and the picture is back.
        QTRY_VERIFY_WITH_TIMEOUT(!ShownCaptureName(window->View()), 4000);
        QTRY_COMPARE_WITH_TIMEOUT(window->View()->grab().toImage().pixelColor(3, 492),
                                  TableColor(window->Colors(), window->Image().Image.At(0, 489)), 2000);
        QCOMPARE(window->State().AutoFrameCaptureOn, 1);
    }

    void frameCaptureThatCannotBeWrittenStopsWithAMessage() {
        TestFolder folder(NoHead + QStringLiteral("RunMode=1\nPlotSpeed=100\n"));
        const QString played = folder.Path(QStringLiteral("Survey.K7T"));
        QVERIFY(QFile::copy(SectorRecording(), played));
        // The last number is taken, and by a folder: the capture cannot be created.
        QVERIFY(QDir(folder.Dir.path()).mkdir(QStringLiteral("Survey-9999.BMP")));
        ScriptedPrompts prompts;
        auto window = PlayingWindow(folder, prompts, played);
        QVERIFY(window);
        window->State().AutoFrameCaptureOn = 1;
        RecordedChrome chrome;
        QVERIFY(!FrameCapture(window->CaptureTarget(), window->PlaybackFile().FileName(), prompts, chrome));
        QCOMPARE(window->State().AutoFrameCaptureOn, 0);
        QCOMPARE(QString::fromStdString(chrome.MenuTexts[208]), QStringLiteral("&Auto Frame Capture Start..."));
        QCOMPARE(prompts.Messages.size(), size_t(1));
        QCOMPARE(QString::fromStdString(prompts.Messages[0].Caption), QStringLiteral("Auto Frame Capture"));
        const QString text = QString::fromStdString(prompts.Messages[0].Text);
        QVERIFY2(text.startsWith(QStringLiteral("Cannot create ") + folder.Path(QStringLiteral("Survey-9999.BMP"))),
                 qPrintable(text));
        QVERIFY(text.endsWith(QStringLiteral("Capture Stopped!")));
    }

    void commandTogglesAutoFrameCaptureInPlaybackOnly() {
        SonarState state;
        ScriptedPrompts prompts;
        RecordedChrome chrome;
        state.RunMode = DataSource::Head;
        ToggleAutoFrameCapture(state, prompts, chrome);
        QCOMPARE(state.AutoFrameCaptureOn, 0);
        QVERIFY(prompts.Messages.empty() && chrome.MenuTexts.empty());

        state.RunMode = DataSource::File;
        ToggleAutoFrameCapture(state, prompts, chrome);
        QCOMPARE(state.AutoFrameCaptureOn, 1);
        QCOMPARE(QString::fromStdString(chrome.MenuTexts[208]), QStringLiteral("&Auto Frame Capture Stop..."));
        ToggleAutoFrameCapture(state, prompts, chrome);
        QCOMPARE(state.AutoFrameCaptureOn, 0);
        QCOMPARE(QString::fromStdString(chrome.MenuTexts[208]), QStringLiteral("&Auto Frame Capture Start..."));
        QCOMPARE(prompts.Messages.size(), size_t(2));
        QCOMPARE(QString::fromStdString(prompts.Messages[0].Caption), QStringLiteral("Auto Frame Capture"));
        QCOMPARE(QString::fromStdString(prompts.Messages[0].Text), QStringLiteral("Capture Started..."));
        QCOMPARE(QString::fromStdString(prompts.Messages[1].Caption), QStringLiteral("Auto Frame Capture"));
        QCOMPARE(QString::fromStdString(prompts.Messages[1].Text), QStringLiteral("Capture Stopped!"));
    }

    // The whole recording played with auto frame capture on: one capture per turn of the
    // sweep, a pause for each, and capture switched off at the end of the file.
    void playbackCapturesOncePerSweepUntilTheEndOfTheFile() {
        ScriptedPrompts prompts;
        RecordedChrome chrome;
        Playback playback(prompts, chrome);
        SonarState state;
        state.RunMode = DataSource::File;
        CountingTarget target;
        QVERIFY(playback.OpenPlaybackFile(SectorRecording().toStdString(), state, target));
        state.AutoFrameCaptureOn = 1;
        ManualClock clock;
        int records = 0, turns = 0, pauses = 0;
        int lastDirection = -1;
        for (int step = 0; step < 10000; ++step) {
            const int captures = target.Captures;
            const PlaybackStepResult result = playback.PlaybackStep(state, clock, target);
            if (result.Rewound) break;
            ++records;
            const bool turned = state.StepDirection != lastDirection;
            lastDirection = state.StepDirection;
            turns += turned;
            QCOMPARE(target.Captures > captures, turned);
            if (turned) pauses += result.WaitMilliseconds >= FrameCapturePauseMilliseconds;
        }
        QCOMPARE(records, 240);
        QVERIFY2(turns >= 3, qPrintable(QString::number(turns)));  // several sweeps in the file
        QCOMPARE(target.Captures, turns);
        QCOMPARE(pauses, turns);
        QCOMPARE(state.AutoFrameCaptureOn, 0);
        QCOMPARE(QString::fromStdString(chrome.MenuTexts[208]), QStringLiteral("&Auto Frame Capture Start..."));
        QCOMPARE(prompts.Messages.size(), size_t(1));
        QCOMPARE(QString::fromStdString(prompts.Messages[0].Caption), QStringLiteral("Auto Frame Capture"));
        QCOMPARE(QString::fromStdString(prompts.Messages[0].Text), QStringLiteral("End of File, Capture Stopped!"));

        // Without auto frame capture nothing is captured and nothing is said.
        prompts.Messages.clear();
        const int captures = target.Captures;
        for (int step = 0; step < 300; ++step) playback.PlaybackStep(state, clock, target);
        QCOMPARE(target.Captures, captures);
        QVERIFY(prompts.Messages.empty());
    }
};

QTEST_MAIN(CaptureTest)
#include "CaptureTest.moc"
