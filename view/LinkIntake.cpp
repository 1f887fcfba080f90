#include "view/LinkIntake.h"

#include <algorithm>
#include <limits>

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
