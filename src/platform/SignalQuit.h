#pragma once
// SIGTERM, SIGINT and SIGHUP (kill, Ctrl+C, the end of the session) turned into a call on the
// main thread's event loop, so that the program can close as its window's close box closes
// it: recording stopped, files closed, settings written. The handler only writes the
// signal's number into a pipe that a QSocketNotifier watches, and puts the default actions
// back, so that a second signal while the program closes ends it at once.

#include <functional>

class QSocketNotifier;
class QWidget;

namespace tidemar {

class SignalQuit {
public:
    // Handles the three signals, except those ignored when the program started (nohup, a
    // background job of a shell); `received` runs once, for the first of them. One object
    // at a time.
    explicit SignalQuit(std::function<void(int signalNumber)> received);
    // Puts back the actions found.
    ~SignalQuit();
    SignalQuit(const SignalQuit&) = delete;
    SignalQuit& operator=(const SignalQuit&) = delete;

    // False when the pipe could not be made (the signals then keep their actions).
    bool Installed() const { return notifier_ != nullptr; }

private:
    void Read();

    std::function<void(int)> received_;
    int pipe_[2] = {-1, -1};
    QSocketNotifier* notifier_ = nullptr;
};

// Closes `window` as its close box does, then calls `closed`. A modal dialog (or message box)
// open at the time is cancelled first, and the close waits until its event loop has returned
// to the application's own, so that nothing runs the shutdown from inside a dialog's caller.
void CloseWindowPastDialogs(QWidget* window, std::function<void()> closed);

}  // namespace tidemar
