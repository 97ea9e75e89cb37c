#pragma once
// The GPS reader thread. While it runs it is the only user of the serial port: it waits
// for bytes, reads at most 128 at a time, assembles lines, purges the receive queue as
// GpsLineAssembler asks, and posts every complete line to the main thread, which filters
// and parses them (state stays with the main thread).
//
// Stop() returns once the thread has left any read: the port can then be closed.

#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace tidemar {

class SerialPort;

class GpsReader {
public:
    // `wake` is called from the reader thread whenever lines are waiting; it must only
    // nudge the main thread.
    explicit GpsReader(std::function<void()> wake);
    ~GpsReader();
    GpsReader(const GpsReader&) = delete;
    GpsReader& operator=(const GpsReader&) = delete;

    // Starts reading the open port; false when the thread could not be made.
    bool Start(SerialPort& port);
    void Stop();
    bool Running() const { return worker_.joinable(); }

    // The lines posted since the last call, oldest first. If the main thread falls
    // behind, only the newest lines are kept.
    std::vector<std::string> TakeLines();

    // Lines thrown away because the main thread fell behind (for the tests).
    uint64_t DroppedLines() const;

private:
    void Main();
    bool Pause(int ms);  // false when stopped
    void Post(std::vector<std::string> lines);

    std::function<void()> wake_;
    SerialPort* port_ = nullptr;
    int stopFd_ = -1;
    mutable std::mutex mutex_;
    std::deque<std::string> lines_;
    uint64_t dropped_ = 0;
    std::thread worker_;
};

}  // namespace tidemar
