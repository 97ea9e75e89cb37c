#pragma once
// A fixture that starts tidemar-headsim on its own loopback address and a free port.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <string>
#include <vector>

#include "HeadSimProcess.h"
#include "HeadSimTestSupport.h"

namespace tidemar::headsim::test {

class HeadSimRun : public ::testing::Test {
protected:
    // Starts the head on address (one of 127.0.0.50 .. 127.0.0.59) with a free port and
    // a fixed seed, plus args.
    void StartHead(const std::string& address, std::vector<std::string> args = {}) {
        address_ = address;
        const std::vector<std::string> base = {"--address", address, "--port", "0", "--seed", "1"};
        args.insert(args.begin(), base.begin(), base.end());
        ASSERT_TRUE(head_.Start(args)) << "the head printed nothing";
        ASSERT_GT(head_.Port(), 0) << head_.FirstLine();
    }

    void Connect(Client& client) { ASSERT_EQ(client.Connect(address_, head_.Port()), 0) << "connect to " << address_; }

    // Ends the head with SIGTERM and expects a clean exit.
    void ExpectCleanStop() {
        const int status = head_.Stop();
        EXPECT_TRUE(WIFEXITED(status)) << "status " << status;
        EXPECT_EQ(WEXITSTATUS(status), 0);
    }

    HeadSimProcess head_;
    std::string address_;
};

inline ::testing::AssertionResult IsReply(const std::vector<uint8_t>& r, char type, std::size_t size) {
    if (r.size() != size) {
        return ::testing::AssertionFailure() << "reply of " << r.size() << " bytes, not " << size;
    }
    if (r[0] != 'B' || r[1] != type || r[2] != 'L') {
        return ::testing::AssertionFailure() << "header " << r[0] << r[1] << r[2];
    }
    if (r.back() != 0xFC) return ::testing::AssertionFailure() << "end byte " << int(r.back());
    if (DataByteCountOf(r) != static_cast<int>(size - 13)) {
        return ::testing::AssertionFailure() << "data byte count " << DataByteCountOf(r);
    }
    return ::testing::AssertionSuccess();
}

}  // namespace tidemar::headsim::test
