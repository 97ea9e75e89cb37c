#pragma once
// One sonar head: reads a framed command block, moves, pings the scene and builds the
// reply. No sockets here, so the whole behaviour can be driven from tests.
//
// Which reply a block gets:
//   'T' (64 bytes of head information) for every block while the head answers head
//       scans (option --head-scan, or SIGUSR1 at run time). The command block has no
//       field that asks for head information: the program sends its ordinary blocks
//       while its head-scan window is open and expects 'T' replies, so the head must be
//       told from outside. A 'T' is not a ping: the head neither moves nor transmits.
//   'P' (profile range only) when byte 22 is 1;
//   'G' (echo data, packed as bytes 19 and 20 ask, normally 500 samples of 8 bits).
//
// Addressing: the head answers blocks addressed to any ID and always reports its own ID
// in reply byte 3, so a program set to another ID (or scanning the addresses) sees who
// answered instead of timing out. With strictId the head behaves like one head on a
// shared bus: blocks addressed to another ID get no reply and change nothing.
#include <cstdint>
#include <vector>

#include "EchoSynth.h"
#include "HeadInfo.h"
#include "HeadMotion.h"
#include "Protocol.h"

namespace tidemar::headsim {

struct HeadConfig {
    int headId = DefaultHeadId;
    int serialNumber = DefaultSerialNumber;
    bool headScan = false;
    bool strictId = false;
    uint64_t seed = 1;
};

class SimulatedHead {
public:
    explicit SimulatedHead(const HeadConfig& config, Scene scene = HarbourScene());

    // False when the head stays silent to this block (another ID with strictId).
    bool Accepts(const RawBlock& block) const;

    // Answers one framed block into reply. Returns false when the head stays silent.
    bool Answer(const RawBlock& block, std::vector<uint8_t>& reply);

    void SetHeadScan(bool on) { headScan_ = on; }
    bool HeadScan() const { return headScan_; }
    const HeadInfo& Info() const { return info_; }
    const HeadMotion& Motion() const { return motion_; }

    // How long a real head takes over the last answer: the two-way travel time of the
    // range at 1500 m/s and the stepping, or a few milliseconds for head information.
    double LastAnswerSeconds() const { return lastAnswerSeconds_; }

private:
    void PackSamples(const DataLayout& layout);

    HeadInfo info_;
    HeadMotion motion_;
    bool headScan_;
    bool strictId_;
    EchoSynthesizer synth_;
    double lastAnswerSeconds_ = 0.0;
    std::vector<uint8_t> samples_;
    std::vector<uint8_t> data_;
};

}  // namespace tidemar::headsim
