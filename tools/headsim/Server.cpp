#include "Server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <vector>

#include "BlockCheck.h"
#include "BlockLog.h"
#include "BlockReader.h"
#include "SimulatedHead.h"

namespace tidemar::headsim {
namespace {

volatile std::sig_atomic_t stopRequested = 0;
volatile std::sig_atomic_t headScanToggles = 0;

void OnStop(int) { stopRequested = 1; }
void OnToggle(int) { headScanToggles = headScanToggles + 1; }

// Without SA_RESTART, so a signal wakes every blocking call at once.
void InstallSignals() {
    struct sigaction action {};
    sigemptyset(&action.sa_mask);
    action.sa_handler = OnStop;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    action.sa_handler = OnToggle;
    sigaction(SIGUSR1, &action, nullptr);
    action.sa_handler = SIG_IGN;
    sigaction(SIGPIPE, &action, nullptr);
}

constexpr int PollMilliseconds = 100;
constexpr int SendTimeoutSeconds = 5;
constexpr double DrainSeconds = 0.5;

double Now() {
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return static_cast<double>(t.tv_sec) + t.tv_nsec * 1e-9;
}

void SleepUntil(double deadline) {
    while (!stopRequested) {
        const double left = deadline - Now();
        if (left <= 0) return;
        const double slice = std::min(left, 0.05);
        timespec t{};
        t.tv_sec = static_cast<time_t>(slice);
        t.tv_nsec = static_cast<long>((slice - static_cast<double>(t.tv_sec)) * 1e9);
        nanosleep(&t, nullptr);
    }
}

bool SendAll(int fd, const uint8_t* data, std::size_t size) {
    while (size > 0) {
        const ssize_t sent = send(fd, data, size, MSG_NOSIGNAL);
        if (sent < 0) {
            if (errno == EINTR && !stopRequested) continue;
            return false;
        }
        data += sent;
        size -= static_cast<std::size_t>(sent);
    }
    return true;
}

uint64_t ClockSeed() {
    timespec t{};
    clock_gettime(CLOCK_REALTIME, &t);
    return (static_cast<uint64_t>(t.tv_sec) * 1000000007ull) ^ static_cast<uint64_t>(t.tv_nsec) ^
           (static_cast<uint64_t>(getpid()) << 40);
}

class Server {
public:
    Server(const Options& options, uint64_t seed)
        : options_(options), head_(ConfigOf(options, seed)), faultRandom_(seed ^ 0xA5A5A5A5u) {}

    bool OpenLog() { return options_.logPath.empty() || log_.Open(options_.logPath); }

    // Accepts and serves clients until told to stop.
    void Run(int listener) {
        while (!stopRequested && !done_) {
            CheckHeadScanToggle();
            pollfd p{listener, POLLIN, 0};
            if (poll(&p, 1, PollMilliseconds) <= 0) continue;
            const int client = accept4(listener, nullptr, nullptr, SOCK_CLOEXEC);
            if (client < 0) continue;
            if (options_.faults.closeAtOnce) {
                close(client);
                std::fprintf(stderr, "tidemar-headsim: connection %ld closed at once\n", ++droppedConnections_);
                continue;
            }
            const bool spoke = Serve(client);
            close(client);
            if (options_.once && spoke) done_ = true;
        }
    }

private:
    static HeadConfig ConfigOf(const Options& o, uint64_t seed) {
        HeadConfig config;
        config.headId = o.headId;
        config.serialNumber = o.serialNumber;
        config.headScan = o.headScan;
        config.strictId = o.strictId;
        config.seed = seed;
        return config;
    }

    void CheckHeadScanToggle() {
        const long toggles = headScanToggles;
        if (toggles == seenToggles_) return;
        if ((toggles - seenToggles_) % 2 != 0) head_.SetHeadScan(!head_.HeadScan());
        seenToggles_ = toggles;
        std::fprintf(stderr, "tidemar-headsim: head-scan mode %s\n", head_.HeadScan() ? "on" : "off");
    }

    // Serves one client; returns whether it sent anything.
    bool Serve(int fd) {
        const int one = 1;
        setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
        timeval timeout{SendTimeoutSeconds, 0};
        setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &timeout, sizeof timeout);

        fd_ = fd;
        ping_ = 0;
        closing_ = false;
        busyUntil_ = 0.0;
        bool spoke = false;
        BlockReader reader({[this](std::span<const uint8_t> bytes) { log_.Write(bytes); },
                            [this](const RawBlock& block) { HandleBlock(block); },
                            [this](const ByteFault& fault) { ReportFramingFault(fault); }});
        uint8_t buffer[4096];
        while (!stopRequested && !closing_) {
            CheckHeadScanToggle();
            pollfd p{fd, POLLIN, 0};
            const int ready = poll(&p, 1, PollMilliseconds);
            if (ready == 0 || (ready < 0 && errno == EINTR)) continue;
            if (ready < 0) break;
            const ssize_t got = recv(fd, buffer, sizeof buffer, 0);
            if (got < 0 && (errno == EINTR || errno == EAGAIN)) continue;
            if (got <= 0) break;
            spoke = true;
            reader.Feed(buffer, static_cast<std::size_t>(got));
        }
        if (closing_) spoke = Drain(fd, reader) || spoke;
        reader.Finish();
        return spoke;
    }

