// The main window without a head: start-up from TIDEMAR.INI, the menu, the colour
// tables on screen, playback of a recording, the switch between head and file, and the
// settings written at the end.
#include <QAction>
#include <QImage>
#include <QMenuBar>
#include <QMessageBox>
#include <QPaintEvent>
#include <QTest>

#include "UiTestSupport.h"
#include "image/ColorBar.h"
#include "ui/window/MainMenu.h"

using namespace tidemar;
using namespace tidemar::uitest;

namespace {

// Nothing listens here: the link is refused at once.
const QString NoHead = QStringLiteral("IPAddress_Sonar1=127.0.0.62\n");

QColor ShownColor(MainWindow& window, int x, int y) { return window.View()->grab().toImage().pixelColor(x, y); }

QColor TableColor(const ImageColorTable& table, int index) {
    const RgbQuad& entry = table[static_cast<size_t>(index)];
    return QColor(entry.Red, entry.Green, entry.Blue);
}

// Collects the regions the view really repaints (a grab() would paint everything anyway).
class PaintRegions : public QObject {
public:
    QRegion Painted;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) Painted += static_cast<QPaintEvent*>(event)->region();
        return false;
    }
};

QString Text(QAction* action) { return action ? action->text() : QStringLiteral("<missing>"); }

QString SideScanRecording() { return QStringLiteral(TIDEMAR_TEST_DATA "/render/sidescan.K7T"); }

// Whether anything but the panel background is shown where the playback Reverse box goes.
bool ReverseBoxShown(MainWindow& window) {
    const QImage shown = window.View()->grab().toImage();
    const QColor background = TableColor(window.Colors(), 121);
    for (int y = 534; y <= 550; ++y)
        for (int x = 361; x <= 441; ++x)
            if (shown.pixelColor(x, y) != background) return true;
    return false;
}

}  // namespace

class MainWindowTest : public QObject {
    Q_OBJECT
private slots:
    void everyCommandIsInTheMenu() {
        TestFolder folder(NoHead);
        ScriptedPrompts prompts;
        auto window = MakeWindow(folder, prompts);
        const std::pair<int, const char*> items[] = {{10, "&Playback..."},
                                                     {15, "&Record Start..."},
                                                     {16, "&Copy Start..."},
                                                     {18, "E&xit"},
                                                     {20, "Pr&int Screen..."},
                                                     {655, "Scan For Connected &Heads"},
                                                     {825, "R&otate Sonar Image..."},
                                                     {80, "Norm &Hi"},
                                                     {81, "Norm &Lo"},
                                                     {82, "Gr&een"},
                                                     {83, "&Grey"},
                                                     {84, "&Rev Grey"},
                                                     {85, "&Brown/Yellow"},
                                                     {86, "Green/Bl&ue"},
                                                     {87, "Green/&Yellow"},
                                                     {88, "Blu&e"},
                                                     {100, "&About"},
                                                     {105, "Com Po&rts"},
                                                     {200, "&Up"},
                                                     {201, "&Down"},
                                                     {205, "&Clear Screen Now"},
                                                     {206, "&Grid On/Off"},
                                                     {207, "&Save Screen..."},
                                                     {208, "&Auto Frame Capture Start..."},
                                                     {310, "&Settings"},
                                                     {600, "&Diagnostics"},
                                                     {700, "Pixel &Zoom (x2)"},
                                                     {810, "&Meters"},
                                                     {811, "&Feet"},
                                                     {820, "&Sound Velocity..."},
                                                     {830, "User &Text..."},
                                                     {950, "&Off"},
                                                     {951, "&Points Only"},
                                                     {952, "&Low Mix"},
                                                     {953, "&Med Mix"},
                                                     {954, "&High Mix"},
                                                     {960, "&Calibrate Sonar Head"},
                                                     {970, "&Profile Setup..."},
                                                     {980, "&Auto-Profile..."},
                                                     {1000, "Profile &Grid"},
                                                     {1010, "&Zero Down"}};
        for (const auto& [id, text] : items) QCOMPARE(Text(window->CommandAction(id)), QString::fromLatin1(text));
        QCOMPARE(window->View()->size(), QSize(800, 600));
        QCOMPARE(window->windowTitle(), QStringLiteral("Tidemar Digital Sonar"));
    }

