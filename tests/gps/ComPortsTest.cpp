// The port list: which devices become COM1, COM2, ... and in what order, what probing
// marks available, and where a stored port that is gone moves to.
#include <gtest/gtest.h>

#include <filesystem>

#include "GpsTestSupport.h"
#include "gps/ComPorts.h"

namespace tidemar {
namespace {

TEST(ComPorts, ListedPathsFirstThenEachFamilyInNaturalOrder) {
    const std::vector<std::string> found = {"ttyS10", "ttyS2", "ttyUSB10", "ttyACM0", "ttyS0",   "ttyUSB2",
                                            "tty5",   "ttySX", "ttyS",     "console", "ttyUSB1", "ttyS1a"};
    const std::vector<std::string> expected = {"/tmp/gps",     "/dev/ttyS2",   "/dev/ttyS0",    "/dev/ttyS10",
                                               "/dev/ttyUSB1", "/dev/ttyUSB2", "/dev/ttyUSB10", "/dev/ttyACM0"};
    EXPECT_EQ(SerialDeviceCandidates("/tmp/gps:/dev/ttyS2::/tmp/gps", found, "/dev"), expected)
        << "listed first (empty entries and repeats dropped), a listed device not repeated";
    EXPECT_EQ(SerialDeviceCandidates("", {}, "/dev"), std::vector<std::string>{});

    std::vector<std::string> many;
    for (int i = 0; i < 40; ++i) many.push_back("ttyS" + std::to_string(i));
    const std::vector<std::string> list = SerialDeviceCandidates("", many, "/dev");
    ASSERT_EQ(list.size(), 32u) << "COM1..COM32";
    EXPECT_EQ(list.back(), "/dev/ttyS31");
}

TEST(ComPorts, NaturalOrderComparesNumbersAsNumbers) {
    EXPECT_TRUE(NaturalLess("ttyS2", "ttyS10"));
    EXPECT_FALSE(NaturalLess("ttyS10", "ttyS2"));
    EXPECT_TRUE(NaturalLess("ttyS9", "ttyS10"));
    EXPECT_TRUE(NaturalLess("ttyS", "ttyS0"));
    EXPECT_TRUE(NaturalLess("ttyS2", "ttyS02")) << "equal numbers: fewer zeros first";
    EXPECT_FALSE(NaturalLess("ttyS02", "ttyS2"));
    EXPECT_FALSE(NaturalLess("ttyS2", "ttyS2"));
    EXPECT_TRUE(NaturalLess("ttyS99999999999999999999", "ttyS100000000000000000000")) << "beyond 64 bits";
}

struct ProbeFixture : ::testing::Test {
    gpstest::TempDir dir;
    gpstest::Pty listed;
    SonarState state;
    ComPorts ports;

    void SetUp() override {
        ASSERT_TRUE(listed.Ok());
        namespace fs = std::filesystem;
        for (const char* name : {"ttyS10", "ttyS2", "ttyUSB0"}) fs::create_symlink("/dev/ptmx", dir.File(name));
        fs::create_symlink("/nonexistent/tty", dir.File("ttyS3"));  // gone
        std::ofstream(dir.File("ttyS4")) << "not a terminal";
        fs::create_symlink("/dev/ptmx", dir.File("ttyX1"));  // no serial family
        state.SerialPortPaths = listed.SlavePath() + ":/nonexistent/gps";
    }
};

TEST_F(ProbeFixture, ListedDevicesKeepTheirPlaceFoundOnesMustOpen) {
    state.ComPortGPS = 3;
    ProbeComPorts(state, ports, dir.Path());
    EXPECT_EQ(ports.ComPortsProbed, 1);
    const std::vector<std::string> expected = {listed.SlavePath(), "/nonexistent/gps", dir.File("ttyS2"),
                                               dir.File("ttyS10"), dir.File("ttyUSB0")};
    EXPECT_EQ(ports.Paths, expected);
    EXPECT_TRUE(ports.Available[0]);
    EXPECT_FALSE(ports.Available[1]) << "listed but not there";
    EXPECT_TRUE(ports.Available[2] && ports.Available[3] && ports.Available[4]);
    EXPECT_FALSE(ports.Available[5]);
    const std::array<int, 6> list = {0, 2, 3, 4, -1, -1};
    EXPECT_TRUE(std::equal(list.begin(), list.end(), ports.AvailableComPorts.begin()));
    EXPECT_EQ(ports.AvailableComPorts[31], -1);
    EXPECT_EQ(ports.AvailableCount(), 4);
    EXPECT_EQ(state.ComPortGPS, 3) << "an available port stays chosen";
    EXPECT_EQ(ComPortName(3), "COM4");
    EXPECT_EQ(ports.PathOf(3), dir.File("ttyS10"));
    EXPECT_EQ(ports.PathOf(5), "");
    EXPECT_EQ(ports.PathOf(-1), "");
}

TEST_F(ProbeFixture, AStoredPortThatIsNotThereBecomesTheFirstAvailable) {
    for (int stored : {1, 5, 31, -1}) {
        state.ComPortGPS = stored;
        ProbeComPorts(state, ports, dir.Path());
        EXPECT_EQ(state.ComPortGPS, 0) << "stored " << stored;
    }
    state.SerialPortPaths = "/nonexistent/gps";
    state.ComPortGPS = 0;
    ProbeComPorts(state, ports, dir.Path());
    EXPECT_EQ(state.ComPortGPS, 1) << "the listed device is missing: the first found one";

    gpstest::TempDir empty;
    ProbeComPorts(state, ports, empty.Path());
    EXPECT_EQ(state.ComPortGPS, -1) << "no port at all";
    EXPECT_EQ(ports.AvailableCount(), 0);
    EXPECT_EQ(ports.ComPortsProbed, 1);
    ProbeComPorts(state, ports, dir.File("no-such-directory"));
    EXPECT_EQ(ports.Paths, std::vector<std::string>{"/nonexistent/gps"});
}

}  // namespace
}  // namespace tidemar
