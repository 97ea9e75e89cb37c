// The GPS side of the main window: the position box under the panel (not available, a
// fresh position, positions played from a recording) and the "ComPort Setup" dialog on a
// pseudo-terminal standing in for a serial port.
#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <functional>
#include <memory>

#include "UiTestSupport.h"
#include "gps/GpsInput.h"
#include "gps/GpsPositionBox.h"
#include "ui/dialogs/ComPortSetupDialog.h"
#include "ui/window/MainMenu.h"

using namespace tidemar;
using namespace tidemar::uitest;

namespace {

const QString NoHead = QStringLiteral("IPAddress_Sonar1=127.0.0.62\n");
const char* const Gga = "$GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,*47\r\n";

QImage BoxImage(MainWindow& window) { return window.View()->grab().toImage().copy(window.View()->GpsBoxArea()); }

QColor Palette(MainWindow& window, int index) { return window.View()->PaletteColor(index); }

int CountColor(const QImage& image, const QColor& color) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) count += image.pixelColor(x, y) == color;
    return count;
}

// Pixels inside the frame that are neither fill nor frame: the drawn text.
int TextPixels(MainWindow& window, const QImage& box) {
    const QColor fill = Palette(window, GpsBoxGeometry::FillColor);
    int count = 0;
    for (int y = 1; y < box.height() - 1; ++y)
        for (int x = 1; x < box.width() - 1; ++x) count += box.pixelColor(x, y) != fill;
    return count;
}

class Pty {
public:
    Pty() {
        master_ = posix_openpt(O_RDWR | O_NOCTTY);
        if (master_ >= 0 && grantpt(master_) == 0 && unlockpt(master_) == 0) slave_ = ptsname(master_);
    }
    ~Pty() {
        if (master_ >= 0) close(master_);
    }
    QString Slave() const { return QString::fromStdString(slave_); }
    bool Send(const std::string& bytes) const {
        return write(master_, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size());
    }

private:
    int master_ = -1;
    std::string slave_;
};

// Answers the dialog that the command opens, then returns.
void RunDialog(MainWindow& window, const std::function<void(ComPortSetupDialog&)>& answer) {
    auto seen = std::make_shared<bool>(false);
    QTimer::singleShot(0, &window, [seen, answer] {
        auto* dialog = qobject_cast<ComPortSetupDialog*>(QApplication::activeModalWidget());
        if (!dialog) return;
        *seen = true;
        answer(*dialog);
    });
    window.RunCommand(Command::ComPorts);
    QVERIFY2(*seen, "the dialog did not open");
}

}  // namespace

class GpsWindowTest : public QObject {
    Q_OBJECT
private slots:
    void boxSaysNotAvailableUntilASentenceThenShowsIt() {
        TestFolder folder(NoHead + QStringLiteral("UseGPS=1\nGPSType=1\n"));
        ScriptedPrompts prompts;
        auto window = MakeWindow(folder, prompts);
        window->Start();
        QVERIFY(window->View()->ShownGpsBox().Shown);
        QVERIFY(window->View()->ShownGpsBox().NotAvailable);
        const QImage empty = BoxImage(*window);
        QVERIFY(CountColor(empty, Palette(*window, GpsBoxGeometry::FillColor)) > empty.width() * empty.height() / 2);
        QVERIFY(TextPixels(*window, empty) > 30);

        QCOMPARE(HandleGpsLine(window->State(), Gga, window->Target()), GpsLineUse::Shown);
        QCOMPARE(QString::fromStdString(window->State().GpsPositionText), QStringLiteral(" 48.07.038 N011.31.000 E"));
        const GpsBox& box = window->View()->ShownGpsBox();
        QVERIFY(box.Shown && !box.NotAvailable);
        QCOMPARE(QString::fromStdString(box.LatitudeText), QStringLiteral(" 48.07.038 N,"));
        QCOMPARE(QString::fromStdString(box.LongitudeText), QStringLiteral("011.31.000 E"));
        const QImage first = BoxImage(*window);
        QVERIFY(first != empty);
        QVERIFY(TextPixels(*window, first) > 30);

        // The star blinks with every fresh position.
        const bool star = box.Star;
        HandleGpsLine(window->State(), Gga, window->Target());
        QCOMPARE(window->View()->ShownGpsBox().Star, !star);
        QVERIFY(BoxImage(*window) != first);
    }

