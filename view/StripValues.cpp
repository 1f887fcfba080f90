#include "view/StripValues.h"

#include <algorithm>
#include <cstdlib>

#include "link/LiveData.h"
#include "view/ViewTexts.h"

int32_t EcgSweepStep(int32_t ecgSweep, int32_t deviceKind)
{
    return deviceKind == kDeviceBrindle ? 1 : std::max(ecgSweep, 1);
}

int32_t GasSweepStep(int32_t co2Sweep, int32_t deviceKind)
{
    return deviceKind == kDeviceBrindle ? 1 : std::max(co2Sweep, 1);
}

double EcgGain(int32_t gainIndex)
{
    if (gainIndex < 0 || gainIndex >= static_cast<int32_t>(kGainTable.size()))
        gainIndex = 1;
    return kGainTable[static_cast<std::size_t>(gainIndex)];
}

int32_t EcgTraceY(int16_t ecg, double gain)
{
    // Clamp in double: a gain beyond the table cannot overflow the cast.
    return static_cast<int32_t>(std::clamp(static_cast<double>(ecg) * gain, -2500.0, 2500.0));
}

int32_t Co2Divisor(int32_t deviceKind, bool co2Scale, bool co2UnitPercent)
{
    if (deviceKind == kDeviceBrindle)
        return 3000;
    if (co2Scale)
        return co2UnitPercent ? 1250 : 1316;
    return co2UnitPercent ? 500 : 526;
}

int32_t Co2TraceY(int16_t co2, int32_t divisor)
{
    return std::clamp(int32_t{co2} * 6000 / divisor - 3000, -2950, 3000);
}

int32_t O2DriftTraceY(O2Drift& drift, int16_t o2, int16_t o2Inspired, int16_t o2Expired)
{
    const int32_t keep = O2Drift::kAverage - 1;
    drift.baseline = FloorDiv(keep * drift.baseline + o2, O2Drift::kAverage);
    drift.swing = FloorDiv(keep * drift.swing + std::abs(int32_t{o2Inspired} - int32_t{o2Expired}), O2Drift::kAverage);
    int32_t scale = 50;
    if (o2Inspired != 0 && o2Expired != 0) {
        if (drift.swing > O2Drift::kHighSwingOn)
            drift.highSwing = true;
        else if (drift.swing < O2Drift::kHighSwingOff)
            drift.highSwing = false;
        if (drift.highSwing)
            scale = 25;
    }
    return (int32_t{o2} - drift.baseline) * scale / 10;
}
