#include "link/TcpLink.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>

namespace tidemar {

namespace {

using Steady = std::chrono::steady_clock;

constexpr size_t AddressCharacters = 20;

bool MakeAddress(const std::string& text, int port, sockaddr_in& address) {
    const std::optional<uint32_t> host = ParseHeadAddress(text);
    if (!host) return false;
    address = {};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(port));
    address.sin_addr.s_addr = htonl(*host);
    return true;
}

int MakeSocket(const SocketMaker& makeSocket) {
    return makeSocket ? makeSocket() : socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
}

void SetNonBlocking(int fd, bool on) {
    int flags = fcntl(fd, F_GETFL, 0);
    if (flags < 0) return;
    fcntl(fd, F_SETFL, on ? (flags | O_NONBLOCK) : (flags & ~O_NONBLOCK));
}

// Steady::time_point::max() as a deadline waits without limit.
int RemainingMs(Steady::time_point deadline) {
    if (deadline == Steady::time_point::max()) return -1;
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Steady::now()).count();
    return left < 0 ? 0 : static_cast<int>(left);
}

enum class WaitResult { Ready, TimedOut, Stopped, Failed };

// Waits for `events` on fd, or for the wake-up descriptor, until the deadline.
WaitResult WaitFor(int fd, short events, Steady::time_point deadline, int wakeFd) {
    for (;;) {
        pollfd fds[2] = {{fd, events, 0}, {wakeFd, POLLIN, 0}};
        const int count = wakeFd >= 0 ? 2 : 1;
        const int n = poll(fds, count, RemainingMs(deadline));
        if (n < 0) {
            if (errno == EINTR) continue;
            return WaitResult::Failed;
        }
        if (count == 2 && (fds[1].revents & POLLIN)) return WaitResult::Stopped;
        if (n == 0) return WaitResult::TimedOut;
        if (fds[0].revents & (events | POLLERR | POLLHUP)) return WaitResult::Ready;
        if (fds[0].revents & POLLNVAL) return WaitResult::Failed;
    }
}

// Starts a non-blocking connect and waits for its outcome.
ProbeResult ConnectWithin(int fd, const sockaddr_in& address, int timeoutMs, int wakeFd) {
    SetNonBlocking(fd, true);
    if (connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0) return ProbeResult::Accepted;
    if (errno != EINPROGRESS) return ProbeResult::Refused;
    switch (WaitFor(fd, POLLOUT, Steady::now() + std::chrono::milliseconds(timeoutMs), wakeFd)) {
    case WaitResult::Stopped: return ProbeResult::Stopped;
    case WaitResult::TimedOut: return ProbeResult::TimedOut;
    case WaitResult::Failed: return ProbeResult::Refused;
    case WaitResult::Ready: break;
    }
    int error = 0;
    socklen_t length = sizeof error;
    if (getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length) != 0 || error != 0) return ProbeResult::Refused;
    return ProbeResult::Accepted;
}

}  // namespace

std::optional<uint32_t> ParseHeadAddress(const std::string& text) {
    const std::string limited = text.substr(0, AddressCharacters);
    in_addr parsed{};
    if (inet_aton(limited.c_str(), &parsed) == 0) return std::nullopt;
    return ntohl(parsed.s_addr);
}

ProbeResult ProbeHead(const std::string& address, int port, int timeoutMs, int wakeFd, const SocketMaker& makeSocket) {
    sockaddr_in target;
    if (!MakeAddress(address, port, target)) return ProbeResult::Refused;
    const int fd = MakeSocket(makeSocket);
    if (fd < 0) return ProbeResult::NoSocket;
    const ProbeResult result = ConnectWithin(fd, target, timeoutMs, wakeFd);
    close(fd);
    return result;
}

ProbeResult TcpLink::Open(const std::string& address, int port, int timeoutMs, int wakeFd,
                          const SocketMaker& makeSocket) {
    Close();
    sockaddr_in target;
    if (!MakeAddress(address, port, target)) return ProbeResult::Refused;
    const int fd = MakeSocket(makeSocket);
    if (fd < 0) return ProbeResult::NoSocket;
    const ProbeResult result = ConnectWithin(fd, target, timeoutMs, wakeFd);
    if (result != ProbeResult::Accepted) {
        close(fd);
        return result;
    }
    // One small block per ping: never hold it back waiting for more.
    int one = 1;
    setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    fd_ = fd;
    return ProbeResult::Accepted;
}

void TcpLink::Close() {
    if (fd_ >= 0) close(fd_);
    fd_ = -1;
}

IoResult TcpLink::Send(const uint8_t* data, size_t size, int timeoutMs, int wakeFd) {
    if (fd_ < 0) return IoResult::Failed;
    const auto deadline = Steady::now() + std::chrono::milliseconds(timeoutMs);
    size_t sent = 0;
    while (sent < size) {
        const ssize_t n = send(fd_, data + sent, size - sent, MSG_NOSIGNAL);
        if (n > 0) {
            sent += static_cast<size_t>(n);
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            switch (WaitFor(fd_, POLLOUT, deadline, wakeFd)) {
            case WaitResult::Ready: continue;
            case WaitResult::TimedOut: return IoResult::TimedOut;
            case WaitResult::Stopped: return IoResult::Stopped;
            case WaitResult::Failed: return IoResult::Failed;
            }
        }
        return IoResult::Failed;
    }
    return IoResult::Done;
}

IoResult TcpLink::Receive(uint8_t* data, size_t size, size_t& received, int timeoutMs, int gapMs, int wakeFd) {
    received = 0;
    if (fd_ < 0) return IoResult::Failed;
    auto deadline = timeoutMs < 0 ? Steady::time_point::max() : Steady::now() + std::chrono::milliseconds(timeoutMs);
    while (received < size) {
        switch (WaitFor(fd_, POLLIN, deadline, wakeFd)) {
        case WaitResult::Ready: break;
        case WaitResult::TimedOut:
            // Silence before the first byte is a dead head; after it, the reply is over.
            return received == 0 ? IoResult::TimedOut : IoResult::Done;
        case WaitResult::Stopped: return IoResult::Stopped;
        case WaitResult::Failed: return IoResult::Failed;
        }
        const ssize_t n = recv(fd_, data + received, size - received, 0);
        if (n > 0) {
            received += static_cast<size_t>(n);
            deadline = Steady::now() + std::chrono::milliseconds(gapMs);
            continue;
        }
        if (n < 0 && (errno == EINTR || errno == EAGAIN || errno == EWOULDBLOCK)) continue;
        return IoResult::Failed;  // closed by the head, or a socket error
    }
    return IoResult::Done;
}

bool TcpLink::Drain() {
    if (fd_ < 0) return false;
    uint8_t scrap[1024];
    for (;;) {
        const ssize_t n = recv(fd_, scrap, sizeof scrap, MSG_DONTWAIT);
        if (n > 0) continue;
        if (n == 0) return false;
        return errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR;
    }
}

}  // namespace tidemar
