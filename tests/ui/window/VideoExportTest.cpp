// Export Video of a played file from the window: the video written with its dialog and
// message, and a long export cancelled half-way leaving no file while the window stays live.
#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFile>
#include <QProgressDialog>
#include <QTest>
#include <QTimer>

#include "UiTestSupport.h"
#include "platform/QtPrompts.h"
#include "ui/dialogs/VideoExportDialog.h"
#include "ui/window/MainMenu.h"

using namespace tidemar;
using namespace tidemar::uitest;

namespace {

const QString NoHead = QStringLiteral("IPAddress_Sonar1=127.0.0.131\n");

// The sector recording with its records stamped `seconds` apart, for an export that lasts.
QString StretchedRecording(const TestFolder& folder, int seconds) {
    QFile in(SectorRecording());
    if (!in.open(QIODevice::ReadOnly)) return {};
    QByteArray bytes = in.readAll();
    int record = 0;
    for (qsizetype at = 0; at + 100 <= bytes.size(); ++record) {
        const int size = (uint8_t(bytes[at + 4]) << 8) | uint8_t(bytes[at + 5]);
        const int t = record * seconds;
        const QByteArray time = QStringLiteral("%1:%2:%3")
                                    .arg(t / 3600 % 24, 2, 10, QLatin1Char('0'))
                                    .arg(t / 60 % 60, 2, 10, QLatin1Char('0'))
                                    .arg(t % 60, 2, 10, QLatin1Char('0'))
                                    .toLatin1();
        bytes.replace(at + 20, 8, time);
        at += size;
    }
    const QString path = folder.Path(QStringLiteral("long.K7T"));
    QFile out(path);
    if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size()) return {};
    return path;
}

bool Mp4File(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) && file.read(8).mid(4) == "ftyp" && file.size() > 1000;
}

}  // namespace

