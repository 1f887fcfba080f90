#include "view/CommandActions.h"

#include <cstdio>

#include "app/ValueHelpers.h"
#include "link/LiveData.h"

int32_t NextSweep(int32_t sweep)
{
    switch (sweep) {
    case 1:
    case 2:
    case 4: return sweep * 2;
    case 8: return 1;
    default: return 2;  // as from 1
    }
}

int32_t NextGain(int32_t gainIndex)
{
    const int32_t next = gainIndex + 1;
    return next > 4 || next < 0 ? 0 : next;
}

std::optional<std::string> BpCuffCaption(int32_t cuff, bool demo)
{
    static const char* const kDemo[] = {" BP (mmHg)   Cuff-#1",   " BP (mmHg)   Cuff-#2", " BP (mmHg)   Cuff-#3",
                                        " BP (mmHg)   Cuff-#4",   " BP (mmHg) Cuff-#5-7", " BP(mmHg) Cuff-#8",
                                        " BP (mmHg)   Cuff-Adult"};
    static const char* const kLive[] = {" BP (mmHg)  Cuff: #1", " BP (mmHg)  Cuff: #2",  " BP (mmHg)  Cuff: #3",
                                        " BP (mmHg)  Cuff: #4", " BP (mmHg) Cuff: #5-7", " BP(mmHg)   Cuff: #8",
                                        " BP (mmHg) Cuff: Adult"};
    if (cuff < 0 || cuff > 6)
        return std::nullopt;
    return std::string(demo ? kDemo[cuff] : kLive[cuff]);
}

ProbeZeroing DecideProbeZeroing(const uint8_t* gas, uint32_t probeMs, uint8_t co2ProbeState)
{
    ProbeZeroing out;
    if (gas[9] == 2) {
        if ((gas[4] & 0x10) != 0) {
            char text[192];
            std::snprintf(text, sizeof text,
                          "CO2 Sensor not ready to zero.\n\n--- Probe warming or breath detected in the last 20 "
                          "sec.\n--- Status: %02x %02x %02x %02x\n",
                          gas[4], gas[5], gas[6], gas[7]);
            out.box = ProbeZeroing::Box::NotReady;
            out.text = text;
            out.caption = "Please Wait: CO2 probe stabilizing.";
        } else {
            out.box = ProbeZeroing::Box::Instructions;
            out.text = kProbeZeroInstructions;
            out.caption = "Gas Probe Zeroing Instructions";
            out.sendNow = true;
        }
    } else if (gas[9] == 1) {
        if (probeMs < 15u * 60u * 1000u && gas[10] == 0) {
            out.box = ProbeZeroing::Box::WarmingUp;
            out.caption = "Please Wait: CO2 probe warming up";
            out.text = "CO2 probe has only been connected for " + FormatTimeSpan(probeMs / 1000) + "\n" +
                       "See the minimum connected times for each type of probe below.\n"
                       "\tCO2 (1st Gen.):\t15 minutes\n\tCO2 (2nd Gen.):\t10 seconds\n"
                       "\tICU (CO2,O2):\t15 minutes\n\tOR  (CO2,O2,N20,Primary Agent):  15 minutes\n"
                       "\tAX  (CO2,N2O,Primary Agent):\t     15 minutes\n\tOR+ (CO2,O2,N2O,Agent ID):\t     30 seconds\n"
                       "\tAX+ (CO2,N2O,Agent ID):\t     30 seconds";
        } else if (co2ProbeState == 0) {
            out.box = ProbeZeroing::Box::Ask;
            out.text = kProbeZeroInstructions;
            out.caption = "Gas Probe Zeroing Instructions";
        }
    }
    return out;
}

VersionPoll DecideVersionPoll(int32_t kind, bool matched)
{
    VersionPoll poll;
    const bool polled = kind == kDeviceTarvikPlus || kind == kDeviceSelvo || kind == kDeviceBrindle;
    if (!polled || matched)
        return poll;
    poll.keepPolling = true;
    if (kind == kDeviceTarvikPlus) {
        poll.movalTextMode = 1;
        poll.requestText = true;
    } else {
        poll.requestFramed = true;
    }
    return poll;
}
