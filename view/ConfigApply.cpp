#include "view/ConfigApply.h"

#include <vector>

#include "link/LiveData.h"
#include "link/RemoteCommands.h"
#include "view/ConnectMachine.h"
#include "view/ViewTexts.h"

ConfigApplyActions PlanConfigApply(const RemoteConfiguration& config, const ConfigApplyInputs& in)
{
    ConfigApplyActions out;
    const int32_t bandwidth = LoadRelaxed(config.bandwidth);
    out.ecgBandwidthFlag = bandwidth != 0 ? 1 : 0;
    out.filterText = FormatFilterText(bandwidth);
    out.commands.push_back(LoadRelaxed(config.notch) != 0 ? kCmdNotch60 : kCmdNotch50);

    const int32_t species = LoadRelaxed(config.species);
    const int32_t above400 = LoadRelaxed(config.heartRatesAbove400);
    if (species == 2)
        out.hrDetectMode = 2;
    else if (above400 == 0 || above400 == 1)
        out.hrDetectMode = static_cast<uint8_t>(above400);

    if (!in.demo) {
        if ((in.featureBits & kFeatureNibp) != 0 && in.bpSetupChanged) {
            if (in.bpRunning)
                out.bpChangeWhileMeasuring = true;
            else
                out.commands.push_back(BpSetupCommand(config, in.patientSpecies));
        }
        out.gasSetupResend = (in.featureBits & kFeatureCO2) != 0 && in.gasSetupChanged;
    }
    out.speciesChanged = species != in.speciesBefore;
    out.reapplyFeatures = in.deviceKind != kDeviceMoval;
    return out;
}

RemoteConfiguration DefaultsToStore(const RemoteConfiguration& stored, const RemoteConfiguration& before,
                                    const RemoteConfiguration& accepted, bool demo)
{
    if (!demo)
        return accepted;
    // Both walks visit the members in the same order.
    std::vector<bool> changed;
    RemoteConfiguration::Zip(before, accepted,
                             [&changed](const auto& was, const auto& is) { changed.push_back(!(was == is)); });
    RemoteConfiguration out = stored;
    size_t member = 0;
    RemoteConfiguration::Zip(out, accepted, [&](auto& to, const auto& from) {
        if (changed[member++])
            to = from;
    });
    return out;
}