    void clockAndPlayedValuesRepaintThePanel() {
        TestFolder folder(NoHead);
        ScriptedPrompts prompts;
        auto window = MakeWindow(folder, prompts);
        window->Start();
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        QTest::qWait(50);
        PaintRegions paints;
        window->View()->installEventFilter(&paints);
        const QRect dateTimeBox(2, 512, 100, 16);

        window->Target().OnNewSecond();  // a new second on the clock
        QTRY_VERIFY(paints.Painted.intersects(dateTimeBox));

        paints.Painted = QRegion();
        window->Target().DrawFrequencyReadout();  // a played record's frequency
        QTRY_VERIFY(paints.Painted.intersects(QRect(620, 60, 100, 16)));
    }

    void startUpMarksFollowTheSettings() {
        TestFolder folder(NoHead + QStringLiteral("Colors=3\nGrid=0\nUnits=1\nXdcr=1\nPixelZoom=0\nZeroDown=0\n"
                                                  "Profile=2\nProfileGrid=1\n"));
        ScriptedPrompts prompts;
        auto window = MakeWindow(folder, prompts);
        window->Start();
        auto checked = [&](int id) { return window->CommandAction(id)->isChecked(); };
        auto enabled = [&](int id) { return window->CommandAction(id)->isEnabled(); };
        for (int id = 80; id <= 88; ++id) QCOMPARE(checked(id), id == 83);
        QVERIFY(!checked(206));
        QVERIFY(!checked(810) && checked(811));
        QVERIFY(checked(200) && !checked(201));
        QCOMPARE(Text(window->CommandAction(200)), QStringLiteral("&Aft"));
        QCOMPARE(Text(window->CommandAction(201)), QStringLiteral("&Fwd"));
        QVERIFY(!checked(700));
        QVERIFY(checked(1000) && checked(1010) && enabled(1010));
        for (int id = 950; id <= 954; ++id) QCOMPARE(checked(id), id == 952);
        // Head mode: file commands grayed, head commands enabled.
        QVERIFY(!enabled(10) && enabled(15) && !enabled(16) && !enabled(208));
        QVERIFY(enabled(105) && enabled(960) && enabled(980) && enabled(200) && enabled(201));
        QVERIFY(window->Cycle().Running());
        QVERIFY(prompts.FileDialogs.empty());
    }

    void defaultsWithoutProfileGrid() {
        TestFolder folder(NoHead);
        ScriptedPrompts prompts;
        auto window = MakeWindow(folder, prompts);
        QVERIFY(window->CommandAction(80)->isChecked());
        QVERIFY(window->CommandAction(201)->isChecked());  // Xdcr 0: Down
        QVERIFY(!window->CommandAction(1010)->isEnabled());
        QVERIFY(!window->CommandAction(1010)->isChecked());  // ZeroDown 1
        QCOMPARE(Text(window->CommandAction(200)), QStringLiteral("&Up"));
    }

    void colorTableChangesTheShownPicture() {
        TestFolder folder(NoHead + QStringLiteral("Grid=0\n"));
        ScriptedPrompts prompts;
        auto window = MakeWindow(folder, prompts);
        window->Start();
        // Echo level 60 over a patch of the picture.
        auto& image = const_cast<ImageState&>(window->Image()).Image;
        for (int y = 100; y < 110; ++y)
            for (int x = 200; x < 210; ++x) image.At(x, y) = 60;
        const QColor before = ShownColor(*window, 205 + ImageOffset, 105 + ImageOffset);
        QCOMPARE(before, TableColor(window->Colors(), 60));
        const QColor barBefore = ShownColor(*window, ColorBarLeft, 300);

        window->RunCommand(Command::ColorTableFirst + 4);  // Rev Grey
        QCOMPARE(window->State().Colors, 4);
        QVERIFY(window->CommandAction(84)->isChecked());
        QVERIFY(!window->CommandAction(80)->isChecked());
        const QColor after = ShownColor(*window, 205 + ImageOffset, 105 + ImageOffset);
        QCOMPARE(after, TableColor(window->Colors(), 60));
        QVERIFY(after != before);
        QVERIFY(ShownColor(*window, ColorBarLeft, 300) != barBefore);
        // Cleared pixels and the frame keep their fixed colours.
        QCOMPARE(ShownColor(*window, 2, 2), TableColor(window->Colors(), 123));
        QCOMPARE(ShownColor(*window, 700, 590), TableColor(window->Colors(), 121));
    }

