#include "view/BpStatus.h"

#include <algorithm>
#include <cstdio>

#include "link/LiveData.h"

BpActions CBpStatus::Update(const BpInputs& in)
{
    BpActions out;
    if ((in.featureBits & kFeatureNibp) == 0) {
        out.clearRunning = true;
        AnimationsStopped();
        return out;
    }
    FollowErrors(in, out);
    FollowCycle(in, out);
    return out;
}

void CBpStatus::FollowErrors(const BpInputs& in, BpActions& out)
{
    uint8_t code = static_cast<uint8_t>((in.statusFlags >> kErrorShift) & 0xF);
    if (code == 0 || !in.running) {
        m_previousError = 0;
        return;
    }
    if (code == kErrorRepeated) {
        // A single report may be noise; the periods decide.
        if (++m_bpError10Count == 1 && in.verboseLogging) {
            char line[96];
            std::snprintf(line, sizeof line, "BP Error 10.  EcgRcv.Status 0x%x. BP measurement period %d.",
                          static_cast<unsigned>(in.statusFlags), static_cast<int>(m_bpPeriodCount));
            out.logLine = line;
        }
        code = 0;
    } else if (code != m_previousError) {
        out.pendingError = code;
        out.postErrorTimer = true;
    }
    m_previousError = code;
}

void CBpStatus::FollowCycle(const BpInputs& in, BpActions& out)
{
    if ((in.statusFlags & kCycleBit) == 0 || !in.running)
        return;
    if ((in.statusFlags & kMeasuringBit) != 0) {
        if (!m_bpCycleAnimPlaying && in.animationsCreated) {
            out.resetStrips = in.deviceKind == kDeviceBrindle;
            m_bpCycleAnimPlaying = true;
            m_bpPauseAnimPlaying = false;
        }
    } else if (!m_bpPauseAnimPlaying) {
        m_bpPauseAnimPlaying = true;
        m_bpCycleAnimPlaying = false;
        out.requestVitals = in.saveAllBp;
        ++m_bpPeriodCount;
        m_periods.push_back(m_bpError10Count > 0);
        m_bpError10Count = 0;
        if (m_periods.size() > kPeriodsKept)
            m_periods.pop_front();
        if (std::count(m_periods.begin(), m_periods.end(), true) >= kPeriodsForError)
            out.pendingError = kErrorRepeated;
    }
    out.playNotifyTone = m_bpCycleAnimPlaying && in.bpNotifyTone && in.alarmLoopAllows;
}

void CBpStatus::ClearPeriods()
{
    m_bpPeriodCount = 0;
    m_bpError10Count = 0;
    m_periods.clear();
}

void CBpStatus::AnimationsStopped()
{
    m_bpCycleAnimPlaying = false;
    m_bpPauseAnimPlaying = false;
}

BpPicture CBpStatus::ShownPicture(bool running) const
{
    if (!running)
        return BpPicture::kBpOff;
    if (m_bpCycleAnimPlaying)
        return BpPicture::kMeasuring;
    return m_bpPauseAnimPlaying ? BpPicture::kPause : BpPicture::kNone;
}
