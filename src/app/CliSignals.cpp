// Ctrl+C, a kill or the end of the session while a long command runs.
#include <csignal>

#include "CliCommands.h"

namespace tidemar::cli {

namespace {

std::atomic<bool> Signalled{false};

extern "C" void OnStopSignal(int) { Signalled.store(true); }

}  // namespace

std::atomic<bool>& WatchStopSignals() {
    struct sigaction action {};
    action.sa_handler = OnStopSignal;
    sigemptyset(&action.sa_mask);
    for (const int signal : {SIGINT, SIGTERM, SIGHUP}) sigaction(signal, &action, nullptr);
    return Signalled;
}

}  // namespace tidemar::cli