    void gridToggleAndClearScreen() {
        TestFolder folder(NoHead + QStringLiteral("Grid=1\nGridMode=0\n"));
        ScriptedPrompts prompts;
        auto window = MakeWindow(folder, prompts);
        window->Start();
        auto gridPixels = [&] {
            int count = 0;
            for (uint8_t pixel : window->Image().Image.Pixels) count += (pixel & GridBit) ? 1 : 0;
            return count;
        };
        QVERIFY(gridPixels() > 0);
        window->RunCommand(Command::GridOnOff);
        QCOMPARE(window->State().Grid, 0);
        QVERIFY(!window->CommandAction(206)->isChecked());
        QCOMPARE(gridPixels(), 0);
        window->RunCommand(Command::GridOnOff);
        QVERIFY(window->CommandAction(206)->isChecked());
        QVERIFY(gridPixels() > 0);

        auto& image = const_cast<ImageState&>(window->Image()).Image;
        image.At(10, 10) = 50;
        window->RunCommand(Command::ClearScreen);
        QCOMPARE(int(window->Image().Image.At(10, 10)), 0);
    }

    void unitsXdcrAndProfileCommands() {
        TestFolder folder(NoHead + QStringLiteral("Units=0\nRange=9\n"));
        ScriptedPrompts prompts;
        auto window = MakeWindow(folder, prompts);
        window->Start();
        window->RunCommand(Command::Feet);
        QCOMPARE(window->State().Units, 1);
        QVERIFY(window->CommandAction(811)->isChecked() && !window->CommandAction(810)->isChecked());
        window->RunCommand(Command::XdcrUp);
        QCOMPARE(window->State().Xdcr, 1);
        QVERIFY(window->CommandAction(200)->isChecked() && !window->CommandAction(201)->isChecked());
        // Live: the request waits for the link to take it over between pings.
        window->RunCommand(Command::ProfileOff + 3);
        QCOMPARE(window->State().RequestedProfile, 3);
        QVERIFY(window->CommandAction(953)->isChecked());
        window->RunCommand(Command::PixelZoom);
        QCOMPARE(window->State().PixelZoom, 0);
        QVERIFY(!window->CommandAction(700)->isChecked());
        window->RunCommand(Command::CalibrateHead);
        QCOMPARE(window->State().CalibrateRequest, 1);
        window->RunCommand(Command::ProfileGrid);
        QCOMPARE(window->State().ProfileGrid, 1);
        QVERIFY(window->CommandAction(1010)->isEnabled());
        QCOMPARE(Text(window->CommandAction(200)), QStringLiteral("&Aft"));
        window->RunCommand(Command::ZeroDown);
        QCOMPARE(window->State().ZeroDown, 0);
        QVERIFY(window->CommandAction(1010)->isChecked());
    }

    void playbackPaintsWedgesAndHoldPausesIt() {
        TestFolder folder(NoHead + QStringLiteral("RunMode=1\nPlotSpeed=100\n"));
        ScriptedPrompts prompts;
        prompts.FileAnswers.push_back(SectorRecording().toStdString());
        auto window = MakeWindow(folder, prompts);
        window->Start();
        QCOMPARE(prompts.FileDialogs.size(), size_t(1));
        QCOMPARE(QString::fromStdString(prompts.FileDialogs[0].Title),
                 QStringLiteral("Open a Sonar File For Playback"));
        QVERIFY(window->PlaybackFile().PlaybackOpen());
        QVERIFY(!window->Cycle().Running());
        QVERIFY(window->windowTitle().startsWith(QStringLiteral("Tidemar Digital Sonar - Playback of ")));
        QVERIFY(window->CommandAction(10)->isEnabled() && !window->CommandAction(15)->isEnabled());
        QVERIFY(window->CommandAction(16)->isEnabled() && !window->CommandAction(200)->isEnabled());

        QTRY_VERIFY_WITH_TIMEOUT(EchoPixels(window->Image().Image) > 2000, 10000);
        // What is shown is the picture through the colour table.
        const QImage shown = window->View()->grab().toImage();
        int compared = 0;
        for (int y = 0; y < ImageHeight; y += 7)
            for (int x = 0; x < ImageWidth; x += 7) {
                const int value = window->Image().Image.At(x, y);
                QCOMPARE(shown.pixelColor(x + ImageOffset, y + ImageOffset), TableColor(window->Colors(), value));
                compared += value > 0 && value <= MaxEchoLevel;
            }
        QVERIFY(compared > 10);

        window->ToggleHold();
        QCOMPARE(window->State().HoldActive, 1);
        QTest::qWait(50);
        const int held = window->PlaybackSteps();
        QTest::qWait(300);
        QCOMPARE(window->PlaybackSteps(), held);
        window->ToggleHold();
        QCOMPARE(window->State().HoldActive, 0);
        QVERIFY(!window->CommandAction(200)->isEnabled());  // still grayed: playing a file
        QTRY_VERIFY_WITH_TIMEOUT(window->PlaybackSteps() > held + 5, 5000);
    }

