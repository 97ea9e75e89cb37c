#pragma once
// Runs the real tidemar-headsim and talks to it over loopback TCP, with a time-out on
// every wait so a misbehaving head fails a test instead of hanging it.
#include <sys/types.h>

#include <cstdint>
#include <string>
#include <vector>

namespace tidemar::headsim::test {

// A running tidemar-headsim. The destructor stops it (SIGTERM, then SIGKILL).
class HeadSimProcess {
public:
    HeadSimProcess() = default;
    ~HeadSimProcess();
    HeadSimProcess(const HeadSimProcess&) = delete;
    HeadSimProcess& operator=(const HeadSimProcess&) = delete;

    // Starts the binary and waits up to 5 s for its first line on stderr; the port
    // shown there becomes Port(). False when it did not start or said nothing.
    bool Start(const std::vector<std::string>& args);

    int Port() const { return port_; }
    const std::string& FirstLine() const { return firstLine_; }

    // The next line on stderr, or "" after the time-out.
    std::string ReadLine(int timeoutMs);

    // Waits for the process to end; true with its wait status when it did.
    bool WaitExit(int timeoutMs, int& status);

    bool Running();
    void Signal(int signal);

    // Ends the process: SIGTERM, up to 5 s, then SIGKILL. Returns the wait status.
    int Stop();

private:
    pid_t pid_ = -1;
    int stderrFd_ = -1;
    std::string buffered_;
    std::string firstLine_;
    int port_ = 0;
};

struct RunResult {
    bool exited = false;
    int exitCode = -1;
    std::string out, err;
};

// Runs the binary to its end (killed after timeoutMs) and collects its output.
RunResult RunToEnd(const std::vector<std::string>& args, int timeoutMs = 5000);

// A TCP client with time-outs.
class Client {
public:
    Client() = default;
    ~Client();
    Client(const Client&) = delete;
    Client& operator=(const Client&) = delete;

    // 0 when connected, else the errno of the failure (ETIMEDOUT after the time-out).
    int Connect(const std::string& address, int port, int timeoutMs = 2000);
    void Close();

    bool Send(const std::vector<uint8_t>& bytes);

    // Reads up to size bytes, stopping early at the time-out or when the head closes.
    std::vector<uint8_t> Read(std::size_t size, int timeoutMs = 3000);

    // Reads until nothing more arrives for quietMs (at most maxMs in all).
    std::vector<uint8_t> ReadUntilQuiet(int quietMs = 300, int maxMs = 3000);

    // True when the head closes the connection within the time-out; bytes still
    // arriving before the end are skipped.
    bool WaitClosed(int timeoutMs = 3000);

    // Sends a block and reads a reply of the given length.
    std::vector<uint8_t> Exchange(const std::vector<uint8_t>& block, std::size_t replySize);

private:
    int fd_ = -1;
};

}  // namespace tidemar::headsim::test
