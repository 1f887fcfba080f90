#include <gtest/gtest.h>

#include <cstdint>

#include "app/RemoteConfiguration.h"
#include "link/LiveData.h"
#include "view/StripRoles.h"

namespace {

// The display flags: "Show SpO2", the second respiration flag, "Show O2",
// "Show Resp".
struct Flags {
    int32_t spo2, resp2, o2, resp;
};

struct RolesCase {
    const char* name;
    int32_t kind;
    uint16_t features;
    int32_t maxEcg;
    Flags in;
    StripRoles roles;   // count, ECG, SpO2, resp, O2
    Flags out;          // the flags after; resp2 is never forced
};

constexpr uint16_t kTarvikBits = kFeatureEcg | kFeatureResp | kFeatureSpO2 | kFeatureO2;

const RolesCase kCases[] = {
    {"tarvik none M1", kDeviceTarvik, kTarvikBits, 1, {0, 0, 0, 1}, {1, 1, -1, -1, -1}, {0, 0, 0, 1}},
    {"tarvik O2 off the remote", kDeviceTarvik, kFeatureEcg, 4, {0, 0, 1, 0}, {4, 4, -1, -1, -1}, {0, 0, 1, 0}},
    {"tarvik O M1", kDeviceTarvik, kTarvikBits, 1, {0, 0, 1, 0}, {2, 1, -1, -1, 1}, {0, 0, 1, 0}},
    {"tarvik O M4", kDeviceTarvik, kTarvikBits, 4, {0, 0, 1, 0}, {4, 3, -1, -1, 3}, {0, 0, 1, 0}},
    {"tarvik R M2", kDeviceTarvikPlus, kTarvikBits, 2, {0, 1, 0, 0}, {3, 2, -1, 2, -1}, {0, 1, 0, 0}},
    {"tarvik R M4", kDeviceTarvik, kTarvikBits, 4, {0, 1, 0, 0}, {4, 3, -1, 3, -1}, {0, 1, 0, 0}},
    {"tarvik S M1", kDeviceTarvik, kTarvikBits, 1, {1, 0, 0, 0}, {2, 1, 1, -1, -1}, {1, 0, 0, 0}},
    {"tarvik S M4", kDeviceTarvik, kTarvikBits, 4, {1, 0, 0, 0}, {4, 3, 3, -1, -1}, {1, 0, 0, 0}},
    {"tarvik RO M1", kDeviceTarvik, kTarvikBits, 1, {0, 1, 1, 0}, {3, 1, -1, 1, 2}, {0, 1, 1, 0}},
    {"tarvik RO M4", kDeviceTarvik, kTarvikBits, 4, {0, 1, 1, 0}, {4, 2, -1, 2, 3}, {0, 1, 1, 0}},
    {"tarvik SO M1", kDeviceTarvik, kTarvikBits, 1, {1, 0, 1, 0}, {3, 1, 1, -1, 2}, {1, 0, 1, 0}},
    {"tarvik SO M4", kDeviceTarvikPlus, kTarvikBits, 4, {1, 0, 1, 0}, {4, 2, 2, -1, 3}, {1, 0, 1, 0}},
    {"tarvik SR M1", kDeviceTarvik, kTarvikBits, 1, {1, 1, 0, 0}, {3, 1, 1, 2, -1}, {1, 1, 0, 0}},
    {"tarvik SR M2", kDeviceTarvik, kTarvikBits, 2, {1, 1, 0, 0}, {4, 2, 2, 3, -1}, {1, 1, 0, 0}},
    {"tarvik all M4", kDeviceTarvik, kTarvikBits, 4, {1, 1, 1, 1}, {4, 1, 1, 2, 3}, {1, 1, 1, 1}},
    {"tarvik all M1", kDeviceTarvik, kTarvikBits, 1, {1, 1, 1, 1}, {4, 1, 1, 2, 3}, {1, 1, 1, 1}},
    {"tarvik max ECG 0", kDeviceTarvik, kTarvikBits, 0, {0, 0, 0, 0}, {4, 4, -1, -1, -1}, {0, 0, 0, 0}},
    {"tarvik max ECG 9", kDeviceTarvik, kTarvikBits, 9, {1, 0, 0, 0}, {4, 3, 3, -1, -1}, {1, 0, 0, 0}},
    {"not reported", kDeviceUnknown, 0x0009, 1, {1, 1, 1, 1}, {4, 2, 2, 3, -1}, {1, 1, 1, 1}},
    {"unknown kind 7", 7, 0x0009, 1, {0, 0, 0, 0}, {4, 2, 2, 3, -1}, {0, 0, 0, 0}},
    {"moval M2", kDeviceMoval, kTarvikBits, 2, {1, 1, 1, 1}, {2, 2, -1, -1, -1}, {0, 1, 0, 0}},
    {"selvo temperature only", kDeviceSelvo, kFeatureTemp, 4, {1, 1, 1, 1}, {0, 0, -1, -1, -1}, {0, 1, 0, 0}},
    {"selvo ECG resp M1", kDeviceSelvo, 0x0009, 1, {1, 1, 1, 0}, {2, 1, -1, 1, -1}, {0, 1, 0, 1}},
    {"selvo ECG resp M2", kDeviceSelvo, 0x0009, 2, {0, 1, 0, 0}, {3, 2, -1, 2, -1}, {0, 1, 0, 1}},
    {"selvo ECG resp M3", kDeviceSelvo, 0x0009, 3, {0, 1, 0, 0}, {4, 3, -1, 3, -1}, {0, 1, 0, 1}},
    {"selvo ECG no resp", kDeviceSelvo, 0x0009, 2, {1, 0, 1, 1}, {2, 2, -1, -1, -1}, {0, 0, 0, 0}},
    {"selvo SpO2", kDeviceSelvo, kFeatureSpO2 | kFeatureCO2, 4, {0, 1, 1, 1}, {1, 0, 0, -1, -1}, {1, 1, 0, 0}},
    {"selvo CO2 with O2", kDeviceSelvo, kFeatureCO2 | kFeatureO2, 4, {1, 0, 1, 0}, {2, 0, -1, 0, 1}, {0, 0, 1, 1}},
    {"selvo CO2", kDeviceSelvo, kFeatureCO2, 4, {1, 0, 0, 0}, {1, 0, -1, 0, -1}, {0, 0, 0, 1}},
    {"selvo nothing drawable", kDeviceSelvo, kFeatureNibp, 4, {1, 1, 1, 1}, {0, 0, -1, -1, -1}, {0, 1, 0, 0}},
    {"brindle", kDeviceBrindle, kFeatureNibp, 4, {1, 0, 0, 0}, {2, 0, -1, 0, 1}, {0, 0, 1, 1}},
};

} // namespace