    void playbackWaitsWhileAMessageBoxIsOpen() {
        TestFolder folder(NoHead + QStringLiteral("RunMode=1\nPlotSpeed=100\n"));
        ScriptedPrompts prompts;
        prompts.FileAnswers.push_back(SectorRecording().toStdString());
        auto window = MakeWindow(folder, prompts);
        window->Start();
        QTRY_VERIFY_WITH_TIMEOUT(window->PlaybackSteps() > 3, 5000);
        int atOpen = -1;
        int atClose = -1;
        QTimer::singleShot(0, window.get(), [&] {
            QMessageBox box(QMessageBox::Information, QStringLiteral("Note"), QStringLiteral("Open"), QMessageBox::Ok,
                            window.get());
            QTimer::singleShot(100, &box, [&] { atOpen = window->PlaybackSteps(); });
            QTimer::singleShot(500, &box, [&] {
                atClose = window->PlaybackSteps();
                box.accept();
            });
            box.exec();
        });
        QTRY_VERIFY_WITH_TIMEOUT(atClose >= 0, 5000);
        QVERIFY(atOpen >= 0);
        QCOMPARE(atClose, atOpen);
        QTRY_VERIFY_WITH_TIMEOUT(window->PlaybackSteps() > atClose + 5, 5000);
    }

    void playbackSliderFollowsAndSeeks() {
        TestFolder folder(NoHead + QStringLiteral("RunMode=1\nPlotSpeed=100\n"));
        ScriptedPrompts prompts;
        prompts.FileAnswers.push_back(SectorRecording().toStdString());
        auto window = MakeWindow(folder, prompts);
        window->Start();
        PlaybackSlider* slider = window->Slider();
        QVERIFY(slider);
        QCOMPARE(slider->geometry(), QRect(620, 43, 154, 20));
        QCOMPARE(slider->minimum(), 0);
        QCOMPARE(slider->maximum(), 100);
        QCOMPARE(slider->pageStep(), 10);
        QCOMPARE(slider->tickInterval(), 10);
        QTRY_VERIFY_WITH_TIMEOUT(slider->value() > 0, 10000);
        QCOMPARE(slider->value(), window->PlaybackFile().PlaybackPercent());

        window->ToggleHold();
        const int64_t length = window->PlaybackFile().PlaybackFileLength();
        const int64_t before = window->PlaybackFile().Offset();
        // The ends of the slider never move playback.
        slider->setValue(100);
        QCOMPARE(window->PlaybackFile().Offset(), before);
        slider->setValue(0);
        QCOMPARE(window->PlaybackFile().Offset(), before);
        // Halfway: the first record at or after the middle of the file.
        slider->setValue(50);
        const int64_t middle = window->PlaybackFile().Offset();
        QVERIFY2(middle >= length / 2 && middle < length / 2 + 2000, qPrintable(QString::number(middle)));
        QFile file(SectorRecording());
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(file.seek(middle));
        QCOMPARE(file.read(3), QByteArray("K7T"));
        // The keyboard stays with the picture.
        QCOMPARE(slider->focusPolicy(), Qt::NoFocus);

        window->ToggleHold();
        QTRY_VERIFY_WITH_TIMEOUT(window->PlaybackFile().PlaybackPercent() >= 50, 5000);
        QTRY_COMPARE_WITH_TIMEOUT(slider->value(), window->PlaybackFile().PlaybackPercent(), 5000);

        window->SelectDataSource(DataSource::Head);
        QVERIFY(!window->Slider());
        QVERIFY(!window->View()->findChild<PlaybackSlider*>());
    }