    // Closing on the client: say so first and read what is still coming, so the client
    // sees an orderly end after the last reply rather than a reset.
    bool Drain(int fd, BlockReader& reader) {
        shutdown(fd, SHUT_WR);
        bool got = false;
        const double deadline = Now() + DrainSeconds;
        uint8_t buffer[4096];
        while (!stopRequested && Now() < deadline) {
            pollfd p{fd, POLLIN, 0};
            if (poll(&p, 1, PollMilliseconds) <= 0) continue;
            const ssize_t n = recv(fd, buffer, sizeof buffer, 0);
            if (n <= 0) break;
            got = true;
            reader.Feed(buffer, static_cast<std::size_t>(n));
        }
        return got;
    }

    // A malformed block is not a ping: it is neither answered nor counted.
    void HandleBlock(const RawBlock& block) {
        if (closing_ || done_) return;
        if (!options_.lenient) {
            const std::vector<ByteFault> faults = CheckBlock(block);
            if (!faults.empty()) {
                ReportMalformed(Describe(faults));
                return;
            }
        }
        if (!head_.Accepts(block)) return;
        const FaultPlan plan = PlanPing(options_.faults, ++ping_);
        if (!plan.silent) {
            head_.Answer(block, reply_);
            ApplyFault(plan.fault, reply_, faultRandom_);
            if (options_.realtime) {
                busyUntil_ = std::max(Now(), busyUntil_) + head_.LastAnswerSeconds();
                SleepUntil(busyUntil_);
            }
            if (!SendAll(fd_, reply_.data(), reply_.size())) {
                closing_ = true;
                return;
            }
            ++served_;
            if (options_.pings > 0 && served_ >= options_.pings) {
                done_ = true;
                closing_ = true;
            }
        }
        if (plan.closeAfter) closing_ = true;
    }

    // Bytes read while closing are only logged, as blocks then are not looked at either.
    void ReportFramingFault(const ByteFault& fault) {
        if (!options_.lenient && !closing_ && !done_) ReportMalformed(Describe(fault));
    }

    void ReportMalformed(const std::string& faults) {
        const std::string text = "malformed block, not answered: " + faults;
        std::fprintf(stderr, "tidemar-headsim: %s\n", text.c_str());
        log_.Note(text);
    }

    const Options& options_;
    SimulatedHead head_;
    Random faultRandom_;
    BlockLog log_;
    std::vector<uint8_t> reply_;
    long seenToggles_ = 0;
    int fd_ = -1;
    long ping_ = 0;
    long served_ = 0;
    long droppedConnections_ = 0;
    bool closing_ = false;
    bool done_ = false;
    double busyUntil_ = 0.0;
};

void WaitForStop() {
    while (!stopRequested) poll(nullptr, 0, PollMilliseconds);
}

}  // namespace

int RunServer(const Options& options) {
    InstallSignals();
    const uint64_t seed = options.seedGiven ? options.seed : ClockSeed();
    Server server(options, seed);
    if (!server.OpenLog()) {
        std::fprintf(stderr, "tidemar-headsim: cannot write log file %s: %s\n", options.logPath.c_str(),
                     std::strerror(errno));
        return 1;
    }

    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(options.port));
    inet_pton(AF_INET, options.address.c_str(), &address.sin_addr);

    const int listener = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    const int one = 1;
    // A refusing head keeps the port to itself, so it does without address reuse.
    if (listener >= 0 && !options.faults.refuse) {
        setsockopt(listener, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
    }
    if (listener < 0 || bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        (!options.faults.refuse && listen(listener, 4) != 0)) {
        std::fprintf(stderr, "tidemar-headsim: cannot listen on %s:%d: %s\n", options.address.c_str(), options.port,
                     std::strerror(errno));
        if (listener >= 0) close(listener);
        return 1;
    }
    socklen_t length = sizeof address;
    getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length);
    const int port = ntohs(address.sin_port);

    if (options.faults.refuse) {
        // Bound but never listening: every connect is refused at once, and no other
        // process can take the port meanwhile.
        std::fprintf(stderr, "tidemar-headsim: refusing connections on %s:%d\n", options.address.c_str(), port);
        WaitForStop();
    } else {
        std::fprintf(stderr, "tidemar-headsim: listening on %s:%d\n", options.address.c_str(), port);
        server.Run(listener);
    }
    close(listener);
    return 0;
}

}  // namespace tidemar::headsim
