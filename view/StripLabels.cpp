#include "view/StripLabels.h"

#include "link/LiveData.h"
#include "view/ParameterColors.h"

StripLabel StripLabelFor(int strip, const StripRoles& roles, int32_t deviceKind, uint16_t featureBits,
                         COLORREF lastColor)
{
    const bool brindle = deviceKind == kDeviceBrindle;
    if (strip < roles.ecgStripCount)
        return {"E\r\nC\r\nG", kEcgColor};
    if (strip == roles.spo2Strip && (featureBits & kFeatureSpO2) != 0)
        return {"S\r\np\r\nO\r\n2", kSpO2Color};
    if (strip == roles.respStrip) {
        if (brindle)
            return {"C\r\nU\r\nF\r\nF\r\n", kCO2Color};
        if ((featureBits & kFeatureCO2) != 0)
            return {"C\r\nO\r\n2", kCO2Color};
        if ((featureBits & kFeatureResp) != 0)
            return {"R\r\nE\r\nS\r\nP", kRespColor};
    }
    if (strip == roles.o2Strip) {
        if (brindle)
            return {"O\r\nS\r\nC\r\nI\r\nL\r\nL\r\nO\r\nM\r\nE\r\nT\r\nR\r\nI\r\nC", kO2Color};
        if ((featureBits & kFeatureO2) != 0)
            return {"O\r\n2", kO2Color};
    }
    return {{}, lastColor};
}

bool StripShowsGrid(int strip, const StripRoles& roles, int32_t deviceKind, uint16_t featureBits)
{
    if (strip < roles.ecgStripCount)
        return true;
    if (strip == roles.respStrip && (featureBits & kFeatureCO2) != 0)
        return true;
    return deviceKind == kDeviceBrindle && strip == roles.o2Strip;
}
