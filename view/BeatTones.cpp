#include "view/BeatTones.h"

#include "app/ValueHelpers.h"
#include "link/LiveData.h"
#include "view/SoundColumns.h"

namespace {

constexpr int32_t kUnpacedRate = 800;

void Play(BeatToneActions& out, int column)
{
    out.play[static_cast<std::size_t>(out.playCount++)] = column;
}

BeatIcon IconFor(const BeatToneInputs& in)
{
    return CurrentSourceRate(in.heartRateSource, in.hrFromEcg, in.hrFromSpO2, in.hrFromBp) != 0 ? BeatIcon::kShow
                                                                                                 : BeatIcon::kHide;
}

}  // namespace

std::optional<uint32_t> BeatPeriodMs(int32_t rate)
{
    if (rate <= 0 || rate >= kUnpacedRate)
        return std::nullopt;
    // Read unsigned: at 1 per minute the 60000 ms do not fit a signed short.
    return static_cast<uint16_t>(RoundToShort(60000.0 / rate));
}

int16_t CurrentSourceRate(uint8_t heartRateSource, int16_t hrFromEcg, int16_t hrFromSpO2, int16_t hrFromBp)
{
    switch (heartRateSource) {
    case 0: return hrFromEcg;
    case 1: return hrFromSpO2;
    case 2: return hrFromBp;
    default: return 0;
    }
}

BeatToneActions CBeatTones::Step(const BeatToneInputs& in)
{
    BeatToneActions out;
    const bool beatTones = in.qrsTone == 1 && in.alarmLoopAllows;

    if (in.heartRateSource != 1) {
        out.pulseTimer.kind = TimerCommand::Kind::kKill;
        m_pulseTimerArmed = false;
    } else if (!m_pulseTimerArmed) {
        if (const std::optional<uint32_t> period = BeatPeriodMs(in.hrFromSpO2)) {
            out.pulseTimer = {TimerCommand::Kind::kSet, *period};
            m_pulseTimerArmed = true;
            m_pulseToneDue = true;
        }
    }
    if (m_pulseToneDue && m_pulseTimerArmed) {
        out.beatIcon = IconFor(in);
        if (beatTones)
            Play(out, kSoundPulseBeat);
        m_pulseToneDue = false;
    }

    if (in.heartRateSource != 0) {
        out.ecgTimer.kind = TimerCommand::Kind::kKill;
        m_ecgTimerArmed = false;
    } else if (!m_ecgTimerArmed) {
        if (const std::optional<uint32_t> period = BeatPeriodMs(in.hrFromEcg)) {
            out.ecgTimer = {TimerCommand::Kind::kSet, *period};
            m_ecgTimerArmed = true;
            m_ecgToneDue = true;
        }
    }

    if ((in.featureBits & kFeatureCO2) != 0 && in.deviceKind != kDeviceBrindle && in.displayLatch) {
        if (in.respirationTone == 1 && in.alarmLoopAllows)
            Play(out, kSoundBreath);
        out.clearDisplayLatch = true;
    }

    if (m_ecgToneDue && m_ecgTimerArmed) {
        out.beatIcon = IconFor(in);
        if (beatTones)
            Play(out, in.heartRatesAbove400 == 1 ? kSoundBeatAbove400 : kSoundBeat);
        m_ecgToneDue = false;
    }
    return out;
}

std::optional<uint32_t> CBeatTones::OnPulseTimer(int16_t hrFromSpO2)
{
    const std::optional<uint32_t> period = m_pulseTimerArmed ? BeatPeriodMs(hrFromSpO2) : std::nullopt;
    m_pulseToneDue = period.has_value();
    return period;
}

std::optional<uint32_t> CBeatTones::OnEcgTimer(int16_t hrFromEcg)
{
    const std::optional<uint32_t> period = m_ecgTimerArmed ? BeatPeriodMs(hrFromEcg) : std::nullopt;
    m_ecgToneDue = period.has_value();
    return period;
}
