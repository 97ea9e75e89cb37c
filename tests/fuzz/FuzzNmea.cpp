// Arbitrary bytes from a serial GPS line. The first byte chooses the sentence type, the
// mode and a starting text (whole, empty or cut short, as playback can leave it); the
// rest arrives in chunks of 1 to 128 bytes, each preceded by a byte choosing its size. Line
// assembly, the filter, the position scan, the text and the box must stay inside their
// buffers, and the text must come out 24 characters long with its fixed characters in
// place whenever a sentence was taken.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "gps/GpsInput.h"
#include "gps/GpsLineAssembler.h"
#include "gps/GpsPositionBox.h"
#include "gps/GpsPositionText.h"
#include "gps/NmeaSentence.h"

namespace {

using namespace tidemar;

class NullTarget : public DispatchTarget {};

void Check(bool condition) {
    if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const uint8_t how = data[0];
    SonarState state;
    state.UseGPS = 1;
    state.GPSType = how & 1;
    state.HoldActive = (how & 0x30) == 0x30 ? 1 : 0;
    switch ((how >> 1) & 3) {
    case 0: break;  // 24 zero bytes
    case 1: state.GpsPositionText = " 49.16.451 N123.11.123 W"; break;
    case 2: state.GpsPositionText = " 49.1"; break;
    default: state.GpsPositionText.clear(); break;
    }
    NullTarget target;
    GpsLineAssembler assembler;
    bool blink = false;
    size_t at = 1;
    while (at < size) {
        const size_t wanted = 1 + data[at++] % GpsReadChunkBytes;
        const size_t chunk = std::min(wanted, size - at);
        const GpsChunkResult result = assembler.Take(data + at, chunk);
        at += chunk;
        Check(assembler.PendingBytes() < static_cast<size_t>(GpsOverlongLineBytes));
        for (const std::string& line : result.Lines) {
            Check(!line.empty() && line.back() == '\n');
            const int before = state.GpsSilenceCount;
            const GpsLineUse use = HandleGpsLine(state, line, target);
            if (use == GpsLineUse::Dropped) {
                Check(state.GpsSilenceCount == before);
                continue;
            }
            Check(IsChosenGpsSentence(line, state.GPSType) && !state.HoldActive);
            Check(state.GpsSilenceCount == 0);
            const std::string& t = state.GpsPositionText;
            Check(t.size() == GpsPositionTextLength);
            Check(t[0] == ' ' && t[3] == '.' && t[6] == '.' && t[10] == ' ' && t[15] == '.' && t[18] == '.' &&
                  t[22] == ' ');
            const GpsBox box = DecideGpsBox(state, use == GpsLineUse::Shown, blink);
            Check(box.Shown && !box.NotAvailable);
            Check(box.LatitudeText.size() <= 13 && box.LongitudeText.size() <= 12);
        }
        GpsSecondTick(state, target);
    }
    return 0;
}
