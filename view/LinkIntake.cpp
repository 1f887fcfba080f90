#include "view/LinkIntake.h"

#include <algorithm>
#include <limits>

namespace {

constexpr int32_t kDefaultCaptureSeconds = 60;
// Further ahead than this a deadline would read as already reached.
constexpr int64_t kLongestPeriodMs = std::numeric_limits<int32_t>::max();

bool Reached(uint32_t now, uint32_t deadline)
{
    return static_cast<int32_t>(now - deadline) >= 0;
}

} // namespace

int32_t FramesToConsume(int32_t writeIndex, int32_t readIndex, int32_t lastBeatOffset)
{
    const int32_t held = std::max(lastBeatOffset, 1);
    const int32_t available = RingUnreadCount(writeIndex, readIndex);
    return available - held >= 1 ? available - held : 0;
}

std::array<int32_t, kParameterCount> ReadNumerics(const LiveData& live)
{
    std::array<int32_t, kParameterCount> values{};
    for (int slot = 0; slot < kParameterCount; ++slot)
        values[slot] = live.numerics[slot];
    return values;
}

CNumericsIntake::Pass CNumericsIntake::Take(const std::array<int32_t, kParameterCount>& numerics)
{
    Pass pass;
    for (int slot = 0; slot < kParameterCount; ++slot) {
        if (numerics[slot] == m_lastShown[slot] && !m_forceNumerics)
            continue;
        m_lastShown[slot] = numerics[slot];
        pass.rewrites.push_back(slot);
    }
    m_forceNumerics = false;
    return pass;
}

int32_t CNumericsIntake::LastShown(int slot) const
{
    return slot >= 0 && slot < kParameterCount ? m_lastShown[slot] : 0;
}

bool CMarkStamp::TakeForBlock(int32_t consumedFrames)
{
    if (consumedFrames < 1 || !m_markPending)
        return false;
    m_markPending = false;
    return true;
}

std::optional<uint32_t> CVitalsSchedule::Poll(uint32_t now, uint16_t featureBits, int32_t deviceKind,
                                              bool recording, int32_t eventCaptureSeconds)
{
    if (featureBits != kFeatureTemp || deviceKind != kDeviceSelvo || !Reached(now, m_nextVitalsCapture))
        return std::nullopt;
    std::optional<uint32_t> position;
    if (recording)
        position = m_recordTicks;
    const int64_t seconds = eventCaptureSeconds < 1 ? kDefaultCaptureSeconds : eventCaptureSeconds;
    const auto period = static_cast<uint32_t>(std::min(seconds * 1000, kLongestPeriodMs));
    m_nextVitalsCapture += period;
    if (Reached(now, m_nextVitalsCapture))
        m_nextVitalsCapture = now + period;
    m_recordTicks += 1;
    return position;
}

void CVitalsSchedule::Restart(uint32_t nextCapture, uint32_t recordTicks)
{
    m_nextVitalsCapture = nextCapture;
    m_recordTicks = recordTicks;
}

bool CPrintThrottle::Request(Clock::time_point now)
{
    const Clock::duration sincePrevious = now - m_lastPrintRequest;
    m_lastPrintRequest = now;
    return sincePrevious > std::chrono::milliseconds(2000);
}

SilenceAction AlarmSilenceAction(bool alarmsOn, bool alarmTonesOn, bool snoozing)
{
    SilenceAction action;
    if (!alarmsOn)
        return action;
    action.redraw = true;
    if (alarmTonesOn) {
        if (!snoozing) {
            action.silence = true;
            action.banner = " Alarm Silenced ";
        }
    } else {
        action.silence = true;
        action.banner = snoozing ? " Alarm Tone Disabled  " : " Alarm Tone Enabled  ";
    }
    return action;
}
