#include <filesystem>

#include "core/Modes.h"
#include "core/TimeStamp.h"
#include "ui/window/MainWindow.h"

namespace tidemar {

void MainWindow::TickStatus() {
    if (closed_) return;
    const int64_t now = clock_.TickMilliseconds();

    if (endOfFileShownAt_ >= 0 && now - endOfFileShownAt_ >= EndOfFileMilliseconds) {
        endOfFileShownAt_ = -1;
        view_->SetStatusNotice(nullptr);
    }

    // A file started or stopped shows at once; its size once a second.
    const bool writing = recorder_.Recording() || playback_.Copying();
    if (writing == view_->RecordMark().isEmpty() || now - recordMarkAt_ >= 1000) {
        recordMarkAt_ = now;
        ShowRecordMark();
    }
    const bool head = state_.RunMode == DataSource::Head;
    ShowPlaybackRate(now);
    const bool asking = head && source_ && source_->Linked() && !state_.HoldActive;
    // The wait is counted from the last reply, or from the moment pings could be asked for
    // again (the link came up, the hold was released, the head became the source).
    if (target_.PingsHeard() != pingsHeard_ || !asking) {
        pingsHeard_ = target_.PingsHeard();
        heardAt_ = now;
    }
    const bool silent = asking && now - heardAt_ >= NoReplyMilliseconds;
    if (endOfFileShownAt_ < 0) view_->SetStatusNotice(silent ? NoReplyText : nullptr);
    // No ping refreshes the diagnostics of a silent head: its failed receives are counted here.
    if (silent && diagnostics_->isVisible()) diagnostics_->Refresh();

    // The clock keeps running while no ping stamps the time; a played file shows its own.
    if (head && (!asking || silent) && StampTime(state_, clock_)) target_.OnNewSecond();
}

namespace {

// "SONAR001.K7T  12 KB": the name without its folder, the size in whole kilobytes.
QString RecordMarkText(const std::string& path, int64_t bytes) {
    return QStringLiteral("%1  %2 KB")
        .arg(QString::fromStdString(std::filesystem::path(path).filename().string()))
        .arg(bytes / 1024);
}

}  // namespace

void MainWindow::ShowRecordMark() {
    if (recorder_.Recording())
        view_->SetRecordMark(RecordMarkText(recorder_.FileName(), recorder_.RecordedBytes()));
    else if (playback_.Copying())
        view_->SetRecordMark(RecordMarkText(playback_.CopyFileName(), playback_.CopiedBytes()));
    else
        view_->SetRecordMark(QString());
}

void MainWindow::ShowPlaybackRate(int64_t now) {
    if (state_.RunMode != DataSource::File) {
        rateAt_ = -1;
        view_->SetPlaybackRate(QString());
        return;
    }
    if (rateAt_ < 0) {  // counted from the moment FILE mode is seen
        rateAt_ = now;
        ratePings_ = playedPings_;
        view_->SetPlaybackRate(QStringLiteral("0/s"));
    }
    if (now - rateAt_ < 1000) return;
    const double perSecond =
        static_cast<double>(playedPings_ - ratePings_) * 1000.0 / static_cast<double>(now - rateAt_);
    view_->SetPlaybackRate(QStringLiteral("%1/s").arg(qRound(perSecond)));
    rateAt_ = now;
    ratePings_ = playedPings_;
}

void MainWindow::ShowEndOfFile() {
    endOfFileShownAt_ = clock_.TickMilliseconds();
    view_->SetStatusNotice(EndOfFileText);
}

}  // namespace tidemar