    void boxIsWipedWithoutGps() {
        TestFolder folder(NoHead + QStringLiteral("UseGPS=0\n"));
        ScriptedPrompts prompts;
        auto window = MakeWindow(folder, prompts);
        window->Start();
        QVERIFY(!window->View()->ShownGpsBox().Shown);
        const QImage box = BoxImage(*window);
        QCOMPARE(CountColor(box, Palette(*window, GpsBoxGeometry::HiddenColor)), box.width() * box.height());
    }

    void playedPositionsAreShown() {
        QTemporaryDir dir;
        const std::string file = dir.filePath(QStringLiteral("gps.K7T")).toStdString();
        {
            ScriptedPrompts prompts;
            RecordedChrome chrome;
            Recorder recorder(prompts, chrome);
            prompts.FileAnswers.push_back(file);
            QCOMPARE(recorder.StartRecording(), 1);
            SonarState state;
            state.UseGPS = 1;
            state.GpsPositionText = " 49.16.451 N123.11.123 W";
            for (int n = 0; n < 40; ++n) {
                const int position = 100 + n;
                const uint8_t reply[13] = {'B',
                                           'P',
                                           'L',
                                           17,
                                           0,
                                           static_cast<uint8_t>(position & 0x7F),
                                           static_cast<uint8_t>((position >> 7) & 0x3F),
                                           50,
                                           0x12,
                                           0x09,
                                           0,
                                           0,
                                           0xFC};
                std::copy(reply, reply + 13, state.ReceiveBuffer.begin());
                state.ExpectedReturnLength = 13;
                state.DataSizeCode = 0;
                state.ReplyType = 'P';
                state.DateText = "05-MAR-2024";
                state.TimeText = "10:15:00";
                recorder.WriteRecord(state);
            }
            recorder.StopRecording();
        }

        TestFolder folder(NoHead + QStringLiteral("RunMode=1\nUseGPS=0\n"));
        ScriptedPrompts prompts;
        prompts.FileAnswers.push_back(file);
        auto window = MakeWindow(folder, prompts);
        window->Start();
        QVERIFY(window->PlaybackFile().PlaybackOpen());
        QTRY_VERIFY_WITH_TIMEOUT(window->View()->ShownGpsBox().Shown && !window->View()->ShownGpsBox().NotAvailable,
                                 5000);
        QCOMPARE(window->State().FileHasGps, 1);
        QCOMPARE(QString::fromStdString(window->View()->ShownGpsBox().LatitudeText), QStringLiteral(" 49.16.451 N,"));
        QVERIFY(TextPixels(*window, BoxImage(*window)) > 30);
    }

    void dialogDisableOkTurnsGpsOff() {
        Pty pty;
        QVERIFY(!pty.Slave().isEmpty());
        TestFolder folder(NoHead + QStringLiteral("UseGPS=1\nGPSType=1\nComPortGPS=0\nSerialPortPaths=") + pty.Slave() +
                          QStringLiteral("\n"));
        ScriptedPrompts prompts;
        auto window = MakeWindow(folder, prompts);
        window->Start();
        RunDialog(*window, [](ComPortSetupDialog& dialog) {
            QCOMPARE(dialog.windowTitle(), QStringLiteral("ComPort Setup"));
            QCOMPARE(dialog.ParameterLabel()->text(), QStringLiteral("(4800,N,8,1)"));
            QVERIFY(dialog.EnableButton()->isChecked());
            QVERIFY(dialog.GgaButton()->isChecked() && dialog.GgaButton()->isEnabled());
            QCOMPARE(dialog.PortList()->count(), 1);
            QCOMPARE(dialog.PortList()->item(0)->text(),
                     QStringLiteral("COM1  ") + QString::fromStdString(dialog.Setup().PortList()[0].Path));
            QCOMPARE(dialog.PortList()->currentRow(), 0);
            // The device path is shown whole.
            QVERIFY(dialog.PortList()->fontMetrics().horizontalAdvance(dialog.PortList()->item(0)->text()) <=
                    dialog.PortList()->viewport()->width());
            QTest::mouseClick(dialog.DisableButton(), Qt::LeftButton);
            QVERIFY(!dialog.GllButton()->isEnabled() && !dialog.GgaButton()->isChecked());
            QTest::mouseClick(dialog.OkButton(), Qt::LeftButton);
        });
        QCOMPARE(window->State().UseGPS, 0);
        QVERIFY(!window->View()->ShownGpsBox().Shown);
        window->close();
        QVERIFY(folder.IniText().contains(QStringLiteral("UseGPS=0")));
    }

