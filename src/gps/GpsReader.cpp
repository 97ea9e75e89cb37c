#include "gps/GpsReader.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <cerrno>
#include <iterator>
#include <system_error>

#include "gps/GpsLineAssembler.h"
#include "gps/SerialPort.h"

namespace tidemar {

namespace {

constexpr size_t MaxQueuedLines = 256;  // a few minutes of sentences
constexpr int ErrorPauseMs = 100;       // a device that hung up or failed is retried this often

}  // namespace

GpsReader::GpsReader(std::function<void()> wake) : wake_(std::move(wake)) {}

GpsReader::~GpsReader() { Stop(); }

bool GpsReader::Start(SerialPort& port) {
    Stop();
    if (!port.IsOpen()) return false;
    stopFd_ = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (stopFd_ < 0) return false;
    port_ = &port;
    {
        std::lock_guard lock(mutex_);
        lines_.clear();
    }
    try {
        worker_ = std::thread([this] { Main(); });
    } catch (const std::system_error&) {
        close(stopFd_);
        stopFd_ = -1;
        port_ = nullptr;
        return false;
    }
    return true;
}

void GpsReader::Stop() {
    if (!worker_.joinable()) return;
    const uint64_t one = 1;
    [[maybe_unused]] ssize_t n = write(stopFd_, &one, sizeof one);
    worker_.join();
    close(stopFd_);
    stopFd_ = -1;
    port_ = nullptr;
}

std::vector<std::string> GpsReader::TakeLines() {
    std::lock_guard lock(mutex_);
    std::vector<std::string> taken(std::make_move_iterator(lines_.begin()), std::make_move_iterator(lines_.end()));
    lines_.clear();
    return taken;
}

uint64_t GpsReader::DroppedLines() const {
    std::lock_guard lock(mutex_);
    return dropped_;
}

void GpsReader::Post(std::vector<std::string> lines) {
    {
        std::lock_guard lock(mutex_);
        for (std::string& line : lines) {
            lines_.push_back(std::move(line));
            if (lines_.size() > MaxQueuedLines) {
                lines_.pop_front();
                ++dropped_;
            }
        }
    }
    if (wake_) wake_();
}

bool GpsReader::Pause(int ms) {
    pollfd fd{stopFd_, POLLIN, 0};
    return poll(&fd, 1, ms) <= 0;  // an interrupted wait is just a shorter one
}

void GpsReader::Main() {
    GpsLineAssembler assembler;
    uint8_t chunk[GpsReadChunkBytes];
    const int port = port_->Descriptor();
    for (;;) {
        pollfd fds[2] = {{stopFd_, POLLIN, 0}, {port, POLLIN, 0}};
        const int n = poll(fds, 2, -1);
        if (n < 0) {
            if (errno == EINTR) continue;
            if (!Pause(ErrorPauseMs)) break;
            continue;
        }
        if (fds[0].revents) break;
        if (fds[1].revents & POLLIN) {
            const ssize_t got = read(port, chunk, sizeof chunk);
            if (got > 0) {
                GpsChunkResult result = assembler.Take(chunk, static_cast<size_t>(got));
                if (result.Purge) port_->PurgeInput();
                if (!result.Lines.empty()) Post(std::move(result.Lines));
                continue;
            }
            if (got < 0 && (errno == EAGAIN || errno == EINTR)) continue;
        }
        // Hung up (a pseudo-terminal whose other end closed, a USB receiver pulled out)
        // or failed: the device may come back, so look again a little later rather than
        // spin on the error.
        if (!Pause(ErrorPauseMs)) break;
    }
}

}  // namespace tidemar
