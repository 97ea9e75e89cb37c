#include "HeadSimProcess.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <thread>

extern char** environ;

namespace tidemar::headsim::test {
namespace {

using Clock = std::chrono::steady_clock;

int MillisecondsLeft(Clock::time_point deadline) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    return left.count() > 0 ? static_cast<int>(left.count()) : 0;
}

Clock::time_point After(int ms) { return Clock::now() + std::chrono::milliseconds(ms); }

// Starts the binary with stdout and stderr going to the given descriptors (-1: /dev/null).
pid_t Spawn(const std::vector<std::string>& args, int outFd, int errFd) {
    std::vector<std::string> all = {TIDEMAR_HEADSIM};
    all.insert(all.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& a : all) argv.push_back(a.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    if (outFd >= 0) {
        posix_spawn_file_actions_adddup2(&actions, outFd, 1);
    } else {
        posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    }
    if (errFd >= 0) {
        posix_spawn_file_actions_adddup2(&actions, errFd, 2);
    } else {
        posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    }
    pid_t pid = -1;
    if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) != 0) pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    return pid;
}

bool WaitFor(pid_t pid, int timeoutMs, int& status) {
    const auto deadline = After(timeoutMs);
    while (true) {
        const pid_t done = waitpid(pid, &status, WNOHANG);
        if (done == pid) return true;
        if (done < 0) return false;
        if (Clock::now() >= deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

void ReadAvailable(int fd, std::string& into, int timeoutMs) {
    pollfd p{fd, POLLIN, 0};
    if (poll(&p, 1, timeoutMs) <= 0) return;
    char buffer[4096];
    const ssize_t n = read(fd, buffer, sizeof buffer);
    if (n > 0) into.append(buffer, static_cast<std::size_t>(n));
}

}  // namespace

HeadSimProcess::~HeadSimProcess() {
    Stop();
    if (stderrFd_ >= 0) close(stderrFd_);
}

bool HeadSimProcess::Start(const std::vector<std::string>& args) {
    int pipeFds[2];
    if (pipe2(pipeFds, O_CLOEXEC) != 0) return false;
    pid_ = Spawn(args, -1, pipeFds[1]);
    close(pipeFds[1]);
    stderrFd_ = pipeFds[0];
    if (pid_ < 0) return false;
    firstLine_ = ReadLine(5000);
    const auto colon = firstLine_.rfind(':');
    if (colon != std::string::npos) port_ = std::atoi(firstLine_.c_str() + colon + 1);
    return !firstLine_.empty();
}

std::string HeadSimProcess::ReadLine(int timeoutMs) {
    const auto deadline = After(timeoutMs);
    while (true) {
        const auto end = buffered_.find('\n');
        if (end != std::string::npos) {
            std::string line = buffered_.substr(0, end);
            buffered_.erase(0, end + 1);
            return line;
        }
        const int left = MillisecondsLeft(deadline);
        if (left == 0 || stderrFd_ < 0) return "";
        const std::size_t before = buffered_.size();
        ReadAvailable(stderrFd_, buffered_, left);
        if (buffered_.size() == before && !Running()) return "";
    }
}

bool HeadSimProcess::WaitExit(int timeoutMs, int& status) {
    if (pid_ < 0) return false;
    if (!WaitFor(pid_, timeoutMs, status)) return false;
    pid_ = -1;
    return true;
}

bool HeadSimProcess::Running() {
    if (pid_ < 0) return false;
    int status = 0;
    if (waitpid(pid_, &status, WNOHANG) == pid_) {
        pid_ = -1;
        return false;
    }
    return true;
}

void HeadSimProcess::Signal(int signal) {
    if (pid_ > 0) kill(pid_, signal);
}

int HeadSimProcess::Stop() {
    if (pid_ < 0) return -1;
    int status = -1;
    kill(pid_, SIGTERM);
    if (!WaitFor(pid_, 5000, status)) {
        kill(pid_, SIGKILL);
        waitpid(pid_, &status, 0);
    }
    pid_ = -1;
    return status;
}

RunResult RunToEnd(const std::vector<std::string>& args, int timeoutMs) {
    RunResult result;
    int out[2], err[2];
    if (pipe2(out, O_CLOEXEC) != 0) return result;
    if (pipe2(err, O_CLOEXEC) != 0) {
        close(out[0]);
        close(out[1]);
        return result;
    }
    const pid_t pid = Spawn(args, out[1], err[1]);
    close(out[1]);
    close(err[1]);
    int status = 0;
    if (pid > 0) {
        const auto deadline = After(timeoutMs);
        while (waitpid(pid, &status, WNOHANG) == 0 && MillisecondsLeft(deadline) > 0) {
            ReadAvailable(out[0], result.out, 5);
            ReadAvailable(err[0], result.err, 5);
        }
        if (waitpid(pid, &status, WNOHANG) == 0) {
            kill(pid, SIGKILL);
            waitpid(pid, &status, 0);
        } else {
            result.exited = WIFEXITED(status);
            result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        }
        for (int i = 0; i < 20; ++i) {
            ReadAvailable(out[0], result.out, 0);
            ReadAvailable(err[0], result.err, 0);
        }
    }
    close(out[0]);
    close(err[0]);
    return result;
}

Client::~Client() { Close(); }

void Client::Close() {
    if (fd_ >= 0) close(fd_);
    fd_ = -1;
}

int Client::Connect(const std::string& address, int port, int timeoutMs) {
    Close();
    fd_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd_ < 0) return errno;
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(static_cast<uint16_t>(port));
    inet_pton(AF_INET, address.c_str(), &to.sin_addr);
    int error = 0;
    if (connect(fd_, reinterpret_cast<sockaddr*>(&to), sizeof to) != 0) {
        error = errno;
        if (error == EINPROGRESS) {
            pollfd p{fd_, POLLOUT, 0};
            if (poll(&p, 1, timeoutMs) <= 0) {
                error = ETIMEDOUT;
            } else {
                socklen_t length = sizeof error;
                getsockopt(fd_, SOL_SOCKET, SO_ERROR, &error, &length);
            }
        }
    }
    if (error != 0) {
        Close();
        return error;
    }
    fcntl(fd_, F_SETFL, fcntl(fd_, F_GETFL) & ~O_NONBLOCK);
    timeval timeout{2, 0};
    setsockopt(fd_, SOL_SOCKET, SO_SNDTIMEO, &timeout, sizeof timeout);
    return 0;
}

bool Client::Send(const std::vector<uint8_t>& bytes) {
    std::size_t sent = 0;
    while (fd_ >= 0 && sent < bytes.size()) {
        const ssize_t n = send(fd_, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
        if (n <= 0) return false;
        sent += static_cast<std::size_t>(n);
    }
    return fd_ >= 0;
}

std::vector<uint8_t> Client::Read(std::size_t size, int timeoutMs) {
    std::vector<uint8_t> got;
    const auto deadline = After(timeoutMs);
    while (fd_ >= 0 && got.size() < size) {
        pollfd p{fd_, POLLIN, 0};
        if (poll(&p, 1, MillisecondsLeft(deadline)) <= 0) break;
        uint8_t buffer[4096];
        const ssize_t n = recv(fd_, buffer, std::min(sizeof buffer, size - got.size()), 0);
        if (n <= 0) break;
        got.insert(got.end(), buffer, buffer + n);
    }
    return got;
}

std::vector<uint8_t> Client::ReadUntilQuiet(int quietMs, int maxMs) {
    std::vector<uint8_t> got;
    const auto deadline = After(maxMs);
    while (fd_ >= 0 && MillisecondsLeft(deadline) > 0) {
        pollfd p{fd_, POLLIN, 0};
        if (poll(&p, 1, std::min(quietMs, MillisecondsLeft(deadline))) <= 0) break;
        uint8_t buffer[4096];
        const ssize_t n = recv(fd_, buffer, sizeof buffer, 0);
        if (n <= 0) break;
        got.insert(got.end(), buffer, buffer + n);
    }
    return got;
}

bool Client::WaitClosed(int timeoutMs) {
    const auto deadline = After(timeoutMs);
    while (fd_ >= 0) {
        pollfd p{fd_, POLLIN, 0};
        if (poll(&p, 1, MillisecondsLeft(deadline)) <= 0) return false;
        uint8_t buffer[4096];
        const ssize_t n = recv(fd_, buffer, sizeof buffer, 0);
        if (n <= 0) return true;
    }
    return false;
}

std::vector<uint8_t> Client::Exchange(const std::vector<uint8_t>& block, std::size_t replySize) {
    if (!Send(block)) return {};
    return Read(replySize);
}

}  // namespace tidemar::headsim::test