    void dialogEnableGllOkReadsThePort() {
        Pty pty;
        QVERIFY(!pty.Slave().isEmpty());
        TestFolder folder(NoHead + QStringLiteral("UseGPS=0\nGPSType=1\nSerialPortPaths=") + pty.Slave() +
                          QStringLiteral("\n"));
        ScriptedPrompts prompts;
        auto window = MakeWindow(folder, prompts);
        window->Start();
        RunDialog(*window, [](ComPortSetupDialog& dialog) {
            QVERIFY(dialog.DisableButton()->isChecked());
            QVERIFY(!dialog.GllButton()->isEnabled() && !dialog.GgaButton()->isEnabled());
            QTest::mouseClick(dialog.EnableButton(), Qt::LeftButton);
            QVERIFY(dialog.GgaButton()->isChecked() && dialog.GllButton()->isEnabled());
            QTest::mouseClick(dialog.GllButton(), Qt::LeftButton);
            QVERIFY(dialog.GllButton()->isChecked() && !dialog.GgaButton()->isChecked());
            QTest::mouseClick(dialog.OkButton(), Qt::LeftButton);
        });
        QCOMPARE(window->State().UseGPS, 1);
        QCOMPARE(window->State().GPSType, 0);
        QCOMPARE(window->State().ComPortGPS, 0);
        QVERIFY(window->View()->ShownGpsBox().Shown);
        // The port is read from now on: a GLL sentence reaches the box.
        QTest::qWait(50);
        QVERIFY(pty.Send("$GPGLL,4916.4512,N,12311.1234,W,225444,A*1D\r\n"));
        QTRY_COMPARE_WITH_TIMEOUT(QString::fromStdString(window->State().GpsPositionText),
                                  QStringLiteral(" 49.16.451 N123.11.123 W"), 5000);
        QCOMPARE(QString::fromStdString(window->View()->ShownGpsBox().LongitudeText), QStringLiteral("123.11.123 W"));
    }

    void dialogCancelChangesNothingAndIsNotOfferedInPlayback() {
        TestFolder folder(NoHead + QStringLiteral("UseGPS=1\nGPSType=1\n"));
        ScriptedPrompts prompts;
        auto window = MakeWindow(folder, prompts);
        window->Start();
        RunDialog(*window, [](ComPortSetupDialog& dialog) {
            QTest::mouseClick(dialog.DisableButton(), Qt::LeftButton);
            QTest::mouseClick(dialog.CancelButton(), Qt::LeftButton);
        });
        QCOMPARE(window->State().UseGPS, 1);

        window->SelectDataSource(DataSource::File);
        QVERIFY(!window->CommandAction(Command::ComPorts)->isEnabled());
        bool opened = false;
        QTimer::singleShot(0, window.get(), [&] {
            if (QWidget* modal = QApplication::activeModalWidget()) {
                opened = qobject_cast<ComPortSetupDialog*>(modal) != nullptr;
                modal->close();
            }
        });
        window->RunCommand(Command::ComPorts);
        QTest::qWait(20);
        QVERIFY(!opened);
    }
};

QTEST_MAIN(GpsWindowTest)
#include "GpsWindowTest.moc"
