// The command line: defaults, every option, and clear errors for bad input.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Options.h"

namespace tidemar::headsim {
namespace {

ParsedOptions Parse(std::vector<std::string> args) { return ParseOptions(args); }

TEST(Options, Defaults) {
    const ParsedOptions p = Parse({});
    ASSERT_TRUE(p.ok) << p.error;
    const Options& o = p.options;
    EXPECT_EQ(o.address, "127.0.0.1");
    EXPECT_EQ(o.port, 4040);
    EXPECT_EQ(o.headId, 17);
    EXPECT_EQ(o.serialNumber, 1234);
    EXPECT_FALSE(o.headScan || o.strictId || o.lenient || o.realtime || o.once || o.help || o.seedGiven);
    EXPECT_TRUE(o.logPath.empty());
    EXPECT_EQ(o.pings, 0);
    EXPECT_FALSE(o.faults.refuse || o.faults.closeAtOnce);
    EXPECT_EQ(
        o.faults.closeAfter + o.faults.silentAfter + o.faults.garbageEvery + o.faults.shortEvery + o.faults.badEndEvery,
        0);
}

TEST(Options, EveryOptionInBothForms) {
    const ParsedOptions p = Parse({"--address",
                                   "127.0.0.55",
                                   "--port=0",
                                   "--head-id",
                                   "31",
                                   "--serial=9999",
                                   "--head-scan",
                                   "--strict-id",
                                   "--lenient",
                                   "--realtime",
                                   "--once",
                                   "--seed",
                                   "18446744073709551615",
                                   "--log=/tmp/x.log",
                                   "--pings",
                                   "7",
                                   "--refuse",
                                   "--close-at-once",
                                   "--close-after=1",
                                   "--silent-after",
                                   "2",
                                   "--garbage-every",
                                   "3",
                                   "--short-every",
                                   "4",
                                   "--bad-end-every=5"});
    ASSERT_TRUE(p.ok) << p.error;
    const Options& o = p.options;
    EXPECT_EQ(o.address, "127.0.0.55");
    EXPECT_EQ(o.port, 0);
    EXPECT_EQ(o.headId, 31);
    EXPECT_EQ(o.serialNumber, 9999);
    EXPECT_TRUE(o.headScan && o.strictId && o.lenient && o.realtime && o.once && o.seedGiven);
    EXPECT_EQ(o.seed, 18446744073709551615ull);
    EXPECT_EQ(o.logPath, "/tmp/x.log");
    EXPECT_EQ(o.pings, 7);
    EXPECT_TRUE(o.faults.refuse && o.faults.closeAtOnce);
    EXPECT_EQ(o.faults.closeAfter, 1);
    EXPECT_EQ(o.faults.silentAfter, 2);
    EXPECT_EQ(o.faults.garbageEvery, 3);
    EXPECT_EQ(o.faults.shortEvery, 4);
    EXPECT_EQ(o.faults.badEndEvery, 5);
}

TEST(Options, BadInputIsNamedInTheError) {
    struct Case {
        std::vector<std::string> args;
        std::string error;
    };
    const Case cases[] = {
        {{"--address", "192.168.1.10"},
         "refusing to listen on 192.168.1.10: only loopback addresses (127.0.0.0/8) are allowed"},
        {{"--address", "0.0.0.0"}, "refusing to listen on 0.0.0.0: only loopback addresses (127.0.0.0/8) are allowed"},
        {{"--address", "localhost"}, "--address needs a dotted IPv4 address such as 127.0.0.1 (got \"localhost\")"},
        {{"--address", "127.1"}, "--address needs a dotted IPv4 address such as 127.0.0.1 (got \"127.1\")"},
        {{"--head-id", "15"}, "--head-id needs a whole number from 16 to 31 (got \"15\")"},
        {{"--head-id", "32"}, "--head-id needs a whole number from 16 to 31 (got \"32\")"},
        {{"--port", "65536"}, "--port needs a whole number from 0 to 65535 (got \"65536\")"},
        {{"--serial", "10000"}, "--serial needs a whole number from 0 to 9999 (got \"10000\")"},
        {{"--close-after", "0"}, "--close-after needs a whole number from 1 to 2000000000 (got \"0\")"},
        {{"--pings", "3x"}, "--pings needs a whole number from 1 to 2000000000 (got \"3x\")"},
        {{"--short-every", ""}, "--short-every needs a whole number from 1 to 2000000000 (got \"\")"},
        {{"--seed", "-1"}, "--seed needs a whole number from 0 to 18446744073709551615 (got \"-1\")"},
        {{"--log", ""}, "--log needs a file name"},
        {{"--port"}, "--port needs a value"},
        {{"--once=yes"}, "--once takes no value"},
        {{"--bogus"}, "unknown option --bogus (see --help)"},
        {{"extra"}, "unknown option extra (see --help)"},
    };
    for (const Case& c : cases) {
        const ParsedOptions p = Parse(c.args);
        EXPECT_FALSE(p.ok) << c.args[0];
        EXPECT_EQ(p.error, c.error);
    }
}

TEST(Options, LoopbackIsTheWhole127Network) {
    EXPECT_TRUE(IsLoopbackAddress("127.0.0.1"));
    EXPECT_TRUE(IsLoopbackAddress("127.0.0.59"));
    EXPECT_TRUE(IsLoopbackAddress("127.255.255.255"));
    EXPECT_FALSE(IsLoopbackAddress("128.0.0.1"));
    EXPECT_FALSE(IsLoopbackAddress("10.0.0.127"));
    EXPECT_FALSE(IsLoopbackAddress("::1"));
    EXPECT_FALSE(IsLoopbackAddress(""));
}

TEST(Options, HelpIsAcceptedAnywhereAndNamesEveryOption) {
    const ParsedOptions p = Parse({"--address", "10.1.1.1", "--help"});
    ASSERT_TRUE(p.ok) << "help is shown even when the other options are wrong";
    EXPECT_TRUE(p.options.help);
    const std::string help = HelpText();
    for (const char* option :
         {"--address",       "--port",         "--head-id",       "--serial",      "--head-scan",     "--strict-id",
          "--lenient",       "--realtime",     "--seed",          "--log",         "--refuse",        "--close-after",
          "--close-at-once", "--silent-after", "--garbage-every", "--short-every", "--bad-end-every", "--pings",
          "--once",          "--help",         "SIGUSR1",         "127.0.0.0/8"}) {
        EXPECT_NE(help.find(option), std::string::npos) << option;
    }
}

}  // namespace
}  // namespace tidemar::headsim
