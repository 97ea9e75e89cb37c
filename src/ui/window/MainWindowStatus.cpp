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

    const bool head = state_.RunMode == DataSource::Head;
    const bool asking = head && source_ && source_->Linked() && !state_.HoldActive;
    // The wait is counted from the last reply, or from the moment pings could be asked for
    // again (the link came up, the hold was released, the head became the source).
    if (target_.PingsHeard() != pingsHeard_ || !asking) {
        pingsHeard_ = target_.PingsHeard();
        heardAt_ = now;
    }
    const bool silent = asking && now - heardAt_ >= NoReplyMilliseconds;
    if (endOfFileShownAt_ < 0) view_->SetStatusNotice(silent ? NoReplyText : nullptr);

    // The clock keeps running while no ping stamps the time; a played file shows its own.
    if (head && (!asking || silent) && StampTime(state_, clock_)) target_.OnNewSecond();
}

void MainWindow::ShowEndOfFile() {
    endOfFileShownAt_ = clock_.TickMilliseconds();
    view_->SetStatusNotice(EndOfFileText);
}

}  // namespace tidemar
