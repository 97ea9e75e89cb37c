#pragma once
// One serial device opened for the GPS receiver, through termios.
//
// Opening never waits for a carrier (O_NONBLOCK, and CLOCAL once the line is set up), never
// makes the device the controlling terminal (O_NOCTTY), and asks for exclusive use
// (TIOCEXCL) so that a second program cannot read half of the sentences. Closing puts
// back the settings the device had before.

#include <string>

#include <termios.h>

namespace tidemar {

inline constexpr int GpsBaudRate = 4800;

class SerialPort {
public:
    SerialPort() = default;
    ~SerialPort();
    SerialPort(const SerialPort&) = delete;
    SerialPort& operator=(const SerialPort&) = delete;

    // Opens a terminal device for reading only, purges what it had queued and saves its
    // settings. False (with Error() saying why) when it is no terminal or cannot be opened.
    bool Open(const std::string& path);

    // 4800 baud, 8 data bits, no parity, one stop bit, raw bytes, no echo, no flow
    // control, receiver on, modem lines ignored. Reads return at once with what is
    // queued (the reader waits with poll()).
    bool ApplyLineSettings();

    // DTR powers some receivers; devices without modem lines (pseudo-terminals) ignore it.
    void SetDtr(bool raised);

    void PurgeInput();
    void PurgeOutput();

    // Restores the saved settings, gives up exclusive use and closes. Harmless when
    // closed.
    void Close();

    bool IsOpen() const { return fd_ >= 0; }
    int Descriptor() const { return fd_; }
    const std::string& Path() const { return path_; }
    const std::string& Error() const { return error_; }

    // Whether the device can be opened for reading and writing by us alone right now, as
    // probing asks; it is closed again at once.
    static bool CanOpen(const std::string& path);

private:
    int fd_ = -1;
    std::string path_;
    std::string error_;
    termios saved_{};
    bool haveSaved_ = false;
};

}  // namespace tidemar
