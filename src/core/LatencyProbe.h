#pragma once
// Timestamps of a ping on its way from the socket to the screen, for the latency benchmark
// only. Nothing is measured unless a probe is installed; without one each mark costs one
// atomic load and a branch.

#include <atomic>

namespace tidemar {

enum class LatencyMark {
    ReplyArrived,  // link thread: the last byte of a reply was read from the socket
    ImageChanged,  // main thread: a dispatched ping changed the picture
    ImageShown,    // main thread: a paint of the picture ended
};

class LatencyProbe {
public:
    virtual ~LatencyProbe() = default;
    // Called on the thread where the mark happens; the probe takes the time itself.
    virtual void Mark(LatencyMark mark) = 0;
};

inline std::atomic<LatencyProbe*>& InstalledLatencyProbe() {
    static std::atomic<LatencyProbe*> probe{nullptr};
    return probe;
}

// The probe must outlive every thread that may still mark; null removes it.
inline void InstallLatencyProbe(LatencyProbe* probe) {
    InstalledLatencyProbe().store(probe, std::memory_order_release);
}

inline void MarkLatency(LatencyMark mark) {
    if (LatencyProbe* probe = InstalledLatencyProbe().load(std::memory_order_acquire)) probe->Mark(mark);
}

}  // namespace tidemar
