#include "platform/SignalQuit.h"

#include <array>
#include <cerrno>
#include <csignal>

#include <fcntl.h>
#include <unistd.h>

#include <QApplication>
#include <QDialog>
#include <QPointer>
#include <QSocketNotifier>
#include <QThread>
#include <QTimer>
#include <QWidget>

namespace tidemar {

namespace {

constexpr std::array<int, 3> QuitSignals = {SIGTERM, SIGINT, SIGHUP};

// Shared with the handler, which may run on any thread: set before the handlers are
// installed and cleared after they are taken away.
volatile sig_atomic_t writeEnd = -1;
std::array<bool, QuitSignals.size()> handled = {};
std::array<struct sigaction, QuitSignals.size()> previous = {};

void OnQuitSignal(int signalNumber) {
    const int savedErrno = errno;
    struct sigaction fallback = {};
    fallback.sa_handler = SIG_DFL;
    sigemptyset(&fallback.sa_mask);
    for (size_t i = 0; i < QuitSignals.size(); ++i)
        if (handled[i]) sigaction(QuitSignals[i], &fallback, nullptr);
    const auto number = static_cast<unsigned char>(signalNumber);
    if (writeEnd >= 0 && write(writeEnd, &number, 1) < 0) {
        // A full pipe already holds a signal; nothing else can be done here.
    }
    errno = savedErrno;
}

// A dialog cancelled returns from its exec() only after the call that cancelled it; the
// window closes once no dialog is open and only the application's event loop runs (or
// none yet). A loop that never ends (some other nested wait) is given five seconds.
constexpr int RetryMilliseconds = 10;
constexpr int RetryLimit = 500;

void CloseAfterDialogs(const QPointer<QWidget>& window, const std::function<void()>& closed, int triesLeft) {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal == window) modal = nullptr;
    const bool nested = QThread::currentThread()->loopLevel() > 1;
    if ((modal || nested) && triesLeft > 0) {
        if (auto* dialog = qobject_cast<QDialog*>(modal))
            dialog->reject();
        else if (modal)
            modal->close();
        QTimer::singleShot(RetryMilliseconds, qApp,
                           [window, closed, triesLeft] { CloseAfterDialogs(window, closed, triesLeft - 1); });
        return;
    }
    if (window) window->close();
    closed();
}

}  // namespace

SignalQuit::SignalQuit(std::function<void(int)> received) : received_(std::move(received)) {
    if (pipe2(pipe_, O_CLOEXEC | O_NONBLOCK) != 0) {
        pipe_[0] = pipe_[1] = -1;
        return;
    }
    notifier_ = new QSocketNotifier(pipe_[0], QSocketNotifier::Read);
    QObject::connect(notifier_, &QSocketNotifier::activated, notifier_, [this] { Read(); });
    writeEnd = pipe_[1];
    for (size_t i = 0; i < QuitSignals.size(); ++i) {
        sigaction(QuitSignals[i], nullptr, &previous[i]);
        // Left ignored as the program was started: nohup, or a background job of a shell.
        handled[i] = previous[i].sa_handler != SIG_IGN;
    }
    struct sigaction action = {};
    action.sa_handler = OnQuitSignal;
    sigemptyset(&action.sa_mask);
    for (int signalNumber : QuitSignals) sigaddset(&action.sa_mask, signalNumber);
    action.sa_flags = SA_RESTART;
    for (size_t i = 0; i < QuitSignals.size(); ++i)
        if (handled[i]) sigaction(QuitSignals[i], &action, nullptr);
}

SignalQuit::~SignalQuit() {
    if (!notifier_) return;
    for (size_t i = 0; i < QuitSignals.size(); ++i)
        if (handled[i]) sigaction(QuitSignals[i], &previous[i], nullptr);
    handled = {};
    writeEnd = -1;
    delete notifier_;
    close(pipe_[0]);
    close(pipe_[1]);
}

void SignalQuit::Read() {
    unsigned char numbers[16];
    const ssize_t got = read(pipe_[0], numbers, sizeof numbers);
    if (got <= 0) return;
    // Once: later signals end the program through their default actions.
    notifier_->setEnabled(false);
    if (received_) received_(numbers[0]);
}

void CloseWindowPastDialogs(QWidget* window, std::function<void()> closed) {
    CloseAfterDialogs(QPointer<QWidget>(window), closed, RetryLimit);
}

}  // namespace tidemar