    void headFileHeadKeepsTheHeadSettings() {
        TestFolder folder(NoHead + QStringLiteral("Range=3\nGain=20\nGridMode=1\nSpeed=1\n"));
        ScriptedPrompts prompts;
        auto window = MakeWindow(folder, prompts);
        window->Start();
        QVERIFY(window->Cycle().Running());

        prompts.FileAnswers.push_back(SectorRecording().toStdString());
        window->SelectDataSource(DataSource::File);
        QCOMPARE(window->State().RunMode, 1);
        QVERIFY(!window->Cycle().Running());
        QVERIFY(window->PlaybackFile().PlaybackOpen());
        // The recording's own settings take over while it plays.
        QTRY_VERIFY_WITH_TIMEOUT(window->State().Range == 6 && window->State().GridMode == 0, 10000);

        window->SelectDataSource(DataSource::Head);
        QCOMPARE(window->State().RunMode, 0);
        QCOMPARE(window->State().Range, 3);
        QCOMPARE(window->State().Gain, 20);
        QCOMPARE(window->State().GridMode, 1);
        QCOMPARE(window->State().Speed, 1);
        QVERIFY(!window->PlaybackFile().PlaybackOpen());
        QVERIFY(window->Cycle().Running());
        QCOMPARE(window->windowTitle(), QStringLiteral("Tidemar Digital Sonar"));
        QVERIFY(!window->CommandAction(10)->isEnabled() && window->CommandAction(15)->isEnabled());
        QVERIFY(window->CommandAction(200)->isEnabled() && !window->CommandAction(16)->isEnabled());

        // Written at the end: the head settings, not the file's.
        window->close();
        const QString ini = folder.IniText();
        QVERIFY2(ini.contains(QStringLiteral("Range=3")), qPrintable(ini));
        QVERIFY(ini.contains(QStringLiteral("Gain=20")));
        QVERIFY(ini.contains(QStringLiteral("RunMode=0")));
    }

    void cancelledFileDialogLeavesNoFile() {
        TestFolder folder(NoHead + QStringLiteral("RunMode=1\n"));
        ScriptedPrompts prompts;  // no answer: Cancel
        auto window = MakeWindow(folder, prompts);
        window->Start();
        QCOMPARE(prompts.FileDialogs.size(), size_t(1));
        QCOMPARE(window->windowTitle(), QStringLiteral("Tidemar Digital Sonar - [No File]"));
        QTest::qWait(100);
        QCOMPARE(window->PlaybackSteps(), 0);

        // "&Playback..." asks again and plays.
        prompts.FileAnswers.push_back(SectorRecording().toStdString());
        window->RunCommand(Command::Playback);
        QVERIFY(window->PlaybackFile().PlaybackOpen());
        QTRY_VERIFY_WITH_TIMEOUT(window->PlaybackSteps() > 3, 5000);
    }

    // A file played backwards, then the head, then FILE again with the dialog cancelled:
    // nothing is left of the old file's Reverse box.
    void reverseBoxGoesWithTheFile() {
        TestFolder folder(NoHead + QStringLiteral("RunMode=1\nPlotSpeed=100\n"));
        ScriptedPrompts prompts;
        prompts.FileAnswers.push_back(SectorRecording().toStdString());
        auto window = MakeWindow(folder, prompts);
        window->Start();
        QTRY_VERIFY_WITH_TIMEOUT(window->PlaybackFile().ReverseAvailable(), 5000);
        window->View()->TypeKey(' ');
        QCOMPARE(window->State().PlaybackReverse, 1);
        QVERIFY(ReverseBoxShown(*window));

        window->SelectDataSource(DataSource::Head);
        window->SelectDataSource(DataSource::File);  // no answer: Cancel
        QCOMPARE(prompts.FileDialogs.size(), size_t(2));
        QCOMPARE(window->State().PlaybackReverse, 0);
        QVERIFY(!ReverseBoxShown(*window));
        window->View()->TypeKey(' ');
        QTest::mouseClick(window->View(), Qt::LeftButton, {}, QPoint(365, 539));
        QCOMPARE(window->State().PlaybackReverse, 0);
        QVERIFY(!ReverseBoxShown(*window));
    }

