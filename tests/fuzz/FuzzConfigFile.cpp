// Arbitrary bytes as a .CFG file: refused files change nothing, accepted ones load only
// cells within their limits, and what loads is written and read back unchanged.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "core/UserConfigTable.h"
#include "settings/ConfigFile.h"

namespace {

using namespace tidemar;

void Require(bool condition) {
    if (!condition) std::abort();
}

bool SameRows(const UserConfigTable& a, const UserConfigTable& b, int rows) {
    for (int r = 0; r < rows; ++r)
        if (a[r].RangeLabel != b[r].RangeLabel || a[r].Frequency != b[r].Frequency ||
            a[r].Absorption != b[r].Absorption || a[r].PulseLength != b[r].PulseLength)
            return false;
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    UserConfigTable before{};
    for (auto& row : before) row = {-1, -1, -1, -1};
    UserConfigTable working = before;

    const bool loaded = ParseConfigFile(data, size, working);
    const bool shouldLoad =
        size >= ConfigFileBytesSize && data[0] == 'C' && data[1] == 'F' && data[2] == 'G' && data[3] == 0;
    Require(loaded == shouldLoad);
    if (!loaded) {
        Require(SameRows(working, before, UserConfigTableRows));
        return 0;
    }

    const UserConfigTable defaults = DefaultUserConfigTable();
    for (int r = 0; r < UserConfigUsedRows; ++r) {
        const UserConfigRow& row = working[r];
        Require((row.RangeLabel >= 0 && row.RangeLabel <= 14) || row.RangeLabel == defaults[r].RangeLabel);
        Require(row.Frequency >= MinFrequency && row.Frequency <= MaxFrequency && row.Frequency % 5 == 0);
        Require(row.Absorption >= 1 && row.Absorption <= 255);
        Require(row.PulseLength >= 10 && row.PulseLength <= 1000 && row.PulseLength % 10 == 0);
    }
    for (int r = UserConfigUsedRows; r < UserConfigTableRows; ++r) Require(working[r].Frequency == -1);

    const std::vector<uint8_t> bytes = ConfigFileBytes(working);
    Require(bytes.size() == ConfigFileBytesSize);
    UserConfigTable again = before;
    Require(ParseConfigFile(bytes.data(), bytes.size(), again));
    Require(SameRows(again, working, UserConfigUsedRows));
    return 0;
}