TEST(StripRoles, AssignmentFollowsTheModelAndForcesItsSettings)
{
    for (const RolesCase& c : kCases) {
        RemoteConfiguration config;
        config.maxEcgWaveforms = c.maxEcg;
        config.showSpO2 = c.in.spo2;
        config.showResp2 = c.in.resp2;
        config.showO2 = c.in.o2;
        config.showResp = c.in.resp;
        config.species = 7; // a member the assignment leaves alone

        const StripRoles roles = AssignStripRoles(c.kind, c.features, config);
        EXPECT_EQ(roles, c.roles) << c.name << ": " << roles.stripCount << " strips, ECG " << roles.ecgStripCount
                                  << ", SpO2 " << roles.spo2Strip << ", resp " << roles.respStrip << ", O2 "
                                  << roles.o2Strip;
        EXPECT_EQ(config.showSpO2, c.out.spo2) << c.name;
        EXPECT_EQ(config.showResp2, c.out.resp2) << c.name;
        EXPECT_EQ(config.showO2, c.out.o2) << c.name;
        EXPECT_EQ(config.showResp, c.out.resp) << c.name;
        EXPECT_EQ(config.maxEcgWaveforms, c.maxEcg) << c.name;
        EXPECT_EQ(config.species, 7) << c.name;
    }
}
