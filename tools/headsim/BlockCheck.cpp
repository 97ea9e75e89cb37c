#include "BlockCheck.h"

#include <array>
#include <cstdio>

namespace tidemar::headsim {
namespace {

constexpr uint8_t ProgrammingMark = 0x80;
constexpr uint8_t NewHeadIdFlag = 0x80;

bool Within(uint8_t value, int low, int high) { return value >= low && value <= high; }

bool IsHeadIdChange(const RawBlock& b) { return (b[16] & NewHeadIdFlag) != 0; }
bool MayProgram(const RawBlock& b) { return b[10] == ProgrammingMark; }

struct ByteRule {
    const char* name;
    const char* allowed;
    bool (*ok)(const RawBlock&);
};

// One rule per byte, indexed by byte.
const std::array<ByteRule, BlockBytes> Rules = {{
    {"start marker", "0xFE", [](const RawBlock& b) { return b[0] == BlockStart; }},
    {"block type", "0x44 ('D')", [](const RawBlock& b) { return b[1] == BlockType; }},
    {"head ID", "16..31", [](const RawBlock& b) { return Within(b[2], 16, 31); }},
    {"range", "1..200 m", [](const RawBlock& b) { return Within(b[3], 1, 200); }},
    {"reserved", "0", [](const RawBlock& b) { return b[4] == 0; }},
    {"reverse and hold bits", "0x00, 0x01, 0x40 or 0x41", [](const RawBlock& b) { return (b[5] & ~0x41) == 0; }},
    {"reserved", "0", [](const RawBlock& b) { return b[6] == 0; }},
    {"reserved", "0", [](const RawBlock& b) { return b[7] == 0; }},
    {"gain", "0..40 dB", [](const RawBlock& b) { return Within(b[8], 0, 40); }},
    {"fixed", "1", [](const RawBlock& b) { return b[9] == 1; }},
    {"absorption", "1..255 (0 only with a head-ID change)",
     [](const RawBlock& b) { return b[10] != 0 || IsHeadIdChange(b); }},
    {"train code", "0..119", [](const RawBlock& b) { return Within(b[11], 0, 119); }},
    {"sector code", "0..120", [](const RawBlock& b) { return Within(b[12], 0, 120); }},
    {"step code", "0, 1, 2, 3, 4 or 8", [](const RawBlock& b) { return Within(b[13], 0, 4) || b[13] == 8; }},
    {"pulse length", "1..100 (10 us units)", [](const RawBlock& b) { return Within(b[14], 1, 100); }},
    {"profile minimum range", "0..250 dm", [](const RawBlock& b) { return Within(b[15], 0, 250); }},
    {"external trigger", "0..3, or 0x90..0x9F to change the head ID",
     [](const RawBlock& b) { return Within(b[16], 0, 3) || Within(b[16], 0x80 | 16, 0x80 | 31); }},
    {"reserved", "0", [](const RawBlock& b) { return b[17] == 0; }},
    {"serial number bits 7..13", "0 (0..127 with absorption 0x80)",
     [](const RawBlock& b) { return b[18] == 0 || (MayProgram(b) && b[18] < 0x80); }},
    {"data points / 10", "0x32 (500 points)", [](const RawBlock& b) { return b[19] == 50; }},
    {"bits per data point", "8", [](const RawBlock& b) { return b[20] == 8; }},
    {"depth rating", "0 (0..15 with absorption 0x80)",
     [](const RawBlock& b) { return b[21] == 0 || (MayProgram(b) && b[21] < 0x10); }},
    {"profile only", "0 or 1", [](const RawBlock& b) { return b[22] <= 1; }},
    {"calibrate", "0 or 1", [](const RawBlock& b) { return b[23] <= 1; }},
    {"switch delay / 2", "0..250", [](const RawBlock& b) { return Within(b[24], 0, 250); }},
    {"frequency code", "21..185 (280..1100 kHz)", [](const RawBlock& b) { return Within(b[25], 21, 185); }},
    {"end marker", "0xFD", [](const RawBlock& b) { return b[26] == BlockEnd; }},
}};

ByteFault FaultAt(const RawBlock& block, int index) {
    const ByteRule& rule = Rules[static_cast<std::size_t>(index)];
    return {index, block[static_cast<std::size_t>(index)], rule.name, rule.allowed};
}

}  // namespace

std::vector<ByteFault> CheckBlock(const RawBlock& block) {
    std::vector<ByteFault> faults;
    for (std::size_t i = 0; i < Rules.size(); ++i) {
        if (!Rules[i].ok(block)) faults.push_back(FaultAt(block, static_cast<int>(i)));
    }
    return faults;
}

ByteFault FramingFault(int index, uint8_t value) {
    RawBlock block{};
    block[static_cast<std::size_t>(index)] = value;
    return FaultAt(block, index);
}

std::string Describe(const ByteFault& fault) {
    char text[160];
    std::snprintf(text, sizeof text, "byte %d (%s) is 0x%02X (%d), allowed %s", fault.index, fault.name, fault.value,
                  fault.value, fault.allowed);
    return text;
}

std::string Describe(const std::vector<ByteFault>& faults) {
    std::string text;
    for (const ByteFault& fault : faults) {
        if (!text.empty()) text += "; ";
        text += Describe(fault);
    }
    return text;
}

}  // namespace tidemar::headsim
