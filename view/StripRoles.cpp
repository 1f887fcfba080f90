#include "view/StripRoles.h"

#include "link/LiveData.h"

namespace {

// ECG strips beside one other waveform: the other takes the strip after them.
int32_t EcgBesideOne(int32_t maxEcg)
{
    if (maxEcg == 2)
        return 2;
    if (maxEcg == 3 || maxEcg == 4)
        return 3;
    return 1;
}

StripRoles EcgOnly(int32_t count)
{
    StripRoles roles;
    roles.stripCount = count;
    roles.ecgStripCount = count;
    return roles;
}

StripRoles NoStrips()
{
    StripRoles roles;
    roles.stripCount = 0;
    return roles;
}

// The Tarvik reads the user's choices and forces nothing.
StripRoles TarvikRoles(int32_t maxEcg, uint16_t featureBits, const RemoteConfiguration& config)
{
    const bool spo2 = config.showSpO2 != 0;
    const bool resp = config.showResp2 != 0;
    const bool o2 = config.showO2 != 0 && (featureBits & kFeatureO2) != 0;

    StripRoles roles;
    if (spo2 && resp && o2) {
        roles.stripCount = 4;
        roles.ecgStripCount = 1;
        roles.spo2Strip = 1;
        roles.respStrip = 2;
        roles.o2Strip = 3;
        return roles;
    }
    const int shown = int(spo2) + int(resp) + int(o2);
    if (shown == 0)
        return EcgOnly(maxEcg);

    // In strip order: SpO2, then respiration, then O2.
    int32_t* order[3] = {};
    int n = 0;
    if (spo2)
        order[n++] = &roles.spo2Strip;
    if (resp)
        order[n++] = &roles.respStrip;
    if (o2)
        order[n++] = &roles.o2Strip;

    if (shown == 1) {
        const int32_t ecg = EcgBesideOne(maxEcg);
        roles.stripCount = ecg + 1;
        roles.ecgStripCount = ecg;
        *order[0] = ecg;
        return roles;
    }
    const bool twoEcg = maxEcg >= 2 && maxEcg <= 4;
    const int32_t ecg = twoEcg ? 2 : 1;
    roles.stripCount = ecg + 2;
    roles.ecgStripCount = ecg;
    *order[0] = ecg;
    *order[1] = ecg + 1;
    return roles;
}

StripRoles SelvoRoles(int32_t maxEcg, uint16_t featureBits, RemoteConfiguration& config)
{
    StripRoles roles;
    if ((featureBits & kFeatureEcg) != 0) {
        StoreRelaxed(config.showSpO2, 0);
        StoreRelaxed(config.showO2, 0);
        const int32_t showResp = config.showResp2;
        StoreRelaxed(config.showResp, showResp);
        if (showResp == 0)
            return EcgOnly(maxEcg);
        const int32_t ecg = EcgBesideOne(maxEcg);
        roles.stripCount = ecg + 1;
        roles.ecgStripCount = ecg;
        roles.respStrip = ecg;
        return roles;
    }
    if ((featureBits & kFeatureSpO2) != 0) {
        StoreRelaxed(config.showSpO2, 1);
        StoreRelaxed(config.showO2, 0);
        StoreRelaxed(config.showResp, 0);
        roles.stripCount = 1;
        roles.spo2Strip = 0;
        return roles;
    }
    if ((featureBits & kFeatureCO2) != 0) {
        StoreRelaxed(config.showResp, 1);
        StoreRelaxed(config.showSpO2, 0);
        roles.respStrip = 0;
        roles.stripCount = 1;
        if (config.showO2 != 0) {
            roles.o2Strip = 1;
            roles.stripCount = 2;
        }
        return roles;
    }
    // Temperature only, or nothing with a waveform: no strips, and no
    // waveform setting left on that the remote cannot feed.
    StoreRelaxed(config.showSpO2, 0);
    StoreRelaxed(config.showO2, 0);
    StoreRelaxed(config.showResp, 0);
    return NoStrips();
}

} // namespace

int32_t MaxEcgStrips(int32_t setting)
{
    return setting >= 1 && setting <= 4 ? setting : 4;
}

StripRoles AssignStripRoles(int32_t deviceKind, uint16_t featureBits, RemoteConfiguration& config)
{
    const int32_t maxEcg = MaxEcgStrips(config.maxEcgWaveforms);
    switch (deviceKind) {
    case kDeviceTarvik:
    case kDeviceTarvikPlus:
        return TarvikRoles(maxEcg, featureBits, config);
    case kDeviceMoval:
        StoreRelaxed(config.showSpO2, 0);
        StoreRelaxed(config.showO2, 0);
        StoreRelaxed(config.showResp, 0);
        return EcgOnly(maxEcg);
    case kDeviceSelvo:
        return SelvoRoles(maxEcg, featureBits, config);
    case kDeviceBrindle: {
        StoreRelaxed(config.showResp, 1);
        StoreRelaxed(config.showSpO2, 0);
        StoreRelaxed(config.showO2, 1);
        StripRoles roles;
        roles.stripCount = 2;
        roles.respStrip = 0; // cuff pressure
        roles.o2Strip = 1;   // oscillometric signal
        return roles;
    }
    default: {
        // Not reported yet (or a kind this program does not know).
        StripRoles roles;
        roles.stripCount = 4;
        roles.ecgStripCount = 2;
        roles.spo2Strip = 2;
        roles.respStrip = 3;
        return roles;
    }
    }
}
