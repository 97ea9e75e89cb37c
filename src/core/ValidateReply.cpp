#include "core/Reply.h"

#include "core/HeadInfo.h"
#include "core/Modes.h"
#include "core/TimeStamp.h"

namespace tidemar {

bool ReplyLengthIsValid(int expectedReturnLength) {
    return expectedReturnLength >= ReplyFrameBytes && expectedReturnLength <= MaxReplyBytes;
}

int ValidateReply(SonarState& state, const Clock& clock, bool* secondChanged) {
    if (secondChanged) *secondChanged = false;
    const int n = state.ExpectedReturnLength;
    const auto& reply = state.ReceiveBuffer;
    if (!ReplyLengthIsValid(n) || reply[0] != ReplyStartByte || reply[1] != state.ReplyType ||
        reply[2] != ReplyMarkByte || reply[n - 1] != ReplyEndByte) {
        state.PingValid = 0;
        return 0;
    }

    if (state.RunMode == DataSource::Head) {
        const bool changed = StampTime(state, clock);
        if (secondChanged) *secondChanged = changed;
    }
    state.PingValid = 1;
    switch (reply[1]) {
    case 'G':
    case 'M':
    case 'P': DecodeReply(state, clock); break;
    case 'T':
        DecodeReply(state, clock);
        TakeHeadScanReply(state);
        break;
    default: break;
    }
    return 1;
}

}  // namespace tidemar
