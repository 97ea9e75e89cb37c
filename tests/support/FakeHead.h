#pragma once
// A scripted head on a loopback address for the link tests: it accepts one client at a
// time and answers each 27-byte block with whatever the script returns for it.

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace tidemar::linktest {

struct HeadAnswer {
    int DelayMs = 0;  // answer this long after the block came (a head waiting for its trigger)
    std::vector<uint8_t> Bytes;
    bool Close = false;   // close the connection instead of (after) answering
    int TailDelayMs = 0;  // send Tail this long after Bytes
    std::vector<uint8_t> Tail;
};

class FakeHead {
public:
    using Script = std::function<std::optional<HeadAnswer>(int pingIndex, const std::vector<uint8_t>& block)>;

    FakeHead(std::string address, int port, Script script)
        : address_(std::move(address)), port_(port), script_(std::move(script)) {}
    ~FakeHead() { Stop(); }

    bool Start() {
        listener_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        int one = 1;
        setsockopt(listener_, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
        sockaddr_in where{};
        where.sin_family = AF_INET;
        where.sin_port = htons(static_cast<uint16_t>(port_));
        inet_pton(AF_INET, address_.c_str(), &where.sin_addr);
        if (bind(listener_, reinterpret_cast<sockaddr*>(&where), sizeof where) != 0) return false;
        if (listen(listener_, 4) != 0) return false;
        running_ = true;
        thread_ = std::thread([this] { Serve(); });
        return true;
    }

    void Stop() {
        running_ = false;
        if (thread_.joinable()) thread_.join();
        if (listener_ >= 0) close(listener_);
        listener_ = -1;
    }

    // Every connection from now on is closed as soon as it is accepted (or, with false,
    // served again).
    void CloseAtOnce(bool on) { closeAtOnce_ = on; }

    int Connections() const { return connections_; }
    int Pings() const { return pings_; }
    std::vector<std::vector<uint8_t>> Blocks() {
        std::lock_guard lock(mutex_);
        return blocks_;
    }

private:
    // False when the head was stopped meanwhile.
    bool Pause(int ms) {
        const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
        while (running_ && std::chrono::steady_clock::now() < until)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        return running_;
    }

    bool WaitReadable(int fd) {
        while (running_) {
            pollfd p{fd, POLLIN, 0};
            if (poll(&p, 1, 20) > 0) return true;
        }
        return false;
    }

    void Serve() {
        while (running_) {
            if (!WaitReadable(listener_)) return;
            const int client = accept(listener_, nullptr, nullptr);
            if (client < 0) continue;
            ++connections_;
            if (!closeAtOnce_) ServeClient(client);
            close(client);
        }
    }

    void ServeClient(int client) {
        std::vector<uint8_t> block;
        while (running_) {
            if (!WaitReadable(client)) return;
            uint8_t byte[64];
            const ssize_t n = recv(client, byte, sizeof byte, 0);
            if (n <= 0) return;
            block.insert(block.end(), byte, byte + n);
            while (block.size() >= 27) {
                std::vector<uint8_t> one(block.begin(), block.begin() + 27);
                block.erase(block.begin(), block.begin() + 27);
                {
                    std::lock_guard lock(mutex_);
                    blocks_.push_back(one);
                }
                const auto answer = script_(pings_++, one);
                if (!answer) continue;
                if (!Pause(answer->DelayMs)) return;
                if (!answer->Bytes.empty()) send(client, answer->Bytes.data(), answer->Bytes.size(), MSG_NOSIGNAL);
                if (!answer->Tail.empty()) {
                    std::this_thread::sleep_for(std::chrono::milliseconds(answer->TailDelayMs));
                    send(client, answer->Tail.data(), answer->Tail.size(), MSG_NOSIGNAL);
                }
                if (answer->Close) return;
            }
        }
    }

    std::string address_;
    int port_;
    Script script_;
    int listener_ = -1;
    std::atomic<bool> running_{false};
    std::atomic<bool> closeAtOnce_{false};
    std::thread thread_;
    std::atomic<int> connections_{0};
    std::atomic<int> pings_{0};
    std::mutex mutex_;
    std::vector<std::vector<uint8_t>> blocks_;
};

}  // namespace tidemar::linktest
