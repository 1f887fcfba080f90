#include "view/PresentParameters.h"

#include "link/LiveData.h"

namespace {

bool Has(const PresenceInputs& in, uint16_t bits)
{
    return (in.featureBits & bits) != 0;
}

} // namespace

bool ParameterPresent(int slot, const PresenceInputs& in)
{
    const bool selvo = in.deviceKind == kDeviceSelvo;
    const bool brindle = in.deviceKind == kDeviceBrindle;
    switch (slot) {
    case kParamHeartRate: return Has(in, kFeatureEcg) || (selvo && Has(in, kFeatureSpO2));
    case kParamTemperature: return Has(in, kFeatureTemp);
    case kParamRespRate: return Has(in, kFeatureResp) || (selvo && Has(in, kFeatureCO2));
    case kParamSpO2: return Has(in, kFeatureSpO2);
    case kParamApnea: return false;
    case kParamSystolic:
    case kParamDiastolic:
    case kParamMean: return Has(in, kFeatureNibp);
    case kParamCO2Ins:
    case kParamCO2Exp: return Has(in, kFeatureCO2) && !brindle;
    case kParamO2Ins:
    case kParamO2Exp: return Has(in, kFeatureO2) && !brindle;
    case kParamN2OIns:
    case kParamN2OExp: return Has(in, kFeatureN2O) && in.showN2O;
    default: break;
    }
    if (slot < kParamHalIns || slot > kParamDesExp)
        return false;
    // Halothane .. desflurane are agent codes 1..5, inspired then expired.
    const int agent = (slot <= kParamDesIns ? slot - kParamHalIns : slot - kParamHalExp) + 1;
    return (in.primaryAgent == agent && Has(in, 0x0100)) || (in.secondaryAgent == agent && Has(in, 0x0200));
}
