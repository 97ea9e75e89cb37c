#include "gps/SerialPort.h"

#include <fcntl.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace tidemar {

namespace {

int OpenTerminal(const std::string& path, int access, std::string* error) {
    const int fd = ::open(path.c_str(), access | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        if (error) *error = std::strerror(errno);
        return -1;
    }
    if (!::isatty(fd)) {
        if (error) *error = "not a serial device";
        ::close(fd);
        return -1;
    }
    // A device another program holds exclusively refuses the open above (EBUSY); we
    // claim it the same way.
    ::ioctl(fd, TIOCEXCL);
    return fd;
}

}  // namespace

SerialPort::~SerialPort() { Close(); }

bool SerialPort::Open(const std::string& path) {
    Close();
    error_.clear();
    fd_ = OpenTerminal(path, O_RDONLY, &error_);
    if (fd_ < 0) return false;
    path_ = path;
    haveSaved_ = ::tcgetattr(fd_, &saved_) == 0;
    PurgeInput();
    return true;
}

bool SerialPort::ApplyLineSettings() {
    if (fd_ < 0) return false;
    termios t{};
    if (::tcgetattr(fd_, &t) != 0) {
        error_ = std::strerror(errno);
        return false;
    }
    ::cfmakeraw(&t);
    t.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | CSTOPB | CRTSCTS);
    t.c_cflag |= CS8 | CREAD | CLOCAL;
    t.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY | INPCK);
    t.c_cc[VMIN] = 0;
    t.c_cc[VTIME] = 0;
    if (::cfsetispeed(&t, B4800) != 0 || ::cfsetospeed(&t, B4800) != 0 || ::tcsetattr(fd_, TCSANOW, &t) != 0) {
        error_ = std::strerror(errno);
        return false;
    }
    return true;
}

void SerialPort::SetDtr(bool raised) {
    if (fd_ < 0) return;
    int bits = TIOCM_DTR;
    ::ioctl(fd_, raised ? TIOCMBIS : TIOCMBIC, &bits);
}

void SerialPort::PurgeInput() {
    if (fd_ >= 0) ::tcflush(fd_, TCIFLUSH);
}

void SerialPort::PurgeOutput() {
    if (fd_ >= 0) ::tcflush(fd_, TCOFLUSH);
}

void SerialPort::Close() {
    if (fd_ < 0) return;
    if (haveSaved_) ::tcsetattr(fd_, TCSANOW, &saved_);
    ::ioctl(fd_, TIOCNXCL);
    ::close(fd_);
    fd_ = -1;
    haveSaved_ = false;
    path_.clear();
}

bool SerialPort::CanOpen(const std::string& path) {
    const int fd = OpenTerminal(path, O_RDWR, nullptr);
    if (fd < 0) return false;
    ::ioctl(fd, TIOCNXCL);
    ::close(fd);
    return true;
}

}  // namespace tidemar
