#pragma once
// Shared pieces of the window tests: a temporary working folder with its TIDEMAR.INI, the
// window made there with scripted prompts, pixel checks, and a simulated head.

#include <QByteArray>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>

#include <memory>
#include <string>

#include "core/Cp1252.h"
#include "image/SonarImage.h"
#include "platform/ScriptedPrompts.h"
#include "ui/window/MainWindow.h"

namespace tidemar::uitest {

// A folder with TIDEMAR.INI ("[Settings]" plus `keys`, one "Key=Value" a line, in
// Windows-1252 as such files are) and an empty device folder, so no real serial port is
// probed.
struct TestFolder {
    QTemporaryDir Dir;
    explicit TestFolder(const QString& keys) {
        // A window made here dials IPAddress_Sonar1 at once: never the private-range
        // default, only a loopback head.
        if (!keys.contains(QStringLiteral("IPAddress_Sonar1=127.")))
            qFatal("TestFolder: the settings must set IPAddress_Sonar1 to a loopback address");
        QFile ini(Dir.filePath(QStringLiteral("TIDEMAR.INI")));
        const std::string text = Utf8ToCp1252(("[Settings]\n" + keys + "\n").toStdString()).Bytes;
        if (ini.open(QIODevice::WriteOnly)) ini.write(text.data(), static_cast<qint64>(text.size()));
        QDir(Dir.path()).mkdir(QStringLiteral("dev"));
    }
    QString Path(const QString& name) const { return Dir.filePath(name); }
    QString IniText() const {
        QFile ini(Path(QStringLiteral("TIDEMAR.INI")));
        return ini.open(QIODevice::ReadOnly) ? QString::fromStdString(Cp1252ToUtf8(ini.readAll().toStdString()))
                                             : QString();
    }
};

// `headSource`, when given, stands in for the head over the link.
inline std::unique_ptr<MainWindow> MakeWindow(const TestFolder& folder, ScriptedPrompts& prompts,
                                              PingSourceFactory headSource = {}) {
    MainWindowOptions options;
    options.SettingsDirectory = folder.Dir.path().toStdString();
    options.DeviceDirectory = folder.Path(QStringLiteral("dev")).toStdString();
    options.Dialogs = &prompts;
    options.HeadSource = std::move(headSource);
    return std::make_unique<MainWindow>(options);
}

// Pixels of the picture that hold an echo (not cleared, not grid).
inline int EchoPixels(const SonarImage& image) {
    int count = 0;
    for (uint8_t pixel : image.Pixels)
        if (pixel > 0 && pixel <= MaxEchoLevel) ++count;
    return count;
}

inline QString SectorRecording() { return QStringLiteral(TIDEMAR_TEST_DATA "/render/sector.K7T"); }

// tidemar-headsim on a loopback address with a fixed seed (and any `extra` options, such as
// "--head-scan"), stopped with the object.
class HeadSim {
public:
    bool Start(const QString& address, const QStringList& extra = {}) {
        process_.setProgram(QStringLiteral(TIDEMAR_HEADSIM));
        process_.setArguments(
            QStringList{QStringLiteral("--address"), address, QStringLiteral("--seed"), QStringLiteral("7")} + extra);
        process_.setStandardOutputFile(QProcess::nullDevice());
        process_.setReadChannel(QProcess::StandardError);
        process_.start();
        if (!process_.waitForStarted(5000)) return false;
        // It says so on stderr once it listens; anything else it says first (a port in use,
        // a bad option) means it never will.
        QByteArray said;
        QDeadlineTimer deadline(5000);
        while (!said.contains("tidemar-headsim: listening on ")) {
            if (!process_.waitForReadyRead(static_cast<int>(deadline.remainingTime()))) {
                qWarning("tidemar-headsim did not start on %s: %s", qPrintable(address), said.constData());
                return false;
            }
            said += process_.readAllStandardError();
        }
        return true;
    }
    ~HeadSim() {
        if (process_.state() != QProcess::NotRunning) {
            process_.terminate();
            if (!process_.waitForFinished(5000)) process_.kill();
            process_.waitForFinished(2000);
        }
    }

private:
    QProcess process_;
};

}  // namespace tidemar::uitest
