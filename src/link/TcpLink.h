#pragma once
// The TCP connection to the head: port 4040 of IPAddress_Sonar1, one request-reply
// exchange per ping, no framing beyond the fixed sizes. Plain POSIX sockets; every wait
// also watches a wake-up descriptor, so a stop never waits for the head.

#include <cstddef>
#include <cstdint>
#include <string>

namespace tidemar {

inline constexpr int HeadPort = 4040;

enum class ProbeResult { Accepted, Refused, TimedOut, Stopped };

enum class IoResult { Done, Failed, TimedOut, Stopped };

// Checks whether the head accepts a connection, without keeping it. Refused covers every
// immediate failure (a bad address too); TimedOut a head that does not answer in time.
ProbeResult ProbeHead(const std::string& address, int port, int timeoutMs, int wakeFd);

class TcpLink {
public:
    TcpLink() = default;
    TcpLink(const TcpLink&) = delete;
    TcpLink& operator=(const TcpLink&) = delete;
    ~TcpLink() { Close(); }

    // Connects (blocking, within timeoutMs); only the first 20 characters of the address
    // count, as the settings have always stored it.
    bool Open(const std::string& address, int port, int timeoutMs, int wakeFd);
    void Close();
    bool Connected() const { return fd_ >= 0; }

    // Sends all bytes in one go.
    IoResult Send(const uint8_t* data, size_t size, int timeoutMs, int wakeFd);

    // Receives one reply of up to `size` bytes. It waits up to timeoutMs for the first
    // bytes, then collects the rest of the reply as long as more keeps arriving within
    // gapMs; a reply cut short is returned as it came (the validation judges it).
    IoResult Receive(uint8_t* data, size_t size, size_t& received, int timeoutMs, int gapMs, int wakeFd);

    // Throws away whatever the head sent that nobody asked for (the tail of a reply that
    // came too late), so the next reply starts at its first byte. False when the head
    // closed the connection.
    bool Drain();

private:
    int fd_ = -1;
};

}  // namespace tidemar
