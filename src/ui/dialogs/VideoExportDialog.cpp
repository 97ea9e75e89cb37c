#include "ui/dialogs/VideoExportDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QEventLoop>
#include <QFormLayout>
#include <QProgressDialog>
#include <QSpinBox>
#include <QThread>
#include <QTimer>

#include <atomic>
#include <cstdio>
#include <filesystem>

#include "core/FileNames.h"
#include "ui/dialogs/PlaceDialog.h"
#include "image/SonarImage.h"
#include "video/ClockStrip.h"

namespace tidemar {

namespace {

// What the worker tells the progress dialog; read by a timer on the window's thread.
struct SharedProgress {
    std::atomic<int> Percent{0};
    std::atomic<long long> Frames{0};
    std::atomic<int> SecondsLeft{-1};
    std::atomic<bool> Cancel{false};
};

QString ProgressText(const std::string& name, const SharedProgress& shared) {
    QString text = QStringLiteral("Writing %1\n%2 frames").arg(QString::fromStdString(name)).arg(shared.Frames.load());
    const int left = shared.SecondsLeft.load();
    if (left >= 0) text += QStringLiteral(", about %1 s left").arg(left);
    return text;
}

// The sizes offered, from the picture's own (with the strip when it is shown).
enum class VideoScale { Own, Double, Half };
constexpr const char* VideoScaleTexts[] = {"As shown", "Double", "Half"};

void ApplyScale(VideoOptions& options, VideoScale scale) {
    const int height = ImageHeight + (options.ClockStrip ? ClockStripHeight : 0);
    options.Width = scale == VideoScale::Double ? 2 * ImageWidth : scale == VideoScale::Half ? ImageWidth / 2 : 0;
    options.Height = scale == VideoScale::Double ? 2 * height
                     : scale == VideoScale::Half ? (height / 2 + 1) / 2 * 2
                                                 : 0;
}

VideoScale ScaleOf(const VideoOptions& options) {
    if (options.Width == 2 * ImageWidth) return VideoScale::Double;
    if (options.Width == ImageWidth / 2) return VideoScale::Half;
    return VideoScale::Own;
}

// The choices of the last export, for the next one (the window's thread only).
VideoOptions& LastVideoOptions() {
    static VideoOptions last;
    return last;
}

}  // namespace

std::optional<VideoOptions> AskVideoOptions(QWidget* parent, const VideoOptions& options) {
    QDialog dialog(parent);
    dialog.setObjectName(QString::fromLatin1(VideoOptionsName));
    dialog.setWindowTitle(QString::fromLatin1(ExportVideoTitle));
    auto* speed = new QDoubleSpinBox(&dialog);
    speed->setObjectName(QStringLiteral("speed"));
    speed->setRange(0.1, 1000.0);
    speed->setDecimals(1);
    speed->setValue(options.Speed);
    auto* fps = new QSpinBox(&dialog);
    fps->setObjectName(QStringLiteral("fps"));
    fps->setRange(1, MaxVideoFps);
    fps->setValue(options.Fps);
    auto* size = new QComboBox(&dialog);
    size->setObjectName(QStringLiteral("size"));
    for (const char* text : VideoScaleTexts) size->addItem(QString::fromLatin1(text));
    size->setCurrentIndex(static_cast<int>(ScaleOf(options)));
    auto* clock = new QCheckBox(QStringLiteral("Date and time under the picture"), &dialog);
    clock->setObjectName(QStringLiteral("clock"));
    clock->setChecked(options.ClockStrip);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    auto* form = new QFormLayout(&dialog);
    form->addRow(QStringLiteral("Speed (x real time):"), speed);
    form->addRow(QStringLiteral("Frames per second:"), fps);
    form->addRow(QStringLiteral("Size:"), size);
    form->addRow(clock);
    form->addRow(buttons);
    dialog.adjustSize();
    PlaceDialogOver(dialog, parent);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    VideoOptions chosen = options;
    chosen.Speed = speed->value();
    chosen.Fps = fps->value();
    chosen.ClockStrip = clock->isChecked();
    ApplyScale(chosen, static_cast<VideoScale>(std::max(0, size->currentIndex())));
    return chosen;
}

FileDialogRequest ExportVideoDialog(const std::string& playedFile) {
    FileDialogRequest request;
    request.Title = ExportVideoTitle;
    request.FilterName = "MP4 Video    (*.MP4)";
    request.Pattern = "*.MP4";
    request.DefaultExtension = "mp4";
    request.InitialName = std::filesystem::path(playedFile).replace_extension(".mp4").string();
    request.PromptOverwrite = true;
    request.HideReadOnly = true;
    request.PathMustExist = true;
    return request;
}

bool RunExportVideo(QWidget* parent, const SonarState& state, const std::string& playedFile, Prompts& prompts) {
    if (playedFile.empty()) {
        prompts.Message(ExportVideoTitle, "No file is open for playback.", MessageIcon::Exclamation);
        return false;
    }
    const std::optional<VideoOptions> options = AskVideoOptions(parent, LastVideoOptions());
    if (!options) return false;
    LastVideoOptions() = *options;
    const std::optional<std::string> chosen = prompts.SaveFileName(ExportVideoDialog(playedFile));
    if (!chosen || chosen->empty()) return false;
    const std::string name = *chosen;
    if (!HasExtension(name, "mp4")) {
        prompts.Message(ExportVideoTitle, Mp4ExtensionMessage, MessageIcon::Exclamation);
        return false;
    }

    SharedProgress shared;
    VideoResult result;
    // The worker gets copies of everything it reads: the window's state stays the window's.
    QThread* worker = QThread::create([&shared, &result, settings = state, playedFile, name, options = *options] {
        result = ExportVideo(
            settings, playedFile, name, options,
            [&shared](const VideoProgress& p) {
                shared.Percent.store(p.Percent);
                shared.Frames.store(p.Frames);
                shared.SecondsLeft.store(p.SecondsLeft < 0 ? -1 : static_cast<int>(p.SecondsLeft + 0.5));
            },
            &shared.Cancel);
    });

    QProgressDialog progress(ProgressText(name, shared), QStringLiteral("Cancel"), 0, 100, parent);
    progress.setObjectName(QString::fromLatin1(ExportVideoProgressName));
    progress.setWindowTitle(QString::fromLatin1(ExportVideoTitle));
    progress.setWindowModality(Qt::WindowModal);
    progress.setAutoClose(false);
    progress.setAutoReset(false);
    progress.setMinimumDuration(0);
    progress.adjustSize();
    PlaceDialogOver(progress, parent);
    progress.setValue(0);
    // The Cancel button, Escape, and a reject (a quit signal rejects any dialog open) all stop it.
    QObject::connect(&progress, &QProgressDialog::canceled, &progress, [&shared] { shared.Cancel.store(true); });
    QObject::connect(&progress, &QDialog::rejected, &progress, [&shared] { shared.Cancel.store(true); });
    bool finished = false;
    QObject::connect(&progress, &QDialog::finished, &progress, [&finished] { finished = true; });

    QTimer refresh;
    QObject::connect(&refresh, &QTimer::timeout, &progress, [&] {
        if (progress.wasCanceled()) {
            shared.Cancel.store(true);
            return;
        }
        progress.setValue(shared.Percent.load());
        progress.setLabelText(ProgressText(name, shared));
    });
    QEventLoop loop;
    QObject::connect(worker, &QThread::finished, &loop, &QEventLoop::quit);
    refresh.start(100);
    worker->start();
    loop.exec();
    worker->wait();
    delete worker;
    refresh.stop();
    // Finished, not just hidden: the window waits for that to go on playing. Its Cancel
    // button only hides it.
    if (!finished) progress.done(result.Written ? QDialog::Accepted : QDialog::Rejected);

    if (result.Cancelled) return false;
    if (!result.Written) {
        prompts.Message(ExportVideoTitle, "Cannot export the video:\n" + result.Error, MessageIcon::Exclamation);
        return false;
    }
    char length[64];
    std::snprintf(length, sizeof length, "%lld frames, %.1f seconds.", static_cast<long long>(result.Frames),
                  static_cast<double>(result.Frames) / options->Fps);
    prompts.Message(ExportVideoTitle, "Video saved to " + name + "\n" + length, MessageIcon::Information);
    return true;
}

}  // namespace tidemar
