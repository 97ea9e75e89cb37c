#include "link/LinkThread.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <exception>

#include "core/LatencyProbe.h"

namespace tidemar {

int RetryPauseAfter(int failures, const LinkTimings& timings) {
    int pause = timings.RetryPauseMs;
    for (int i = 1; i < failures && pause < timings.MaxRetryPauseMs; ++i) pause *= 2;
    return std::max(timings.RetryPauseMs, std::min(pause, timings.MaxRetryPauseMs));
}

LinkThread::LinkThread(std::function<void()> wake) : wake_(std::move(wake)) {}

LinkThread::~LinkThread() { Stop(); }

bool LinkThread::Start(const std::string& address, int port, const LinkTimings& timings) {
    Stop();
    address_ = address;
    port_ = port;
    timings_ = timings;
    // Without the wake-up descriptor a stop could wait for a head forever (a triggered
    // ping has no time-out), so that is a thread that cannot be started as well.
    stopFd_ = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (stopFd_ < 0) return false;
    {
        std::lock_guard lock(mutex_);
        stop_ = false;
        request_.reset();
        events_.clear();
    }
    try {
        auto body = [this] { Main(); };
        worker_ = timings_.MakeThread ? timings_.MakeThread(body) : std::thread(body);
    } catch (const std::exception&) {
        // std::system_error when the system refuses another thread.
        worker_ = std::thread();
    }
    if (worker_.joinable()) return true;
    close(stopFd_);
    stopFd_ = -1;
    return false;
}

void LinkThread::Stop() {
    if (!worker_.joinable()) return;
    {
        std::lock_guard lock(mutex_);
        stop_ = true;
    }
    const uint64_t one = 1;
    [[maybe_unused]] ssize_t n = write(stopFd_, &one, sizeof one);
    requestReady_.notify_all();
    worker_.join();
    close(stopFd_);
    stopFd_ = -1;
}

void LinkThread::Submit(const PingRequest& request) {
    {
        std::lock_guard lock(mutex_);
        request_ = request;
    }
    requestReady_.notify_all();
}

std::vector<LinkEvent> LinkThread::TakeEvents() {
    std::lock_guard lock(mutex_);
    std::vector<LinkEvent> taken;
    taken.swap(events_);
    return taken;
}

void LinkThread::Post(LinkEvent event) {
    {
        std::lock_guard lock(mutex_);
        events_.push_back(std::move(event));
    }
    if (wake_) wake_();
}

bool LinkThread::Stopping() {
    std::lock_guard lock(mutex_);
    return stop_;
}

bool LinkThread::Sleep(int ms) {
    if (ms <= 0) return !Stopping();
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    for (;;) {
        const auto left =
            std::chrono::ceil<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now()).count();
        if (left <= 0) return !Stopping();
        pollfd fd{stopFd_, POLLIN, 0};
        const int n = poll(&fd, 1, static_cast<int>(left));
        if (n > 0) return false;
        if (n < 0 && errno != EINTR) return !Stopping();
    }
}

void LinkThread::Main() {
    using Steady = std::chrono::steady_clock;
    TcpLink link;
    bool socketFailing = false;  // the operator hears of it once, not every retry
    int failedExchanges = 0;     // in a row, since the last valid reply
    Steady::time_point dialAfter{};
    while (!Stopping()) {
        if (!link.Connected()) {
            // Waiting out the pause after a failed exchange: to the operator the head is
            // as unreachable as one that refuses, and the status box says so.
            const auto left = std::chrono::ceil<std::chrono::milliseconds>(dialAfter - Steady::now()).count();
            if (left > 0) {
                if (!Sleep(static_cast<int>(std::min<long long>(left, timings_.RetryPauseMs)))) break;
                LinkEvent event;
                event.What = LinkEvent::Kind::Unreachable;
                Post(std::move(event));
                continue;
            }
            ProbeResult result = ProbeHead(address_, port_, timings_.ProbeTimeoutMs, stopFd_, timings_.MakeSocket);
            if (result == ProbeResult::Accepted)
                result = link.Open(address_, port_, timings_.ProbeTimeoutMs, stopFd_, timings_.MakeSocket);
            if (result == ProbeResult::Stopped) break;
            if (result == ProbeResult::NoSocket && !socketFailing) {
                LinkEvent event;
                event.What = LinkEvent::Kind::NoSocket;
                Post(std::move(event));
            }
            socketFailing = result == ProbeResult::NoSocket;
            if (result == ProbeResult::Accepted) {
                LinkEvent event;
                event.What = LinkEvent::Kind::Connected;
                Post(std::move(event));
                continue;
            }
            if (!Sleep(timings_.RetryPauseMs)) break;
            LinkEvent event;
            event.What = LinkEvent::Kind::Unreachable;
            Post(std::move(event));
            continue;
        }

        PingRequest request;
        {
            std::unique_lock lock(mutex_);
            requestReady_.wait(lock, [this] { return stop_ || request_.has_value(); });
            if (stop_) break;
            request = *request_;
            request_.reset();
        }
        if (request.LastReplyValid) failedExchanges = 0;
        if (!Sleep(request.WaitMs)) break;

        LinkEvent reply;
        reply.What = LinkEvent::Kind::Reply;
        // Bytes nobody asked for (a late tail of the previous reply) would shift this one.
        if (!link.Drain()) {
            reply.ReceiveFailed = true;
        } else {
            const IoResult sent =
                link.Send(request.Block.data(), request.Block.size(), timings_.SendTimeoutMs, stopFd_);
            if (sent == IoResult::Stopped) break;
            if (sent != IoResult::Done) {
                reply.SendFailed = true;
            } else {
                size_t received = 0;
                const size_t wanted = static_cast<size_t>(request.ExpectedLength) <= reply.Bytes.size()
                                          ? static_cast<size_t>(request.ExpectedLength)
                                          : reply.Bytes.size();
                const int timeoutMs = request.AwaitTrigger ? -1 : timings_.ReceiveTimeoutMs;
                const IoResult got =
                    link.Receive(reply.Bytes.data(), wanted, received, timeoutMs, timings_.ReplyGapMs, stopFd_);
                if (got == IoResult::Stopped) break;
                if (got == IoResult::Done) MarkLatency(LatencyMark::ReplyArrived);
                reply.Received = static_cast<int>(received);
                reply.ReceiveFailed = got != IoResult::Done;
            }
        }
        if (reply.SendFailed || reply.ReceiveFailed) {
            link.Close();
            failedExchanges = std::min(failedExchanges + 1, 1000);
            dialAfter = Steady::now() + std::chrono::milliseconds(RetryPauseAfter(failedExchanges, timings_));
        }
        Post(std::move(reply));
    }
    link.Close();
}

}  // namespace tidemar
