#include "view/TrendStore.h"

uint8_t CTrendStore::FlagByte(uint8_t frameFlags, uint16_t featureBits)
{
    if ((frameFlags & SampleFrame::kFlagEcgValid) != 0)
        return kTrendEcgValid;
    return (featureBits & kFeatureCO2) != 0 ? kTrendCo2 : 0;
}

void CTrendStore::Sample(const LiveData& live, uint8_t frameFlags)
{
    const auto at = static_cast<std::size_t>(m_trendIndex);
    for (std::size_t ring = 0; ring < kTrendRingParameters.size(); ++ring)
        m_trend[ring][at] = live.numerics[kTrendRingParameters[ring]];
    m_trendFlags[at] = FlagByte(frameFlags, live.featureBits);
    if (++m_trendIndex < kTrendLength)
        return;
    m_trendIndex = 0;
    if (m_trendWraps < kMaxWraps)
        ++m_trendWraps;
}

std::span<const int16_t> CTrendStore::Ring(int ring) const
{
    if (ring < 0 || ring >= kTrendRingCount)
        return {};
    return m_trend[static_cast<std::size_t>(ring)];
}
