#pragma once
// The TCP connection to the head: port 4040 of IPAddress_Sonar1, one request-reply
// exchange per ping, no framing beyond the fixed sizes. Plain POSIX sockets; every wait
// also watches a wake-up descriptor, so a stop never waits for the head.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace tidemar {

inline constexpr int HeadPort = 4040;

enum class ProbeResult { Accepted, Refused, TimedOut, Stopped, NoSocket };

enum class IoResult { Done, Failed, TimedOut, Stopped };

// The head address as the classic IPv4 text parser (inet_aton) reads it, in host byte
// order: "127.1", octal ("010" is 8, so zero-padded parts are octal too) and hex parts,
// and a whole number for the last part all count, as INI files written for the head may
// hold them. Only the first 20 characters count, as the settings have always stored it.
// Names are never looked up.
std::optional<uint32_t> ParseHeadAddress(const std::string& text);

// Makes the stream socket of a probe or a connection: a descriptor, or -1 with errno set.
// Empty means the system's socket(); tests stand in one that fails.
using SocketMaker = std::function<int()>;

// Checks whether the head accepts a connection, without keeping it. Refused covers every
// immediate failure (an address that does not parse too, which is never dialled);
// TimedOut a head that does not answer in time; NoSocket a socket that could not be made.
ProbeResult ProbeHead(const std::string& address, int port, int timeoutMs, int wakeFd,
                      const SocketMaker& makeSocket = {});

class TcpLink {
public:
    TcpLink() = default;
    TcpLink(const TcpLink&) = delete;
    TcpLink& operator=(const TcpLink&) = delete;
    ~TcpLink() { Close(); }

    // Connects (blocking, within timeoutMs). Accepted, or why not.
    ProbeResult Open(const std::string& address, int port, int timeoutMs, int wakeFd,
                     const SocketMaker& makeSocket = {});
    void Close();
    bool Connected() const { return fd_ >= 0; }

    // Sends all bytes in one go.
    IoResult Send(const uint8_t* data, size_t size, int timeoutMs, int wakeFd);

    // Receives one reply of up to `size` bytes. It waits up to timeoutMs for the first
    // bytes (a negative timeoutMs: until they come or the wake-up descriptor fires), then
    // collects the rest of the reply as long as more keeps arriving within gapMs; a reply
    // cut short is returned as it came (the validation judges it).
    IoResult Receive(uint8_t* data, size_t size, size_t& received, int timeoutMs, int gapMs, int wakeFd);

    // Throws away whatever the head sent that nobody asked for (the tail of a reply that
    // came too late), so the next reply starts at its first byte. False when the head
    // closed the connection.
    bool Drain();

private:
    int fd_ = -1;
};

}  // namespace tidemar