    // Profile Grid (1000) and Zero Down (1010) are grayed whenever SS is shown, whoever set
    // the mode, and no later menu command brings them back.
    void profileMenuItemsFollowTheShownMode() {
        auto enabled = [](MainWindow& window) {
            return std::pair{window.CommandAction(Command::ProfileGrid)->isEnabled(),
                             window.CommandAction(Command::ZeroDown)->isEnabled()};
        };
        const std::pair grayed{false, false}, both{true, true};

        TestFolder ss(NoHead + QStringLiteral("GridMode=2\nProfileGrid=1\n"));
        ScriptedPrompts prompts;
        auto window = MakeWindow(ss, prompts);
        window->Start();
        QCOMPARE(enabled(*window), grayed);  // start-up in SS
        window->RunCommand(Command::ClearScreen);
        QCOMPARE(enabled(*window), grayed);  // the marks set after a command
        window->close();

        TestFolder sector(NoHead + QStringLiteral("GridMode=0\nProfileGrid=1\nPlotSpeed=100\n"));
        window = MakeWindow(sector, prompts);
        window->Start();
        QCOMPARE(enabled(*window), both);
        prompts.FileAnswers.push_back(SideScanRecording().toStdString());
        window->SelectDataSource(DataSource::File);
        QTRY_COMPARE_WITH_TIMEOUT(enabled(*window), grayed, 5000);  // a played SS record
        QCOMPARE(window->State().GridMode, int(DisplayMode::SideScan));
        window->RunCommand(Command::ClearScreen);
        QCOMPARE(enabled(*window), grayed);
        window->SelectDataSource(DataSource::Head);
        QCOMPARE(enabled(*window), both);  // the head's Sector mode again
    }

    void notARecordingIsRefused() {
        TestFolder folder(NoHead + QStringLiteral("RunMode=1\n"));
        QFile junk(folder.Path(QStringLiteral("junk.K7T")));
        QVERIFY(junk.open(QIODevice::WriteOnly));
        junk.write("this is not sonar data");
        junk.close();
        ScriptedPrompts prompts;
        prompts.FileAnswers.push_back(junk.fileName().toStdString());
        auto window = MakeWindow(folder, prompts);
        window->Start();
        QVERIFY(!window->PlaybackFile().PlaybackOpen());
        QVERIFY(!prompts.Messages.empty());
        QCOMPARE(window->windowTitle(), QStringLiteral("Tidemar Digital Sonar - [No File]"));
        QTest::qWait(50);
        QCOMPARE(window->PlaybackSteps(), 0);
    }

    void copyWhilePlaying() {
        // Paced (22 ms a record), so the copy is still open, well short of the end of the file.
        TestFolder folder(NoHead + QStringLiteral("RunMode=1\nPlotSpeed=70\n"));
        ScriptedPrompts prompts;
        prompts.FileAnswers.push_back(SectorRecording().toStdString());
        auto window = MakeWindow(folder, prompts);
        window->Start();
        const QString copy = folder.Path(QStringLiteral("copy.K7T"));
        prompts.FileAnswers.push_back(copy.toStdString());
        window->RunCommand(Command::CopyStart);
        QVERIFY(window->PlaybackFile().Copying());
        QCOMPARE(Text(window->CommandAction(16)), QStringLiteral("&Copy Stop..."));
        QTRY_VERIFY_WITH_TIMEOUT(window->PlaybackFile().CopiedBytes() > 5000, 10000);
        // Held, so the copy cannot reach the end of the file (which closes it) meanwhile.
        window->ToggleHold();
        QVERIFY(window->PlaybackFile().Copying());
        prompts.QuestionAnswers = {false};
        window->RunCommand(Command::Exit);
        QCOMPARE(QString::fromStdString(prompts.Questions.at(0).Text),
                 QStringLiteral("Copying to %1 is open. Stop copying and exit?").arg(copy));
        QVERIFY(window->isVisible() && window->PlaybackFile().Copying());
        window->RunCommand(Command::CopyStart);
        QVERIFY(!window->PlaybackFile().Copying());
        QCOMPARE(Text(window->CommandAction(16)), QStringLiteral("&Copy Start..."));
        QCOMPARE(QString::fromStdString(prompts.Messages.back().Caption), QStringLiteral("Close Copy File"));
        QVERIFY(QFileInfo(copy).size() > 5000);
        QVERIFY(window->windowTitle().startsWith(QStringLiteral("Tidemar Digital Sonar - Playback of ")));
    }

    void exitWritesTheSettings() {
        TestFolder folder(NoHead + QStringLiteral("Colors=0\n; kept as it is\n"));
        ScriptedPrompts prompts;
        auto window = MakeWindow(folder, prompts);
        window->Start();
        window->RunCommand(Command::ColorTableFirst + 5);
        window->RunCommand(Command::Exit);
        QVERIFY(!window->isVisible());
        const QString ini = folder.IniText();
        QVERIFY2(ini.contains(QStringLiteral("Colors=5")), qPrintable(ini));
        QVERIFY(ini.contains(QStringLiteral("; kept as it is")));
        QVERIFY(ini.contains(QStringLiteral("IPAddress_Sonar1=127.0.0.62")));
    }
};

QTEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
