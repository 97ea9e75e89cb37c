#pragma once
// The link thread owns the socket and does the head's I/O, nothing else: it probes and
// connects, and for each ping the main thread hands over (the 27 bytes, the reply length
// and the wait before sending) it waits, sends, receives and hands the reply back. All
// state stays with the main thread; the two meet only in this hand-off.
//
// Stop() ends the thread within a few milliseconds whatever the head does: every wait of
// the thread also watches a wake-up descriptor. That is also what lets a ping to a head
// that waits for its external trigger wait without a time-out.

#include <array>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "core/SonarState.h"
#include "core/SwitchCommand.h"
#include "link/TcpLink.h"

namespace tidemar {

struct LinkTimings {
    int ProbeTimeoutMs = 500;     // a silent head
    int RetryPauseMs = 250;       // after a probe or connect that failed, or a failed exchange
    int MaxRetryPauseMs = 2000;   // the longest wait after failed exchanges one after another
    int ReceiveTimeoutMs = 3000;  // longer than the slowest ping of a real head
    int ReplyGapMs = 20;          // a reply that stops arriving for this long is over
    int SendTimeoutMs = 3000;

    // Stand-ins for the system calls that make the link's sockets and its thread, so that
    // tests can make them fail (a thread maker fails by throwing std::system_error, as
    // std::thread does). Empty means the system's own.
    SocketMaker MakeSocket;
    std::function<std::thread(std::function<void()>)> MakeThread;
};

struct PingRequest {
    CommandBlock Block{};
    int ExpectedLength = 0;
    int WaitMs = 0;  // before the send: send delay, and any pause the last ping asked for
    // The block tells the head to wait for its external trigger, which may come at any
    // time: the receive waits without a time-out (until the reply, or Stop()).
    bool AwaitTrigger = false;
    // The reply to the previous request was valid: the head works, and the waits after
    // failed exchanges start again from the shortest.
    bool LastReplyValid = false;
};

// How long the link waits before it dials again after `failures` failed exchanges in a row
// (at least 1): RetryPauseMs, doubled with every further failure up to MaxRetryPauseMs. A
// head that accepts and drops every connection is thus dialled a few times a second at
// first and every two seconds after that, never as fast as the system allows.
int RetryPauseAfter(int failures, const LinkTimings& timings);

struct LinkEvent {
    // NoSocket: a socket could not be made; posted once until one is made again, and
    // followed by Unreachable as for a head that refused.
    enum class Kind { Connected, Unreachable, Reply, NoSocket };
    Kind What = Kind::Unreachable;
    // Reply only:
    std::array<uint8_t, MaxReplyBytes> Bytes{};
    int Received = 0;
    bool SendFailed = false;
    bool ReceiveFailed = false;  // includes a head that stopped answering
};

class LinkThread {
public:
    // `wake` is called from the link thread whenever events are waiting; it must only
    // nudge the main thread (post an event, notify a condition variable).
    explicit LinkThread(std::function<void()> wake);
    ~LinkThread();
    LinkThread(const LinkThread&) = delete;
    LinkThread& operator=(const LinkThread&) = delete;

    // False when the thread could not be started; nothing runs then.
    bool Start(const std::string& address, int port, const LinkTimings& timings = {});
    void Stop();
    bool Running() const { return worker_.joinable(); }

    // Hands over the next ping; the thread takes one at a time.
    void Submit(const PingRequest& request);

    std::vector<LinkEvent> TakeEvents();

private:
    void Main();
    bool Sleep(int ms);  // false when stopped
    void Post(LinkEvent event);
    bool Stopping();

    std::function<void()> wake_;
    std::string address_;
    int port_ = 0;
    LinkTimings timings_;
    int stopFd_ = -1;

    std::mutex mutex_;
    std::condition_variable requestReady_;
    std::optional<PingRequest> request_;
    std::vector<LinkEvent> events_;
    bool stop_ = false;
    std::thread worker_;
};

}  // namespace tidemar
