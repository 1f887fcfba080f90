#include "view/BpCycle.h"

#include <optional>

#include "link/LiveData.h"
#include "view/BpStatus.h"

namespace {

TimerCommand SetTimer(uint32_t periodMs)
{
    return {TimerCommand::Kind::kSet, periodMs};
}

// The pause after a measurement; an "Interval" outside 0..7 leaves the timer
// as it is.
std::optional<uint32_t> PauseMs(int32_t interval, int32_t deviceKind)
{
    if (deviceKind == kDeviceBrindle)
        return CBpCycle::kBrindlePauseMs;
    switch (interval) {
    case 1: return 120000;
    case 2: return 180000;
    case 0:
    case 3:
    case 4:
    case 5:
    case 6:
    case 7: return 60000;
    default: return std::nullopt;
    }
}

}  // namespace

BpCycleActions CBpCycle::OnTimer(const BpCycleInputs& in)
{
    BpCycleActions out;
    // A stopped cycle ends its timer whatever the status word says.
    if ((in.featureBits & kFeatureNibp) == 0 || m_bpState == kStopped) {
        out.timer.kind = TimerCommand::Kind::kKill;
        return out;
    }
    if ((in.statusFlags & CBpStatus::kCycleBit) == 0)
        return out;
    switch (m_bpState) {
    case kMeasure:
        out.measuringBit = BitChange::kSet;
        out.timer = SetTimer(kMeasureMs);
        m_bpState = kPause;
        break;
    case kPause:
        out.measuringBit = BitChange::kClear;
        if (const auto pause = PauseMs(in.interval, in.deviceKind))
            out.timer = SetTimer(*pause);
        m_bpState = kMeasure;
        break;
    default:
        break;
    }
    return out;
}
