// The head's byte-by-byte check of command blocks: every kind of block the program sends
// passes, and each byte outside the layout is refused by name.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "BlockCheck.h"
#include "HeadSimTestSupport.h"

namespace tidemar::headsim {
namespace {

using test::DefaultBlock;

RawBlock With(std::initializer_list<std::pair<int, int>> bytes) {
    RawBlock b = DefaultBlock();
    for (const auto& [index, value] : bytes) b[static_cast<std::size_t>(index)] = static_cast<uint8_t>(value);
    return b;
}

TEST(BlockCheck, EveryBlockTheProgramSendsPasses) {
    struct Case {
        const char* legend;
        RawBlock block;
    };
    const Case cases[] = {
        {"ordinary ping block", DefaultBlock()},
        {"profile points only ('P')", With({{22, 1}})},
        {"head-scan request ('T'), absorption 0x80 sent as 0x7F", With({{10, 0x7F}})},
        {"imaging at 1.28 dB/m: absorption 0x80 outside a head scan", With({{10, 0x80}})},
        {"head-ID change only: new ID 20, absorption cleared", With({{2, 16}, {10, 0}, {16, 0x94}})},
        {"programming only: serial 9999, 3000 m", With({{10, 0x80}, {15, 0x0F}, {18, 0x4E}, {21, 1}})},
        {"programming at the masks' top", With({{10, 0x80}, {15, 0x7F}, {18, 0x7F}, {21, 0x0F}})},
        {"ID change and programming together", With({{10, 0x80}, {16, 0x9F}, {15, 3}, {18, 1}})},
        {"head positioning: no sector, step 1", With({{11, 119}, {12, 0}, {13, 1}})},
        {"side scan: no sector, no step", With({{12, 0}, {13, 0}})},
        {"auto-profile sector with margin", With({{12, 119}, {13, 8}})},
        {"lowest values", With({{2, 16}, {3, 1}, {8, 0}, {10, 1}, {11, 0}, {14, 1}, {25, 21}})},
        {"highest values", With({{2, 31},
                                 {3, 200},
                                 {8, 40},
                                 {10, 255},
                                 {11, 119},
                                 {12, 120},
                                 {14, 100},
                                 {15, 250},
                                 {16, 3},
                                 {24, 250},
                                 {25, 185}})},
        {"reverse, hold and calibrate", With({{5, 0x41}, {23, 1}})},
    };
    for (const Case& c : cases) EXPECT_EQ(Describe(CheckBlock(c.block)), "") << c.legend;
}

TEST(BlockCheck, EachByteOutsideTheLayoutIsRefusedByName) {
    struct Case {
        const char* legend;
        RawBlock block;
        int index;
        const char* name;
    };
    const Case cases[] = {
        {"start marker", With({{0, 0xFF}}), 0, "start marker"},
        {"block type 'd'", With({{1, 'd'}}), 1, "block type"},
        {"head ID 15", With({{2, 15}}), 2, "head ID"},
        {"head ID 32", With({{2, 32}}), 2, "head ID"},
        {"range 0", With({{3, 0}}), 3, "range"},
        {"range 201", With({{3, 201}}), 3, "range"},
        {"reserved byte 4", With({{4, 1}}), 4, "reserved"},
        {"byte 5 bit 1", With({{5, 0x02}}), 5, "reverse and hold bits"},
        {"reserved byte 6", With({{6, 0x80}}), 6, "reserved"},
        {"reserved byte 7", With({{7, 1}}), 7, "reserved"},
        {"gain 41", With({{8, 41}}), 8, "gain"},
        {"byte 9 not 1", With({{9, 0}}), 9, "fixed"},
        {"absorption 0 without an ID change", With({{10, 0}}), 10, "absorption"},
        {"train code 120", With({{11, 120}}), 11, "train code"},
        {"sector code 121", With({{12, 121}}), 12, "sector code"},
        {"step code 5", With({{13, 5}}), 13, "step code"},
        {"step code 9", With({{13, 9}}), 13, "step code"},
        {"pulse length 0", With({{14, 0}}), 14, "pulse length"},
        {"pulse length 101", With({{14, 101}}), 14, "pulse length"},
        {"profile minimum range 251", With({{15, 251}}), 15, "profile minimum range"},
        {"trigger 4", With({{16, 4}}), 16, "external trigger"},
        {"new head ID 15", With({{16, 0x8F}}), 16, "external trigger"},
        {"new head ID 32", With({{16, 0xA0}}), 16, "external trigger"},
        {"reserved byte 17", With({{17, 1}}), 17, "reserved"},
        {"serial bits in an ordinary block", With({{18, 1}}), 18, "serial number bits 7..13"},
        {"serial bits past 7 bits", With({{10, 0x80}, {18, 0x80}}), 18, "serial number bits 7..13"},
        {"400 points", With({{19, 40}}), 19, "data points / 10"},
        {"4 bits a point", With({{20, 4}}), 20, "bits per data point"},
        {"depth rating in an ordinary block", With({{21, 1}}), 21, "depth rating"},
        {"depth rating past 4 bits", With({{10, 0x80}, {21, 0x10}}), 21, "depth rating"},
        {"profile only 2", With({{22, 2}}), 22, "profile only"},
        {"calibrate 2", With({{23, 2}}), 23, "calibrate"},
        {"switch delay 251", With({{24, 251}}), 24, "switch delay / 2"},
        {"frequency code 20 (275 kHz)", With({{25, 20}}), 25, "frequency code"},
        {"frequency code 186 (1105 kHz)", With({{25, 186}}), 25, "frequency code"},
        {"end marker", With({{26, 0xFC}}), 26, "end marker"},
    };
    for (const Case& c : cases) {
        const std::vector<ByteFault> faults = CheckBlock(c.block);
        ASSERT_EQ(faults.size(), 1u) << c.legend << ": " << Describe(faults);
        EXPECT_EQ(faults[0].index, c.index) << c.legend;
        EXPECT_EQ(faults[0].value, c.block[static_cast<std::size_t>(c.index)]) << c.legend;
        const std::string named = "byte " + std::to_string(c.index) + " (" + c.name + ") is 0x";
        EXPECT_EQ(Describe(faults).rfind(named, 0), 0u) << c.legend << ": " << Describe(faults);
    }
}

TEST(BlockCheck, FaultsAreDescribedWithValueAndAllowedValues) {
    EXPECT_EQ(Describe(CheckBlock(With({{8, 41}, {25, 0}}))),
              "byte 8 (gain) is 0x29 (41), allowed 0..40 dB; "
              "byte 25 (frequency code) is 0x00 (0), allowed 21..185 (280..1100 kHz)");
    EXPECT_EQ(Describe(FramingFault(26, 0xFC)), "byte 26 (end marker) is 0xFC (252), allowed 0xFD");
}

}  // namespace
}  // namespace tidemar::headsim
