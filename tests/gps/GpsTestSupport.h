#pragma once
// Helpers of the GPS tests: a scratch directory, pseudo-terminals (one made directly, or
// a socat pair like a network GPS would use), the receiver logs of tests/data/gps, the
// position texts worked out from them by a rule of their own, and a dispatch target that
// keeps every box drawing.

#include "TempDir.h"
#include <fcntl.h>
#include <sys/prctl.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "core/DispatchPing.h"

namespace tidemar::gpstest {

using TempDir = tidemar::testing::TempDir;

// A pseudo-terminal: the test writes into the master, the program opens SlavePath.
class Pty {
public:
    Pty() {
        master_ = posix_openpt(O_RDWR | O_NOCTTY);
        if (master_ >= 0 && grantpt(master_) == 0 && unlockpt(master_) == 0) slave_ = ptsname(master_);
    }
    ~Pty() {
        if (master_ >= 0) close(master_);
    }
    Pty(const Pty&) = delete;
    Pty& operator=(const Pty&) = delete;

    bool Ok() const { return !slave_.empty(); }
    const std::string& SlavePath() const { return slave_; }
    bool Send(const std::string& bytes) const {
        return write(master_, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size());
    }

private:
    int master_ = -1;
    std::string slave_;
};

inline bool SocatInstalled() {
    const char* path = std::getenv("PATH");
    std::string dirs = path ? path : "/usr/bin:/bin";
    size_t start = 0;
    while (start <= dirs.size()) {
        size_t end = dirs.find(':', start);
        if (end == std::string::npos) end = dirs.size();
        const std::string candidate = dirs.substr(start, end - start) + "/socat";
        if (access(candidate.c_str(), X_OK) == 0) return true;
        start = end + 1;
    }
    return false;
}

// `socat pty,raw,echo=0,link=A pty,raw,echo=0,link=B` in a directory: bytes written to A
// come out of B, as from a receiver behind a network serial server.
class SocatPair {
public:
    explicit SocatPair(const std::string& directory) : a_(directory + "/A"), b_(directory + "/B") {
        // Everything the child needs is made before the fork: it only execs.
        const std::string errors = directory + "/socat.err";
        const std::string left = "pty,raw,echo=0,link=" + a_, right = "pty,raw,echo=0,link=" + b_;
        pid_ = fork();
        if (pid_ == 0) {
            // A socat left behind by a crashed test must neither outlive it nor hold the
            // test's output open (CTest would wait on that pipe for ever).
            prctl(PR_SET_PDEATHSIG, SIGTERM);
            const int err = open(errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            if (err >= 0) {
                dup2(err, 1);
                dup2(err, 2);
            }
            execlp("socat", "socat", "-d", "-d", left.c_str(), right.c_str(), static_cast<char*>(nullptr));
            _exit(127);
        }
        for (int i = 0; i < 500 && !(std::filesystem::exists(a_) && std::filesystem::exists(b_)); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    ~SocatPair() {
        if (writer_ >= 0) close(writer_);
        if (pid_ > 0) {
            kill(pid_, SIGTERM);
            waitpid(pid_, nullptr, 0);
        }
    }
    SocatPair(const SocatPair&) = delete;
    SocatPair& operator=(const SocatPair&) = delete;

    bool Ok() const { return pid_ > 0 && std::filesystem::exists(a_) && std::filesystem::exists(b_); }
    const std::string& ReaderPath() const { return b_; }
    bool Send(const std::string& bytes) {
        if (writer_ < 0) writer_ = open(a_.c_str(), O_WRONLY | O_NOCTTY);
        return writer_ >= 0 && write(writer_, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size());
    }

private:
    std::string a_, b_;
    pid_t pid_ = -1;
    int writer_ = -1;
};

// The sentences of a receiver log (comment lines left out), without their line ends.
inline std::vector<std::string> LogSentences(const std::string& name) {
    std::ifstream in(std::string(TIDEMAR_TEST_DATA) + "/gps/" + name, std::ios::binary);
    std::vector<std::string> sentences;
    std::string line;
    while (std::getline(in, line)) {
        while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) line.pop_back();
        if (!line.empty() && line[0] != '#') sentences.push_back(line);
    }
    return sentences;
}

// The position text of a sentence, worked out from its comma-separated fields for the
// widths the logs use (ddmm.mmm... and dddmm.mmm..., three or more fraction digits):
// " dd.mm.mmm H" and "ddd.mm.mmm H". Nothing when the sentence is not of the type or
// carries no position.
inline std::optional<std::string> ExpectedText(const std::string& sentence, int gpsType) {
    const std::string type = gpsType == 1 ? "GGA" : "GLL";
    if (sentence.size() < 6 || sentence[0] != '$' || sentence.compare(3, 3, type) != 0) return std::nullopt;
    std::vector<std::string> fields;
    size_t start = 0;
    for (size_t comma; (comma = sentence.find(',', start)) != std::string::npos; start = comma + 1)
        fields.push_back(sentence.substr(start, comma - start));
    fields.push_back(sentence.substr(start));
    const size_t first = gpsType == 1 ? 2 : 1;
    if (fields.size() < first + 4 || fields[first].empty() || fields[first + 2].empty()) return std::nullopt;
    const std::string& lat = fields[first];
    const std::string& lon = fields[first + 2];
    return " " + lat.substr(0, 2) + "." + lat.substr(2, 2) + "." + lat.substr(5, 3) + " " + fields[first + 1] +
           lon.substr(0, 3) + "." + lon.substr(3, 2) + "." + lon.substr(6, 3) + " " + fields[first + 3];
}

// Keeps every drawing of the position box.
class BoxTarget : public DispatchTarget {
public:
    std::vector<bool> Boxes;  // the fresh flag of each DrawGpsPosition
    void DrawGpsPosition(bool fresh) override { Boxes.push_back(fresh); }
};

}  // namespace tidemar::gpstest
