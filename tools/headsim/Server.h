#pragma once
// The TCP side of the head: one client at a time on a loopback address.
#include "Options.h"

namespace tidemar::headsim {

// Runs until a signal, --pings or --once ends it; returns the exit status. The options
// must have passed ParseOptions (loopback address already checked).
int RunServer(const Options& options);

}  // namespace tidemar::headsim
