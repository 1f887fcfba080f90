#include "link/RemoteStatusCodes.h"

#include "link/LiveData.h"

namespace {

constexpr int kTableSize = 33; // state codes 0..32

struct StatusTable {
    int codes[kTableSize];
};

// Index: state code; 0 = no post.
constexpr StatusTable kTarvikClassic = {{0, 3, 2, 0, 1, 0, 0, 0, 7, 0, 0, 0, 0, 0, 0, 0, 6,
                                         0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 4}};
// Tarvik Plus and Brindle share their numbering.
constexpr StatusTable kTarvikPlus = {{0, 8, 9, 2, 10, 6, 3, 11, 12, 1, 0, 4, 7}};
constexpr StatusTable kMoval = {{0, 7, 6, 0, 5, 0, 0, 0, 3, 0, 0, 0, 0, 0, 0, 0, 2,
                                 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1}};
constexpr StatusTable kSelvo = {{0, 0, 8, 10, 0, 13, 9, 0, 6, 7}};

} // namespace

int RemoteStatusCode(int32_t deviceKind, uint32_t stateCode)
{
    if (stateCode >= kTableSize)
        return 0;
    switch (deviceKind) {
    case kDeviceTarvik: return kTarvikClassic.codes[stateCode];
    case kDeviceTarvikPlus: return kTarvikPlus.codes[stateCode];
    case kDeviceMoval: return kMoval.codes[stateCode];
    case kDeviceSelvo: return kSelvo.codes[stateCode];
    case kDeviceBrindle: return kTarvikPlus.codes[stateCode];
    default: return 0;
    }
}