class VideoExportTest : public QObject {
    Q_OBJECT
private slots:
    void exportWritesTheVideoAndCancelLeavesNothing() {
        TestFolder folder(NoHead + QStringLiteral("RunMode=1\nPlotSpeed=100\n"));
        ScriptedPrompts prompts;
        const QString longFile = StretchedRecording(folder, 10);
        QVERIFY(!longFile.isEmpty());
        prompts.FileAnswers.push_back(SectorRecording().toStdString());
        auto window = MakeWindow(folder, prompts);
        window->Start();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        QAction* command = FindCommandAction(window.get(), Command::ExportVideo);
        QVERIFY(command && command->isEnabled());
        // The options dialog: answered with `speed`, the half size and the clock strip, or
        // cancelled with speed 0.
        double speed = 1.0, shownSpeed = 0.0;
        int asked = 0;
        QTimer options;
        QObject::connect(&options, &QTimer::timeout, [&] {
            auto* dialog = window->findChild<QDialog*>(QString::fromLatin1(VideoOptionsName));
            if (!dialog || !dialog->isVisible()) return;
            ++asked;
            if (speed == 0.0) return dialog->reject();
            auto* box = dialog->findChild<QDoubleSpinBox*>(QStringLiteral("speed"));
            shownSpeed = box->value();
            box->setValue(speed);
            dialog->findChild<QComboBox*>(QStringLiteral("size"))->setCurrentIndex(2);
            dialog->findChild<QCheckBox*>(QStringLiteral("clock"))->setChecked(true);
            dialog->accept();
        });
        options.start(10);

        // Options cancelled: nothing asked further.
        speed = 0.0;
        const size_t dialogs = prompts.FileDialogs.size();
        command->trigger();
        QCOMPARE(asked, 1);
        QCOMPARE(prompts.FileDialogs.size(), dialogs);

        // A short file: written under the name chosen, then said.
        speed = 4.0;
        const QString video = folder.Path(QStringLiteral("sector.mp4"));
        prompts.FileAnswers.push_back(video.toStdString());
        command->trigger();
        QCOMPARE(asked, 2);
        const FileDialogRequest& dialog = prompts.FileDialogs.back();
        QCOMPARE(QString::fromStdString(dialog.Title), QStringLiteral("Export Video"));
        QVERIFY(QString::fromStdString(dialog.InitialName).endsWith(QStringLiteral("sector.mp4")));
        QVERIFY(Mp4File(video));
        QVERIFY(!QFile::exists(video + QStringLiteral(".part")));
        QCOMPARE(QString::fromStdString(prompts.Messages.back().Caption), QStringLiteral("Export Video"));
        QVERIFY(QString::fromStdString(prompts.Messages.back().Text).startsWith(QStringLiteral("Video saved to ")));
        // Playback, paused under the dialog as under any, goes on afterwards.
        const int64_t position = window->PlaybackFile().Offset();
        QTRY_VERIFY_WITH_TIMEOUT(window->PlaybackFile().Offset() != position, 3000);

        QCOMPARE(QString::fromStdString(prompts.Messages.back().Text),
                 QStringLiteral("Video saved to ") + video + QStringLiteral("\n25 frames, 1.0 seconds."));
        speed = 1.0;

        // A long one (40 minutes of pings), cancelled half-way: nothing is left, and the
        // window answered all along.
        prompts.FileAnswers.push_back(longFile.toStdString());
        window->RunCommand(Command::Playback);
        const size_t messages = prompts.Messages.size();
        const QString cancelled = folder.Path(QStringLiteral("long.mp4"));
        prompts.FileAnswers.push_back(cancelled.toStdString());
        int seenPercent = -1, ticks = 0;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            ++ticks;
            auto* progress = window->findChild<QProgressDialog*>(QString::fromLatin1(ExportVideoProgressName));
            if (!progress || progress->wasCanceled()) return;
            seenPercent = progress->value();
            if (seenPercent >= 40) progress->cancel();
        });
        poll.start(20);
        command->trigger();
        poll.stop();
        QVERIFY2(seenPercent >= 40 && seenPercent < 100, qPrintable(QString::number(seenPercent)));
        QCOMPARE(shownSpeed, 4.0);  // the last export's choice
        QVERIFY(ticks > 5);
        QVERIFY(!QFile::exists(cancelled));
        QVERIFY(!QFile::exists(cancelled + QStringLiteral(".part")));
        QCOMPARE(prompts.Messages.size(), messages);

        // Rejected as a quit signal rejects any dialog open: stopped the same way.
        prompts.FileAnswers.push_back(cancelled.toStdString());
        bool rejected = false;
        QTimer reject;
        QObject::connect(&reject, &QTimer::timeout, [&] {
            auto* progress = window->findChild<QProgressDialog*>(QString::fromLatin1(ExportVideoProgressName));
            if (progress && progress->isVisible() && !rejected) {
                rejected = true;
                progress->reject();
            }
        });
        reject.start(20);
        command->trigger();
        reject.stop();
        QVERIFY(rejected);
        QVERIFY(!QFile::exists(cancelled));
        QVERIFY(!QFile::exists(cancelled + QStringLiteral(".part")));
        QCOMPARE(prompts.Messages.size(), messages);

        // Nothing to export without a played file: said.
        QVERIFY(!RunExportVideo(window.get(), window->State(), "", prompts));
        QCOMPARE(QString::fromStdString(prompts.Messages.back().Text), QStringLiteral("No file is open for playback."));

        // Gray in HEAD mode.
        window->SelectDataSource(DataSource::Head);
        QVERIFY(!command->isEnabled());
    }

    // Playback waits under the progress dialog and goes on however the export was stopped.
    void playbackGoesOnAfterAnExportStopped() {
        TestFolder folder(NoHead + QStringLiteral("RunMode=1\nPlotSpeed=100\n"));
        ScriptedPrompts prompts;
        // Records a second apart: played at that pace, and many frames each in the video.
        const QString recording = StretchedRecording(folder, 1);
        QVERIFY(!recording.isEmpty());
        prompts.FileAnswers.push_back(recording.toStdString());
        auto window = MakeWindow(folder, prompts);
        window->Start();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        const int64_t start = window->PlaybackFile().Offset();
        QTRY_VERIFY_WITH_TIMEOUT(window->PlaybackFile().Offset() != start, 3000);
        QTimer options;
        QObject::connect(&options, &QTimer::timeout, [&] {
            auto* dialog = window->findChild<QDialog*>(QString::fromLatin1(VideoOptionsName));
            if (!dialog || !dialog->isVisible()) return;
            dialog->findChild<QDoubleSpinBox*>(QStringLiteral("speed"))->setValue(0.1);
            dialog->accept();
        });
        options.start(10);
        // Each row: how the progress dialog is left while the export runs.
        const struct {
            const char* Legend;
            void (*Stop)(QProgressDialog*);
        } rows[] = {
            {"its Cancel button", [](QProgressDialog* p) { p->cancel(); }},
            {"rejected, as by a quit signal", [](QProgressDialog* p) { p->reject(); }},
        };
        for (const auto& row : rows) {
            const QString video = folder.Path(QStringLiteral("stopped.mp4"));
            prompts.FileAnswers.push_back(video.toStdString());
            const size_t messages = prompts.Messages.size();
            bool stopped = false;
            QTimer poll;
            QObject::connect(&poll, &QTimer::timeout, [&] {
                auto* progress = window->findChild<QProgressDialog*>(QString::fromLatin1(ExportVideoProgressName));
                if (!progress || !progress->isVisible() || stopped) return;
                stopped = true;
                row.Stop(progress);
            });
            poll.start(5);
            window->RunCommand(Command::ExportVideo);
            poll.stop();
            QVERIFY2(stopped && !QFile::exists(video) && prompts.Messages.size() == messages, row.Legend);
            const int64_t at = window->PlaybackFile().Offset();
            QTRY_VERIFY2_WITH_TIMEOUT(window->PlaybackFile().Offset() != at, row.Legend, 3000);
        }
    }
};

QTEST_MAIN(VideoExportTest)
#include "VideoExportTest.moc"
